// The progress bar's arithmetic: a scale factor, a total and a count of
// completed units, turned into a position out of 16384 and into what the
// taskbar button shows.
#pragma once

#include <cstdint>

namespace vorn {

constexpr uint32_t kProgressRange = 16384;

struct ProgressPosition {
  uint32_t position = 0;  // 0 to kProgressRange
  // While the work is not done the taskbar shows the position; once it is,
  // the taskbar progress is removed.
  bool done = false;
};

class ProgressScale {
 public:
  void SetFactor(double factor) noexcept { factor_ = factor; }
  void SetTotal(uint32_t total) noexcept { total_ = total; }
  void SetCompleted(uint32_t completed) noexcept { completed_ = completed; }
  double Factor() const noexcept { return factor_; }
  uint32_t Total() const noexcept { return total_; }
  uint32_t Completed() const noexcept { return completed_; }

  // The position for `value` units of the current step: false (nothing to
  // show) for a negative or undefined value.
  bool Compute(double value, ProgressPosition& out) const noexcept;

 private:
  double factor_ = 1.0;
  uint32_t total_ = 1;
  uint32_t completed_ = 0;
};

// A bar narrower than it is high runs vertically.
inline bool ProgressIsVertical(int32_t width, int32_t height) noexcept {
  return width < height;
}

}  // namespace vorn
