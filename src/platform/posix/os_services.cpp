// The bridge on Linux: finding libsteam_api.so, and trace lines appended to the
// file STEAMBRIDGE_TRACE_FILE names (/dev/stderr for the terminal), nothing
// when it is unset.
#include "platform/os_services.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bridge/trace.h"

namespace steambridge {
namespace {

constexpr char kLibraryName[] = "libsteam_api.so";

// Where the library is looked for after a copy already loaded: beside this
// module, then beside the application (the same folder is tried once).
struct Candidates {
    char paths[2][PATH_MAX];
    int count = 0;

    void AddBeside(const char* file) {
        if (!file) return;
        const char* slash = std::strrchr(file, '/');
        if (!slash) return;
        const std::size_t directoryLength = static_cast<std::size_t>(slash - file) + 1;
        if (directoryLength + sizeof kLibraryName > sizeof paths[0]) return;
        char* path = paths[count];
        std::memcpy(path, file, directoryLength);
        std::memcpy(path + directoryLength, kLibraryName, sizeof kLibraryName);
        if (count == 1 && std::strcmp(paths[0], path) == 0) return;
        ++count;
    }
};

const char* ThisModuleFile() {
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&ThisModuleFile), &info) == 0) return nullptr;
    return info.dli_fname;
}

// The ELF class and machine bytes of a file's header; false when it has none.
bool ReadElfKind(const char* path, unsigned char kind[3]) {
    const int file = open(path, O_RDONLY | O_CLOEXEC);
    if (file < 0) return false;
    unsigned char header[20];
    const bool read = ::read(file, header, sizeof header) == static_cast<ssize_t>(sizeof header);
    close(file);
    if (!read || std::memcmp(header,
                             "\x7f"
                             "ELF",
                             4) != 0)
        return false;
    kind[0] = header[4];   // EI_CLASS
    kind[1] = header[18];  // e_machine, both bytes
    kind[2] = header[19];
    return true;
}

// Traces why no candidate could be opened: one line for the cause, then one
// per path tried. `errors` holds dlerror's text for each.
void TraceNotOpened(const Candidates& candidates, const char (*errors)[PATH_MAX + 256]) {
    enum Why { Missing, OtherArchitecture, NotLoaded } why[2];
    unsigned char ours[3];
    const char* module = ThisModuleFile();
    const bool oursKnown = module != nullptr && ReadElfKind(module, ours);
    TraceId cause = TraceId::LibraryNotFound;
    for (int i = 0; i < candidates.count; ++i) {
        unsigned char theirs[3];
        if (access(candidates.paths[i], F_OK) != 0) {
            why[i] = Missing;
        } else if (oursKnown && ReadElfKind(candidates.paths[i], theirs) &&
                   std::memcmp(ours, theirs, sizeof ours) != 0) {
            why[i] = OtherArchitecture;
            cause = TraceId::LibraryOtherArchitecture;
        } else {
            why[i] = NotLoaded;
            if (cause == TraceId::LibraryNotFound) cause = TraceId::LibraryNotLoaded;
        }
    }
    Trace(cause);
    for (int i = 0; i < candidates.count; ++i) {
        // dlerror's text names the path itself.
        if (why[i] == NotLoaded) {
            TraceDetail(errors[i]);
            continue;
        }
        char line[PATH_MAX + 40];
        std::snprintf(line, sizeof line, "%s: %s", candidates.paths[i],
                      why[i] == Missing ? "no such file" : "built for another architecture");
        TraceDetail(line);
    }
}

}  // namespace

void* OpenClientLibrary() {
    // Opened once per process and kept: each open would add a reference.
    static void* library;
    if (library) return library;
    // Reuse a copy the game already loaded: two would break both.
    library = dlopen(kLibraryName, RTLD_NOW | RTLD_NOLOAD);
    if (library) return library;

    Candidates candidates;
    candidates.AddBeside(ThisModuleFile());
    char executable[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
    if (length > 0) {
        executable[length] = '\0';
        candidates.AddBeside(executable);
    }
    char errors[2][PATH_MAX + 256] = {};
    for (int i = 0; i < candidates.count; ++i) {
        library = dlopen(candidates.paths[i], RTLD_NOW | RTLD_LOCAL);
        if (library) return library;
        const char* error = dlerror();
        std::snprintf(errors[i], sizeof errors[i], "%s", error ? error : "dlopen failed");
    }
    TraceNotOpened(candidates, errors);
    return nullptr;
}

void* FindLibrarySymbol(void* library, const char* name) { return dlsym(library, name); }

// ---- trace output

namespace {

constexpr int kNotOpenedYet = -2;
// Opened at the first line and kept: lines come on events only, and a game
// that changes its environment later must not move them.
int g_traceFile = kNotOpenedYet;

int TraceFile() {
    if (g_traceFile == kNotOpenedYet) {
        const char* path = std::getenv("STEAMBRIDGE_TRACE_FILE");
        g_traceFile = path != nullptr && *path != '\0'
                          ? open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644)
                          : -1;
    }
    return g_traceFile;
}

}  // namespace

void WriteTraceOutput(const char* line) {
    const int file = TraceFile();
    if (file < 0) return;
    // One write per line, so lines from two processes appending to one file
    // stay whole.
    char buffer[512];
    const std::size_t length = std::strlen(line);
    if (length + 1 <= sizeof buffer) {
        std::memcpy(buffer, line, length);
        buffer[length] = '\n';
        (void)!write(file, buffer, length + 1);
    } else {
        (void)!write(file, line, length);
        (void)!write(file, "\n", 1);
    }
}

void FormatTraceLine(char* buffer, std::size_t capacity, const char* format, int code) {
    if (std::snprintf(buffer, capacity, format, code) < 0) {
        buffer[0] = '\0';
    }
}

}  // namespace steambridge
