// Writes the seed corpus of message_box_fuzz into the folder given as
// argv[1]: a format argument on the first line, then a "MessageBox"
// description: every button set, parts and messages with placeholders and
// links, and the descriptions that must be refused.
#include <string>

#include "seed_files.h"

int main(int argc, char** argv) {
  const std::string folder = seeds::Folder(argc, argv);
  if (folder.empty()) return 1;
  const std::string samples[] = {
      "Vorn Demo\n<MessageBox ID=\"CancelConfirmation\" Type=\"Warning\">"
      "<Message>#CancelConfirmation</Message><Yes>#YesButton</Yes><No>#NoButton</No></MessageBox>",
      "Demo {0}\n<MessageBox Type=\"Simple\"><Message FooterIcon=\"Error\">H {0}\xC2\xA4"
      "B <a href=\"https://example.com/\">link</a>\xC2\xA4"
      "D\xC2\xA4"
      "F {0,04}</Message>"
      "<OK DefaultButton=\"true\">OK</OK></MessageBox>",
      "x\n<MessageBox Type=\"Information\" Title=\"T\" CommandLinks=\"1\"><Header>h</Header>"
      "<Body>b {0}</Body><Details>d</Details><Footer Icon=\"Warning\">f</Footer>"
      "<Abort>a</Abort><Retry DefaultButton=\"true\">r</Retry><Ignore>i</Ignore></MessageBox>",
      "\n<MessageBox Type=\"Error\"><Retry>r</Retry><Cancel>c</Cancel></MessageBox>",
      "\n<MessageBox Type=\"Error\"><Yes>y</Yes><No>n</No><Cancel>c</Cancel></MessageBox>",
      "\n<MessageBox Type=\"Error\"><OK>o</OK><Cancel>c</Cancel></MessageBox>",
      "\n<MessageBox Type=\"Simple\"><OK>o</OK><Yes>y</Yes></MessageBox>",
      "\n<MessageBox Type=\"Simple\"><OK/></MessageBox>",
      "\n<MessageBox Type=\"Loud\"><OK>o</OK></MessageBox>",
      "\n<MessageBox Type=\"Simple\"><Body>{</Body><OK>o</OK></MessageBox>",
  };
  int number = 0;
  for (const std::string& sample : samples) seeds::Write(folder, number++, sample);
  return 0;
}
