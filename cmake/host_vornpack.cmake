# A vornpack that runs on the build machine, for the Windows presets that
# write packages into programs while they build (the demo product). The
# Windows builds' own vornpack.exe cannot do it: 32-bit programs do not run
# here at all. Either name one with -DVORN_HOST_VORNPACK=PATH (a native
# build's tools/vornpack/vornpack), or it is built from this source tree
# with the host's compiler into host-tools/ of the build folder.
#
# Gives the target host_vornpack and VORN_HOST_VORNPACK_PROGRAM, its path
# (a cache entry: the guard skips this file in every later folder that
# includes it, and a plain variable would not reach those folders).
include_guard(GLOBAL)

set(VORN_HOST_VORNPACK "" CACHE FILEPATH
    "vornpack for the build machine (empty: built with the host compiler)")

if(VORN_HOST_VORNPACK)
  add_custom_target(host_vornpack)
  set(VORN_HOST_VORNPACK_PROGRAM ${VORN_HOST_VORNPACK} CACHE INTERNAL "")
else()
  include(ExternalProject)
  set(host_dir ${CMAKE_BINARY_DIR}/host-tools)
  ExternalProject_Add(host_vornpack
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${host_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
               -DVORN_TESTS=OFF -DVORN_BENCH=OFF -DVORN_FUZZ=OFF -DVORN_SANITIZE=OFF
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${host_dir} --target vornpack --parallel 2
    INSTALL_COMMAND ""
    # Its sources are ours and change with the tree: let make decide.
    BUILD_ALWAYS TRUE
    BUILD_BYPRODUCTS ${host_dir}/tools/vornpack/vornpack)
  set(VORN_HOST_VORNPACK_PROGRAM ${host_dir}/tools/vornpack/vornpack CACHE INTERNAL "")
endif()
