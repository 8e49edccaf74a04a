// The ordered record of every client function called.
#pragma once

#include <deque>
#include <string>

namespace steam_sim {

class CallLog {
public:
    void append(std::string line);
    int size() const;
    // Null when out of range; the text stays valid until the log is cleared.
    const char* entry(int index) const;
    int countOf(const char* exportName) const;
    void clear();

private:
    // A deque never moves its elements, so handed-out pointers survive appends.
    std::deque<std::string> lines_;
};

CallLog& callLog();

}  // namespace steam_sim
