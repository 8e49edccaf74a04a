# Stages with Valve's own client library of each SDK release found under
# STEAMWORKS_SDK, over our stand-in Steam client (sim/client). Sets
# STEAMBRIDGE_REAL_RELEASES to the releases staged as real-<release>.
set(STEAMBRIDGE_REAL_RELEASES "")
if(NOT STEAMWORKS_SDK OR NOT TARGET steam_client_sim)
  return()
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(valve_library redistributable_bin/steam_api.dll)
else()
  return()  # The stand-in client serves 32-bit Windows only, so far.
endif()

file(GLOB release_dirs LIST_DIRECTORIES true ${STEAMWORKS_SDK}/*)
foreach(release_dir IN LISTS release_dirs)
  if(EXISTS ${release_dir}/${valve_library})
    get_filename_component(release ${release_dir} NAME)
    steambridge_stage(real-${release} VALVE_LIBRARY ${release_dir}/${valve_library}
      CLIENT steam_client_sim DEMO)
    list(APPEND STEAMBRIDGE_REAL_RELEASES ${release})
  endif()
endforeach()
if(NOT STEAMBRIDGE_REAL_RELEASES)
  message(WARNING "STEAMWORKS_SDK=${STEAMWORKS_SDK} holds no release with ${valve_library}")
endif()
