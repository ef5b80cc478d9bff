// The program's command line as the framework reads it: at most 32 tokens
// after the program's own path, each either a switch ("/Name", "-Name=value",
// "/Name:value") or a file. Lookups compare switch names without regard to
// case and mark the token they find as used.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

struct CommandLineToken {
  String raw;
  String file;          // set for a token that is not a switch
  String switch_name;   // set for a switch
  String switch_value;  // set for a switch written with '=' or ':'
  bool is_switch = false;
  bool used = false;  // a lookup matched it, or it was handed over as a file
};

class CommandLine {
 public:
  static constexpr uint32_t kMaxTokens = 32;

  CommandLine() noexcept = default;
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  // The process's command line, split on first use.
  static CommandLine& Get() noexcept;

  // Replaces the table with the tokens of `text`; its first token is the
  // program's own path and is never recorded. A null text gives an empty
  // table. Tokens past the 32nd are ignored.
  void Parse(const char16_t* text) noexcept;

  uint32_t TokenCount() const noexcept { return count_; }
  const CommandLineToken& Token(uint32_t index) const noexcept { return tokens_[index]; }

  // The first switch of that name, or null; a match is marked used.
  const CommandLineToken* FindSwitch(const char16_t* name) noexcept;
  bool HasSwitch(const char16_t* name) noexcept { return FindSwitch(name) != nullptr; }

  // Copies every file token, in command-line order, into `files` (room for
  // kMaxTokens) and marks them used; returns how many there were.
  uint32_t TakeFiles(String* files) noexcept;

 private:
  void Clear() noexcept;
  void Record(const char16_t* start, uint32_t length) noexcept;

  CommandLineToken tokens_[kMaxTokens];
  uint32_t count_ = 0;
};

// Reads one token into its parts (a switch or a file).
void ReadCommandLineToken(const String& raw, CommandLineToken& token) noexcept;

// The system's command line (Windows: GetCommandLineW); the POSIX build
// rebuilds one from the process's arguments.
String SystemCommandLine() noexcept;

}  // namespace vorn
