# cmake -DROOT=DIR -DOUTPUT=FILE.cpp -P embed_package.cmake
#
# Writes a C++ source holding every file below ROOT/Data as a byte array with
# its package path, so that `vornpack init` can lay out the standard package
# without anything beside the program. Files are sorted by path: the same
# folder always gives the same source.
file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/Data/*)
list(SORT files)
set(arrays "")
set(table "")
set(index 0)
foreach(path IN LISTS files)
  file(READ ${ROOT}/${path} hex HEX)
  string(LENGTH "${hex}" digits)
  if(digits EQUAL 0)
    set(bytes "0")
  else()
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # About 20 bytes to a line keeps the source readable in an editor.
    string(REGEX REPLACE "((0x..,){20})" "\\1\n    " bytes "${bytes}")
  endif()
  math(EXPR size "${digits} / 2")
  string(APPEND arrays "const uint8_t kFile${index}[] = {\n    ${bytes}};\n")
  string(APPEND table "    {\"${path}\", kFile${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
if(index EQUAL 0)
  set(table "    {nullptr, nullptr, 0},\n")
endif()
file(WRITE ${OUTPUT}.new
"// Made by embed_package.cmake from ${ROOT}; not kept in the repository.
#include \"standard_package.h\"

namespace vornpack {
namespace {

${arrays}
const EmbeddedFile kFiles[] = {
${table}};

}  // namespace

const EmbeddedFile* StandardPackageFiles(size_t& count) {
  count = ${index};
  return kFiles;
}

}  // namespace vornpack
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
