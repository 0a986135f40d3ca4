# vx_add_test_suite(<name> SOURCES <files...> LIBS <libs...>)
# Builds the listed test files of the calling directory into one GoogleTest
# executable and registers its cases with CTest.
function(vx_add_test_suite name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    VX_TESTDATA_DIR="${PROJECT_SOURCE_DIR}/testdata")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES TIMEOUT 600)
endfunction()
