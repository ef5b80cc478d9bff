#include "ui/progress_scale.h"

namespace vorn {

bool ProgressScale::Compute(double value, ProgressPosition& out) const noexcept {
  out = ProgressPosition();
  // NaN compares false with everything: it is no progress either.
  if (!(value >= 0)) return false;
  const double whole = static_cast<double>(total_) * factor_;
  const double done = static_cast<double>(completed_) * factor_ + value;
  double position = 0;
  if (whole != 0) position = done * kProgressRange / whole + 0.5;
  // Converting a double out of the unsigned range is undefined: a value
  // beyond the total (or a negative factor) is held at the bar's ends.
  if (!(position >= 0)) position = 0;
  if (position > kProgressRange) position = kProgressRange;
  out.position = static_cast<uint32_t>(position);
  out.done = !(done < whole);
  return true;
}

}  // namespace vorn
