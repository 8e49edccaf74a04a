// UTF-16 to UTF-8 for printing what the bridge wrote.
#include "host_text.h"

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string ToUtf8(const SteamBridgeChar16* text) {
    std::string out;
    for (const SteamBridgeChar16* unit = text; *unit; ++unit) {
        char32_t c = *unit;
        if (c >= 0xD800 && c < 0xDC00 && unit[1] >= 0xDC00 && unit[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit[1] - 0xDC00);
            ++unit;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}
