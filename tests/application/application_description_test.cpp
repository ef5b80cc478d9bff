#include "application/application_description.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "application/support/test_text.h"
#include "xml/xml_element.h"

namespace vorn {
namespace {

using testing::Text;
using Attributes = std::vector<std::pair<const char16_t*, const char16_t*>>;

const Attributes kRequired = {
    {u"UUID", u"{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9}"},
    {u"Name", u"Vorn Demo"},
    {u"Version", u"2.1"},
    {u"Company", u"Vorn Works"},
    {u"MultipleInstancesAllowed", u"false"},
};

struct ElementDeleter {
  void operator()(XmlElement* element) const { XmlElement::Destroy(element); }
};
using ElementPointer = std::unique_ptr<XmlElement, ElementDeleter>;

ElementPointer MakeElement(const Attributes& attributes) {
  ElementPointer element(XmlElement::Create(u"Application"));
  for (const auto& [name, value] : attributes) element->AppendAttribute(name, value);
  return element;
}

TEST(ApplicationDescriptionTest, RequiredOnlyGivesTheDefaults) {
  ApplicationDescription description;
  ElementPointer element = MakeElement(kRequired);
  ASSERT_EQ(description.Read(element.get()), kOk);
  EXPECT_EQ(Text(GuidToText(description.uuid)), u"0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9");
  EXPECT_EQ(Text(description.name), u"Vorn Demo");
  EXPECT_EQ(Text(description.version), u"2.1");
  EXPECT_EQ(Text(description.company), u"Vorn Works");
  EXPECT_FALSE(description.multiple_instances_allowed);
  EXPECT_EQ(Text(description.tag), u"");
  EXPECT_EQ(description.distribution, Distribution::kPublic);
  EXPECT_TRUE(description.activate);
  EXPECT_EQ(description.max_frame_rate, 200);
  EXPECT_EQ(description.track_ir_profile_id, 0);
  EXPECT_EQ(Text(description.tracking_id), u"");
  EXPECT_FALSE(description.open_command_line_files);
}

TEST(ApplicationDescriptionTest, EveryOptionalAttributeIsRead) {
  Attributes attributes = kRequired;
  attributes.insert(attributes.end(), {{u"Tag", u"beta 3"},
                                       {u"Distribution", u"ClosedBeta"},
                                       {u"Activate", u"false"},
                                       {u"MaxFrameRate", u"8"},
                                       {u"TrackIRProfileID", u"1234"},
                                       {u"TrackingID", u"UA-1234-5"},
                                       {u"OpenCommandLineFiles", u"true"}});
  attributes[4].second = u"true";
  ApplicationDescription description;
  ElementPointer element = MakeElement(attributes);
  ASSERT_EQ(description.Read(element.get()), kOk);
  EXPECT_TRUE(description.multiple_instances_allowed);
  EXPECT_EQ(Text(description.tag), u"beta 3");
  EXPECT_EQ(description.distribution, Distribution::kClosedBeta);
  EXPECT_FALSE(description.activate);
  EXPECT_EQ(description.max_frame_rate, 8);
  EXPECT_EQ(description.track_ir_profile_id, 1234);
  EXPECT_EQ(Text(description.tracking_id), u"UA-1234-5");
  EXPECT_TRUE(description.open_command_line_files);
}

TEST(ApplicationDescriptionTest, DistributionNamesAreExact) {
  const std::pair<const char16_t*, Distribution> cases[] = {
      {u"Public", Distribution::kPublic},
      {u"OpenBeta", Distribution::kOpenBeta},
      {u"ClosedBeta", Distribution::kClosedBeta},
      {u"openbeta", Distribution::kPublic},
      {u"Nightly", Distribution::kPublic}};
  for (const auto& [text, expected] : cases) {
    Attributes attributes = kRequired;
    attributes.push_back({u"Distribution", text});
    ApplicationDescription description;
    ElementPointer element = MakeElement(attributes);
    ASSERT_EQ(description.Read(element.get()), kOk);
    EXPECT_EQ(description.distribution, expected);
  }
}

TEST(ApplicationDescriptionTest, MalformedUuidLeavesTheNullUuid) {
  Attributes attributes = kRequired;
  attributes[0].second = u"not a guid";
  ApplicationDescription description;
  ElementPointer element = MakeElement(attributes);
  ASSERT_EQ(description.Read(element.get()), kOk);
  EXPECT_TRUE(IsNullGuid(description.uuid));
}

TEST(ApplicationDescriptionTest, EachMissingRequiredAttributeFailsWithNothingKept) {
  for (size_t missing = 0; missing < kRequired.size(); ++missing) {
    Attributes attributes;
    for (size_t i = 0; i < kRequired.size(); ++i) {
      if (i != missing) attributes.push_back(kRequired[i]);
    }
    attributes.push_back({u"TrackingID", u"UA-1"});
    ApplicationDescription description;
    description.name = u"stale";
    ElementPointer element = MakeElement(attributes);
    EXPECT_EQ(description.Read(element.get()), kMissingData) << "missing " << missing;
    EXPECT_TRUE(description.name.IsEmpty());
    EXPECT_TRUE(description.tracking_id.IsEmpty());
    EXPECT_TRUE(IsNullGuid(description.uuid));
    EXPECT_EQ(description.max_frame_rate, 200);
  }
}

TEST(ApplicationDescriptionTest, NullElementIsNullInput) {
  ApplicationDescription description;
  EXPECT_EQ(description.Read(nullptr), kNullInput);
}

}  // namespace
}  // namespace vorn
