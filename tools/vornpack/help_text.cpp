#include "help_text.h"

namespace vornpack {

std::string GeneralHelp() {
  return "vornpack: builds, inspects and embeds installer packages.\n"
         "\n"
         "usage: vornpack COMMAND [ARGUMENTS]\n"
         "\n"
         "commands:\n"
         "  build DIR -o FILE.kelp    pack a folder into a package archive\n"
         "  setup --stub STUB.exe --package FILE.kelp -o Setup.exe\n"
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
           "                      [--threads N] [--quiet]\n"
           "\n"
           "Packs the folder DIR, laid out as the package root (Data/Xml/..., Data/Pictures/...,\n"
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
           "\n"
           "The header's creation date and time come from SOURCE_DATE_EPOCH when it is set\n"
           "(reproducible builds), else from the clock.\n";
  }
  if (command == "setup") {
    return "usage: vornpack setup --stub STUB.exe --package FILE.kelp -o Setup.exe\n"
           "\n"
           "Copies the installer executable STUB.exe to Setup.exe with the package archive\n"
           "FILE.kelp as its resource RCDATA 4096, replacing any package the stub carried.\n"
           "The stub's other resources (icons, manifest, version information) are kept. No\n"
           "resource compiler is needed. A signed stub loses its signature: sign Setup.exe\n"
           "after this step.\n"
           "\n"
           "options:\n"
           "  --stub FILE     the installer executable to copy\n"
           "  --package FILE  the package archive to embed\n"
           "  -o, --output FILE  the executable to write (replaced only when complete)\n";
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
