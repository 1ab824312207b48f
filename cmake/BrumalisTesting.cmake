# brumalis_unit_test(NAME source... [LIBS lib...])
# A GoogleTest program. Natively its cases are discovered one by one; in the
# cross build the whole program is one test, run under Wine by the emulator.
function(brumalis_unit_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix RESOURCE_LOCK wineserver LABELS unit)
  else()
    gtest_discover_tests(${name} PROPERTIES LABELS unit)
  endif()
endfunction()

# brumalis_wine_test(NAME script.py)
# An end-to-end test of the real programs under Wine on a private X display.
# Every Windows test of a build shares its architecture's prefix and its wineserver, which the
# end-to-end tests start and end, so they run one at a time.
function(brumalis_wine_test name script)
  add_test(NAME ${name}
           COMMAND python3 ${script} --arch ${BRUMALIS_WINE_ARCH} --bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
                   --native-bin ${CMAKE_SOURCE_DIR}/build/native/bin)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix
                       RESOURCE_LOCK wineserver LABELS e2e TIMEOUT 600)
endfunction()
