# Warning set shared by every target of the project.
add_library(steambridge_warnings INTERFACE)
target_compile_options(steambridge_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  $<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast>)
