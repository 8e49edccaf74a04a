// WideText, a caller-owned, always terminated UTF-16 string that keeps short
// texts inline, and Utf8ToWide, which makes one from Steam's UTF-8.
#pragma once

#include <cstddef>

namespace steambridge {

class WideText {
public:
    // Terminator included: most names and messages fit without touching the heap.
    static constexpr std::size_t kInlineUnits = 256;

    WideText() noexcept;
    ~WideText();
    WideText(WideText&& other) noexcept;
    WideText& operator=(WideText&& other) noexcept;
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    const char16_t* c_str() const noexcept { return data_; }
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

    // Makes the text `units` long (room for units + 1, terminator written at
    // [units]). Units below the old size are kept; newer ones are unset until
    // the caller writes them. Returns nullptr, leaving the text empty, when the
    // memory cannot be had.
    char16_t* Resize(std::size_t units) noexcept;
    // Empties the text and gives back any heap buffer.
    void Clear() noexcept;

private:
    void TakeFrom(WideText& other) noexcept;

    char16_t* data_;        // inline_ or a malloc'd buffer
    std::size_t size_;      // units, terminator excluded
    std::size_t capacity_;  // units that data_ holds, terminator included
    char16_t inline_[kInlineUnits];
};

// A NUL-terminated UTF-8 string as UTF-16, through the platform converter
// (two passes over the bytes and their terminator). Null gives the empty
// text, and so does a conversion or allocation failure.
WideText Utf8ToWide(const char* utf8);

}  // namespace steambridge
