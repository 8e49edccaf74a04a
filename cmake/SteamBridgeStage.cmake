# Game-like directories under ${CMAKE_BINARY_DIR}/stage: steambridge beside a
# build of the simulated client library (or beside none), as a game ships it.
# steambridge_stage(name [SIM target] [VALVE_LIBRARY file CLIENT target]
#                   [FOREIGN_LIBRARY file] [DEMO] [EXTRA target...])
# VALVE_LIBRARY: Valve's own client library, copied from the SDK at build time
# (never kept in the sources), with our stand-in Steam client beside it.
# FOREIGN_LIBRARY: a client library built for the other architecture, copied
# under its own name and under the name this build's bridge looks for.
# EXTRA: more programs copied in, such as games that use Valve's library
# themselves; they may be defined after the stage.
function(steambridge_stage name)
  cmake_parse_arguments(ARG "DEMO" "SIM;VALVE_LIBRARY;CLIENT;FOREIGN_LIBRARY" "EXTRA" ${ARGN})
  set(directory ${CMAKE_BINARY_DIR}/stage/${name})
  set(files $<TARGET_FILE:steambridge>)
  set(targets steambridge)
  if(ARG_SIM)
    list(APPEND files $<TARGET_FILE:${ARG_SIM}>)
    list(APPEND targets ${ARG_SIM})
  endif()
  if(ARG_VALVE_LIBRARY)
    list(APPEND files ${ARG_VALVE_LIBRARY} $<TARGET_FILE:${ARG_CLIENT}>)
    list(APPEND targets ${ARG_CLIENT})
  endif()
  if(ARG_DEMO)
    list(APPEND files $<TARGET_FILE:steambridge_demo>)
    list(APPEND targets steambridge_demo)
  endif()
  foreach(extra IN LISTS ARG_EXTRA)
    list(APPEND files $<TARGET_FILE:${extra}>)
  endforeach()
  set(foreign_copy)
  if(ARG_FOREIGN_LIBRARY)
    list(APPEND files ${ARG_FOREIGN_LIBRARY})
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      set(own_name steam_api64.dll)
    else()
      set(own_name steam_api.dll)
    endif()
    set(foreign_copy COMMAND ${CMAKE_COMMAND} -E copy ${ARG_FOREIGN_LIBRARY} ${directory}/${own_name})
  endif()
  string(MAKE_C_IDENTIFIER "stage_${name}" target)
  add_custom_target(${target} ALL
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${directory}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${directory}
    COMMAND ${CMAKE_COMMAND} -E copy ${files} ${directory}
    ${foreign_copy}
    DEPENDS ${targets}
    COMMENT "Staging ${name}"
    VERBATIM)
  if(ARG_EXTRA)
    add_dependencies(${target} ${ARG_EXTRA})
  endif()
endfunction()
