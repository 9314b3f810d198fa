#include "shell/konsole.h"

#include <cctype>
#include <cstring>

#include "platform/konsole.h"

namespace {
bool weiss(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}
} // namespace

int rechtsTrimmen(char* text)
{
    int n = int(std::strlen(text));
    while (n > 0 && weiss(text[n - 1])) --n;
    text[n] = 0;
    return n;
}

const char* erstesWort(const char* text, char* wort, int maxLaenge)
{
    while (*text && weiss(*text)) ++text;
    if (!*text) {
        wort[0] = 0;
        return nullptr;
    }
    int n = 0;
    while (*text && !weiss(*text)) {
        if (n < maxLaenge) wort[n++] = *text;
        ++text;
    }
    wort[n] = 0;
    return text;
}

void KonsolenLeser_t::ungepuffert()
{
    std::setvbuf(ein_, nullptr, _IONBF, 0);
    eingabeUnveraendert(ein_);
}

bool KonsolenLeser_t::naechsteZeile()
{
    for (;;) {
        if (std::feof(ein_) || std::ferror(ein_)) return false;
        if (!std::fgets(puffer_, PUFFER_GROESSE, ein_)) return false;
        rechtsTrimmen(puffer_);
        if (erstesWort(puffer_, wort_, WORT_LAENGE)) return true;
    }
}
