#include "gamefiles/csvn.h"

#include <memory>
#include <vector>

#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/spiel.h"
#include "files/ausgabedatei.h"
#include "files/eingabedatei.h"
#include "gamefiles/arbeiterpool.h"
#include "gamefiles/werkzeugsuche.h"
#include "gamefiles/zeilenleser.h"

namespace {

constexpr std::size_t ZEILE_MAX = 500;   // longer input lines are skipped
constexpr std::size_t TEXT_MAX = 90;     // characters of a line the tool uses
constexpr const char* NICHT_GEFUNDEN = "(not found)";

struct CsvnSatz_t {
    uint32_t nummer = 0;
    std::string text;
};

// The best move of the text's position, or "(not found)" when the search
// names none of its legal moves (also when it has none).
std::string besterZug(Werkzeugsuche_t& suche, const std::string& text, const GoParameter_t& go)
{
    Stellung_t st;
    Stellungsdaten_t d;
    if (!stellungSetzen(st, d, text.c_str())) return NICHT_GEFUNDEN;
    Zug legal[MAX_ZUEGE];
    const Zug* ende = legaleZuege(st, d, legal);
    if (ende == legal) return NICHT_GEFUNDEN;
    const Zug z = suche.suchen(st, go).zug;
    for (const Zug* p = legal; p != ende; ++p) {
        if ((*p & 0xFFFF) != z) continue;
        char puffer[8];
        zugSchreiben(st, z, puffer);
        return puffer;
    }
    return NICHT_GEFUNDEN;
}

} // namespace

void CsvnErgebnisse_t::eintragen(uint32_t nummer, std::string zeile)
{
    SperreHalter_t h(sperre_);
    warten_.emplace(nummer, std::move(zeile));
    if (warten_.size() > WARTEN_MAX) schreiben(SCHUB);
}

void CsvnErgebnisse_t::alleSchreiben()
{
    SperreHalter_t h(sperre_);
    schreiben(warten_.size());
}

std::size_t CsvnErgebnisse_t::wartend()
{
    SperreHalter_t h(sperre_);
    return warten_.size();
}

uint32_t CsvnErgebnisse_t::geschrieben()
{
    SperreHalter_t h(sperre_);
    return naechste_ - 1;
}

void CsvnErgebnisse_t::schreiben(std::size_t hoechstens)
{
    for (auto it = warten_.begin(); hoechstens > 0 && it != warten_.end() && it->first == naechste_; --hoechstens) {
        std::fwrite(it->second.data(), 1, it->second.size(), aus_);
        std::fputc('\n', aus_);
        it = warten_.erase(it);
        ++naechste_;
    }
}

int csvnWerkzeug(const char* eingabe, const char* ausgabe)
{
    return csvnWerkzeug(eingabe, ausgabe, WerkzeugEinstellung_t{});
}

int csvnWerkzeug(const char* eingabe, const char* ausgabe, const WerkzeugEinstellung_t& e)
{
    Eingabedatei_t einDatei(eingabe);
    if (!einDatei.offen()) {
        std::fprintf(stderr, "Fehler beim Öffnen von %s\n", eingabe);
        return 1;
    }
    std::FILE* ein = einDatei.datei();
    Ausgabedatei_t aus(ausgabe);
    if (!aus.offen()) {
        std::fprintf(stderr, "Fehler beim Öffnen von %s\n", ausgabe);
        return 1;
    }

    CsvnErgebnisse_t ergebnisse(aus.datei());
    std::vector<std::unique_ptr<Werkzeugsuche_t>> suchen;
    for (int i = 0; i < Arbeiterpool_t::ANZAHL; ++i) suchen.push_back(std::make_unique<Werkzeugsuche_t>(e.hashMb));
    CsvnSatz_t saetze[Arbeiterpool_t::ANZAHL];
    Arbeiterpool_t pool([&](int arbeiter, int s) {
        const CsvnSatz_t& satz = saetze[s];
        ergebnisse.eintragen(satz.nummer, satz.text + " bm " + besterZug(*suchen[size_t(arbeiter)], satz.text, e.go));
    });

    std::string zeile;
    bool zuLang = false;
    uint32_t zeilenNr = 0, nummer = 0, uebersprungen = 0;
    while (zeileLesen(ein, zeile, ZEILE_MAX, zuLang)) {
        ++zeilenNr;
        if (zuLang) {
            std::fprintf(stderr, "Zeile %u: länger als %zu Zeichen, übersprungen\n", zeilenNr, ZEILE_MAX);
            ++uebersprungen;
            continue;
        }
        // A NUL byte ends the line's text, as it does on the console: what
        // follows it is no part of the position.
        if (const auto nul = zeile.find('\0'); nul != std::string::npos) zeile.resize(nul);
        rechtsTrimmen(zeile);
        if (zeile.size() > TEXT_MAX) zeile.resize(TEXT_MAX);
        if (zeile.find_first_not_of(" \t\v\f") == std::string::npos) {
            std::fprintf(stderr, "Zeile %u: leer, übersprungen\n", zeilenNr);
            ++uebersprungen;
            continue;
        }
        ++nummer;
        // A line that is no position is answered at once: searching
        // whatever a failed set-up left on the board would be meaningless.
        Stellung_t st;
        Stellungsdaten_t d;
        if (!stellungSetzen(st, d, zeile.c_str())) {
            std::fprintf(stderr, "Zeile %u: keine gültige Stellung: %s\n", zeilenNr, zeile.c_str());
            ergebnisse.eintragen(nummer, zeile + " bm " + NICHT_GEFUNDEN);
            continue;
        }
        const int s = pool.freierSatz();
        saetze[s].nummer = nummer;
        saetze[s].text = zeile;
        pool.abgeben(s);
    }
    const bool lesefehler = einDatei.lesefehler();
    pool.beenden();
    ergebnisse.alleSchreiben();
    std::fflush(stderr);
    if (lesefehler) {
        std::fprintf(stderr, "Fehler beim Lesen von %s\n", eingabe);
        return 1;
    }
    if (!aus.abschliessen()) {
        std::fprintf(stderr, "Fehler beim Schreiben von %s\n", ausgabe);
        return 1;
    }
    std::printf("%u Stellungen, %u Zeilen übersprungen, %s geschrieben\n", nummer, uebersprungen, ausgabe);
    std::fflush(stdout);
    return 0;
}
