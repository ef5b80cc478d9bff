#include "ui/support/ui_test_environment.h"

namespace vorn::test {

ParsedElement::ParsedElement(const std::string& xml) {
  EXPECT_EQ(document_.Parse(xml.data(), xml.size()), kOk) << xml;
}

}  // namespace vorn::test
