// One frame's sleep on each platform the demo is built for.
#include "frame_clock.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

void WaitOneFrame() {
#if defined(_WIN32)
    Sleep(16);
#else
    const timespec frame{0, 16 * 1000 * 1000};
    nanosleep(&frame, nullptr);
#endif
}
