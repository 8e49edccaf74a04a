// The library's entry point: loading and unloading do nothing of our own.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    // Steam is started and stopped only by steamInit and steamFree; thread
    // notifications would only cost every thread of the game a call into us.
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}
