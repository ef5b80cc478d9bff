// Writes the seed corpus of xml_fuzz into the folder given as argv[1]:
// documents shaped like the package's files, every construct of the
// grammar, and a few broken ones.
#include <string>

#include "seed_files.h"

namespace {

std::string Utf16Le(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) bytes += std::string{c, '\0'};
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = seeds::Folder(argc, argv);
  if (folder.empty()) return 1;
  const std::string samples[] = {
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<!-- installation settings -->\n"
      "<InstallationSettings>\n"
      "\t<Application Name=\"Demo\" Company=\"Vorn &amp; Co\" Version=\"1.2.3\"/>\n"
      "\t<InstallFolder>{ProgramFiles}\\Demo</InstallFolder>\n"
      "\t<Shortcuts Desktop=\"1\" QuickLaunch=\"true\"/>\n"
      "</InstallationSettings>\n",
      "<FileList Folder='Product'><File Name='Bin/Demo.exe' Size='123456' "
      "Modified='2015-06-30T12:34:56Z'/><File Name='Data/a&#233;.txt'/></FileList>",
      "<Strings><String Key=\"Welcome\">Bienvenue &lt;b&gt; dans &#x1F600;</String>"
      "<String Key='Licence'><![CDATA[<p>text</p> ]]]></String></Strings>",
      "<a>one <b>two</b> three<!-- x - &#45;&#45; --><c/></a>",
      "\xEF\xBB\xBF<Root>\r\n\t<Line>a\r\nb\rc\xC2\x85"
      "d</Line>\r\n</Root>",
      Utf16Le("<?xml version=\"1.0\" encoding=\"utf-16\"?><a x='1'>t</a>"),
      "<a v='&quot;&apos;&lt;&gt;&amp;' w=\"  spaced   out  \"/>",
      "<a><b><c><d><e><f/></e></d></c></b></a>",
      "<a>&#13;&#x2028;&#133;</a>",
      "<a></b>",
      "<a><!-- open",
      "<?xml version='1.1'?><a/>",
  };
  int number = 0;
  for (const std::string& sample : samples) seeds::Write(folder, number++, sample);
  return 0;
}
