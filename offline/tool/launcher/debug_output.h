// steambridge's lines among everything a process sends to the Windows debug
// output. OutputDebugStringA hands a monitor one message per call; the
// bridge sends each line as one message ("steambridge: " + line + "\n"), or a
// line too long for that as three (the mark, the line, "\n"). Other code in
// the game may send texts without a newline, so a line starts only at a
// message that begins with the mark.
#pragma once

#include <string>
#include <vector>

namespace offline_tool {

inline constexpr char kBridgeMark[] = "steambridge: ";

inline std::vector<std::string> BridgeLines(const std::vector<std::string>& messages) {
    const std::string mark = kBridgeMark;
    std::vector<std::string> lines;
    std::string line;
    bool inLine = false;
    for (const std::string& message : messages) {
        if (message.compare(0, mark.size(), mark) == 0) {
            line = message.substr(mark.size());
            inLine = true;
        } else if (inLine) {
            line += message;
        } else {
            continue;
        }
        const std::size_t end = line.find('\n');
        if (end == std::string::npos) continue;
        lines.push_back(line.substr(0, end));
        inLine = false;
    }
    return lines;
}

}  // namespace offline_tool
