// Strict reading of typed numbers: a typo is reported, never half-read.
#include "command_words.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::string TextAfterFirstWord(const std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    while (i < line.size() && IsBlank(line[i])) ++i;
    std::size_t end = line.size();
    while (end > i && IsBlank(line[end - 1])) --end;
    return line.substr(i, end - i);
}

bool ParseInt32(const std::string& word, int32_t* value) {
    if (word.empty()) return false;
    // strtoll would skip leading blanks and stop at the first stray
    // character: both are refused here.
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(word.c_str(), &end, 10);
    if (errno != 0 || end != word.c_str() + word.size() || IsBlank(word[0])) return false;
    if (parsed < INT32_MIN || parsed > INT32_MAX) return false;
    *value = static_cast<int32_t>(parsed);
    return true;
}
