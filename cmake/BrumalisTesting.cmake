# brumalis_compile_unoptimised(TARGET...): compiles the targets' own sources
# without optimisation (-O0, after the build type's). For test programs and
# the test framework: they run for a second at most, and a fresh host
# compiles them in about half the time. The product code they link keeps
# its optimisation.
function(brumalis_compile_unoptimised)
  foreach(target IN LISTS ARGN)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-O0>)
  endforeach()
endfunction()

# brumalis_unit_test(NAME source... [LIBS lib...] [POINTER])
# A GoogleTest program with the test doubles and helpers
# (brumalis_test_doubles) on its include path. Natively ctest lists its cases
# one by one. In a cross build the program is one test, run under Wine
# through the emulator: one Wine start for all its cases (a start costs
# seconds), with GoogleTest naming each failed case in the output. POINTER:
# its cases move or read the mouse pointer, which all tests on the display
# share, so it never runs beside another such program.
function(brumalis_unit_test name)
  cmake_parse_arguments(ARG "POINTER" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} brumalis_test_doubles GTest::gtest_main)
  brumalis_compile_unoptimised(${name})
  # The test files of one folder are compiled as one: GoogleTest's headers
  # (and under Windows windows.h) are most of a test file's compile, read
  # once for the folder instead of once a file.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_MODE GROUP)
  foreach(source IN LISTS ARG_UNPARSED_ARGUMENTS)
    get_filename_component(folder ${source} DIRECTORY)
    set_source_files_properties(${source} TARGET_DIRECTORY ${name} PROPERTIES UNITY_GROUP ${name}_${folder})
  endforeach()
  if(WIN32)
    set(lock "")
    if(ARG_POINTER)
      set(lock RESOURCE_LOCK pointer)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix LABELS unit TIMEOUT 300 ${lock})
  else()
    gtest_discover_tests(${name} PROPERTIES LABELS unit)
  endif()
endfunction()

# brumalis_wine_test(NAME MODULE [ARGUMENT...])
# An end-to-end test of the real programs under Wine on a private X display:
# a Python module run from the source folder (python3 -m tests.wine.test_host),
# where it finds the test kit (testkit/); the arguments (test classes, for
# one) go to it. Each runs in a copy of its architecture's prefix, named
# after it, with wineservers and X displays of its own: the suites run side
# by side.
function(brumalis_wine_test name module)
  add_test(NAME ${name}
           COMMAND python3 -m ${module} --suite ${name} --arch ${BRUMALIS_WINE_ARCH} --bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
                   ${ARGN}
           WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix LABELS e2e TIMEOUT 600)
endfunction()
