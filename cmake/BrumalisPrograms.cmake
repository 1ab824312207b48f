# brumalis_program(TARGET FILE_PROPERTIES_RC)
# A Windows program we ship: the application manifest, the file properties
# (version resource) of FILE_PROPERTIES_RC, stripped of symbols in a release
# build. FILE_PROPERTIES_RC defines the program's file name (from
# common/shared_names.h) and descriptions and includes
# common/version_info.rc2, which takes the version from the generated
# product_version.h; it is compiled again when any of them changes.
function(brumalis_program target rc)
  set(properties ${target}_file_properties)
  add_library(${properties} OBJECT ${rc})
  # For version_info.rc2, shared_names.h and product_version.h.
  target_link_libraries(${properties} PRIVATE common_core)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS
                              "${PROJECT_SOURCE_DIR}/common/version_info.rc2;${PROJECT_SOURCE_DIR}/common/shared_names.h;${PROJECT_BINARY_DIR}/common/product_version.h")

  target_link_libraries(${target} PRIVATE brumalis_manifest ${properties})
  target_link_options(${target} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
endfunction()

# brumalis_optimize_for_size(DIR...): builds every library and program
# defined in the given folders for size (-Os, after the build type's -O3).
# For the code that waits on the user (settings, dialog, music, the host's
# windows), whose speed nobody notices; the renderer draws every frame and
# keeps the build type's optimisation. Called once, after the folders have
# been added.
function(brumalis_optimize_for_size)
  foreach(dir IN LISTS ARGN)
    get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR}/${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|OBJECT_LIBRARY)$")
        target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Os>)
      endif()
    endforeach()
  endforeach()
endfunction()
