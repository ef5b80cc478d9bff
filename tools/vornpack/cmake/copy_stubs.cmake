# cmake -DDEST=DIR [-DX86=FILE] [-DX64=FILE] [-DSEARCH_X86=DIR] [-DSEARCH_X64=DIR] -P copy_stubs.cmake
#
# Puts the installer programs that `vornpack setup` uses without --stub next
# to vornpack, as vornpack-stub-x86.exe and vornpack-stub-x64.exe. Each is
# the given file, or else the VornSetup.exe found below the search folder
# (the other preset's build, which may be built before or after this one: the
# search runs at every build, and finding nothing is no error).
foreach(arch x86 x64)
  string(TOUPPER ${arch} upper)
  set(source "${${upper}}")
  if(NOT source AND SEARCH_${upper} AND IS_DIRECTORY "${SEARCH_${upper}}/src/setup")
    file(GLOB_RECURSE found "${SEARCH_${upper}}/src/setup/*/VornSetup.exe"
         "${SEARCH_${upper}}/src/setup/VornSetup.exe")
    if(found)
      list(SORT found)
      list(GET found 0 source)
    endif()
  endif()
  if(source AND EXISTS "${source}")
    file(COPY_FILE "${source}" "${DEST}/vornpack-stub-${arch}.exe" ONLY_IF_DIFFERENT)
  endif()
endforeach()
