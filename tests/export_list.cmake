# Helpers of the table checks.

# captured_names(out_var text pattern): for each match of `pattern` in
# `text`, what its one group captured, in order.
function(captured_names out_var text pattern)
  string(REGEX MATCHALL "${pattern}" matches "${text}")
  set(names)
  foreach(match IN LISTS matches)
    string(REGEX REPLACE "^${pattern}$" "\\1" name "${match}")
    list(APPEND names ${name})
  endforeach()
  set(${out_var} ${names} PARENT_SCOPE)
endfunction()

# read_export_list(file out_var): the names of src/bridge/export_list.h, in order.
function(read_export_list file out_var)
  file(READ ${file} text)
  captured_names(names "${text}" "[ \t]X\\(([A-Za-z_0-9]+)\\)")
  if(NOT names)
    message(FATAL_ERROR "no exports read from ${file}")
  endif()
  set(${out_var} ${names} PARENT_SCOPE)
endfunction()
