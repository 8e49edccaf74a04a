// WideText storage (inline units first, a malloc'd buffer for longer texts)
// and Utf8ToWide.
#include "text/wide_text.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "text/platform_conversion.h"

namespace steambridge {

WideText::WideText() noexcept : data_(inline_), size_(0), capacity_(kInlineUnits) {
    inline_[0] = 0;
}

WideText::~WideText() {
    if (data_ != inline_) {
        std::free(data_);
    }
}

WideText::WideText(WideText&& other) noexcept : data_(inline_), size_(0), capacity_(kInlineUnits) {
    inline_[0] = 0;
    TakeFrom(other);
}

WideText& WideText::operator=(WideText&& other) noexcept {
    if (this != &other) {
        Clear();
        TakeFrom(other);
    }
    return *this;
}

void WideText::TakeFrom(WideText& other) noexcept {
    if (other.data_ != other.inline_) {
        data_ = other.data_;
        capacity_ = other.capacity_;
    } else {
        // Inline units cannot be stolen; copying them is cheaper than a heap block.
        std::memcpy(inline_, other.inline_, (other.size_ + 1) * sizeof(char16_t));
    }
    size_ = other.size_;
    other.data_ = other.inline_;
    other.size_ = 0;
    other.capacity_ = kInlineUnits;
    other.inline_[0] = 0;
}

char16_t* WideText::Resize(std::size_t units) noexcept {
    if (units < capacity_) {
        size_ = units;
        data_[units] = 0;
        return data_;
    }
    if (units >= SIZE_MAX / sizeof(char16_t)) {
        Clear();
        return nullptr;
    }
    const std::size_t capacity = units + 1;
    void* block = std::malloc(capacity * sizeof(char16_t));
    if (block == nullptr) {
        Clear();
        return nullptr;
    }
    char16_t* buffer = static_cast<char16_t*>(block);
    std::memcpy(buffer, data_, size_ * sizeof(char16_t));
    if (data_ != inline_) {
        std::free(data_);
    }
    data_ = buffer;
    capacity_ = capacity;
    size_ = units;
    data_[units] = 0;
    return data_;
}

void WideText::Clear() noexcept {
    if (data_ != inline_) {
        std::free(data_);
        data_ = inline_;
        capacity_ = kInlineUnits;
    }
    size_ = 0;
    inline_[0] = 0;
}

WideText Utf8ToWide(const char* utf8) {
    WideText text;
    if (utf8 == nullptr) return text;
    const std::size_t length = std::strlen(utf8);
    if (length >= static_cast<std::size_t>(INT_MAX)) return text;
    // The terminator goes through the converter too, so n counts it.
    const int byteCount = static_cast<int>(length + 1);
    const int needed = ConvertUtf8ToUtf16(utf8, byteCount, nullptr, 0);
    if (needed <= 0) return text;
    const std::size_t units = static_cast<std::size_t>(needed);
    char16_t* buffer = text.Resize(units - 1);
    if (buffer == nullptr) return text;
    if (ConvertUtf8ToUtf16(utf8, byteCount, buffer, needed) != needed) {
        text.Clear();
        return text;
    }
    const char16_t last = buffer[units - 1];
    if (last != 0) {
        // A lead byte just before the end makes Windows fold the terminator into
        // its U+FFFD; keep that unit and terminate after it. It sits in the
        // terminator's place, which Resize does not carry over.
        buffer = text.Resize(units);
        if (buffer == nullptr) return text;
        buffer[units - 1] = last;
    }
    return text;
}

}  // namespace steambridge
