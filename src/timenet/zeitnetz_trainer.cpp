#include "timenet/zeitnetz_trainer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "files/ausgabedatei.h"
#include "files/eingabedatei.h"
#include "shell/ausgabe.h"
#include "shell/zahlen.h"

namespace {

// File names this long make the sub-command do nothing.
constexpr std::size_t NAME_GRENZE = 1024;
constexpr double FEHLER_ANFANG = 9.9;

bool leer(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The numbers of one line; false when a token is no finite number.
bool zahlenLesen(const std::string& zeile, std::vector<double>& zahlen)
{
    zahlen.clear();
    const char* p = zeile.data();
    const char* ende = p + zeile.size();
    for (;;) {
        while (p < ende && leer(*p)) ++p;
        if (p == ende) return true;
        if (*p == '+') ++p;
        double x = 0;
        auto [weiter, fehler] = std::from_chars(p, ende, x);
        if (fehler != std::errc{} || (weiter < ende && !leer(*weiter)) || !std::isfinite(x)) return false;
        zahlen.push_back(x);
        p = weiter;
    }
}

// The file name after a sub-command: the rest of the line, white space
// removed at both ends. False when it is empty or too long.
bool dateiName(const char* p, std::string& name)
{
    while (*p && leer(*p)) ++p;
    const char* ende = p + std::strlen(p);
    while (ende > p && leer(ende[-1])) --ende;
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

ZeitnetzTrainer_t::ZeitnetzTrainer_t() : netz_(std::make_unique<Zeitnetz_t>(INNEN_STANDARD)) {}

ZeitnetzTrainer_t::~ZeitnetzTrainer_t() = default;

void ZeitnetzTrainer_t::netzNeu(int innen)
{
    netz_ = std::make_unique<Zeitnetz_t>(innen);
}

void ZeitnetzTrainer_t::probenLesen(std::istream& ein, std::size_t& schlecht)
{
    std::string zeile;
    std::vector<double> zahlen;
    while (std::getline(ein, zeile)) {
        if (!zahlenLesen(zeile, zahlen) || zahlen.size() % ZAHLEN_JE_PROBE != 0) {
            ++schlecht;
            continue;
        }
        for (std::size_t i = 0; i < zahlen.size(); i += ZAHLEN_JE_PROBE) {
            // The 17th number, the log's own network output, is not learnt.
            proben_.insert(proben_.end(), zahlen.begin() + long(i), zahlen.begin() + long(i) + ZEIT_MERKMALE);
            proben_.push_back(zahlen[i + ZAHLEN_JE_PROBE - 1]);
        }
    }
}

ZeitnetzTrainer_t::Lesen ZeitnetzTrainer_t::probenHinzufuegen(const std::string& datei, std::size_t& schlecht)
{
    Eingabestrom_t ein(datei);
    if (!ein) return OFFEN_FEHLER;
    const std::size_t vorher = proben_.size();
    probenLesen(ein, schlecht);
    if (!ein.lesefehler()) return GELESEN;
    proben_.resize(vorher);
    return LESE_FEHLER;
}

double ZeitnetzTrainer_t::lernen(long epochen)
{
    if (proben_.empty()) return -1.0;
    double fehler = FEHLER_ANFANG;
    for (long e = 0; e < epochen; ++e) fehler = netz_->epocheLernen(proben_);
    return fehler;
}

bool ZeitnetzTrainer_t::netzLesen(const std::string& datei)
{
    Eingabestrom_t ein(datei);
    if (!ein) return false;
    auto neu = std::make_unique<Zeitnetz_t>(1);
    if (!neu->lesen(ein) || ein.lesefehler()) return false;
    // Samples have 16 features and one target: any other shape cannot learn
    // from them (and would misread them).
    if (neu->eingabeAnzahl() != ZEIT_MERKMALE || neu->ausgabeAnzahl() != 1) return false;
    netz_ = std::move(neu);
    return true;
}

bool ZeitnetzTrainer_t::netzSchreiben(const std::string& datei) const
{
    std::ostringstream text;
    if (!netz_->schreiben(text)) return false;
    Ausgabedatei_t aus(datei);
    if (!aus.offen()) return false;
    const std::string s = text.str();
    if (std::fwrite(s.data(), 1, s.size(), aus.datei()) != s.size()) return false;
    return aus.abschliessen();
}

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
