// Storage and queries of the call log.
#include "call_log.h"

#include <cstring>
#include <utility>

namespace offline_steam {

void CallLog::Append(std::string line) { lines_.push_back(std::move(line)); }

int CallLog::Size() const { return static_cast<int>(lines_.size()); }

const char* CallLog::Entry(int index) const {
    if (index < 0 || index >= Size()) return nullptr;
    return lines_[static_cast<std::size_t>(index)].c_str();
}

int CallLog::CountOf(const char* exportName) const {
    if (exportName == nullptr) return 0;
    const std::size_t nameLength = std::strlen(exportName);
    int count = 0;
    for (const std::string& line : lines_) {
        if (line.size() > nameLength && line.compare(0, nameLength, exportName) == 0 &&
            line[nameLength] == '(')
            ++count;
    }
    return count;
}

void CallLog::Clear() { lines_.clear(); }

CallLog& TheCallLog() {
    static CallLog& log = *new CallLog;  // never destroyed: see TheSession
    return log;
}

}  // namespace offline_steam
