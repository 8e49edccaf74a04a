# Script mode, after the DLL is linked: writes its .def file from the exports
# table the DLL really has, and from it the import library for MSVC-ABI
# linkers. LLVM's dlltool writes short import objects, which MSVC's linker and
# lld-link accept with /SAFESEH on; GNU dlltool's are "not compatible with
# SEH" and fail a hardened 32-bit link.
# cmake -DOBJDUMP=... -DDLLTOOL=... -DMACHINE=i386|i386:x86-64 -DDLL=... -DDEF=... -DLIB=... -P
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
# "[Ordinal/Name Pointer] Table" and its "[   0] name" lines, up to a blank line.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([^\n]+\n)*)" table "${dump}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" rows "${CMAKE_MATCH_1}")
if(NOT rows)
  message(FATAL_ERROR "${DLL} has no exports table")
endif()
get_filename_component(dll_name ${DLL} NAME)
set(def "LIBRARY ${dll_name}\nEXPORTS\n")
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${row}")
  string(APPEND def "    ${name}\n")
endforeach()
file(WRITE ${DEF} "${def}")
execute_process(COMMAND ${DLLTOOL} -m ${MACHINE} -d ${DEF} -D ${dll_name} -l ${LIB} COMMAND_ERROR_IS_FATAL ANY)
