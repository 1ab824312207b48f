# brumalis_unit_test(NAME source... [LIBS lib...])
# A GoogleTest program whose cases ctest lists one by one, with the test
# doubles (brumalis_test_doubles) on its include path. In a cross build its
# cases are listed and run under Wine through the emulator, when ctest starts
# (the build host may not run them at all).
function(brumalis_unit_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} brumalis_test_doubles GTest::gtest_main)
  if(WIN32)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300
                         PROPERTIES FIXTURES_REQUIRED wine_prefix LABELS unit)
  else()
    gtest_discover_tests(${name} PROPERTIES LABELS unit)
  endif()
endfunction()

# brumalis_wine_test(NAME script.py [ARGUMENT...])
# An end-to-end test of the real programs under Wine on a private X display;
# the arguments (test classes, for one) go to the script.
# Each runs in a copy of its architecture's prefix, named after it, with
# wineservers and X displays of its own: the suites run side by side.
function(brumalis_wine_test name script)
  add_test(NAME ${name}
           COMMAND python3 ${script} --suite ${name} --arch ${BRUMALIS_WINE_ARCH} --bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
                   --native-bin ${BRUMALIS_NATIVE_TOOLS_BIN} ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix LABELS e2e TIMEOUT 600)
endfunction()
