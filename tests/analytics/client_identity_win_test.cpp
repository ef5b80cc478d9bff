// The client id in the real (Wine) registry.
#include <gtest/gtest.h>
#include <windows.h>

#include "analytics/client_identity.h"
#include "foundation/guid.h"
#include "foundation/registry_key.h"

namespace vorn {
namespace {

constexpr char16_t kCompany[] = u"VornTest ClientIdentity";

void DeleteCompanyKey() {
  RegistryKey software;
  software.SetRoot(RegistryKey::kCurrentUser, u"Software");
  software.DeleteSubkey(kCompany);
}

TEST(ClientIdentityTest, WithoutACompanyNothingIsStoredAtTheSoftwareRoot) {
  RegistryKey software;
  ASSERT_EQ(software.SetRoot(RegistryKey::kCurrentUser, u"Software"), kOk);
  String before;
  const Result before_result = software.ReadText(u"cid", before);
  String client_id = u"stale";
  EXPECT_EQ(LoadClientId(String(), client_id), kMissingData);
  EXPECT_TRUE(client_id.IsEmpty());
  String after;
  EXPECT_EQ(software.ReadText(u"cid", after), before_result);
  EXPECT_TRUE(after == before);
}

TEST(ClientIdentityTest, ANewIdIsStoredAndReusedAndAZeroIdIsReplaced) {
  DeleteCompanyKey();
  String first;
  ASSERT_EQ(LoadClientId(kCompany, first), kOk);
  Guid guid{};
  ASSERT_EQ(TextToGuid(first.Text(), guid), kOk);
  EXPECT_FALSE(IsNullGuid(guid));
  EXPECT_TRUE(GuidToText(guid) == first);  // upper case, no braces
  String again;
  ASSERT_EQ(LoadClientId(kCompany, again), kOk);
  EXPECT_TRUE(again == first);

  RegistryKey key;
  ASSERT_EQ(key.SetRoot(RegistryKey::kCurrentUser, String(u"Software\\" + String(kCompany)).Text()),
            kOk);
  ASSERT_EQ(key.WriteText(u"cid", u"{00000000-0000-0000-0000-000000000000}"), kOk);
  String replaced;
  ASSERT_EQ(LoadClientId(kCompany, replaced), kOk);
  EXPECT_FALSE(replaced == first);
  ASSERT_EQ(TextToGuid(replaced.Text(), guid), kOk);
  EXPECT_FALSE(IsNullGuid(guid));
  String stored;
  ASSERT_EQ(key.ReadText(u"cid", stored), kOk);
  EXPECT_TRUE(stored == replaced);
  key.Close();
  DeleteCompanyKey();
}

}  // namespace
}  // namespace vorn
