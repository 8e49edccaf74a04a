# The header and the README's table of exports against the one list
# (src/bridge/export_list.h): the same names in the same order.
# Run with -DEXPORT_LIST=... -DHEADER=... -DREADME=...
include(${CMAKE_CURRENT_LIST_DIR}/export_list.cmake)
read_export_list(${EXPORT_LIST} listed)

# Declarations: "STEAMBRIDGE_API <type> STEAMBRIDGE_CALL <name>(".
file(READ ${HEADER} header)
string(REGEX MATCHALL "STEAMBRIDGE_API[^;(]*STEAMBRIDGE_CALL[ \n]+[A-Za-z_0-9]+\\(" declarations "${header}")
set(declared)
foreach(declaration IN LISTS declarations)
  string(REGEX REPLACE ".*STEAMBRIDGE_CALL[ \n]+([A-Za-z_0-9]+)\\($" "\\1" name "${declaration}")
  list(APPEND declared ${name})
endforeach()
if(NOT declared STREQUAL listed)
  message(FATAL_ERROR "${HEADER} declares\n  ${declared}\nthe export list has\n  ${listed}")
endif()

# Table rows: "| `name(...)` | ...".
file(STRINGS ${README} rows REGEX "^\\| `steam[A-Za-z_0-9]*\\([^`]*\\)` \\|")
set(documented)
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^\\| `([A-Za-z_0-9]+)\\(.*" "\\1" name "${row}")
  list(APPEND documented ${name})
endforeach()
if(NOT documented STREQUAL listed)
  message(FATAL_ERROR "${README}'s table lists\n  ${documented}\nthe export list has\n  ${listed}")
endif()
message(STATUS "header and README agree with the export list: ${listed}")
