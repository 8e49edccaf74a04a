// The state file's lock, per system.
#include "state_lock.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <system_error>
#include <thread>

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
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace offline_steam {
namespace {

constexpr int kDefaultWaitSeconds = 10;
constexpr int kLongestWaitSeconds = 3600;
constexpr auto kPollInterval = std::chrono::milliseconds(50);

std::string HolderText(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        digits += c;
    }
    return digits.empty() ? std::string() : " (process " + digits + ")";
}

std::string InUse(const std::string& path, const std::string& holder, int waitSeconds) {
    return path + ": in use by another run" + holder + ", still after waiting " +
           std::to_string(waitSeconds) + " s (STEAMBRIDGE_OFFLINE_STATE_WAIT)";
}

}  // namespace

int StateLockWaitSeconds() {
    const char* text = std::getenv("STEAMBRIDGE_OFFLINE_STATE_WAIT");
    if (text == nullptr || text[0] == '\0') return kDefaultWaitSeconds;
    int seconds = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') return kDefaultWaitSeconds;
        seconds = seconds * 10 + (*c - '0');
        if (seconds > kLongestWaitSeconds) return kDefaultWaitSeconds;
    }
    return seconds;
}

#ifdef _WIN32

namespace {

std::wstring Wide(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// A byte far past the process ID the file holds, so others can still read that.
bool LockByte(HANDLE file) {
    OVERLAPPED where{};
    where.OffsetHigh = 1;
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where) !=
           0;
}

std::string ReadHolder(HANDLE file) {
    char text[32] = {};
    DWORD read = 0;
    LARGE_INTEGER start{};
    SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    return HolderText(std::string(text, read));
}

}  // namespace

bool StateLock::Acquire(const std::string& path, int waitSeconds, std::string* error) {
    Release();
    const std::string lockPath = path + ".lock";
    HANDLE file = CreateFileW(Wide(lockPath).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = lockPath + ": cannot be made: " +
                 std::system_category().message(static_cast<int>(GetLastError()));
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(waitSeconds);
    while (!LockByte(file)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            *error = InUse(path, ReadHolder(file), waitSeconds);
            CloseHandle(file);
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    const std::string id = std::to_string(GetCurrentProcessId()) + "\n";
    LARGE_INTEGER start{};
    SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    DWORD written = 0;
    WriteFile(file, id.data(), static_cast<DWORD>(id.size()), &written, nullptr);
    handle_ = file;
    held_ = true;
    return true;
}

void StateLock::Release() {
    if (!held_) return;
    CloseHandle(static_cast<HANDLE>(handle_));  // closing the handle lets the lock go
    handle_ = nullptr;
    held_ = false;
}

#else

namespace {

std::string ReadHolder(int file) {
    char text[32] = {};
    const ssize_t read = pread(file, text, sizeof text - 1, 0);
    return HolderText(std::string(text, read > 0 ? static_cast<std::size_t>(read) : 0));
}

}  // namespace

bool StateLock::Acquire(const std::string& path, int waitSeconds, std::string* error) {
    Release();
    const std::string lockPath = path + ".lock";
    const int file = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0) {
        *error = lockPath + ": cannot be made: " + std::generic_category().message(errno);
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(waitSeconds);
    while (flock(file, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            *error = lockPath + ": cannot be locked: " + std::generic_category().message(errno);
            close(file);
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            *error = InUse(path, ReadHolder(file), waitSeconds);
            close(file);
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    // Who holds it, for the message of a run that waits in vain; a failure costs only that.
    const std::string id = std::to_string(getpid()) + "\n";
    const bool noted = ftruncate(file, 0) == 0 && pwrite(file, id.data(), id.size(), 0) > 0;
    static_cast<void>(noted);
    file_ = file;
    held_ = true;
    return true;
}

void StateLock::Release() {
    if (!held_) return;
    close(file_);  // closing the only descriptor lets the lock go
    file_ = -1;
    held_ = false;
}

#endif

}  // namespace offline_steam
