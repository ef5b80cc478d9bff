#include "application/uninstallation.h"

#include "application/application_description.h"
#include "foundation/format.h"
#include "foundation/path.h"

namespace vorn {

namespace {

// The batch waits for the program to end (its file stays locked until then),
// then empties and removes the install folder and deletes itself. The folder
// lines come first in the template so that they can be left out as a block.
constexpr const char16_t* kBatchHead =
    u"@echo off\r\n"
    u"cd\\\r\n"
    u":loop\r\n"
    u"del \"{1}\"\r\n"
    u"if exist \"{1}\" goto loop\r\n";
constexpr const char16_t* kBatchFolderLines =
    u"del \"{0}*.???\"\r\n"
    u"rd \"{0}\"\r\n";
constexpr const char16_t* kBatchTail = u"del \"{2}\"";

// Calls `segment` for every part between separators; stops when it says no.
template <class Check>
bool AllSegments(const String& text, Check segment) noexcept {
  uint32_t start = 0;
  for (uint32_t i = 0; i <= text.Length(); ++i) {
    if (i < text.Length() && !path::IsSeparator(text[i])) continue;
    if (!segment(text.Middle(start, i - start))) return false;
    start = i + 1;
  }
  return true;
}

bool IsDotSegment(const String& segment) noexcept {
  return segment == u"." || segment == u"..";
}

bool IsAsciiLetter(char16_t unit) noexcept {
  return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

// A program in a subfolder of the install folder ("Bin\Writer.exe") keeps
// that subfolder alive until it ends, so the folder cannot be removed during
// the uninstallation, and the batch's last "rd" would fail on it. One "rd"
// per folder between the two, deepest first, once the program is gone; "rd"
// without /s leaves a folder that still holds something the user put there.
String ProgramFolderLines(const String& folder, const String& program) noexcept {
  String lines;
  if (folder.IsEmpty() || program.Length() <= folder.Length() ||
      !program.Left(folder.Length()).EqualsIgnoringCase(folder.Text())) {
    return lines;
  }
  const String below = program.Tail(folder.Length());
  // Anything that could leave the folder or change what the line does.
  if (!AllSegments(below, [](const String& segment) {
        return !segment.IsEmpty() && !IsDotSegment(segment) && segment.Find(u'%') < 0 &&
               segment.Find(u'"') < 0;
      })) {
    return lines;
  }
  for (uint32_t end = program.Length(); end > folder.Length(); --end) {
    if (path::IsSeparator(program[end - 1])) lines += u"rd \"" + program.Left(end - 1) + u"\"\r\n";
  }
  return lines;
}

}  // namespace

String UninstallEntryName(const Guid& uuid) noexcept {
  return u"{" + GuidToText(uuid) + u"}";
}

String UninstallTitle(const ApplicationDescription& description) noexcept {
  String title = description.name;
  title += u'\u00A0';
  title += description.version;
  if (!description.tag.IsEmpty()) {
    title += u' ';
    title += description.tag;
  }
  return title;
}

String UninstallBatchText(const String& folder, const String& program, const String& batch,
                          const String& company_folder) noexcept {
  // The folder lines are text, not template: a path may hold braces.
  String text = Format(kBatchHead, FormatArg(folder), FormatArg(program), FormatArg(batch));
  if (!folder.IsEmpty()) {
    text += ProgramFolderLines(folder, program);
    text += Format(kBatchFolderLines, FormatArg(folder), FormatArg(program), FormatArg(batch));
    // The company's folder, made for the product by its installation, goes
    // too once the product's folder has left it empty; "rd" keeps it while
    // it holds anything else.
    if (!company_folder.IsEmpty() && company_folder.Length() < folder.Length() &&
        folder.Left(company_folder.Length()).EqualsIgnoringCase(company_folder.Text())) {
      text += u"rd \"" + company_folder + u"\"\r\n";
    }
  }
  text += Format(kBatchTail, FormatArg(folder), FormatArg(program), FormatArg(batch));
  return text;
}

String CompanyFolderOf(const String& install_folder_path, const String& company) noexcept {
  // Without a company name every position would "contain" it: there is no
  // company folder then, rather than whatever folder comes first.
  const uint32_t length = company.Length();
  const uint32_t total = install_folder_path.Length();
  if (length == 0 || length + 1 > total) return String();
  const char16_t* text = install_folder_path.Text();
  for (uint32_t start = 1; start + length < total; ++start) {
    // The company is a whole folder name: a separator on both sides.
    if (!path::IsSeparator(text[start - 1]) || !path::IsSeparator(text[start + length])) continue;
    if (String(text + start, length) == company)
      return install_folder_path.Left(start + length + 1);
  }
  return String();
}

bool IsRemovableInstallFolder(const String& folder) noexcept {
  // "X:\" and at least one more segment, which the trailing separator ends.
  if (folder.Length() < 5 || !IsAsciiLetter(folder[0]) || folder[1] != u':' ||
      !path::IsSeparator(folder[2]) || !path::EndsWithSeparator(folder)) {
    return false;
  }
  const String below_root = folder.Middle(3, folder.Length() - 4);
  // Empty segments ("X:\\a\") and dot segments could reach the root again;
  // quotes and wildcards would change what the batch deletes.
  return path::IsValid(folder) && below_root.Find(u'%') < 0 &&
         AllSegments(below_root, [](const String& segment) {
           return !segment.IsEmpty() && !IsDotSegment(segment);
         });
}

bool IsInstallRelativePath(const String& file) noexcept {
  if (file.IsEmpty() || !path::IsRelative(file) || file.Find(u':') >= 0) return false;
  return AllSegments(file, [](const String& segment) { return segment != u".."; });
}

bool IsShortcutFile(const String& file) noexcept {
  const uint32_t length = file.Length();
  return length > 4 && file.Tail(length - 4).EqualsIgnoringCase(u".lnk") &&
         !path::IsSeparator(file[length - 5]);
}

}  // namespace vorn
