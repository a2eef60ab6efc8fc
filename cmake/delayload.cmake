# Delay-loaded imports for the Windows builds.
#
#   foyer_delay_import(<target> <dll> <function>@<argument bytes>...)
#
# makes an import library for the few functions the program calls in <dll> whose calls load the
# library when one of them is first called, through the runtime's delay-load helper, instead of
# the system loading it with the program. A library loaded with the program is looked for in the
# program's folder first, before the program can restrict the search; a delayed one is loaded
# by the program's own hook from the system folder (platform/win32/SystemLibraries.cpp). The
# argument bytes name the 32-bit functions' decorated symbols (stdcall); 64-bit symbols have
# none. <target> becomes a library to link instead of the system's import library.
function(foyer_delay_import target dll)
  set(folder ${CMAKE_BINARY_DIR}/delayload)
  set(definitions "LIBRARY ${dll}\nEXPORTS\n")
  foreach(function IN LISTS ARGN)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      string(REGEX REPLACE "@.*" "" function "${function}")
    endif()
    string(APPEND definitions "${function}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${folder}/${target}.def CONTENT "${definitions}")
  # --kill-at: the library exports the names undecorated, while the program links the
  # decorated ones.
  add_custom_command(
    OUTPUT ${folder}/lib${target}.a
    COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${folder}/${target}.def --dllname ${dll}
            --output-delaylib ${folder}/lib${target}.a
    DEPENDS ${folder}/${target}.def
    COMMENT "Making the delay-load library of ${dll}")
  add_custom_target(${target}_build DEPENDS ${folder}/lib${target}.a)
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE ${folder}/lib${target}.a)
  add_dependencies(${target} ${target}_build)
endfunction()
