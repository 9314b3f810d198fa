#pragma once
#include <cstdint>

// Integer reading for protocol text: white space, an optional sign, decimal
// digits. Values beyond the range of int64 saturate at its ends instead of
// overflowing. Returns the text after the digits, or nullptr when no digit
// follows (wert is then left alone).
const char* ganzzahlLesen(const char* text, int64_t& wert);

// The same, clamped to the range of int32.
const char* ganzzahlLesen(const char* text, int32_t& wert);

constexpr int32_t auf32(int64_t v)
{
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : int32_t(v);
}
