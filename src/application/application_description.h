// The Application description: how a program built on the framework names
// and steers itself, read from its "Application" XML element.
#pragma once

#include <cstdint>

#include "foundation/guid.h"
#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class ResourceManager;
class XmlElement;

enum class Distribution : uint32_t { kPublic = 0, kOpenBeta = 1, kClosedBeta = 2 };

struct ApplicationDescription {
  Guid uuid{};  // a malformed text leaves the null UUID
  String name;
  String version;
  String tag;
  Distribution distribution = Distribution::kPublic;
  String company;
  bool multiple_instances_allowed = false;
  bool activate = true;
  int32_t max_frame_rate = 200;
  uint16_t track_ir_profile_id = 0;
  String tracking_id;
  bool open_command_line_files = false;

  // Reads every attribute; the required ones (UUID, Name, Version, Company,
  // MultipleInstancesAllowed) are checked in that order and the first one
  // missing gives 6. On failure the description keeps its defaults: 15 for
  // a null element, 6 for a missing attribute.
  Result Read(const XmlElement* element) noexcept;
  // Reads the "Application" element of the resources (an empty ID, any
  // language) and gives it back: 29 when there is none, else as Read.
  Result ReadFromResources(ResourceManager& resources) noexcept;
  // Back to the defaults.
  void Reset() noexcept;
};

}  // namespace vorn
