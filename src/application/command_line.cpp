#include "application/command_line.h"

#include "foundation/zero_filled.h"

namespace vorn {

namespace {

bool IsSwitchMark(char16_t unit) noexcept {
  return unit == u'-' || unit == u'/';
}

void ReadSwitch(const String& raw, CommandLineToken& token) noexcept {
  token.is_switch = true;
  int32_t separator = raw.Find(u'=');
  if (separator < 0) separator = raw.Find(u':');
  if (separator < 0) {
    token.switch_name = raw.Tail(1);
    return;
  }
  const uint32_t at = static_cast<uint32_t>(separator);
  token.switch_name = raw.Middle(1, at - 1);
  String value = raw.Tail(at + 1);
  // A quoted value loses its quotes; an unbalanced one keeps what follows
  // its opening quote.
  if (value.Length() > 0 && value[0] == u'"') {
    value = value.Tail(1);
    if (value.Length() > 0 && value[value.Length() - 1] == u'"') {
      value = value.Left(value.Length() - 1);
    }
  }
  token.switch_value = value;
}

void ReadFile(const String& raw, CommandLineToken& token) noexcept {
  String file = raw;
  const uint32_t length = file.Length();
  if (length >= 2 && file[0] == u'"' && file[length - 1] == u'"') {
    file = file.Middle(1, length - 2);
  }
  file.Trim();
  token.file = file;
}

}  // namespace

void ReadCommandLineToken(const String& raw, CommandLineToken& token) noexcept {
  token = CommandLineToken();
  token.raw = raw;
  if (raw.Length() > 0 && IsSwitchMark(raw[0])) {
    ReadSwitch(raw, token);
  } else {
    ReadFile(raw, token);
  }
}

CommandLine& CommandLine::Get() noexcept {
  static CommandLine* const command_line = [] {
    static CommandLine instance VORN_ZERO_FILLED;
    instance.Parse(SystemCommandLine().Text());
    return &instance;
  }();
  return *command_line;
}

void CommandLine::Clear() noexcept {
  for (uint32_t i = 0; i < count_; ++i) tokens_[i] = CommandLineToken();
  count_ = 0;
}

void CommandLine::Record(const char16_t* start, uint32_t length) noexcept {
  ReadCommandLineToken(String(start, length), tokens_[count_]);
  ++count_;
}

void CommandLine::Parse(const char16_t* text) noexcept {
  Clear();
  if (text == nullptr) return;
  bool inside_quotes = false;  // carries over from one token to the next
  bool program_path_seen = false;
  const char16_t* cursor = text;
  while (*cursor != 0 && count_ < kMaxTokens) {
    while (*cursor != 0 && IsWhiteSpace(*cursor)) ++cursor;
    if (*cursor == 0) break;
    const char16_t* start = cursor;
    while (*cursor != 0 && (inside_quotes || !IsWhiteSpace(*cursor))) {
      if (*cursor == u'"') inside_quotes = !inside_quotes;
      ++cursor;
    }
    const uint32_t length = static_cast<uint32_t>(cursor - start);
    if (!program_path_seen) {
      program_path_seen = true;
      continue;
    }
    Record(start, length);
  }
}

const CommandLineToken* CommandLine::FindSwitch(const char16_t* name) noexcept {
  if (name == nullptr) return nullptr;
  for (uint32_t i = 0; i < count_; ++i) {
    CommandLineToken& token = tokens_[i];
    if (token.is_switch && token.switch_name.EqualsIgnoringCase(name)) {
      token.used = true;
      return &token;
    }
  }
  return nullptr;
}

uint32_t CommandLine::TakeFiles(String* files) noexcept {
  uint32_t taken = 0;
  for (uint32_t i = 0; i < count_; ++i) {
    CommandLineToken& token = tokens_[i];
    if (token.is_switch) continue;
    token.used = true;
    files[taken++] = token.file;
  }
  return taken;
}

}  // namespace vorn
