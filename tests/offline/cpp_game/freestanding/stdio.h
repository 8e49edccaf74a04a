/* The part of <stdio.h> Valve's headers use, for a build with no C library:
 * declared for inline functions of the headers that the game never calls. */
#pragma once
#include <stddef.h>
#ifdef __cplusplus
extern "C" {
#endif
int snprintf(char* target, size_t size, const char* format, ...);
int _snprintf(char* target, size_t size, const char* format, ...);
#ifdef __cplusplus
}
#endif
