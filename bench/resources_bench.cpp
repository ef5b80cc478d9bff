// Start-up work of the resource layer and picture decoding.
//
//   startup_resources_ms      registering the 22 documents the installer
//                             registers at start (generated at the sizes of
//                             the demo package, XML packed with PPMd as the
//                             package tool packs it) in a new manager, then
//                             resolving 500 localized keys with the chosen
//                             language "fr" and the locale "en" (keys in
//                             French, keys only in English, missing keys)
//   startup_reference_parse_ms  expat parsing the same 22 documents from
//                             memory (when expat is installed): the floor of
//                             the work above, without unpacking or lookups
//   png_decode_vs_libpng      a bare libpng decode of a 1024 x 1024 RGBA PNG
//                             from memory / LoadPicture of the same bytes
//                             from a memory stream (1.0 = parity)
//
// Each figure is the median of its runs.
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#if VORN_HAVE_EXPAT
#include <expat.h>
#endif

#include "foundation/string.h"
#include "package/archive_writer.h"
#include "package/memory_stream.h"
#include "package/package_file_system.h"
#include "resources/languages.h"
#include "resources/localized_text.h"
#include "resources/picture.h"
#include "resources/picture_loader.h"
#include "resources/resource_manager.h"

namespace {

using Bytes = std::vector<uint8_t>;

double MedianMs(const std::function<void()>& work, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

uint32_t Next(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

// Words for texts of plausible length.
std::string Sentence(uint32_t& state, int words) {
  static const char* const kWords[] = {
      "the",      "installer", "program", "folder",  "files", "shortcut",  "desktop", "select",
      "continue", "setup",     "will",    "install", "into",  "following", "click",   "next",
      "please",   "wait",      "while",   "copied",  "your",  "computer"};
  std::string text;
  for (int i = 0; i < words; ++i) {
    if (i) text += ' ';
    text += kWords[Next(state) % (sizeof(kWords) / sizeof(kWords[0]))];
  }
  return text;
}

std::string Control(uint32_t& state, int index) {
  char line[512];
  std::snprintf(line, sizeof(line),
                "      <Button Name=\"Control%d\" Text=\"#Caption%d\" Tooltip=\"#Help%d\" "
                "Left=\"%u\" Top=\"%u\" Width=\"%u\" Height=\"23\" Anchors=\"Left|Top\"/>\n",
                index, index % 120, index % 120, Next(state) % 400, Next(state) % 300,
                60 + Next(state) % 100);
  return line;
}

std::string WindowElements(const char* element, int count, int controls, uint32_t seed) {
  uint32_t state = seed;
  std::string xml;
  for (int i = 0; i < count; ++i) {
    xml += "  <" + std::string(element) + " ID=\"" + element + std::to_string(i) +
           "\" Caption=\"#Title" + std::to_string(i) +
           "\" Width=\"500\" Height=\"380\" Style=\"Caption|SystemMenu\">\n    <Children>\n";
    for (int c = 0; c < controls; ++c) xml += Control(state, i * controls + c);
    xml += "    </Children>\n  </" + std::string(element) + ">\n";
  }
  return xml;
}

std::string WindowsDocument(const std::string& elements) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources>\n" + elements + "</Resources>\n";
}

std::string StringsDocument(const char* language, const char* prefix, int count, uint32_t seed) {
  uint32_t state = seed;
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources Language=\"" +
                    std::string(language) + "\">\n";
  for (int i = 0; i < count; ++i) {
    xml += "  <String ID=\"" + std::string(prefix) + std::to_string(i) + "\">" +
           Sentence(state, 4 + static_cast<int>(Next(state) % 14)) + "</String>\n";
  }
  return xml + "</Resources>\n";
}

std::string LicenseDocument(const char* language, uint32_t seed) {
  uint32_t state = seed;
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources Language=\"" +
                    std::string(language) + "\">\n  <String ID=\"License\">\n";
  for (int i = 0; i < 60; ++i) {
    xml += "    <Paragraph><Bold>" + std::to_string(i + 1) + ".</Bold> " +
           Sentence(state, 40 + static_cast<int>(Next(state) % 30)) + "</Paragraph>\n";
  }
  return xml + "  </String>\n</Resources>\n";
}

std::string FileListDocument() {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources>\n  <Files "
      "Folder=\"Product\">\n";
  for (int folder = 0; folder < 12; ++folder) {
    xml += "    <Files Folder=\"Folder" + std::to_string(folder) + "\">\n";
    for (int file = 0; file < 25; ++file) {
      xml += "      <File Name=\"File" + std::to_string(folder * 25 + file) + ".dat\" Size=\"" +
             std::to_string(1000 + folder * 977 + file * 13) + "\"/>\n";
    }
    xml += "    </Files>\n";
  }
  return xml + "  </Files>\n</Resources>\n";
}

struct Document {
  std::u16string path;
  std::string xml;
};

std::vector<Document> DemoDocuments() {
  std::vector<Document> documents;
  documents.push_back(
      {u"Data/Xml/VornLib-Resources.xml",
       WindowsDocument(WindowElements("Window", 8, 12, 1) + WindowElements("Menu", 6, 8, 2) +
                       WindowElements("MessageBox", 4, 3, 5))});
  documents.push_back({u"Data/Xml/Configuration.xml",
                       "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources>\n"
                       "  <Application Company=\"Kelp\" Name=\"Demo\" Version=\"1.0\" "
                       "Tag=\"\" Website=\"https://example.invalid/\"/>\n"
                       "  <InstallationSettings InstallFolder=\"{ProgramFiles}\\Kelp\\Demo\" "
                       "ProgramGroup=\"Kelp Demo\" Executable=\"Demo.exe\"/>\n</Resources>\n"});
  documents.push_back(
      {u"Data/Xml/Dialogs.xml", WindowsDocument(WindowElements("DialogBox", 10, 10, 3))});
  documents.push_back({u"Data/Xml/FileList.xml", FileListDocument()});
  documents.push_back({u"Data/Xml/Preferences.xml",
                       "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources><Preferences><User>"
                       "<Global><InstallOptions><CreateDesktopShortcut>true</CreateDesktopShortcut>"
                       "<CreateQuickLaunchShortcut>false</CreateQuickLaunchShortcut>"
                       "</InstallOptions></Global><Local/></User><System><Global/><Local/>"
                       "</System></Preferences></Resources>\n"});
  documents.push_back(
      {u"Data/Xml/Windows.xml", WindowsDocument(WindowElements("Window", 14, 20, 4))});
  const char* const languages[] = {"en", "fr", "it", "zh"};
  uint32_t seed = 10;
  for (const char* language : languages) {
    documents.push_back(
        {u"Data/Xml/VornSetup-Strings-" + std::u16string(language, language + 2) + u".xml",
         StringsDocument(language, "Setup", 120, seed++)});
  }
  for (const char* language : languages) {
    // The product's texts are complete in English only.
    const int count = language[0] == 'e' ? 30 : 18;
    documents.push_back(
        {u"Data/Xml/VornSetup-Custom-Strings-" + std::u16string(language, language + 2) + u".xml",
         StringsDocument(language, "Custom", count, seed++)});
  }
  for (const char* language : languages) {
    documents.push_back(
        {u"Data/Xml/VornSetup-License-" + std::u16string(language, language + 2) + u".xml",
         LicenseDocument(language, seed++)});
  }
  for (const char* language : languages) {
    documents.push_back(
        {u"Data/Xml/VornLib-Strings-" + std::u16string(language, language + 2) + u".xml",
         StringsDocument(language, "Lib", 44, seed++)});
  }
  return documents;
}

Bytes BuildArchive(const std::vector<Document>& documents) {
  size_t total = 1 << 20;
  for (const Document& d : documents) total += d.xml.size() * 2;
  Bytes archive(total);
  vorn::MemoryStream sink(archive.data(), archive.size(), vorn::MemoryStream::kWriting);
  vorn::ArchiveWriter writer;
  if (writer.Begin(&sink) != vorn::kOk) std::abort();
  for (const Document& d : documents) {
    std::string bytes = "\xEF\xBB\xBF" + d.xml;
    if (writer.AddMemory(d.path.c_str(), bytes.data(), bytes.size(), vorn::kMethodPpmd) !=
        vorn::kOk) {
      std::abort();
    }
  }
  if (writer.Finish() != vorn::kOk) std::abort();
  archive.resize(writer.BytesWritten());
  return archive;
}

class French : public vorn::ChosenLanguageSource {
 public:
  uint32_t ChosenLanguage() noexcept override { return vorn::LanguageIndex(u"fr"); }
};

// The 500 references: mostly present in French, some only in English, a
// few missing.
std::vector<std::u16string> LocalizedKeys() {
  std::vector<std::u16string> keys;
  for (int i = 0; i < 500; ++i) {
    std::string key;
    switch (i % 10) {
      case 0:
        key = "#Custom" + std::to_string(18 + i % 12);  // English only
        break;
      case 1:
        key = "#Missing" + std::to_string(i);
        break;
      case 2:
      case 3:
        key = "#Lib" + std::to_string(i % 44);
        break;
      default:
        key = "#Setup" + std::to_string(i % 120);
    }
    keys.emplace_back(key.begin(), key.end());
  }
  return keys;
}

double StartupMs(vorn::PackageFileSystem& files, const std::vector<Document>& documents) {
  const std::vector<std::u16string> keys = LocalizedKeys();
  French french;
  size_t sink = 0;
  const double ms = MedianMs(
      [&] {
        vorn::ResourceManager manager(files);
        manager.SetChosenLanguageSource(&french);
        manager.SetLocaleLanguage(vorn::LanguageIndex(u"en"));
        for (const Document& d : documents) {
          const vorn::Result r = manager.RegisterDocument(d.path.c_str());
          if (r != vorn::kOk) {
            std::fprintf(stderr, "registering %s: %u\n", vorn::Utf8Text(d.path.c_str()).Text(), r);
            std::abort();
          }
        }
        vorn::String text;
        for (const std::u16string& key : keys) {
          vorn::LocalizeText(manager, key.c_str(), text);
          sink += text.Length();
        }
      },
      21);
  if (sink == 0) std::abort();
  return ms;
}

#if VORN_HAVE_EXPAT
double ReferenceParseMs(const std::vector<Document>& documents) {
  return MedianMs(
      [&] {
        for (const Document& d : documents) {
          XML_Parser parser = XML_ParserCreate(nullptr);
          if (XML_Parse(parser, d.xml.data(), static_cast<int>(d.xml.size()), 1) != XML_STATUS_OK) {
            std::abort();
          }
          XML_ParserFree(parser);
        }
      },
      21);
}
#endif

// A photo-like 1024 x 1024 RGBA image: smooth gradients with some noise, so
// that it compresses about as well as real page pictures.
Bytes EncodeBenchPng() {
  const uint32_t size = 1024;
  Bytes rows(size_t{size} * size * 4);
  uint32_t state = 99;
  for (uint32_t y = 0; y < size; ++y) {
    for (uint32_t x = 0; x < size; ++x) {
      uint8_t* p = &rows[(size_t{y} * size + x) * 4];
      const uint32_t noise = Next(state) & 7;
      p[0] = static_cast<uint8_t>((x / 4 + noise) & 0xFF);
      p[1] = static_cast<uint8_t>((y / 4 + noise) & 0xFF);
      p[2] = static_cast<uint8_t>(((x + y) / 8) & 0xFF);
      p[3] = static_cast<uint8_t>(x < 64 || y < 64 ? x * 4 : 255);
    }
  }
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t length) {
        auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
        o->insert(o->end(), data, data + length);
      },
      nullptr);
  png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (uint32_t y = 0; y < size; ++y) png_write_row(png, &rows[size_t{y} * size * 4]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

struct MemoryReader {
  const Bytes* bytes;
  size_t position;
};

// libpng as its manual shows it, reading from memory.
void BareLibpngDecode(const Bytes& file) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  MemoryReader reader = {&file, 0};
  png_set_read_fn(png, &reader, [](png_structp p, png_bytep data, png_size_t length) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(p));
    std::memcpy(data, r->bytes->data() + r->position, length);
    r->position += length;
  });
  png_read_info(png, info);
  png_read_update_info(png, info);
  const size_t stride = png_get_rowbytes(png, info);
  const uint32_t height = png_get_image_height(png, info);
  auto* pixels = static_cast<uint8_t*>(std::malloc(stride * height));
  std::vector<png_bytep> rows(height);
  for (uint32_t y = 0; y < height; ++y) rows[y] = pixels + stride * y;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  if (pixels[stride * height - 1] == 0x5A && pixels[0] == 0xA5) std::puts("");
  std::free(pixels);
}

void OurDecode(const Bytes& file) {
  vorn::MemoryStream stream(file.data(), file.size());
  vorn::Picture* picture = nullptr;
  if (vorn::LoadPicture(&stream, picture) != vorn::kOk) std::abort();
  delete picture;
}

}  // namespace

int main() {
  const std::vector<Document> documents = DemoDocuments();
  if (documents.size() != 22) std::abort();
  const Bytes archive = BuildArchive(documents);
  vorn::PackageFileSystem files;
  if (files.MountMemory(archive.data(), archive.size()) != vorn::kOk) std::abort();
  std::printf("startup_resources_ms: %.3f\n", StartupMs(files, documents));
#if VORN_HAVE_EXPAT
  std::printf("startup_reference_parse_ms: %.3f\n", ReferenceParseMs(documents));
#endif

  const Bytes png = EncodeBenchPng();
  // Alternate the two so that neither profits from a warmer machine.
  std::vector<double> ours, reference;
  for (int i = 0; i < 15; ++i) {
    reference.push_back(MedianMs([&] { BareLibpngDecode(png); }, 1));
    ours.push_back(MedianMs([&] { OurDecode(png); }, 1));
  }
  std::sort(ours.begin(), ours.end());
  std::sort(reference.begin(), reference.end());
  const double our_ms = ours[ours.size() / 2];
  const double reference_ms = reference[reference.size() / 2];
  std::printf("png_decode_ms: %.3f\n", our_ms);
  std::printf("png_decode_libpng_ms: %.3f\n", reference_ms);
  std::printf("png_decode_vs_libpng: %.3f\n", reference_ms / our_ms);
  return 0;
}
