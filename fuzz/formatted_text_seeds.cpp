// Writes the seed corpus of formatted_text_fuzz into the folder given as
// argv[1]: licence-like texts with every element the rich edit knows, deep
// and crossed nesting, entities, and texts that are not well-formed, as
// UTF-16 little-endian units.
#include <string>

#include "seed_files.h"

int main(int argc, char** argv) {
  const std::string folder = seeds::Folder(argc, argv);
  if (folder.empty()) return 1;
  std::u16string deep;
  for (int i = 0; i < 200; ++i) deep += u"<ul><li><b>";
  deep += u"deep";
  for (int i = 0; i < 200; ++i) deep += u"</b></li></ul>";
  const std::u16string samples[] = {
      u"<p align=\"center\"><b>SOFTWARE LICENCE</b></p>"
      u"<p>Read these terms &amp; conditions. Questions: "
      u"<a href=\"support@example.com\">write to us</a>.</p>"
      u"<ul><li>one</li><li>two <a href=\"https://example.com/\">site</a></li></ul>"
      u"<p align=\"right\">Signed<br/>The vendor</p>",
      u"Plain text\n\twrapped   over lines",
      u"<a href=\"cmd:InstallCmd\">Install</a><a>no target</a><a href=\"\"/>",
      u"<b><a href=\"x\"><b>nested</b></a></b><unknown attr=\"1\">kept</unknown>",
      u"<![CDATA[<raw>]]><!-- comment --> &#x4E2D;&#25991; &lt;&gt;",
      u"<p align=\"left\"/><p align=\"bogus\">x</p><br/><br/>",
      deep,
      u"<p>unclosed",
      u"<b>crossed<p></b></p>",
      u"</XmlText>",
      u"a & b",
  };
  int number = 0;
  for (const std::u16string& sample : samples)
    seeds::Write(folder, number++, seeds::Utf16Le(sample));
  return 0;
}
