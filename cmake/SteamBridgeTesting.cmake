# steambridge_add_test(name SOURCES ... [LIBRARIES ...] [SIM_PROFILE 1.57|1.63]
#                      [OWN_MAIN] [RUNS_ONLY] [OUTPUT_DIRECTORY dir] [TIMEOUT seconds])
# RUNS_ONLY: registered only through steambridge_add_test_run.
# Makes one GoogleTest executable and registers it whole with CTest (one
# process per executable: under Wine every process start costs seconds).
# With SIM_PROFILE the executable links that build of the simulated client
# library and is placed beside it, as a game sits beside steam_api.dll.
function(steambridge_add_test name)
  cmake_parse_arguments(ARG "OWN_MAIN;RUNS_ONLY" "SIM_PROFILE;TIMEOUT;OUTPUT_DIRECTORY" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE steambridge_warnings ${ARG_LIBRARIES})
  steambridge_unoptimised(${name})
  # One translation unit per suite: most of a test file's compile time is
  # GoogleTest's headers, read once this way.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/testing ${PROJECT_SOURCE_DIR}/testing/controls)
  if(ARG_SIM_PROFILE)
    string(REPLACE "." "" profile_id "${ARG_SIM_PROFILE}")
    target_link_libraries(${name} PRIVATE steam_api_sim_${profile_id})
    set_target_properties(${name} PROPERTIES
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/sim/${ARG_SIM_PROFILE})
  elseif(ARG_OUTPUT_DIRECTORY)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
  else()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/unit)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  if(NOT ARG_RUNS_ONLY)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  endif()
endfunction()

# steambridge_unoptimised(target): test code is compiled without optimisation
# whatever the build type: it is compiled for every build and run briefly, so
# its compile time is what counts. The code under test keeps its build's flags.
function(steambridge_unoptimised target)
  target_compile_options(${target} PRIVATE -O0)
endfunction()

# steambridge_add_test_run(name executable ARGS ...): one more CTest entry
# running an executable made by steambridge_add_test with other arguments.
function(steambridge_add_test_run name executable)
  add_test(NAME ${name} COMMAND ${executable} ${ARGN})
  set_tests_properties(${name} PROPERTIES TIMEOUT 120)
endfunction()
