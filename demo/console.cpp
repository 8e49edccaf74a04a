// Line input with the echo that piped scripts need, strict reading of typed
// numbers (a typo is reported, never half-read), and one transcript layout
// for every mode, so calls and effects line up.
#include "console.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "host_support/host_platform.h"

bool ReadCommandLine(const char* prompt, std::string* line) {
    std::fputs(prompt, stdout);
    std::fflush(stdout);
    line->clear();
    int c = 0;
    bool readAnything = false;
    while ((c = std::fgetc(stdin)) != EOF) {
        readAnything = true;
        if (c == '\n') break;
        *line += static_cast<char>(c);
    }
    // Lines typed on Windows, or piped from a file written there, end in CR LF.
    if (!line->empty() && line->back() == '\r') line->pop_back();
    // A console hands Ctrl-D (the Unix habit) or Ctrl-Z (the Windows one)
    // over as a character of the line: either ends the input.
    const bool endKey = !line->empty() && ((*line)[0] == '\x04' || (*line)[0] == '\x1a');
    if (!readAnything || endKey) {
        std::fputs("\n", stdout);
        return false;
    }
    if (!StdinIsTerminal()) std::printf("%s\n", line->c_str());
    return true;
}

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

namespace transcript {

void Section(const std::string& title) { std::printf("\n== %s ==\n", title.c_str()); }

void Say(const std::string& text) { std::printf("  %s\n", text.c_str()); }

void Call(const std::string& call, const std::string& result) {
    if (result.empty())
        std::printf("  > %s\n", call.c_str());
    else
        std::printf("  > %s -> %s\n", call.c_str(), result.c_str());
}

void Effect(const std::string& text) { std::printf("      %s\n", text.c_str()); }

void Flush() { std::fflush(stdout); }

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Int(int64_t value) { return std::to_string(value); }

}  // namespace transcript
