# The warnings our own code builds with, in every build however it is
# configured (BRUMALIS_WERROR makes them errors): a usage requirement of the
# INTERFACE target brumalis_warnings, which every target of ours links.
# GoogleTest, built from its sources in the Windows builds, is not ours and
# does not get them.
add_library(brumalis_warnings INTERFACE)
target_compile_options(brumalis_warnings INTERFACE
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra $<$<BOOL:${BRUMALIS_WERROR}>:-Werror>>)

# brumalis_apply_warnings(): links brumalis_warnings into every target that
# compiles code and is defined in a folder of this source tree. Called once,
# after the last add_subdirectory, so that no target is forgotten and none
# needs to ask.
function(brumalis_apply_warnings)
  set(dirs ${CMAKE_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    cmake_path(IS_PREFIX CMAKE_SOURCE_DIR ${dir} NORMALIZE ours)
    if(NOT ours)
      continue()
    endif()
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
        target_link_libraries(${target} PRIVATE brumalis_warnings)
      endif()
    endforeach()
  endwhile()
endfunction()
