# The libraries we call, as imported targets on every preset:
#
#   Vorn::zlib  Vorn::png  Vorn::jpeg  Vorn::lzo  Vorn::lzma
#
# Native builds (native, native-release, fuzz) use Debian's -dev packages and
# the LZMA SDK from $VORN_DEPS/native. Windows builds use the static libraries
# scripts/bootstrap cross-compiled into $VORN_DEPS/<triple> (zlib included).
# VORN_DEPS comes from the environment, by default /var/cache/vornlib-deps.
#
# Include forms: <zlib.h>, <png.h>, <jpeglib.h> (include <stdio.h> first),
# <lzo/lzo1x.h>, and the LZMA SDK by its folder: "lzmasdk/LzmaDec.h",
# "lzmasdk/Lzma2Enc.h", "lzmasdk/Ppmd7.h"... The SDK is built single-threaded
# (Z7_ST, which Vorn::lzma also defines for its users, so that every header
# sees the same structures as the library).

if(DEFINED ENV{VORN_DEPS} AND NOT "$ENV{VORN_DEPS}" STREQUAL "")
  set(VORN_DEPS "$ENV{VORN_DEPS}")
else()
  set(VORN_DEPS /var/cache/vornlib-deps)
endif()

function(vorn_missing_dependency what)
  message(FATAL_ERROR
    "${what} is missing. Run scripts/bootstrap (as root) to install the Debian packages "
    "and build the libraries into ${VORN_DEPS} (set VORN_DEPS for another place), "
    "then configure again.")
endfunction()

# vorn_import_library(NAME FILE INCLUDE_DIR [LINK target...]): Vorn::NAME over
# one library file; fails configuration when the file is not there.
function(vorn_import_library name file include_dir)
  cmake_parse_arguments(ARG "" "" "LINK;DEFINITIONS" ${ARGN})
  if(NOT EXISTS "${file}")
    vorn_missing_dependency("${file} (Vorn::${name})")
  endif()
  if(include_dir AND NOT IS_DIRECTORY "${include_dir}")
    vorn_missing_dependency("${include_dir} (Vorn::${name})")
  endif()
  add_library(Vorn::${name} UNKNOWN IMPORTED GLOBAL)
  set_target_properties(Vorn::${name} PROPERTIES IMPORTED_LOCATION "${file}")
  if(include_dir)
    set_target_properties(Vorn::${name} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${include_dir}")
  endif()
  if(ARG_LINK)
    set_target_properties(Vorn::${name} PROPERTIES INTERFACE_LINK_LIBRARIES "${ARG_LINK}")
  endif()
  if(ARG_DEFINITIONS)
    set_target_properties(Vorn::${name} PROPERTIES INTERFACE_COMPILE_DEFINITIONS "${ARG_DEFINITIONS}")
  endif()
endfunction()

# vorn_import_package(NAME PACKAGE TARGET): Vorn::NAME over a target of a
# find_package module (Debian's -dev packages).
function(vorn_import_package name package target)
  find_package(${package} QUIET)
  if(NOT TARGET ${target})
    vorn_missing_dependency("The Debian development package for ${package} (Vorn::${name})")
  endif()
  add_library(Vorn::${name} INTERFACE IMPORTED GLOBAL)
  set_target_properties(Vorn::${name} PROPERTIES INTERFACE_LINK_LIBRARIES ${target})
endfunction()

# A cache built by an older recipe of scripts/bootstrap still links, but may
# lack what the sources now expect of it: say so rather than fail obscurely.
function(vorn_check_recipe prefix)
  file(STRINGS ${PROJECT_SOURCE_DIR}/scripts/bootstrap wanted REGEX "^readonly RECIPE=[0-9]+$")
  if(NOT wanted OR NOT EXISTS ${prefix}/stamp)
    return()
  endif()
  string(REGEX REPLACE ".*=" "" wanted "${wanted}")
  file(STRINGS ${prefix}/stamp stamps)
  foreach(stamp IN LISTS stamps)
    if(NOT stamp MATCHES " recipe=${wanted} ")
      message(WARNING "${prefix} was built by an older scripts/bootstrap (${stamp}): "
                      "run scripts/bootstrap to rebuild it.")
      return()
    endif()
  endforeach()
endfunction()

set(vorn_lzma_definitions Z7_ST)

if(WIN32)
  if(VORN_MINGW_TRIPLE)
    set(vorn_triple ${VORN_MINGW_TRIPLE})
  elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(vorn_triple i686-w64-mingw32)
  else()
    set(vorn_triple x86_64-w64-mingw32)
  endif()
  set(vorn_prefix ${VORN_DEPS}/${vorn_triple})
  vorn_import_library(zlib ${vorn_prefix}/lib/libz.a ${vorn_prefix}/include)
  vorn_import_library(png ${vorn_prefix}/lib/libpng16.a ${vorn_prefix}/include LINK Vorn::zlib)
  vorn_import_library(jpeg ${vorn_prefix}/lib/libjpeg.a ${vorn_prefix}/include)
  vorn_import_library(lzo ${vorn_prefix}/lib/liblzo2.a ${vorn_prefix}/include)
  vorn_import_library(lzma ${vorn_prefix}/lib/liblzmasdk.a ${vorn_prefix}/include
                      DEFINITIONS ${vorn_lzma_definitions})
else()
  vorn_import_package(zlib ZLIB ZLIB::ZLIB)
  vorn_import_package(png PNG PNG::PNG)
  vorn_import_package(jpeg JPEG JPEG::JPEG)
  find_library(VORN_LZO_LIBRARY NAMES lzo2)
  find_path(VORN_LZO_INCLUDE_DIR NAMES lzo/lzo1x.h)
  if(NOT VORN_LZO_LIBRARY OR NOT VORN_LZO_INCLUDE_DIR)
    vorn_missing_dependency("The Debian development package for LZO 2 (liblzo2-dev, Vorn::lzo)")
  endif()
  vorn_import_library(lzo ${VORN_LZO_LIBRARY} ${VORN_LZO_INCLUDE_DIR})
  set(vorn_prefix ${VORN_DEPS}/native)
  vorn_import_library(lzma ${vorn_prefix}/lib/liblzmasdk.a ${vorn_prefix}/include
                      DEFINITIONS ${vorn_lzma_definitions})
endif()
vorn_check_recipe(${vorn_prefix})
