// Board names through the hosts' reference codec.
#include "text_expectations.h"

#include "host_support/utf_reference.h"

namespace fuzz {

bool ExpectedBoardName(const std::u16string& text, bool utf8Locale, std::string& narrow) {
    if (!utf_reference::EncodeStrictUtf8(text.substr(0, text.find(u'\0')), narrow)) return false;
    if (narrow.size() > 127) return false;
    // The "C" locale has ASCII alone.
    for (const char byte : narrow)
        if (!utf8Locale && static_cast<unsigned char>(byte) >= 0x80) return false;
    return true;
}

}  // namespace fuzz
