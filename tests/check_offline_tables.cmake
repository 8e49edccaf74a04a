# The offline Steam guide's exit statuses and warning codes against their one
# lists (offline/tool/exit_statuses.h, offline/model/warning_codes.h): the
# same first column in the same order. Meanings are worded for readers there.
# Run with -DEXIT_STATUSES=... -DWARNING_CODES=... -DGUIDE=...
include(${CMAKE_CURRENT_LIST_DIR}/export_list.cmake)

# table_keys(out_var text name): the first column of the rows between
# "<!-- name:begin -->" and "<!-- name:end -->", below the header.
function(table_keys out_var text name)
  string(FIND "${text}" "<!-- ${name}:begin -->" begin)
  string(FIND "${text}" "<!-- ${name}:end -->" end)
  if(begin EQUAL -1 OR end LESS begin)
    message(FATAL_ERROR "${GUIDE} has no ${name} table between its markers")
  endif()
  math(EXPR length "${end} - ${begin}")
  string(SUBSTRING "${text}" ${begin} ${length} table)
  captured_names(keys "${table}" "\n\\| ([^ |]+) \\|")
  list(REMOVE_AT keys 0)  # the header's
  set(${out_var} ${keys} PARENT_SCOPE)
endfunction()

# check(name listed documented): one table against its list.
function(check name listed documented)
  if(NOT listed)
    message(FATAL_ERROR "nothing read for the ${name} list")
  endif()
  if(NOT documented STREQUAL listed)
    message(FATAL_ERROR "${GUIDE}'s ${name} table lists\n  ${documented}\nthe list has\n  ${listed}")
  endif()
endfunction()

file(READ ${GUIDE} guide)

file(READ ${EXIT_STATUSES} text)
captured_names(statuses "${text}" "X\\(k[A-Za-z0-9]+, ([0-9]+),")
table_keys(documented "${guide}" exit-statuses)
check(exit-statuses "${statuses}" "${documented}")

file(READ ${WARNING_CODES} text)
captured_names(codes "${text}" "X\\(k[A-Za-z0-9]+, \"([a-z-]+)\",")
table_keys(documented "${guide}" warning-codes)
check(warning-codes "${codes}" "${documented}")

message(STATUS "the guide's tables agree with the lists: ${statuses}; ${codes}")
