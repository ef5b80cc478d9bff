#include "setup/support/product_identity.h"

namespace vorn::test {

std::string ProductResourcesXml() {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<Resources>\n"
         "  <Application UUID=\"5A0C1E27-9B3D-4F61-8C2E-7D4B9A0F1E36\" Name=\"Vorn Test Product\"\n"
         "               Version=\"2.5\" Tag=\"Beta one\" Company=\"Vorn Test Company\"\n"
         "               MultipleInstancesAllowed=\"false\"/>\n"
         "  <FileTypes>\n"
         "    <FileType Extension=\".vtpdoc\" Description=\"Vorn test document\" "
         "IconIndex=\"1\"/>\n"
         "  </FileTypes>\n"
         "  <CustomProtocols>\n"
         "    <Protocol Name=\"vorntestproduct\" Command=\"/Open=\" Description=\"Vorn test "
         "link\"/>\n"
         "  </CustomProtocols>\n"
         "</Resources>\n";
}

}  // namespace vorn::test
