// The temporary file, its flush to the disk and the rename, per system.
#include "atomic_file.h"

#include <atomic>
#include <string>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace offline_steam {
namespace {

// A name left by a process that ended mid-write may be taken; the next one is tried.
constexpr int kNameAttempts = 100;

std::atomic<unsigned long> g_temporaryCount{0};

// Unique among this process's writes and, through the process ID, among
// those of every process writing beside the same file.
std::string TemporaryName(const std::string& path, unsigned long processId) {
    return path + ".tmp-" + std::to_string(processId) + "-" + std::to_string(++g_temporaryCount);
}

#ifdef _WIN32

using Handle = HANDLE;

std::string Reason(DWORD code) {
    std::string text = std::system_category().message(static_cast<int>(code));
    // FormatMessage ends its text with ".\r\n"; the error is one line.
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == '.' || text.back() == ' '))
        text.pop_back();
    return text;
}

// As the "A" functions and fopen read a file name: in the ANSI code page.
std::wstring Wide(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

bool CreateTemporary(const std::string& path, std::string* name, Handle* file,
                     std::string* reason) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        *name = TemporaryName(path, GetCurrentProcessId());
        *file = CreateFileW(Wide(*name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (*file != INVALID_HANDLE_VALUE) return true;
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            *reason = Reason(code);
            return false;
        }
    }
    *reason = "every temporary name beside it is taken";
    return false;
}

bool WriteAll(Handle file, const std::string& text, std::string* reason) {
    const char* next = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, next, chunk, &written, nullptr)) {
            *reason = Reason(GetLastError());
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

bool FlushAndClose(Handle file, std::string* reason) {
    bool done = FlushFileBuffers(file) != 0;
    DWORD code = done ? 0 : GetLastError();
    if (!CloseHandle(file) && done) {
        done = false;
        code = GetLastError();
    }
    if (!done) *reason = Reason(code);
    return done;
}

void Close(Handle file) { CloseHandle(file); }

void Remove(const std::string& name) { DeleteFileW(Wide(name).c_str()); }

// Write-through: the move is on the disk when it returns, folder entry and all.
bool Publish(const std::string& from, const std::string& to, std::string* reason) {
    if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    *reason = Reason(GetLastError());
    return false;
}

#else

using Handle = int;

std::string Reason(int code) { return std::generic_category().message(code); }

bool CreateTemporary(const std::string& path, std::string* name, Handle* file,
                     std::string* reason) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        *name = TemporaryName(path, static_cast<unsigned long>(getpid()));
        // 0666 as fopen makes files: the umask decides, as for any file the user writes.
        *file = open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (*file >= 0) return true;
        if (errno != EEXIST) {
            *reason = Reason(errno);
            return false;
        }
    }
    *reason = "every temporary name beside it is taken";
    return false;
}

bool WriteAll(Handle file, const std::string& text, std::string* reason) {
    const char* next = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t written = write(file, next, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            *reason = Reason(errno);
            return false;
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

bool FlushAndClose(Handle file, std::string* reason) {
    bool done = fsync(file) == 0;
    int code = done ? 0 : errno;
    if (close(file) != 0 && done) {
        done = false;
        code = errno;
    }
    if (!done) *reason = Reason(code);
    return done;
}

void Close(Handle file) { close(file); }

void Remove(const std::string& name) { unlink(name.c_str()); }

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The rename is on the disk only once the folder's entries are.
bool Publish(const std::string& from, const std::string& to, std::string* reason) {
    if (rename(from.c_str(), to.c_str()) != 0) {
        *reason = Reason(errno);
        return false;
    }
    const int folder = open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        *reason = Reason(errno);
        return false;
    }
    // Some file systems cannot flush a folder (EINVAL); their renames are as durable as they get.
    const bool synced = fsync(folder) == 0 || errno == EINVAL;
    const int code = errno;
    close(folder);
    if (!synced) *reason = Reason(code);
    return synced;
}

#endif

bool Fail(const std::string& path, const std::string& reason, std::string* error) {
    if (error != nullptr) *error = path + ": cannot be written: " + reason;
    return false;
}

}  // namespace

bool WriteAtomically(const std::string& path, const std::string& text, std::string* error) {
    std::string temporary;
    std::string reason;
    Handle file;
    if (!CreateTemporary(path, &temporary, &file, &reason)) return Fail(path, reason, error);
    if (!WriteAll(file, text, &reason)) {
        Close(file);
        Remove(temporary);
        return Fail(path, reason, error);
    }
    if (!FlushAndClose(file, &reason) || !Publish(temporary, path, &reason)) {
        Remove(temporary);
        return Fail(path, reason, error);
    }
    return true;
}

bool CanWrite(const std::string& path, std::string* error) {
    std::string temporary;
    std::string reason;
    Handle file;
    if (!CreateTemporary(path, &temporary, &file, &reason)) return Fail(path, reason, error);
    Close(file);
    Remove(temporary);
    return true;
}

}  // namespace offline_steam
