// The ordered record of every client function called.
#pragma once

#include <deque>
#include <string>

namespace offline_steam {

class CallLog {
public:
    void Append(std::string line);
    int Size() const;
    // Null when out of range; the text stays valid until the log is cleared.
    const char* Entry(int index) const;
    int CountOf(const char* exportName) const;
    void Clear();

private:
    // A deque never moves its elements, so handed-out pointers survive appends.
    std::deque<std::string> lines_;
};

CallLog& TheCallLog();

}  // namespace offline_steam
