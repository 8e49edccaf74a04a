// WideText storage: inline units first, a malloc'd buffer for longer texts.
#include "text/wide_text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

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

}  // namespace steambridge
