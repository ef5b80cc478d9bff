// The test product's identity and resources, shared by the product program
// and the tests that install and remove it.
#pragma once

#include <string>

namespace vorn::test {

inline constexpr const char16_t* kProductUuid = u"5A0C1E27-9B3D-4F61-8C2E-7D4B9A0F1E36";
inline constexpr const char16_t* kProductName = u"Vorn Test Product";
inline constexpr const char16_t* kProductCompany = u"Vorn Test Company";
inline constexpr const char16_t* kProductExtension = u".vtpdoc";
inline constexpr const char16_t* kProductProtocol = u"vorntestproduct";

// "Application", "FileTypes" and "CustomProtocols" in one document.
std::string ProductResourcesXml();

}  // namespace vorn::test
