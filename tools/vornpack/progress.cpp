#include "progress.h"

#include <cstdio>

#include "console.h"
#include "system_info.h"
#include "tool_text.h"

namespace vornpack {
namespace {

class Tracker {
 public:
  void Begin(uint64_t total) {
    total_ = total;
    done_ = 0;
    start_ = MonotonicSeconds();
  }
  void Advance(uint64_t bytes) { done_ += bytes; }
  double Fraction() const { return total_ == 0 ? 1.0 : static_cast<double>(done_) / total_; }
  double Elapsed() const { return MonotonicSeconds() - start_; }
  uint64_t Done() const { return done_; }
  uint64_t Total() const { return total_; }

 private:
  uint64_t total_ = 0;
  uint64_t done_ = 0;
  double start_ = 0;
};

class TerminalProgress : public ProgressReporter {
 public:
  void Begin(const std::string& action, uint64_t total_bytes) override {
    action_ = action;
    tracker_.Begin(total_bytes);
    last_draw_ = -1;
    Draw();
  }
  void Advance(uint64_t bytes) override {
    tracker_.Advance(bytes);
    // Redrawing costs a console write; ten times a second is plenty.
    if (MonotonicSeconds() - last_draw_ >= 0.1) Draw();
  }
  void End() override {
    if (!drawn_) return;
    std::string blank(1, '\r');
    blank.append(static_cast<size_t>(width_), ' ');
    blank += '\r';
    WriteText(Channel::kError, blank);
    drawn_ = false;
  }

 private:
  void Draw() {
    last_draw_ = MonotonicSeconds();
    std::string numbers(1, ' ');
    numbers += HumanSize(tracker_.Done());
    numbers += " of ";
    numbers += HumanSize(tracker_.Total());
    numbers += ", ";
    numbers += Throughput(tracker_.Done(), tracker_.Elapsed());
    width_ = TerminalWidth(Channel::kError) - 1;
    int bar = width_ - static_cast<int>(action_.size() + numbers.size()) - 4;
    if (bar > 40) bar = 40;
    std::string line = action_ + " [";
    if (bar > 0) {
      const int filled = static_cast<int>(tracker_.Fraction() * bar + 0.5);
      line += std::string(filled, '#') + std::string(bar - filled, '.');
    }
    line += "]" + numbers;
    if (static_cast<int>(line.size()) > width_) line.resize(width_);
    line.insert(line.begin(), '\r');
    WriteText(Channel::kError, line);
    drawn_ = true;
  }

  std::string action_;
  Tracker tracker_;
  double last_draw_ = -1;
  int width_ = 79;
  bool drawn_ = false;
};

class LineProgress : public ProgressReporter {
 public:
  void Begin(const std::string& action, uint64_t total_bytes) override {
    action_ = action;
    tracker_.Begin(total_bytes);
    next_tenth_ = 1;
  }
  void Advance(uint64_t bytes) override {
    tracker_.Advance(bytes);
    const int tenth = static_cast<int>(tracker_.Fraction() * 10);
    if (tenth < next_tenth_ || tracker_.Total() == 0) return;
    next_tenth_ = tenth + 1;
    char percent[16];
    std::snprintf(percent, sizeof percent, "%d%%", tenth * 10);
    WriteText(Channel::kError, action_ + ": " + percent + ", " + HumanSize(tracker_.Done()) +
                                   " of " + HumanSize(tracker_.Total()) + ", " +
                                   Throughput(tracker_.Done(), tracker_.Elapsed()) + "\n");
  }
  void End() override {}

 private:
  std::string action_;
  Tracker tracker_;
  int next_tenth_ = 1;
};

class SilentProgress : public ProgressReporter {
 public:
  void Begin(const std::string&, uint64_t) override {}
  void Advance(uint64_t) override {}
  void End() override {}
};

}  // namespace

std::unique_ptr<ProgressReporter> NewConsoleProgress() {
  if (IsTerminal(Channel::kError)) return std::make_unique<TerminalProgress>();
  return std::make_unique<LineProgress>();
}

std::unique_ptr<ProgressReporter> NewSilentProgress() {
  return std::make_unique<SilentProgress>();
}

std::string Throughput(uint64_t bytes, double seconds) {
  if (seconds < 1e-3) seconds = 1e-3;
  return HumanSize(static_cast<uint64_t>(bytes / seconds)) + "/s";
}

}  // namespace vornpack
