// Splitting a typed command line into words and reading numbers from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Words separated by spaces or tabs.
std::vector<std::string> SplitWords(const std::string& line);

// Everything after the first word, without surrounding blanks.
std::string TextAfterFirstWord(const std::string& line);

// A whole word in decimal (optional sign) that fits in 32 bits.
bool ParseInt32(const std::string& word, int32_t* value);
