#include "timenet/zeitnetz_trainer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "files/ausgabedatei.h"
#include "files/eingabedatei.h"

namespace {

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
