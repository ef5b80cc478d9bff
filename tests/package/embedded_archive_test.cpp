#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/package_test_support.h"

namespace vorn {
namespace {

// The archive the Windows tests embed is committed; this keeps it what the
// writer makes of its entries today. Set VORN_UPDATE_TEST_ARCHIVE=1 to
// write it anew after a deliberate change of the writer or the entries.
TEST(EmbeddedTestArchiveTest, CommittedArchiveIsTheWritersOutput) {
  const test::Bytes built = test::BuildArchive(test::EmbeddedTestEntries());
  ASSERT_FALSE(built.empty());
  EXPECT_LT(built.size(), 4096u);
  const std::string path = VORN_PACKAGE_TEST_DATA "/embedded.kelp";
  if (std::getenv("VORN_UPDATE_TEST_ARCHIVE") != nullptr) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(built.data()), std::streamsize(built.size()));
  }
  std::ifstream in(path, std::ios::binary);
  const test::Bytes committed((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
  EXPECT_EQ(committed, built);
}

}  // namespace
}  // namespace vorn
