#include "protocol/zeit_befehle.h"

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "shell/ausgabe.h"
#include "shell/worttext.h"
#include "shell/zahlen.h"
#include "timenet/zeitnetz_trainer.h"

namespace {

// File names this long make the sub-command do nothing.
constexpr std::size_t NAME_GRENZE = 1024;

// The file name after a sub-command: the rest of the line, white space
// removed at both ends. False when it is empty or too long.
bool dateiName(const char* p, std::string& name)
{
    while (*p && weiss(*p)) ++p;
    const char* ende = p + std::strlen(p);
    while (ende > p && weiss(ende[-1])) --ende;
    if (ende == p || std::size_t(ende - p) >= NAME_GRENZE) return false;
    name.assign(p, ende);
    return true;
}

// A word at the end of the line, or followed by a blank or a line end.
bool schalter(const char* text, const char* wort)
{
    const std::size_t n = std::strlen(wort);
    for (const char* p = std::strstr(text, wort); p; p = std::strstr(p + 1, wort)) {
        const char c = p[n];
        if (c == 0 || c == ' ' || c == '\r' || c == '\n') return true;
    }
    return false;
}

long zahlNach(const char* p, long standard)
{
    int64_t v = standard;
    ganzzahlLesen(p, v);
    return v < 0 ? 0 : v > INT32_MAX ? INT32_MAX : long(v);
}

void melden(Ausgabe_t& aus, const std::string& text)
{
    aus.Zeile(("info string " + text).c_str());
}

} // namespace

void zeitBefehl(const char* zeile, std::unique_ptr<ZeitnetzTrainer_t>& trainer, Ausgabe_t& ausgabe)
{
    const char* t = std::strstr(zeile, "time");
    if (!t) return;
    t += 4;
    std::string name;
    auto erzeugen = [&trainer] {
        if (!trainer) trainer = std::make_unique<ZeitnetzTrainer_t>();
    };

    if (schalter(t, " delete")) {
        trainer.reset();
        return;
    }
    if (const char* p = std::strstr(t, " init")) {
        erzeugen();
        trainer->netzNeu(int(zahlNach(p + 5, ZeitnetzTrainer_t::INNEN_STANDARD)));
    }
    if (const char* p = std::strstr(t, " add ")) {
        if (!dateiName(p + 5, name)) return;
        erzeugen();
        std::size_t schlecht = 0;
        const ZeitnetzTrainer_t::Lesen r = trainer->probenHinzufuegen(name, schlecht);
        if (r == ZeitnetzTrainer_t::OFFEN_FEHLER) melden(ausgabe, "file not found: " + name);
        else if (r == ZeitnetzTrainer_t::LESE_FEHLER) melden(ausgabe, "error reading file: " + name);
        else if (schlecht)
            melden(ausgabe, "skipped " + std::to_string(schlecht) + " malformed lines in " + name);
        return;
    }
    if (const char* p = std::strstr(t, " learn")) {
        if (trainer) {
            const double fehler = trainer->lernen(zahlNach(p + 6, 1000));
            if (fehler < 0) {
                melden(ausgabe, "nothing to learn");
            } else {
                std::ostringstream text;
                text << "Mittlerer Fehler " << fehler;
                melden(ausgabe, text.str());
            }
        }
    }
    if (const char* p = std::strstr(t, " read ")) {
        if (!dateiName(p + 6, name)) return;
        erzeugen();
        if (!trainer->netzLesen(name)) melden(ausgabe, "error reading file: " + name);
        return;
    }
    if (const char* p = std::strstr(t, " write ")) {
        if (!dateiName(p + 7, name) || !trainer) return;
        if (!trainer->netzSchreiben(name)) melden(ausgabe, "error writing file: " + name);
    }
}
