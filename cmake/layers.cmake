# One static library per layer of src/. Sources are found by name: foo.cpp is
# portable, foo_win.cpp is Windows only, foo_posix.cpp is POSIX only.

function(vorn_platform_sources out dir pattern)
  file(GLOB found CONFIGURE_DEPENDS ${dir}/${pattern})
  if(WIN32)
    list(FILTER found EXCLUDE REGEX "_posix(_test)?\\.(cpp|c)$")
  else()
    list(FILTER found EXCLUDE REGEX "_win(_test)?\\.(cpp|c)$")
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# vorn_add_layer(NAME DEPENDS dep...): builds vorn_NAME from the folder's sources.
function(vorn_add_layer name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  vorn_platform_sources(sources ${CMAKE_CURRENT_SOURCE_DIR} "*.cpp")
  if(NOT sources)
    return()
  endif()
  add_library(vorn_${name} STATIC ${sources})
  target_include_directories(vorn_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(vorn_${name} PUBLIC ${ARG_DEPENDS})
  vorn_target_options(vorn_${name})
endfunction()

# vorn_add_test(NAME SOURCES src... LIBRARIES lib... LABELS label...):
# a GoogleTest executable registered with CTest. Under a cross build CTest
# runs it through the emulator (wine64). Results land in test-results/.
function(vorn_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;LABELS" ${ARGN})
  if(NOT ARG_SOURCES)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} vorn_gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  vorn_target_options(${name} TEST)
  set(report ${CMAKE_BINARY_DIR}/test-results/${name}.xml)
  if(CMAKE_CROSSCOMPILING)
    set(report "Z:${report}")
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${report})
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 600
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

# vorn_add_layer_tests(LAYER LIBRARIES lib...): tests/LAYER/*_test.cpp become
# LAYER_tests (label unit); on Windows *_win_test.cpp become LAYER_win_tests
# (labels unit;win).
function(vorn_add_layer_tests layer)
  cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
  file(GLOB portable CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  list(FILTER portable EXCLUDE REGEX "_(win|posix)_test\\.cpp$")
  file(GLOB posix CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_posix_test.cpp)
  file(GLOB win CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_win_test.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  if(WIN32)
    vorn_add_test(${layer}_tests SOURCES ${portable} ${support} LIBRARIES ${ARG_LIBRARIES} LABELS unit)
    vorn_add_test(${layer}_win_tests SOURCES ${win} ${support} LIBRARIES ${ARG_LIBRARIES} LABELS "unit;win")
  else()
    vorn_add_test(${layer}_tests SOURCES ${portable} ${posix} ${support} LIBRARIES ${ARG_LIBRARIES} LABELS unit)
  endif()
endfunction()
