// Appending journal lines, flushed one by one.
#include "journal.h"

#include <charconv>
#include <cstdio>

#include "json_document.h"

namespace offline_steam {
std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto unit = static_cast<unsigned char>(c);
        if (unit >= 0x80) {
            // A game's text need not be UTF-8; the journal must stay valid JSON.
            const std::size_t length = json_file::Utf8Length(text, i);
            if (length == 0) {
                json += "\\ufffd";
            } else {
                json.append(text, i, length);
                i += length - 1;
            }
            continue;
        }
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (unit < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", unit);
                    json += escaped;
                } else {
                    json += c;
                }
        }
    }
    return json + '"';
}

std::string JsonNumber(double value) {
    if (!(value == value) || value - value != 0) return "null";
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

bool Journal::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "ab");
    return file_ != nullptr;
}

void Journal::Close() {
    if (file_ == nullptr) return;
    std::fclose(static_cast<std::FILE*>(file_));
    file_ = nullptr;
}

void Journal::Write(const char* event, int frame, const std::string& fields) {
    if (file_ == nullptr) return;
    auto* file = static_cast<std::FILE*>(file_);
    std::fprintf(file, "{\"event\":\"%s\",\"frame\":%d%s}\n", event, frame, fields.c_str());
    // Flushed line by line: a game that crashes next loses nothing.
    std::fflush(file);
}

Journal& TheJournal() {
    static Journal instance;
    return instance;
}

}  // namespace offline_steam
