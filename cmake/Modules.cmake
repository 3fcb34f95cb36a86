# The compile options of every target of ours, set on targets and never globally: warnings (errors
# with VELMORA_WERROR, as the test script and CI build) and, with VELMORA_SANITIZE, the address and
# undefined-behaviour sanitizers. Every module library passes them on to whatever links it. VELMORA_FUZZ
# (clang) instruments everything for libFuzzer as well.
add_library(velmora_options INTERFACE)
target_compile_options(velmora_options INTERFACE -Wall -Wextra -Wpedantic -Wno-unused-parameter
                                                 $<$<BOOL:${VELMORA_WERROR}>:-Werror>)
if(VELMORA_SANITIZE OR VELMORA_FUZZ)
  target_compile_options(velmora_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                   -fno-sanitize-recover=undefined)
  target_link_options(velmora_options INTERFACE -fsanitize=address,undefined)
endif()
if(VELMORA_FUZZ)
  target_compile_options(velmora_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# velmora_module(<target> [DEPS <libraries...>]) builds the .cpp files of the current folder into one
# static library. Headers are included by folder path from the source root
# (#include "platform/core/IniFile.h"), but a target sees only the folders of the libraries it links:
# each library's include folder holds links to its own folder's entries and nothing else (a module
# folder inside another, such as service/icmp, has its own).
function(velmora_module target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${target} STATIC ${sources})
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(surface ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${surface})
  file(MAKE_DIRECTORY ${surface}/${folder})
  file(GLOB entries CONFIGURE_DEPENDS LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(entry IN LISTS entries)
    if(NOT "${folder}/${entry}" IN_LIST VELMORA_MODULES)
      file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${entry} ${surface}/${folder}/${entry} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${surface})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} Threads::Threads velmora_options)
endfunction()

# velmora_tests(<target> [DEPS <libraries...>] [END_TO_END <regex>] [ROOT <regex>] [SERIAL <regex>])
# builds the tests/*.cpp of the current folder into one GoogleTest binary and registers its tests with ctest.
# Tests whose full name ("Suite.Test") matches END_TO_END run the real programs and get the label
# "end-to-end"; those matching ROOT need root (they skip without it) and get the label "root", so that
# `ctest -LE end-to-end` or `ctest -L root` picks them. Those matching SERIAL run alone.
function(velmora_tests target)
  cmake_parse_arguments(ARG "" "END_TO_END;ROOT;SERIAL" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 TEST_LIST ${target}_TESTS)
  # Runs in ctest after the discovered tests are defined, with their names in ${target}_TESTS.
  set(labels ${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake)
  file(WRITE ${labels} "include(${VELMORA_LABEL_SCRIPT})\n"
                       "velmora_label_tests(\"\${${target}_TESTS}\" [==[${ARG_END_TO_END}]==] [==[${ARG_ROOT}]==] "
                       "[==[${ARG_SERIAL}]==])\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels})
endfunction()

set(VELMORA_LABEL_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/LabelTests.cmake)
