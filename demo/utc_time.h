// Unlock times (seconds since 1970) as UTC date-times for the transcript.
#pragma once

#include <cstdint>
#include <string>

// "2023-11-14 22:13:20 UTC".
std::string UtcDateTime(uint32_t secondsSince1970);
