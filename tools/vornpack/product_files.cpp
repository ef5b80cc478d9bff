#include "product_files.h"

#include <cctype>

#include "tool_text.h"

namespace vornpack {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// The product's texts in one language: its description (shown with the
// uninstall entry) and the licence placeholder. {N} is the product's name,
// {C} its company, {F} the licence file's name.
struct LanguageTexts {
  const char* language;
  const char* description;
  const char* licence_title;
  const char* licence_body;
};

const LanguageTexts kTexts[] = {
    {"en", "{N}, by {C}.", "{N} — License Agreement",
     "The license agreement of {N} by {C} goes here. Replace this text in {F} before "
     "you release the installer."},
    {"fr", "{N}, par {C}.", "{N} — Contrat de licence",
     "Le contrat de licence de {N}, par {C}, figure ici. Remplacez ce texte dans {F} "
     "avant de diffuser le programme d’installation."},
    {"it", "{N}, di {C}.", "{N} — Contratto di licenza",
     "Qui va il contratto di licenza di {N}, di {C}. Sostituite questo testo in {F} prima "
     "di distribuire il programma di installazione."},
    {"zh", "{C} 出品的 {N}。", "{N} — 许可协议",
     "此处为 {C} 的 {N} 许可协议。发布安装程序之前，请替换 {F} 中的这段文字。"},
};

std::string Fill(const std::string& pattern, const ProductIdentity& product,
                 const std::string& file) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}') {
      const char which = pattern[i + 1];
      if (which == 'N' || which == 'C' || which == 'F') {
        out += EscapeXml(which == 'N' ? product.name : which == 'C' ? product.company : file);
        i += 2;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

std::string Attribute(const char* name, const std::string& value) {
  return std::string(name) + "=\"" + EscapeXml(value) + "\"";
}

std::string Configuration(const ProductIdentity& p) {
  const std::string site = EscapeXml(p.website);
  std::string tag = p.tag.empty() ? "" : "\n                 " + Attribute("Tag", p.tag);
  return std::string(kBom) +
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<!--\n"
         "  What the installer installs, and the installer's own identity.\n"
         "\n"
         "  The two UUIDs must differ: the installer guards its single instance with\n"
         "  its own UUID, and it recognises the installed and the running product by\n"
         "  the product's. Keep the product's UUID for every later version: it names\n"
         "  the product's uninstall entry, which a new version replaces.\n"
         "-->\n"
         "<Resources>\n"
         "\n"
         "  <!-- The installer itself. TrackingID: an analytics property, or empty\n"
         "       for none. -->\n"
         "  <Application " +
         Attribute("UUID", p.installer_uuid) +
         "\n"
         "               " +
         Attribute("Name", p.name + " Setup") +
         "\n"
         "               " +
         Attribute("Version", p.version) +
         "\n"
         "               " +
         Attribute("Company", p.company) +
         "\n"
         "               MultipleInstancesAllowed=\"false\"\n"
         "               TrackingID=\"\"/>\n"
         "\n"
         "  <!-- The product it installs. Description and the shortcuts' Text and\n"
         "       Help name texts of VornSetup-Custom-Strings-*.xml by a leading #. -->\n"
         "  <InstallationSettings>\n"
         "    <Application " +
         Attribute("UUID", p.product_uuid) +
         "\n"
         "                 " +
         Attribute("Name", p.name) +
         "\n"
         "                 " +
         Attribute("Version", p.version) + tag +
         "\n"
         "                 " +
         Attribute("Company", p.company) +
         "/>\n"
         "    <Distribution>Public</Distribution>\n"
         "    <Description>#ProductDescription</Description>\n"
         "    <!-- The program the installer starts and the shortcuts open, relative\n"
         "         to the install folder (the product folder's layout). -->\n"
         "    <Executable>" +
         EscapeXml(p.executable) +
         "</Executable>\n"
         "    <!-- More shortcuts in the program group, besides the product's own:\n"
         "    <Shortcuts>\n"
         "      <Shortcut Text=\"#ReadMeShortcut\" "
         "Help=\"#ReadMeShortcutHelp\">ReadMe.txt</Shortcut>\n"
         "    </Shortcuts>\n"
         "    -->\n"
         "    <Contact>" +
         site +
         "</Contact>\n"
         "    <WebSite>" +
         site +
         "</WebSite>\n"
         "    <Register>" +
         site +
         "</Register>\n"
         "    <TechnicalSupport>" +
         site +
         "</TechnicalSupport>\n"
         "    <Updates>" +
         site +
         "</Updates>\n"
         "  </InstallationSettings>\n"
         "\n"
         "</Resources>\n";
}

std::string CustomStrings(const ProductIdentity& p, const LanguageTexts& texts) {
  return std::string(kBom) +
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<!--\n"
         "  The product's own texts. A key of the installer's standard texts given\n"
         "  here (WelcomeText, for one) replaces the standard text. Shortcut texts\n"
         "  become file names: no \\ / : * ? \" < > |.\n"
         "-->\n"
         "<Resources Language=\"" +
         texts.language +
         "\">\n"
         "  <String ID=\"ProductDescription\">" +
         Fill(texts.description, p, "") +
         "</String>\n"
         "</Resources>\n";
}

std::string Licence(const ProductIdentity& p, const LanguageTexts& texts) {
  const std::string file = std::string("Data/Xml/VornSetup-License-") + texts.language + ".xml";
  return std::string(kBom) +
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<!-- The licence: one formatted text (<p>, <b>, <ul>/<li>, <a href>, <br>). -->\n"
         "<Resources Language=\"" +
         texts.language +
         "\">\n"
         "  <String ID=\"LicenseText\">\n"
         "    <p align=\"center\"><b>" +
         Fill(texts.licence_title, p, file) +
         "</b></p>\n"
         "    <p>" +
         Fill(texts.licence_body, p, file) +
         "</p>\n"
         "  </String>\n"
         "</Resources>\n";
}

bool IsHex(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

std::vector<ProductFile> ProductFiles(const ProductIdentity& product) {
  std::vector<ProductFile> files;
  files.push_back({"Data/Xml/Configuration.xml", Configuration(product)});
  for (const LanguageTexts& texts : kTexts) {
    const std::string language = texts.language;
    files.push_back(
        {"Data/Xml/VornSetup-Custom-Strings-" + language + ".xml", CustomStrings(product, texts)});
    files.push_back({"Data/Xml/VornSetup-License-" + language + ".xml", Licence(product, texts)});
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
