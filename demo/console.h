// The demo's terminal: reading and splitting the person's commands, and
// printing the transcript (sections, host calls with results, effects).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Prints `prompt`, reads one line (without its line ending) into `line`.
// False at end of input, or on a line that starts with Ctrl-D or Ctrl-Z.
// When input does not come from a terminal, the line is echoed after the
// prompt so a piped script reads like a typed session.
bool ReadCommandLine(const char* prompt, std::string* line);

// Words separated by spaces or tabs.
std::vector<std::string> SplitWords(const std::string& line);

// Everything after the first word, without surrounding blanks.
std::string TextAfterFirstWord(const std::string& line);

// A whole word in decimal (optional sign) that fits in 32 bits.
bool ParseInt32(const std::string& word, int32_t* value);

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
