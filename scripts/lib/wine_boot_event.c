/* Holds Wine's boot event of a prefix, set, for as long as the prefix's
   server runs (scripts/wine32). Every program that Wine starts looks for
   that event first; where it is missing, the program tries to start
   wineboot, which the minimal prefixes leave out, and under qemu the failed
   start costs seconds. Prints "ready" once the event is set. */
#include <stdio.h>
#include <windows.h>
#include <winternl.h>

typedef NTSTATUS(NTAPI* CreateEventFunction)(PHANDLE event, ACCESS_MASK access,
                                             POBJECT_ATTRIBUTES attributes, int type,
                                             BOOLEAN initiallySet);

int main(void) {
    const CreateEventFunction createEvent =
        (CreateEventFunction)(void*)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtCreateEvent");
    UNICODE_STRING name;
    OBJECT_ATTRIBUTES attributes;
    HANDLE event;
    RtlInitUnicodeString(&name, L"\\KernelObjects\\__wineboot_event");
    InitializeObjectAttributes(&attributes, &name, OBJ_OPENIF, NULL, NULL);
    /* A notification event, set from the start. */
    if (!createEvent || createEvent(&event, EVENT_ALL_ACCESS, &attributes, 0, TRUE) < 0) return 1;
    SetEvent(event);
    printf("ready\n");
    fflush(stdout);
    Sleep(INFINITE);
    return 0;
}
