# Compiler options shared by every target of ours (not by the libraries we
# build from other projects' sources).
set(VORN_WARNINGS -Wall -Wextra -Werror -Wno-unused-parameter -Wno-missing-field-initializers)

if(VORN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Unicode Win32 API, no min/max macros, XP-compatible headers: functions
  # newer systems added are looked up at run time.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                          _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
  # Every function and object in a section of its own, and the linker drops
  # the sections no program reaches: the installer links the framework's
  # libraries (and the picture and package libraries, built the same way by
  # scripts/bootstrap) whole, encoders and writers included, and uses only
  # what decodes and shows. Test programs are collected too, so that the
  # Windows tests run the same collected code the installer ships.
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections)
  # On x86 nothing of ours unwinds: no exceptions, and the crash report is
  # written by the system from a structured exception handler that a frame
  # registers itself. The tables would only cost bytes, and since the linker
  # keeps every table it also keeps every function a table names. (x86-64
  # keeps its tables: there they are how the system unwinds at all.)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_compile_options(-fno-asynchronous-unwind-tables)
  endif()
endif()

# Our code has no exceptions; shipping code also drops RTTI (tests keep it
# because GoogleTest's prebuilt library expects it).
function(vorn_target_options target)
  target_compile_options(${target} PRIVATE ${VORN_WARNINGS}
                         $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>)
  if(NOT ARGV1 STREQUAL "TEST")
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
  endif()
endfunction()

# Windows test programs run under wine64, in a Wine prefix of the build folder.
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run --prefix
      ${CMAKE_BINARY_DIR}/wine-prefix)
endif()

# The programs we ship (installer, demo product, package tool), as opposed to
# test programs: scripts/test checks that they import at load time only the
# libraries Windows protects (scripts/check-dll-imports). The list of their
# files is written to shipping-programs.txt in the build folder.
function(vorn_shipping_program target)
  set_property(GLOBAL APPEND PROPERTY VORN_SHIPPING_PROGRAMS ${target})
  # A link map beside each Windows shipping program (NAME.map): what each
  # library and object file adds to its size (bench/install_bench sums it).
  if(WIN32)
    target_link_options(${target} PRIVATE "-Wl,-Map=$<TARGET_FILE_DIR:${target}>/${target}.map")
  endif()
  # The 32-bit programs are the ones we ship: without their symbol table
  # (some 770 KB of a 2 MB installer, copied into every Setup.exe). The
  # x86-64 test builds keep theirs for debugging under Wine.
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -s)
  endif()
endfunction()

function(vorn_write_shipping_programs)
  get_property(programs GLOBAL PROPERTY VORN_SHIPPING_PROGRAMS)
  set(lines "")
  foreach(program IN LISTS programs)
    string(APPEND lines "$<TARGET_FILE:${program}>\n")
  endforeach()
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/shipping-programs.txt CONTENT "${lines}")
endfunction()
