#pragma once
#include <cctype>
#include <cstring>

// Small helpers for reading protocol lines word by word.

inline bool weiss(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

inline const char* blanksUeberspringen(const char* p)
{
    while (*p && weiss(*p)) ++p;
    return p;
}

inline bool beginntMit(const char* text, const char* anfang)
{
    return std::strncmp(text, anfang, std::strlen(anfang)) == 0;
}
