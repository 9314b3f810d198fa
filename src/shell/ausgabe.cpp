#include "shell/ausgabe.h"

Ausgabe_t::Ausgabe_t(std::FILE* ziel) : ziel_(ziel ? ziel : stdout) {}

void Ausgabe_t::Zeile(const char* text)
{
    // The silent test comes before the lock: a line that passed it just
    // before the channel was silenced may still appear.
    if (IstStumm()) return;
    SperreHalter_t halter(sperre_);
    std::fputs(text, ziel_);
    std::fputc('\n', ziel_);
    std::fflush(ziel_);
}

void Ausgabe_t::Fortschritt(int, int, int64_t, int64_t, int) {}
void Ausgabe_t::AktuellerZug(const Stellung_t&, Zug, int, int) {}
void Ausgabe_t::MultiPv(const Stellung_t&, const Zug*, int, int, int, int) {}

void Ausgabe_t::Zustand(const char* text, const std::string& detail)
{
    Zeile(("info string " + std::string(text) + " " + detail).c_str());
}
