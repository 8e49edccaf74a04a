# Builds cpp_game.cpp for the MSVC ABI as a Windows game is built, with no
# MSVC on the machine: clang for the MSVC target, freestanding (no C library,
# no STL, no exceptions, no RTTI), linked by lld-link against the release's
# import library of Valve's DLL (the SDK's own .lib when it has one, else one
# made from the DLL's exports) and a kernel32.lib made here; Valve's DLL is
# copied beside the game.
#   cmake -DCLANG=... -DLLD_LINK=... -DDLLTOOL=... -DREADOBJ=... -DARCH=x86_64|i686
#         -DRELEASE_DIR=<sdk>/<release> -DSOURCE=cpp_game.cpp -DSHIMS=<folder>
#         -DOUT=<folder> -P msvc_game.cmake
if(ARCH STREQUAL "x86_64")
  set(valve_dll ${RELEASE_DIR}/redistributable_bin/win64/steam_api64.dll)
  set(machine i386:x86-64)
  set(kernel32_exports GetStdHandle WriteFile ExitProcess)
else()
  set(valve_dll ${RELEASE_DIR}/redistributable_bin/steam_api.dll)
  set(machine i386)
  set(kernel32_exports GetStdHandle@4 WriteFile@20 ExitProcess@4)
endif()
get_filename_component(valve_name ${valve_dll} NAME_WE)
get_filename_component(valve_folder ${valve_dll} DIRECTORY)
file(MAKE_DIRECTORY ${OUT})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command}\n${output}")
  endif()
endfunction()

set(import_library ${valve_folder}/${valve_name}.lib)
if(NOT EXISTS ${import_library})
  execute_process(COMMAND ${READOBJ} --coff-exports ${valve_dll} OUTPUT_VARIABLE exports RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${READOBJ} cannot read the exports of ${valve_dll}")
  endif()
  string(REGEX MATCHALL "Name: [A-Za-z0-9_@?$]+" names "${exports}")
  string(REPLACE "Name: " "    " names "${names}")
  string(REPLACE ";" "\n" names "${names}")
  file(WRITE ${OUT}/${valve_name}.def "LIBRARY ${valve_name}.dll\nEXPORTS\n${names}\n")
  set(import_library ${OUT}/${valve_name}.lib)
  run(${DLLTOOL} -m ${machine} -d ${OUT}/${valve_name}.def -l ${import_library})
endif()

string(REPLACE ";" "\n    " kernel32_names "${kernel32_exports}")
file(WRITE ${OUT}/kernel32.def "LIBRARY kernel32.dll\nEXPORTS\n    ${kernel32_names}\n")
run(${DLLTOOL} -m ${machine} -k -d ${OUT}/kernel32.def -l ${OUT}/kernel32.lib)

run(${CLANG} --target=${ARCH}-pc-windows-msvc -std=c++17 -ffreestanding -fno-exceptions -fno-rtti
  -O1 -Wall -Wextra -Werror -Wno-invalid-offsetof -DCPP_GAME_FREESTANDING
  -isystem ${SHIMS} -isystem ${RELEASE_DIR}/public -c ${SOURCE} -o ${OUT}/cpp_game.obj)
run(${LLD_LINK} /nologo /entry:mainCRTStartup /subsystem:console /nodefaultlib
  ${OUT}/cpp_game.obj ${import_library} ${OUT}/kernel32.lib /out:${OUT}/cpp_game.exe)
file(COPY ${valve_dll} DESTINATION ${OUT})
