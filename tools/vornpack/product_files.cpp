#include "product_files.h"

#include <algorithm>
#include <cctype>

#include "tool_text.h"

namespace vornpack {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// The product's texts in one language: its description and the licence
// placeholder, with @NAME@ for the product's name, @COMPANY@ for its
// company and @FILE@ for the licence file's package path.
struct LanguageTexts {
  const char* language;
  const char* description;
  const char* licence_title;
  const char* licence_body;
};

const LanguageTexts kTexts[] = {
    {"en", "@NAME@, by @COMPANY@.", "@NAME@ — License Agreement",
     "The license agreement of @NAME@ by @COMPANY@ goes here. Replace this text in @FILE@ before "
     "you release the installer."},
    {"fr", "@NAME@, par @COMPANY@.", "@NAME@ — Contrat de licence",
     "Le contrat de licence de @NAME@, par @COMPANY@, figure ici. Remplacez ce texte dans @FILE@ "
     "avant de diffuser le programme d’installation."},
    {"it", "@NAME@, di @COMPANY@.", "@NAME@ — Contratto di licenza",
     "Qui va il contratto di licenza di @NAME@, di @COMPANY@. Sostituite questo testo in @FILE@ "
     "prima "
     "di distribuire il programma di installazione."},
    {"zh", "@COMPANY@ 出品的 @NAME@。", "@NAME@ — 许可协议",
     "此处为 @COMPANY@ 的 @NAME@ 许可协议。发布安装程序之前，请替换 @FILE@ 中的这段文字。"},
};

// `pattern` with each "@KEY@" of `values` replaced by its value, in one
// pass: a value is never searched again (a product may be named "@NAME@").
std::string Substitute(const std::string& pattern,
                       const std::vector<std::pair<std::string, std::string>>& values) {
  std::string out;
  for (size_t at = 0; at < pattern.size();) {
    const size_t open = pattern.find('@', at);
    const size_t close = open == std::string::npos ? open : pattern.find('@', open + 1);
    if (close == std::string::npos) {
      out += pattern.substr(at);
      break;
    }
    const std::string key = pattern.substr(open + 1, close - open - 1);
    const auto value = std::find_if(values.begin(), values.end(),
                                    [&](const auto& entry) { return entry.first == key; });
    out += pattern.substr(at, open - at);
    if (value == values.end()) {
      out += '@';  // not a marker: the second '@' may open one
      at = open + 1;
    } else {
      out += value->second;
      at = close + 1;
    }
  }
  return out;
}

constexpr char kConfiguration[] = R"(<?xml version="1.0" encoding="utf-8"?>
<!--
  What the installer installs, and the installer's own identity.

  The two UUIDs must differ: the installer guards its single instance with
  its own UUID, and it recognises the installed and the running product by
  the product's. Keep the product's UUID for every later version: it names
  the product's uninstall entry, which a new version replaces.
-->
<Resources>

  <!-- The installer itself. TrackingID: an analytics property, or empty
       for none. -->
  <Application UUID="@INSTALLER_UUID@"
               Name="@NAME@ Setup"
               Version="@VERSION@"
               Company="@COMPANY@"
               MultipleInstancesAllowed="false"
               TrackingID=""/>

  <!-- The product it installs. Description and the shortcuts' Text and
       Help name texts of VornSetup-Custom-Strings-*.xml by a leading #. -->
  <InstallationSettings>
    <Application UUID="@UUID@"
                 Name="@NAME@"
                 Version="@VERSION@"@TAG@
                 Company="@COMPANY@"/>
    <Distribution>Public</Distribution>
    <Description>#ProductDescription</Description>
    <!-- The program the installer starts and the shortcuts open, relative
         to the install folder (the product folder's layout). -->
    <Executable>@EXECUTABLE@</Executable>
    <!-- More shortcuts in the program group, besides the product's own:
    <Shortcuts>
      <Shortcut Text="#ReadMeShortcut" Help="#ReadMeShortcutHelp">ReadMe.txt</Shortcut>
    </Shortcuts>
    -->
    <Contact>@WEBSITE@</Contact>
    <WebSite>@WEBSITE@</WebSite>
    <Register>@WEBSITE@</Register>
    <TechnicalSupport>@WEBSITE@</TechnicalSupport>
    <Updates>@WEBSITE@</Updates>
  </InstallationSettings>

</Resources>
)";

constexpr char kCustomStrings[] = R"(<?xml version="1.0" encoding="utf-8"?>
<!--
  The product's own texts. A key of the installer's standard texts given
  here (WelcomeText, for one) replaces the standard text. Shortcut texts
  become file names: no \ / : * ? " < > |.
-->
<Resources Language="@LANGUAGE@">
  <String ID="ProductDescription">@DESCRIPTION@</String>
</Resources>
)";

constexpr char kLicence[] = R"(<?xml version="1.0" encoding="utf-8"?>
<!-- The licence: one formatted text (<p>, <b>, <ul>/<li>, <a href>, <br>). -->
<Resources Language="@LANGUAGE@">
  <String ID="LicenseText">
    <p align="center"><b>@TITLE@</b></p>
    <p>@BODY@</p>
  </String>
</Resources>
)";

bool IsHex(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

std::vector<ProductFile> ProductFiles(const ProductIdentity& product) {
  const std::string name = EscapeXml(product.name), company = EscapeXml(product.company);
  const std::string tag =
      product.tag.empty() ? "" : "\n                 Tag=\"" + EscapeXml(product.tag) + "\"";
  std::vector<ProductFile> files;
  files.push_back({"Data/Xml/Configuration.xml",
                   std::string(kBom) +
                       Substitute(kConfiguration, {{"INSTALLER_UUID", product.installer_uuid},
                                                   {"UUID", product.product_uuid},
                                                   {"NAME", name},
                                                   {"COMPANY", company},
                                                   {"VERSION", EscapeXml(product.version)},
                                                   {"TAG", tag},
                                                   {"EXECUTABLE", EscapeXml(product.executable)},
                                                   {"WEBSITE", EscapeXml(product.website)}})});
  for (const LanguageTexts& texts : kTexts) {
    const std::string language = texts.language;
    const std::string licence = "Data/Xml/VornSetup-License-" + language + ".xml";
    const std::vector<std::pair<std::string, std::string>> values = {
        {"LANGUAGE", language}, {"NAME", name}, {"COMPANY", company}, {"FILE", licence}};
    files.push_back(
        {"Data/Xml/VornSetup-Custom-Strings-" + language + ".xml",
         std::string(kBom) +
             Substitute(kCustomStrings, {{"LANGUAGE", language},
                                         {"DESCRIPTION", Substitute(texts.description, values)}})});
    files.push_back(
        {licence, std::string(kBom) +
                      Substitute(kLicence, {{"LANGUAGE", language},
                                            {"TITLE", Substitute(texts.licence_title, values)},
                                            {"BODY", Substitute(texts.licence_body, values)}})});
  }
  return files;
}

bool IsValidVersion(const std::string& version) {
  // 1 to 4 numbers of at most 9 digits, joined by dots: "2", "1.0", "3.1.4.159".
  size_t parts = 0, digits = 0;
  for (size_t i = 0; i <= version.size(); ++i) {
    if (i == version.size() || version[i] == '.') {
      if (digits == 0 || ++parts > 4) return false;
      digits = 0;
    } else if (std::isdigit(static_cast<unsigned char>(version[i])) && digits < 9) {
      ++digits;
    } else {
      return false;
    }
  }
  return true;
}

bool IsValidFolderName(const std::string& name, std::string& reason) {
  if (name.empty()) {
    reason = "is empty";
    return false;
  }
  for (unsigned char c : name) {
    if (c < 32 || c == 127 ||
        std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos) {
      reason =
          "holds a character a folder name cannot (\\ / : * ? \" < > | or a control character)";
      return false;
    }
  }
  if (name.front() == ' ' || name.back() == ' ' || name.back() == '.') {
    reason = "starts or ends with a blank, or ends with a dot";
    return false;
  }
  return true;
}

bool IsValidRelativePath(const std::string& path, std::string& normalized, std::string& reason) {
  normalized.clear();
  if (path.empty()) {
    reason = "is empty";
    return false;
  }
  if (path[0] == '/' || path[0] == '\\' || path.find(':') != std::string::npos) {
    reason = "is not a relative path (a path inside the product folder, such as Bin\\App.exe)";
    return false;
  }
  std::string part;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/' && path[i] != '\\') {
      part += path[i];
      continue;
    }
    if (part.empty() || part == "." || part == "..") {
      reason = "has an empty, \".\" or \"..\" part: it must stay inside the product folder";
      return false;
    }
    if (!IsValidFolderName(part, reason)) {
      reason = "has a part that " + reason;
      return false;
    }
    normalized += (normalized.empty() ? "" : "\\") + part;
    part.clear();
  }
  return true;
}

bool IsValidUuid(const std::string& text, std::string& normalized) {
  std::string body = text;
  if (body.size() == 38 && body.front() == '{' && body.back() == '}') {
    body = body.substr(1, 36);
  }
  if (body.size() != 36) return false;
  bool zero = true;
  normalized.clear();
  for (size_t i = 0; i < body.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash != (body[i] == '-')) return false;
    if (!dash && !IsHex(body[i])) return false;
    if (!dash && body[i] != '0') zero = false;
    normalized += static_cast<char>(std::toupper(static_cast<unsigned char>(body[i])));
  }
  return !zero;
}

bool IsValidWebsite(const std::string& url) {
  for (const char* scheme : {"http://", "https://"}) {
    const std::string prefix = scheme;
    if (url.compare(0, prefix.size(), prefix) == 0 && url.size() > prefix.size()) {
      for (unsigned char c : url) {
        if (c <= 32 || c == 127) return false;
      }
      return true;
    }
  }
  return false;
}

}  // namespace vornpack
