# The system libraries the programs use that are not among the ones Windows
# keeps for itself (KnownDLLs, the same on Windows 7 to 11 for what the
# programs import: kernel32, user32, gdi32, advapi32, shell32, ole32,
# oleaut32, msvcrt). The loader looks for any other library in the program's
# own folder first, where whoever left a file of that name in a download
# folder would run inside the programs. So each of these is linked as a
# delay import: the import table names only the known ones, and the first
# call loads the library through common/system_libraries_win32.cpp, from
# the system folder alone. scripts/check-programs.sh holds the programs to
# it.
#
# comdlg32 is a known DLL too, but the libraries it imports itself need not
# be (comctl32, and more under Wine), and where the loader looks for those
# depends on the system: loaded from the system folder by its full path, it
# takes them from there first.
#
# Link delayed::NAME instead of NAME. Each is a delay-import library made at
# configure time from MinGW's own import library: every function it exports,
# for the DLL of that name.
set(BRUMALIS_DELAYED_LIBRARIES comctl32 comdlg32 crypt32 glu32 oleacc opengl32 winmm wtsapi32)

string(REGEX REPLACE "-gcc(-posix)?$" "" brumalis_tools "${CMAKE_C_COMPILER}")
find_program(BRUMALIS_NM ${brumalis_tools}-nm REQUIRED)
find_program(BRUMALIS_DLLTOOL ${brumalis_tools}-dlltool REQUIRED)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "i.86")
  # 32-bit functions are named name@bytes in the libraries and name alone in
  # the DLL, which -k makes of them.
  set(brumalis_dlltool_machine -m i386 -k)
  set(brumalis_symbol_prefix "_")
  # The 32-bit linker drops the code of an import's stub that nothing calls
  # by name, as it may for an ordinary import; a delay import's slot starts
  # out pointing into that code, and a call through it would go to address
  # 0. Declared without dllimport, every system function is called by name,
  # through its stub, which the linker then keeps.
  add_compile_definitions(DECLSPEC_IMPORT=)
else()
  set(brumalis_dlltool_machine -m i386:x86-64)
  set(brumalis_symbol_prefix "")
endif()

set(brumalis_delayed_dir ${CMAKE_BINARY_DIR}/delayed)
# Each library is made in a folder of its own and takes the place of the one
# made before only where it differs: a configure that changed nothing then
# relinks nothing.
set(brumalis_fresh_dir ${brumalis_delayed_dir}/fresh)
file(MAKE_DIRECTORY ${brumalis_fresh_dir})
foreach(name IN LISTS BRUMALIS_DELAYED_LIBRARIES)
  find_library(BRUMALIS_IMPORT_${name} ${name} REQUIRED NO_CMAKE_PATH NO_CMAKE_ENVIRONMENT_PATH)
  set(import ${BRUMALIS_IMPORT_${name}})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${import})
  set(def ${brumalis_fresh_dir}/${name}.def)
  set(library ${brumalis_delayed_dir}/lib${name}_delayed.a)
  execute_process(COMMAND ${BRUMALIS_NM} -g --defined-only ${import} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  # The import pointers, "__imp_" and the symbol prefix before each name.
  string(REGEX MATCHALL " I __imp_${brumalis_symbol_prefix}[^\n]+" pointers "${symbols}")
  set(exports "")
  foreach(pointer IN LISTS pointers)
    string(REGEX REPLACE "^ I __imp_${brumalis_symbol_prefix}" "" export "${pointer}")
    string(APPEND exports "${export}\n")
  endforeach()
  if(exports STREQUAL "")
    message(FATAL_ERROR "${import} exports nothing that could be delay-loaded")
  endif()
  file(WRITE ${def} "LIBRARY ${name}.dll\nEXPORTS\n${exports}")
  # Named from the folder, so that the names dlltool makes of the file name
  # do not carry the build folder's path.
  execute_process(COMMAND ${BRUMALIS_DLLTOOL} ${brumalis_dlltool_machine} -d ${name}.def -D ${name}.dll
                          -y lib${name}_delayed.a
                  WORKING_DIRECTORY ${brumalis_fresh_dir} COMMAND_ERROR_IS_FATAL ANY)
  file(COPY_FILE ${brumalis_fresh_dir}/lib${name}_delayed.a ${library} ONLY_IF_DIFFERENT)
  add_library(delayed::${name} STATIC IMPORTED GLOBAL)
  set_target_properties(delayed::${name} PROPERTIES IMPORTED_LOCATION ${library})
endforeach()

