#include "analytics/http_session.h"
#include "foundation/format.h"

namespace vorn {

String FormatUserAgent(uint32_t major, uint32_t minor, bool wow64) noexcept {
  return Format(u"Mozilla/5.0 (Windows NT {0}.{1}{2}) {3}", FormatArg(major), FormatArg(minor),
                FormatArg(wow64 ? u"; WOW64" : u""), FormatArg(u"VornLib/2.0"));
}

}  // namespace vorn
