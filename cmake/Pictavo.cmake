# pictavo_folder_library(NAME [DEPS ...] [PRIVATE_DEPS ...])
# One static library per source folder, made of the folder's .cpp files; includes are relative to
# the repository root ("platform/base/CString.h").
function(pictavo_folder_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    message(STATUS "${name}: no sources yet, skipped")
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  target_compile_options(${name} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()

# The shared main of the test binaries; it sets the environment the tests read.
function(pictavo_test_main)
  add_library(pictavo_test_main STATIC ${PROJECT_SOURCE_DIR}/tests/support/TestMain.cpp)
  target_link_libraries(pictavo_test_main PUBLIC GTest::gtest GTest::gmock)
  target_compile_definitions(pictavo_test_main PRIVATE
    PICTAVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}" PICTAVO_BIN_DIR="${PICTAVO_BIN_DIR}")
endfunction()

# pictavo_folder_test(NAME [DEPS ...])
# One test binary per test folder, made of the folder's .cpp files; every case is its own CTest
# test so ctest -j spreads them over the cores.
function(pictavo_folder_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    message(STATUS "${name}: no tests yet, skipped")
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} pictavo_test_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()
