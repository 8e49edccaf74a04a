// Printing the demo's transcript: sections, host calls with results, effects.
#pragma once

#include <cstdint>
#include <string>

namespace transcript {

// A titled stretch of the session, set off by a blank line.
void Section(const std::string& title);
// What the game is doing, in plain words.
void Say(const std::string& text);
// One host call and what it returned (`result` empty for void calls).
void Call(const std::string& call, const std::string& result = std::string());
// What a call or a frame changed, indented under it.
void Effect(const std::string& text);
// Flushes, so a person at a prompt sees everything printed so far.
void Flush();

std::string Bool(bool value);
std::string Int(int64_t value);

}  // namespace transcript
