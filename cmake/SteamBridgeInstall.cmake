# What cmake --install makes: one folder laid out as the release bundles are,
# so scripts/package makes them from it.
#   include/           steambridge.h and the generated steambridge_version.h
#   lib/               libsteambridge.so (Linux), pkgconfig/steambridge.pc
#   x86/ or x64/       on Windows, the DLL with its import libraries: mingw's
#                      lib<name>.dll.a, and <name>.lib (MSVC) and <name>.def
#                      when llvm-dlltool made them
#   lib/cmake/steambridge/  the CMake package: steambridge::steambridge
#   offline/           steambridge-offline, its client (linux64/, or x86/ and
#                      x64/ with the trial start), the scenario schema, examples
#   README.md, LICENSE, CHANGELOG.md, docs/, examples/host.c
# On Windows the DLL's folder is named by its architecture, not bin/ and lib/:
# the 32-bit and the 64-bit installs go into one prefix side by side (the
# release zip is the two together), and one package serves a game of either.
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(steambridge_arch_folder x64)
  else()
    set(steambridge_arch_folder x86)
  endif()
  set(steambridge_bindir ${steambridge_arch_folder})
  set(steambridge_libdir ${steambridge_arch_folder})
  set(steambridge_system windows-${steambridge_arch_folder})
  set(offline_client_folder ${steambridge_arch_folder})
else()
  include(GNUInstallDirs)
  set(steambridge_bindir ${CMAKE_INSTALL_BINDIR})
  set(steambridge_libdir ${CMAKE_INSTALL_LIBDIR})
  set(steambridge_system linux-x86_64)
  set(offline_client_folder linux64)
endif()
set(steambridge_cmakedir lib/cmake/steambridge)
include(CMakePackageConfigHelpers)

# The bridge. The DLL is linked stripped and without a timestamp; GNU strip
# would write one into it, so cmake --install --strip leaves it alone.
if(WIN32)
  install(CODE "set(steambridge_do_strip \"\${CMAKE_INSTALL_DO_STRIP}\")\nset(CMAKE_INSTALL_DO_STRIP OFF)")
endif()
install(TARGETS steambridge EXPORT steambridge
  RUNTIME DESTINATION ${steambridge_bindir}
  LIBRARY DESTINATION ${steambridge_libdir}
  ARCHIVE DESTINATION ${steambridge_libdir}
  INCLUDES DESTINATION include)
if(WIN32)
  install(CODE "set(CMAKE_INSTALL_DO_STRIP \"\${steambridge_do_strip}\")")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/include/steambridge.h ${PROJECT_BINARY_DIR}/include/steambridge_version.h
  DESTINATION include)
if(STEAMBRIDGE_MSVC_IMPORT_LIBRARY)
  install(FILES ${STEAMBRIDGE_MSVC_IMPORT_LIBRARY} ${STEAMBRIDGE_DEF_FILE} DESTINATION ${steambridge_libdir})
endif()

# The package: one steambridgeConfig.cmake for every system and architecture,
# which takes the targets file of the consumer's (so the 32- and 64-bit
# installs share it). The version file is architecture-independent for the
# same reason; the config says plainly when the consumer's is missing.
# While the major number is 0 a new minor number may break (versioning.md).
if(PROJECT_VERSION_MAJOR EQUAL 0)
  set(compatibility SameMinorVersion)
else()
  set(compatibility SameMajorVersion)
endif()
install(EXPORT steambridge NAMESPACE steambridge:: FILE steambridge-${steambridge_system}-targets.cmake
  DESTINATION ${steambridge_cmakedir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/steambridgeConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/steambridgeConfig.cmake INSTALL_DESTINATION ${steambridge_cmakedir}
  NO_SET_AND_CHECK_MACRO)
# ARCH_INDEPENDENT still writes the pointer size into code it skips; without
# it there, every install's version file is the same.
function(steambridge_version_file)
  set(CMAKE_SIZEOF_VOID_P "")
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/steambridgeConfigVersion.cmake
    COMPATIBILITY ${compatibility} ARCH_INDEPENDENT)
endfunction()
steambridge_version_file()
install(FILES ${PROJECT_BINARY_DIR}/package/steambridgeConfig.cmake
  ${PROJECT_BINARY_DIR}/package/steambridgeConfigVersion.cmake DESTINATION ${steambridge_cmakedir})

# pkg-config, for the Linux library; relative to its own folder, so an
# unpacked tarball works wherever it lies.
if(NOT WIN32)
  set(pkgconfig_dir ${steambridge_libdir}/pkgconfig)
  file(RELATIVE_PATH pkgconfig_prefix /root/${pkgconfig_dir} /root)
  string(REGEX REPLACE "/$" "" pkgconfig_prefix "${pkgconfig_prefix}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/steambridge.pc.in ${PROJECT_BINARY_DIR}/package/steambridge.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/package/steambridge.pc DESTINATION ${pkgconfig_dir})
endif()

# The offline Steam, laid out where the launcher looks: its client in
# linux64/ beside it, or x86/ and x64/ with the doctor's trial start.
install(TARGETS steambridge-offline RUNTIME DESTINATION offline)
if(TARGET offline_client)
  # The client's mingw import library serves no one.
  install(TARGETS offline_client
    RUNTIME DESTINATION offline/${offline_client_folder}
    LIBRARY DESTINATION offline/${offline_client_folder}
    ARCHIVE DESTINATION offline/${offline_client_folder} COMPONENT unused EXCLUDE_FROM_ALL)
endif()
if(TARGET steambridge-offline-trial)
  install(TARGETS steambridge-offline-trial RUNTIME DESTINATION offline/${offline_client_folder})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/offline/scenario/scenario.schema.json DESTINATION offline)
install(FILES ${PROJECT_SOURCE_DIR}/offline/examples/game_schema.json
  ${PROJECT_SOURCE_DIR}/offline/examples/fault_tour.json DESTINATION offline/examples)

# What a game developer reads, with the README's links intact.
install(FILES README.md LICENSE CHANGELOG.md DESTINATION .)
install(FILES docs/bridge.md docs/offline-steam.md docs/scenario-format.md docs/versioning.md DESTINATION docs)
install(FILES docs/ci/github-actions.yml DESTINATION docs/ci)
install(FILES examples/host.c DESTINATION examples)
