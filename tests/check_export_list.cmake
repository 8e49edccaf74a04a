# The header and the bridge guide's table of exports against the one list
# (src/bridge/export_list.h): the same names in the same order.
# Run with -DEXPORT_LIST=... -DHEADER=... -DGUIDE=...
include(${CMAKE_CURRENT_LIST_DIR}/export_list.cmake)
read_export_list(${EXPORT_LIST} listed)

# Declarations: "STEAMBRIDGE_API <type> STEAMBRIDGE_CALL <name>(".
file(READ ${HEADER} header)
captured_names(declared "${header}" "STEAMBRIDGE_API[^;(]*STEAMBRIDGE_CALL[ \n]+([A-Za-z_0-9]+)\\(")
if(NOT declared STREQUAL listed)
  message(FATAL_ERROR "${HEADER} declares\n  ${declared}\nthe export list has\n  ${listed}")
endif()

# Table rows: "| `name(...)` | ...".
file(READ ${GUIDE} guide)
captured_names(documented "${guide}" "\n\\| `(steam[A-Za-z_0-9]*)\\([^`\n]*\\)` \\|")
if(NOT documented STREQUAL listed)
  message(FATAL_ERROR "${GUIDE}'s table lists\n  ${documented}\nthe export list has\n  ${listed}")
endif()
message(STATUS "header and guide agree with the export list: ${listed}")
