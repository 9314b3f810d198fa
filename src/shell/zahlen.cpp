#include "shell/zahlen.h"

#include <cctype>

const char* ganzzahlLesen(const char* text, int64_t& wert)
{
    while (*text && std::isspace(static_cast<unsigned char>(*text))) ++text;
    bool negativ = false;
    if (*text == '-' || *text == '+') {
        negativ = *text == '-';
        ++text;
    }
    if (*text < '0' || *text > '9') return nullptr;
    // Accumulate towards the negative side, which has the larger range.
    int64_t v = 0;
    bool voll = false;
    for (; *text >= '0' && *text <= '9'; ++text) {
        int ziffer = *text - '0';
        if (voll) continue;
        if (v < (INT64_MIN + ziffer) / 10) {
            voll = true;
            continue;
        }
        v = v * 10 - ziffer;
    }
    if (voll) wert = negativ ? INT64_MIN : INT64_MAX;
    else if (negativ) wert = v;
    else wert = v == INT64_MIN ? INT64_MAX : -v;
    return text;
}

const char* ganzzahlLesen(const char* text, int32_t& wert)
{
    int64_t v = 0;
    const char* rest = ganzzahlLesen(text, v);
    if (rest) wert = auf32(v);
    return rest;
}
