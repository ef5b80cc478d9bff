#include "application/application_description.h"

#include "resources/resource_manager.h"
#include "xml/xml_element.h"

namespace vorn {

namespace {

Distribution DistributionFromText(const String& text) noexcept {
  // Exact names only: anything else is a public release.
  if (text == u"OpenBeta") return Distribution::kOpenBeta;
  if (text == u"ClosedBeta") return Distribution::kClosedBeta;
  return Distribution::kPublic;
}

Result ReadRequiredText(const XmlElement& element, const char16_t* name, String& value) noexcept {
  return element.FindAttribute(name) ? element.ReadAttributeText(name, value) : kMissingData;
}

// The attributes in the order the description lists them, so that the first
// missing required one is the one reported.
Result ReadAll(const XmlElement& element, ApplicationDescription& out) noexcept {
  String uuid;
  Result result = ReadRequiredText(element, u"UUID", uuid);
  if (result != kOk) return result;
  if (TextToGuid(uuid.Text(), out.uuid) != kOk) out.uuid = Guid{};
  if ((result = ReadRequiredText(element, u"Name", out.name)) != kOk) return result;
  if ((result = ReadRequiredText(element, u"Version", out.version)) != kOk) return result;
  element.ReadAttributeText(u"Tag", out.tag, u"");
  String distribution;
  element.ReadAttributeText(u"Distribution", distribution, u"Public");
  out.distribution = DistributionFromText(distribution);
  if ((result = ReadRequiredText(element, u"Company", out.company)) != kOk) return result;
  if (!element.FindAttribute(u"MultipleInstancesAllowed")) return kMissingData;
  element.ReadAttributeBoolean(u"MultipleInstancesAllowed", out.multiple_instances_allowed);
  element.ReadAttributeBoolean(u"Activate", out.activate, true);
  if (element.ReadAttributeInt32(u"MaxFrameRate", out.max_frame_rate) != kOk) {
    out.max_frame_rate = 200;
  }
  element.ReadAttributeUInt16(u"TrackIRProfileID", out.track_ir_profile_id);
  element.ReadAttributeText(u"TrackingID", out.tracking_id, u"");
  element.ReadAttributeBoolean(u"OpenCommandLineFiles", out.open_command_line_files, false);
  return kOk;
}

}  // namespace

void ApplicationDescription::Reset() noexcept {
  *this = ApplicationDescription();
}

Result ApplicationDescription::Read(const XmlElement* element) noexcept {
  Reset();
  if (element == nullptr) return kNullInput;
  ApplicationDescription read;
  const Result result = ReadAll(*element, read);
  if (result != kOk) return result;
  *this = static_cast<ApplicationDescription&&>(read);
  return kOk;
}

Result ApplicationDescription::ReadFromResources(ResourceManager& resources) noexcept {
  Reset();
  XmlElement* element = nullptr;
  const Result found = resources.FindElement(u"Application", element);
  if (found != kOk) return found;
  const Result result = Read(element);
  resources.Release(element);
  return result;
}

}  // namespace vorn
