// Line input with the echo that piped scripts need.
#include "console_input.h"

#include <cstdio>

#include "host_platform.h"

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
