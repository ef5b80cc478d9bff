#include "help_text.h"

namespace vornpack {

std::string GeneralHelp() {
  return "vornpack: builds, inspects and embeds installer packages.\n"
         "\n"
         "usage: vornpack COMMAND [ARGUMENTS]\n"
         "\n"
         "commands:\n"
         "  init DIR --name NAME --company COMPANY --version VERSION --executable PATH\n"
         "                            start a package folder for a product\n"
         "  check DIR                 find what would break the installer, before building\n"
         "  build DIR -o FILE.kelp    check and pack a folder into a package archive\n"
         "  setup --package FILE.kelp -o Setup.exe [--stub STUB.exe | --arch x64]\n"
         "                            write a package into an installer executable\n"
         "  list FILE                 show the entries of an archive or installer\n"
         "  verify FILE               check an archive or installer completely\n"
         "  extract FILE -o DIR       unpack an archive or installer\n"
         "\n"
         "\"vornpack COMMAND --help\" tells more about each command.\n"
         "Exit status: 0 on success, 1 when the work failed, 2 for a wrong command line.\n";
}

std::string CommandHelp(const std::string& command) {
  if (command == "build") {
    return "usage: vornpack build DIR -o FILE.kelp [--method GLOB=N]... [--file-list PRODUCT_DIR]\n"
           "                      [--threads N] [--quiet] [--no-check]\n"
           "\n"
           "Checks the folder DIR as \"vornpack check\" does and, when it has no problem, packs "
           "it, laid out as the package root (Data/Xml/..., Data/Pictures/...,\n"
           "the product's files), into the archive FILE.kelp. Each file's package path is its\n"
           "path relative to DIR with \"/\" separators; entries are sorted by path, so the\n"
           "same folder always gives the same archive.\n"
           "\n"
           "Methods by file type: 0 (stored) for pictures (png, jpg, jpeg, bmp, gif, ico,\n"
           "webp), nested .kelp archives and what is compressed already: archives and\n"
           "cabinets (zip, 7z, rar, cab, msi, msp, msu, jar, gz, tgz, xz, txz, lzma, bz2, zst,\n"
           "lz4), sound and video (mp3, m4a, aac, ogg, opus, flac, wma, mp4, m4v, mov, avi,\n"
           "webm, mkv, wmv) and .dat data archives; 4 (PPMd) for xml; 3 (LZMA) for exe, dll,\n"
           "sys, ocx, cpl, drv and scr. Any other file is tried: its first 4 MiB are\n"
           "compressed with LZMA, and it stays LZMA only when that saved at least 2 %, else\n"
           "it is stored.\n"
           "The summary says how many files were stored because they did not compress.\n"
           "LZMA and PPMd work in 4 MiB blocks, compressed on every core.\n"
           "\n"
           "options:\n"
           "  -o, --output FILE        the archive to write (replaced only when complete)\n"
           "  --method GLOB=N          method N (0 stored, 1 deflate, 2 LZO, 3 LZMA, 4 PPMd,\n"
           "                           5 LZMA2) for package paths matching GLOB, where '*'\n"
           "                           stays within a folder and '**' crosses folders, e.g.\n"
           "                           --method '*.dat=3' --method 'Product/**=5'; later\n"
           "                           rules win, and a rule's method is used as it is\n"
           "  --file-list PRODUCT_DIR  generate Data/Xml/FileList.xml (replacing any in DIR)\n"
           "                           from the product folder PRODUCT_DIR inside DIR, with\n"
           "                           every file's size and modification date\n"
           "  --threads N              compression threads (default: one per processor);\n"
           "                           the archive is the same whatever N is\n"
           "  --quiet                  no progress and no summary\n"
           "  --no-check               pack without checking the folder first (a folder that\n"
           "                           is not an installer's package, or one known to be\n"
           "                           incomplete)\n"
           "\n"
           "The header's creation date and time come from SOURCE_DATE_EPOCH when it is set\n"
           "(reproducible builds), else from the clock.\n";
  }
  if (command == "setup") {
    return "usage: vornpack setup [--stub STUB.exe | --arch x86|x64] --package FILE.kelp -o "
           "Setup.exe\n"
           "\n"
           "Copies the installer executable STUB.exe to Setup.exe with the package archive\n"
           "FILE.kelp as its resource RCDATA 4096, replacing any package the stub carried.\n"
           "The stub's other resources (icons, manifest, version information) are kept. No\n"
           "resource compiler is needed. A signed stub loses its signature: sign Setup.exe\n"
           "after this step.\n"
           "\n"
           "options:\n"
           "  --stub FILE     the installer executable to copy (default: the one this\n"
           "                  vornpack carries)\n"
           "  --arch x86|x64  without --stub: the shipping 32-bit installer (x86, the\n"
           "                  default, which runs on every Windows) or the 64-bit one\n"
           "  --package FILE  the package archive to embed\n"
           "  -o, --output FILE  the executable to write (replaced only when complete)\n"
           "\n"
           "The installers this vornpack carries are vornpack-stub-x86.exe and\n"
           "vornpack-stub-x64.exe next to the program (the build puts them there);\n"
           "VORNPACK_STUB_DIR names another folder holding them.\n";
  }
  if (command == "init") {
    return "usage: vornpack init DIR --name NAME --company COMPANY --version VERSION\n"
           "                     --executable RELATIVE_PATH [--tag TAG] [--uuid UUID]\n"
           "                     [--website URL] [--force]\n"
           "\n"
           "Writes a package folder ready to build into DIR (created when missing): the\n"
           "installer's standard package (pages, texts in English, French, Italian and\n"
           "Chinese, pictures), Data/Xml/Configuration.xml for the product, its texts and a\n"
           "licence placeholder in the four languages (Data/Xml/VornSetup-Custom-Strings-*.xml,\n"
           "Data/Xml/VornSetup-License-*.xml), and the empty folder Product where the\n"
           "product's files go, laid out as they are to be installed.\n"
           "\n"
           "options:\n"
           "  --name NAME            the product's name; with the company it names the\n"
           "                         install folder (Program Files\\COMPANY\\NAME)\n"
           "  --company COMPANY      the vendor\n"
           "  --version VERSION      one to four numbers joined by dots (1.0, 2.3.1)\n"
           "  --executable PATH      the program the installer starts, relative to the\n"
           "                         product folder (App.exe, Bin\\App.exe)\n"
           "  --tag TAG              shown after the name and version (Beta, Preview)\n"
           "  --uuid UUID            the product's identity, kept for every version\n"
           "                         (default: a new one; give the same one again when\n"
           "                         starting over the package of a product)\n"
           "  --website URL          the product's http:// or https:// address, shown by\n"
           "                         the installer's last pages\n"
           "  --force                write into a folder that is not empty, replacing the\n"
           "                         package files it holds (other files are kept)\n";
  }
  if (command == "check") {
    return "usage: vornpack check DIR [--file-list PRODUCT_DIR]\n"
           "\n"
           "Checks the package folder DIR before it is built and prints one line per\n"
           "problem, FILE:LINE:COLUMN: message:\n"
           "  - every XML file under Data/ parses;\n"
           "  - every #Key text that the window descriptions and the configuration use\n"
           "    exists in English, French, Italian and Chinese;\n"
           "  - Data/Xml/Configuration.xml has every element and attribute the installer\n"
           "    needs, with two different UUIDs;\n"
           "  - the product executable (and the shortcuts' targets) are among the\n"
           "    product files;\n"
           "  - every picture the descriptions name is in the folder and decodes;\n"
           "  - the window descriptions use only known element names and values.\n"
           "Exit status 0 when there is no problem, 1 otherwise. \"vornpack build\" runs the\n"
           "same checks first.\n"
           "\n"
           "options:\n"
           "  --file-list PRODUCT_DIR  the product folder, as given to build (default: the\n"
           "                           folder Data/Xml/FileList.xml names, else Product)\n";
  }
  if (command == "list") {
    return "usage: vornpack list FILE\n"
           "\n"
           "Shows each entry of the archive FILE (or of the package an installer executable\n"
           "carries): its path hash, offset, method, packed and unpacked size, their ratio\n"
           "(packed / unpacked; 1.000 for a stored entry), and its path\n"
           "where the package's own data reveals it (the installer's data files, the file\n"
           "list, package paths named in its XML files).\n";
  }
  if (command == "verify") {
    return "usage: vornpack verify FILE\n"
           "\n"
           "Checks the archive FILE (or the package an installer executable carries): the\n"
           "header and entry checksums, the directory (sorted, no duplicate hashes, every\n"
           "row on an entry), and the full decoding of every entry. Exit status 0 when all\n"
           "is well, 1 with the first fault otherwise.\n";
  }
  if (command == "extract") {
    return "usage: vornpack extract FILE -o DIR\n"
           "\n"
           "Writes every entry of the archive FILE (or of the package an installer carries)\n"
           "into DIR: named entries under their package paths, the others as\n"
           "by-hash/XXXXXXXX.bin. Nothing is written unless every entry decodes.\n"
           "\n"
           "options:\n"
           "  -o, --output DIR  the folder to write into (created when missing)\n";
  }
  return "";
}

}  // namespace vornpack
