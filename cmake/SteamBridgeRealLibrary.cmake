# Stages with Valve's own client library of each SDK release found under
# STEAMWORKS_SDK, over a test build of the offline Steam client (testing/), with the demo
# and flat_game (tests/offline: a game using Valve's flat API itself). Sets
# STEAMBRIDGE_REAL_RELEASES to the releases staged as real-<release>, and
# stages wrong-architecture: the newest release's library built for the other
# architecture, as a game might ship it by mistake; on Linux, real-broken-client:
# the newest release's library over a Steam client that lacks an export.
set(STEAMBRIDGE_REAL_RELEASES "")
if(NOT STEAMWORKS_SDK OR NOT TARGET steam_client_sim)
  return()
endif()
if(NOT WIN32)
  set(valve_library redistributable_bin/linux64/libsteam_api.so)
  set(foreign_library "")
elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(valve_library redistributable_bin/steam_api.dll)
  set(foreign_library redistributable_bin/win64/steam_api64.dll)
else()
  set(valve_library redistributable_bin/win64/steam_api64.dll)
  set(foreign_library redistributable_bin/steam_api.dll)
endif()

# Games of tests/offline played beside each library: the flat-API game, and
# natively the release's example host.
set(real_stage_programs flat_game)
if(NOT WIN32)
  list(APPEND real_stage_programs example_host)
endif()

file(GLOB release_dirs LIST_DIRECTORIES true ${STEAMWORKS_SDK}/*)
foreach(release_dir IN LISTS release_dirs)
  if(EXISTS ${release_dir}/${valve_library})
    get_filename_component(release ${release_dir} NAME)
    steambridge_stage(real-${release} VALVE_LIBRARY ${release_dir}/${valve_library}
      CLIENT steam_client_sim DEMO EXTRA ${real_stage_programs})
    list(APPEND STEAMBRIDGE_REAL_RELEASES ${release})
    if(foreign_library AND EXISTS ${release_dir}/${foreign_library})
      set(newest_foreign_library ${release_dir}/${foreign_library})
    endif()
  endif()
endforeach()
if(TARGET steam_client_sim_broken AND STEAMBRIDGE_REAL_RELEASES)
  list(GET STEAMBRIDGE_REAL_RELEASES -1 newest)
  steambridge_stage(real-broken-client VALVE_LIBRARY ${STEAMWORKS_SDK}/${newest}/${valve_library}
    CLIENT steam_client_sim_broken)
endif()
if(newest_foreign_library)
  steambridge_stage(wrong-architecture FOREIGN_LIBRARY ${newest_foreign_library})
endif()
if(NOT STEAMBRIDGE_REAL_RELEASES)
  message(WARNING "STEAMWORKS_SDK=${STEAMWORKS_SDK} holds no release with ${valve_library}")
endif()
