// "book add": the moves of the games of a PGN file as observations.
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "book/buch.h"
#include "bookcalc/buchberechnung.h"
#include "chess/spiel.h"
#include "chess/zugmachen.h"
#include "gamefiles/pgn_leser.h"

namespace {

// Games shorter than this many half-moves say little about their opening.
constexpr std::size_t MIN_HALBZUEGE = 33;
// Only the opening of a game goes into the table.
constexpr std::size_t BUCH_HALBZUEGE = 30;

struct Partie {
    std::string weiss, schwarz;
    int eloWeiss, eloSchwarz;
    double ergebnis; // for White: 1, 0.5, 0
};

std::string tag(const PgnTags_t& tags, const char* name)
{
    auto it = tags.find(name);
    return it == tags.end() ? std::string() : it->second;
}

bool zeitverlust(const PgnTags_t& tags)
{
    return tag(tags, "Termination") == "time";
}

// Players' strengths from the results of the file itself, for players
// without a rating tag: repeated passes of Elo updates with a falling
// factor, shifted so that the mean matches the rated players (or 2000).
// Returns the rating of every player of every game.
std::map<std::string, double> wertungenSchaetzen(const std::vector<Partie>& partien)
{
    std::map<std::string, double> r;
    double summeTags = 0;
    int anzahlTags = 0;
    for (const Partie& p : partien) {
        r[p.weiss];
        r[p.schwarz];
        for (int elo : {p.eloWeiss, p.eloSchwarz})
            if (elo > 0) summeTags += elo, ++anzahlTags;
    }
    for (int durchgang = 0; durchgang < 40; ++durchgang) {
        const double k = 32.0 - 28.0 * durchgang / 39.0;
        for (const Partie& p : partien) {
            double& a = r[p.weiss];
            double& b = r[p.schwarz];
            const double erwartet = 1.0 / (1.0 + std::pow(10.0, (b - a) / 400.0));
            a += k * (p.ergebnis - erwartet);
            b -= k * (p.ergebnis - erwartet);
        }
    }
    double mittel = 0;
    for (const auto& [name, w] : r) mittel += w;
    if (!r.empty()) mittel /= double(r.size());
    const double anker = anzahlTags ? summeTags / anzahlTags : 2000.0;
    for (auto& [name, w] : r) w += anker - mittel;
    return r;
}

// The weight of a player's moves: 1 for the mean strength of the file,
// towards 2 for much stronger players, towards 0 for much weaker ones.
double staerkeGewicht(double elo, double mittel)
{
    return 2.0 / (1.0 + std::pow(10.0, (mittel - elo) / 400.0));
}

uint64_t signatur(uint64_t startSchluessel, const std::vector<Zug>& zuege)
{
    uint64_t h = startSchluessel ^ 0x9E3779B97F4A7C15ull;
    for (Zug z : zuege) {
        h = (h ^ z) * 0x100000001B3ull;
        h ^= h >> 29;
    }
    return h ^ zuege.size();
}

double weissErgebnis(int code)
{
    return code == PGN_WEISS_GEWINNT ? 1.0 : code == PGN_SCHWARZ_GEWINNT ? 0.0 : 0.5;
}

} // namespace

bool Buchberechnung_t::partienHinzufuegen(const std::string& datei, double wert, bool calcElo)
{
    std::vector<Zug> zuege;
    PgnTags_t tags;
    int ergebnis = PGN_OFFEN, eloW = 0, eloS = 0;

    // With CalcELO the file is read once more before: every player's
    // strength from the results (rating tags win where they exist).
    std::map<std::string, double> wertung;
    double mittel = 0;
    if (calcElo) {
        PgnLeser_t vorab;
        if (!vorab.oeffnen(datei)) return false;
        std::vector<Partie> partien;
        while (vorab.gefiltertLesen(zuege, &tags, &ergebnis, nullptr, &eloW, &eloS))
            if (ergebnis != PGN_OFFEN && !zeitverlust(tags))
                partien.push_back({tag(tags, "White"), tag(tags, "Black"), eloW, eloS, weissErgebnis(ergebnis)});
        wertung = wertungenSchaetzen(partien);
        for (const auto& [name, w] : wertung) mittel += w;
        if (!wertung.empty()) mittel /= double(wertung.size());
    }
    auto gewichtVon = [&](const std::string& name, int elo) {
        if (!calcElo) return 1.0;
        auto it = wertung.find(name);
        return staerkeGewicht(elo > 0 ? double(elo) : it == wertung.end() ? mittel : it->second, mittel);
    };

    PgnLeser_t pgn;
    if (!pgn.oeffnen(datei)) return false;
    const double w = wert / 1000.0;
    while (pgn.gefiltertLesen(zuege, &tags, &ergebnis, nullptr, &eloW, &eloS)) {
        // Games lost on time and games without a result say nothing about
        // their opening.
        if (zuege.size() < MIN_HALBZUEGE || ergebnis == PGN_OFFEN || zeitverlust(tags)) continue;
        Stellung_t st = pgn.start();
        Stellungsdaten_t d[2];
        datenBerechnen(st, d[0]);
        if (!signaturen.insert(signatur(d[0].schluessel, zuege)).second) continue;
        const double gewicht[2] = {w * gewichtVon(tag(tags, "White"), eloW), w * gewichtVon(tag(tags, "Black"), eloS)};
        const double rWeiss = 2.0 * weissErgebnis(ergebnis) - 1.0;
        for (std::size_t i = 0; i < std::min(zuege.size(), BUCH_HALBZUEGE); ++i) {
            const int s = st.amZug;
            const double r = s == WEISS ? rWeiss : -rWeiss;
            const double g = gewicht[s];
            beobachtung(buchSchluessel(st), g * r, g * r * r, g, buchZug(zuege[i], s));
            Zugdaten_t zd;
            if (!zugMachenSuche(st, zuege[i], d[(i + 1) & 1], d[i & 1], zd)) break;
        }
    }
    return true;
}
