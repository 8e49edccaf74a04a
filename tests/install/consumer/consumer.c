/* A game built against an installed steambridge: the header's version is the
   package's (and, on Windows, the DLL's version resource), and with no Steam
   client library anywhere steamInit answers false. */
#include <stdio.h>

#include "steambridge.h"

#if STEAMBRIDGE_VERSION_MAJOR != PACKAGE_MAJOR || STEAMBRIDGE_VERSION_MINOR != PACKAGE_MINOR || \
    STEAMBRIDGE_VERSION_PATCH != PACKAGE_PATCH
#error "steambridge_version.h and the CMake package disagree"
#endif

#ifdef _WIN32
#include <windows.h>

/* 0 when the loaded DLL's file version is the header's. */
static int check_version_resource(void) {
    HMODULE bridge = NULL;
    char path[MAX_PATH];
    if (!GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            (LPCSTR)(void*)&steamInit, &bridge) ||
        !GetModuleFileNameA(bridge, path, sizeof path))
        return 1;
    static char data[4096];
    VS_FIXEDFILEINFO* info = NULL;
    UINT size = 0;
    if (!GetFileVersionInfoA(path, 0, sizeof data, data) ||
        !VerQueryValueA(data, "\\", (void**)&info, &size) || size < sizeof *info)
        return 1;
    printf("version resource: %lu.%lu.%lu\n", (unsigned long)HIWORD(info->dwFileVersionMS),
           (unsigned long)LOWORD(info->dwFileVersionMS),
           (unsigned long)HIWORD(info->dwFileVersionLS));
    return info->dwFileVersionMS !=
               (DWORD)MAKELONG(STEAMBRIDGE_VERSION_MINOR, STEAMBRIDGE_VERSION_MAJOR) ||
           HIWORD(info->dwFileVersionLS) != STEAMBRIDGE_VERSION_PATCH;
}
#else
static int check_version_resource(void) { return 0; }
#endif

int main(void) {
    printf("steambridge %d.%d.%d\n", STEAMBRIDGE_VERSION_MAJOR, STEAMBRIDGE_VERSION_MINOR,
           STEAMBRIDGE_VERSION_PATCH);
    if (check_version_resource()) {
        printf("the DLL's version resource is not the header's version\n");
        return 1;
    }
    /* Null slots are skipped. */
    const bool started = steamInit(NULL, NULL);
    printf("steamInit answered %s\n", started ? "true" : "false");
    return started ? 1 : 0;
}
