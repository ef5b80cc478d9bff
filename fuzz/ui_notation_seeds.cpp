// Writes the seed corpus of ui_notation_fuzz into the folder given as
// argv[1]: one selector byte (colour, length, font list, geometry
// expression, shortcut table) followed by a sample as UTF-16 little-endian,
// or, for shortcut tables, a whole table in UTF-8.
#include <string>

#include "seed_files.h"

int main(int argc, char** argv) {
  const std::string folder = seeds::Folder(argc, argv);
  if (folder.empty()) return 1;
  const std::u16string colors[] = {u"#ABC",    u"#10203040",   u"#12345", u"Transparent",
                                   u"GUIFace", u"LightOrange", u"#"};
  const std::u16string lengths[] = {u"12", u" -8dlu+4", u"11lu", u"99999999999999999999"};
  const std::u16string fonts[] = {u"{Caption}, Bold, 14", u"Arial,*1.5", u"*.8",
                                  u"{Menu},Italic,Underline,Strikeout,FixedPitch", u",,,"};
  const std::u16string expressions[] = {u"120",
                                        u"36dlu+2",
                                        u"Parent.Width-1",
                                        u"Icon.Right+7dlu",
                                        u"Separator.Top*.5-24",
                                        u"Parent.Height/3",
                                        u".Width",
                                        u"Parent.Wid-8",
                                        u"Self.Height*0.5+2",
                                        u"X.Middle",
                                        u"Parent.Width/0"};
  const std::u16string keys[] = {u"Ctrl+S", u"Ctrl+Alt+Shift+ESCAPE", u"F19", u"Ctrl+Q"};
  int number = 0;
  const auto write = [&](char selector, const std::u16string& sample) {
    seeds::Write(folder, number++, std::string(1, selector) + seeds::Utf16Le(sample));
  };
  for (const auto& sample : colors) write(0, sample);
  for (const auto& sample : lengths) write(1, sample);
  for (const auto& sample : fonts) write(2, sample);
  for (const auto& sample : expressions) write(3, sample);
  for (const auto& sample : keys) write(4, sample);
  seeds::Write(folder, number++,
               std::string(1, 4) +
                   "<ShortcutKeys><Command ID='SaveCmd' Keys='Ctrl+S'/>"
                   "<Command ID='HelpCmd' Keys='F1'/></ShortcutKeys>");
  return 0;
}
