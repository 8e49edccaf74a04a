/* The part of <string.h> Valve's headers use, for a build with no C library.
 * cpp_game.cpp defines what the game calls; the rest is declared for inline
 * functions of the headers that the game never calls. */
#pragma once
#include <stddef.h>
#ifdef __cplusplus
extern "C" {
#endif
void* memset(void* target, int value, size_t size);
void* memcpy(void* target, const void* source, size_t size);
int memcmp(const void* left, const void* right, size_t size);
size_t strlen(const char* text);
char* strncpy(char* target, const char* source, size_t size);
#ifdef __cplusplus
}
#endif
