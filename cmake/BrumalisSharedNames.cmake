# The names and numbers the build shares with the programs and the tests,
# read from the one file that spells them, common/shared_names.h: the
# variables BRUMALIS_HOST_FILE, BRUMALIS_RENDERER_FILE and
# BRUMALIS_BANNER_FRAMES, a quoted value without its quotes.
set(brumalis_shared_names ${CMAKE_SOURCE_DIR}/common/shared_names.h)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${brumalis_shared_names})
foreach(name BRUMALIS_HOST_FILE BRUMALIS_RENDERER_FILE BRUMALIS_BANNER_FRAMES)
  file(STRINGS ${brumalis_shared_names} line REGEX "^#define ${name} ")
  if(NOT line MATCHES "^#define ${name} \"?([^\"]+)\"?$")
    message(FATAL_ERROR "common/shared_names.h defines no ${name}")
  endif()
  set(${name} ${CMAKE_MATCH_1})
endforeach()

# brumalis_program_file_name(TARGET FILE): the program's file is FILE
# (Brumalis.dll: name Brumalis, extension .dll).
function(brumalis_program_file_name target file)
  get_filename_component(stem ${file} NAME_WLE)
  get_filename_component(suffix ${file} LAST_EXT)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${stem} SUFFIX ${suffix})
endfunction()

# brumalis_banner_files(VAR): the banner frames' file names, banner-01.bmp
# and on, one a frame.
function(brumalis_banner_files var)
  set(files "")
  foreach(frame RANGE 1 ${BRUMALIS_BANNER_FRAMES})
    string(LENGTH "${frame}" digits)
    if(digits LESS 2)
      set(frame 0${frame})
    endif()
    list(APPEND files banner-${frame}.bmp)
  endforeach()
  set(${var} ${files} PARENT_SCOPE)
endfunction()

# brumalis_banner_rc(FILE): writes a resource script fragment that names
# each frame once, BANNER_FRAME(1, "banner-01.bmp") and on; the script that
# includes it says what BANNER_FRAME makes of them.
function(brumalis_banner_rc file)
  brumalis_banner_files(files)
  set(text "// Written by the build (cmake/BrumalisSharedNames.cmake): the banner's frames.\n")
  set(frame 1)
  foreach(name IN LISTS files)
    string(APPEND text "BANNER_FRAME(${frame}, \"${name}\")\n")
    math(EXPR frame "${frame} + 1")
  endforeach()
  file(CONFIGURE OUTPUT ${file} CONTENT "${text}")
endfunction()
