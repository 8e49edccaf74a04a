# Checks the shipped library's tables: it exports exactly the bridge's
# functions and, on Windows, imports only system DLLs (its C and C++ runtime
# are linked in) and carries a version resource. Run with -DLIBRARY=... and -DOBJDUMP=... (Windows) or
# -DNM=... (Linux), with -DMAGIC=010b (PE32) or 020b (PE32+) for Windows.
set(expected_exports
  steamInit steamFree steamCallBacks steamUserID
  steamAchievement steamAchievementsOverlay steamResetAchievements
  steamStat steamStatIncrease steamStatus steamAchievementsCount
  steamAchievementData
  steamSetLeaderBoardName steamLeaderBoardFound steamUploadScore)
list(SORT expected_exports)

if(OBJDUMP)
  execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "objdump failed on ${LIBRARY}")
  endif()
  string(REGEX MATCH "Magic[ \t]+${MAGIC}" right_image "${dump}")
  if(NOT right_image)
    message(FATAL_ERROR "${LIBRARY} is not a PE image with optional-header magic ${MAGIC}")
  endif()
  # Export names follow "[Ordinal/Name Pointer] Table", one "[   0] name" a line.
  string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)*" table "${dump}")
  string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" lines "${table}")
  set(exports)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${line}")
    list(APPEND exports ${name})
  endforeach()
  # A version resource (type 16): what Explorer's properties and crash reports show.
  if(NOT dump MATCHES "Type Table:[^\n]*\n[^\n]*Entry: ID: 0x000010")
    message(FATAL_ERROR "${LIBRARY} carries no version resource")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${dump}")
  foreach(line IN LISTS import_lines)
    string(REPLACE "DLL Name: " "" dll "${line}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll MATCHES "^(kernel32\\.dll|msvcrt\\.dll|api-ms-win-crt-[a-z0-9-]+\\.dll)$")
      message(FATAL_ERROR "${LIBRARY} imports ${dll}: only system DLLs are allowed")
    endif()
    message(STATUS "imports ${dll}")
  endforeach()
else()
  execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
  endif()
  string(REGEX MATCHALL "[0-9a-f]+ [TW] [A-Za-z_0-9]+" lines "${dump}")
  set(exports)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE ".* " "" name "${line}")
    if(NOT name MATCHES "^_(init|fini)$")
      list(APPEND exports ${name})
    endif()
  endforeach()
endif()

list(SORT exports)
if(NOT exports STREQUAL expected_exports)
  message(FATAL_ERROR "${LIBRARY} exports\n  ${exports}\nexpected\n  ${expected_exports}")
endif()
message(STATUS "exports ${exports}")
