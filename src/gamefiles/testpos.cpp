#include "gamefiles/testpos.h"

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "chess/fen.h"
#include "chess/spiel.h"
#include "chess/zuggen.h"
#include "files/ausgabedatei.h"
#include "files/eingabedatei.h"
#include "gamefiles/arbeiterpool.h"
#include "gamefiles/pgn_leser.h"
#include "gamefiles/werkzeugsuche.h"
#include "gamefiles/zeilenleser.h"
#include "platform/dateisystem.h"
#include "search/suche.h"
#include "shell/zufall.h"

namespace {

constexpr std::size_t ZEILE_MAX = 4096;
constexpr std::size_t FEN_SPALTE = 20;   // the FEN starts at the 21st character
constexpr int MIN_HALBZUEGE = 30;
constexpr int MIN_FIGUREN = 6;

struct TestposSatz_t {
    Stellung_t st;
    long partie = 0;
    int ruhewert = 0;
    int ergebnis = 0;       // +1, 0, -1 from the side to move's view
};

// The output side, shared by the workers under one lock.
struct TestposAusgabe_t {
    Sperre_t sperre;
    std::FILE* datei = nullptr;
    const std::string* parameterDatei = nullptr;
    TestposParameter_t parameter;
    long geschrieben = 0;
    bool offeneZeile = false; // the file ends inside a line that is not ours
    std::atomic<bool> fehler{false};

    void zeile(const TestposSatz_t& s, int wert)
    {
        char fen[128];
        fenSchreiben(s.st, fen);
        SperreHalter_t h(sperre);
        if (fehler.load(std::memory_order_relaxed)) return;
        parameter.partie = s.partie;
        if (!testposParameterSchreiben(*parameterDatei, parameter)) {
            std::fprintf(stderr, "Fehler beim Schreiben von %s\n", parameterDatei->c_str());
            fehler.store(true, std::memory_order_relaxed);
            return;
        }
        if (offeneZeile) std::fputc('\n', datei);
        offeneZeile = false;
        std::fprintf(datei, "%8ld%8ld%3d %s\n", long(s.ruhewert), long(wert), s.ergebnis, fen);
        if (std::fflush(datei) != 0 || std::ferror(datei)) {
            std::fprintf(stderr, "Fehler beim Schreiben von %s\n", parameter.ausgabe.c_str());
            fehler.store(true, std::memory_order_relaxed);
            return;
        }
        ++geschrieben;
    }
};

void suchen(Werkzeugsuche_t& suche, const TestposSatz_t& s, const GoParameter_t& go, TestposAusgabe_t& aus)
{
    int wert = suche.suchen(s.st, go).wert;
    wert = std::clamp(wert, -MATT_SCHWELLE, MATT_SCHWELLE);
    // Scores of -1, 0 and 1 are draws or as good as: nothing to learn.
    if (wert >= 2 || wert <= -2) aus.zeile(s, wert);
}

int ausSicht(int pgnErgebnis, int amZug)
{
    const int weiss = pgnErgebnis == PGN_WEISS_GEWINNT ? 1 : pgnErgebnis == PGN_SCHWARZ_GEWINNT ? -1 : 0;
    return amZug == WEISS ? weiss : -weiss;
}

// The start of a line of this tool's own: three right-aligned numbers in
// 8, 8 and 3 columns, a blank, and FEN characters.
bool eigenerAnfang(const std::string& zeile)
{
    static constexpr const char* FEN_ZEICHEN = "pnbrqkPNBRQKabcdefghABCDEFGH0123456789/ w-";
    for (std::size_t i = 0; i < zeile.size(); ++i) {
        const char c = zeile[i];
        if (i + 1 == FEN_SPALTE) {
            if (c != ' ') return false;
        } else if (i < FEN_SPALTE) {
            if (c != ' ' && c != '-' && (c < '0' || c > '9')) return false;
        } else if (c == 0 || !std::strchr(FEN_ZEICHEN, c)) {
            return false;
        }
    }
    return true;
}

// A whole line of this tool's own (its FEN still to be read).
bool eigeneZeile(const std::string& zeile)
{
    return zeile.size() > FEN_SPALTE && eigenerAnfang(zeile);
}

bool zahlText(const std::string& text, long& wert)
{
    const char* p = text.c_str();
    char* ende = nullptr;
    wert = std::strtol(p, &ende, 10);
    if (ende == p) return false;
    while (*ende == ' ' || *ende == '\t') ++ende;
    return *ende == 0;
}

} // namespace

bool testposParameterLesen(const std::string& datei, TestposParameter_t& p, std::string& fehler)
{
    Eingabedatei_t ein(datei);
    std::FILE* f = ein.datei();
    if (!f) {
        fehler = "Fehler beim Öffnen von " + datei;
        return false;
    }
    std::string zeilen[3];
    int n = 0;
    bool zuLang = false;
    while (n < 3 && zeileLesen(f, zeilen[n], ZEILE_MAX, zuLang)) {
        rechtsTrimmen(zeilen[n]);
        if (zuLang) break;
        ++n;
    }
    if (ein.lesefehler()) {
        fehler = "Fehler beim Lesen von " + datei;
        return false;
    }
    if (zuLang) {
        fehler = datei + ": Zeile " + std::to_string(n + 1) + " zu lang";
        return false;
    }
    if (n < 3 || zeilen[0].empty() || zeilen[2].empty()) {
        fehler = datei + ": drei Zeilen erwartet (PGN-Datei, Partienummer, Ausgabedatei)";
        return false;
    }
    if (!zahlText(zeilen[1], p.partie) || p.partie < 0) {
        fehler = datei + ": Zeile 2 ist keine Partienummer: " + zeilen[1];
        return false;
    }
    if (p.partie < 1) p.partie = 1;
    p.pgn = zeilen[0];
    p.ausgabe = zeilen[2];
    return true;
}

bool testposParameterSchreiben(const std::string& datei, const TestposParameter_t& p)
{
    Ausgabedatei_t aus(datei);
    if (!aus.offen()) return false;
    std::fprintf(aus.datei(), "%s\n%ld\n%s\n", p.pgn.c_str(), p.partie, p.ausgabe.c_str());
    return aus.abschliessen();
}

int bekannteStellungenLesen(const std::string& datei, std::unordered_set<uint64_t>& bekannt, bool& offeneZeile)
{
    offeneZeile = false;
    Eingabedatei_t ein(datei, true);
    std::FILE* f = ein.datei();
    if (!f) return 0;
    std::string zeile;
    bool zuLang = false;
    int schlecht = 0, eigene = 0;
    long gueltigBis = 0; // file length up to the last complete line
    bool rest = false;   // a last line without its line end
    while (zeileLesen(f, zeile, ZEILE_MAX, zuLang)) {
        const long pos = std::ftell(f);
        std::fseek(f, -1, SEEK_CUR);
        if (std::getc(f) != '\n') {
            rest = true;
            break;
        }
        gueltigBis = pos;
        Stellung_t st;
        Stellungsdaten_t d;
        if (zuLang || !eigeneZeile(zeile) || !stellungSetzen(st, d, zeile.c_str() + FEN_SPALTE)) {
            ++schlecht;
            continue;
        }
        bekannt.insert(d.schluessel);
        ++eigene;
    }
    if (!rest) return schlecht;
    // A run killed while it wrote its line leaves the start of one in a
    // file of such lines (or, as the file's only line, the numbers of one
    // and the start of its FEN): that is cut off. Anything else is
    // somebody's text and stays; the next line then starts on a line of its
    // own.
    if (!zuLang && eigenerAnfang(zeile) && (eigene > 0 || (schlecht == 0 && eigeneZeile(zeile)))) {
        std::error_code fehler;
        std::filesystem::resize_file(datei, std::uintmax_t(gueltigBis), fehler);
        if (!fehler) {
            std::fprintf(stderr, "%s: unvollständige letzte Zeile entfernt\n", datei.c_str());
            return schlecht;
        }
    }
    offeneZeile = true;
    return schlecht + 1;
}

int testposWerkzeug(const char* parameterDatei)
{
    return testposWerkzeug(parameterDatei, WerkzeugEinstellung_t{});
}

int testposWerkzeug(const char* parameterDatei, const WerkzeugEinstellung_t& e)
{
    const std::string paramName = parameterDatei;
    TestposAusgabe_t aus;
    std::string fehler;
    if (!testposParameterLesen(paramName, aus.parameter, fehler)) {
        std::fprintf(stderr, "%s\n", fehler.c_str());
        return 1;
    }
    const TestposParameter_t param = aus.parameter;
    aus.parameterDatei = &paramName;

    if (dateiArt(param.ausgabe) == Dateiart::ANDERE) {
        std::fprintf(stderr, "Fehler beim Öffnen von %s\n", param.ausgabe.c_str());
        return 1;
    }
    std::unordered_set<uint64_t> bekannt;
    if (const int schlecht = bekannteStellungenLesen(param.ausgabe, bekannt, aus.offeneZeile))
        std::fprintf(stderr, "%s: %d Zeilen ohne Stellung übersprungen\n", param.ausgabe.c_str(), schlecht);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> datei(dateiOeffnen(param.ausgabe, Dateimodus::ANHAENGEN),
                                                           std::fclose);
    if (!datei) {
        std::fprintf(stderr, "Fehler beim Öffnen von %s\n", param.ausgabe.c_str());
        return 1;
    }
    aus.datei = datei.get();

    PgnLeser_t pgn;
    if (!pgn.oeffnen(param.pgn)) return 1;

    std::unique_ptr<Zufallsgenerator> zufall =
        e.saat ? std::make_unique<Zufallsgenerator>(e.saat) : std::make_unique<Zufallsgenerator>();
    Werkzeugsuche_t ruhe(1);
    std::vector<std::unique_ptr<Werkzeugsuche_t>> suchen_;
    for (int i = 0; i < Arbeiterpool_t::ANZAHL; ++i) suchen_.push_back(std::make_unique<Werkzeugsuche_t>(e.hashMb));
    std::unique_ptr<TestposSatz_t[]> saetze(new TestposSatz_t[Arbeiterpool_t::ANZAHL]);
    Arbeiterpool_t pool([&](int arbeiter, int s) { suchen(*suchen_[size_t(arbeiter)], saetze[size_t(s)], e.go, aus); });

    std::vector<Zug> zuege;
    std::string fen;
    int ergebnis = PGN_OFFEN;
    long partie = 0;
    long gefunden = 0;
    for (;;) {
        if (aus.fehler.load(std::memory_order_relaxed)) break;
        if (!pgn.gefiltertLesen(zuege, nullptr, &ergebnis, &fen, nullptr, nullptr)) {
            // A broken game counts as a game, so numbers stay the same
            // from run to run.
            if (!pgn.weiterNachFehler()) break;
            ++partie;
            continue;
        }
        ++partie;
        if (partie < param.partie) continue;
        if (int(zuege.size()) < MIN_HALBZUEGE || ergebnis == PGN_OFFEN) continue;
        std::printf("<%s>: Partie %6ld\n", param.pgn.c_str(), partie);
        std::fflush(stdout);

        Stellung_t st = pgn.start();
        Stellungsdaten_t d[2];
        datenBerechnen(st, d[0]);
        int di = 0;
        size_t ply = 0;
        size_t ziel = size_t(zufall->ganz(1, st.historieLaenge > 1 ? 2 : 4));
        bool weiter = true;
        while (weiter) {
            while (ply < ziel && weiter) {
                if (ply >= zuege.size() || !zugSpielen(st, zuege[ply], d[di ^ 1], d[di])) weiter = false;
                else di ^= 1, ++ply;
            }
            if (!weiter) break;
            const Stellungsdaten_t& dd = d[di];
            if (popcount(dd.belegt) < MIN_FIGUREN || st.historieLaenge > 20) break;
            ziel = ply + size_t(zufall->ganz(1, 12));
            if (st.historieLaenge > 10) continue;
            if (!bekannt.insert(dd.schluessel).second) continue;
            ziel = ply + 1;
            if (imSchach(st, dd)) continue;
            const int s = ruhe.ruhewert(st);
            const int w = ruheFenster(dd.schluessel);
            if (s < -w || s > w) continue;
            const int satz = pool.freierSatz();
            saetze[size_t(satz)].st = st;
            saetze[size_t(satz)].partie = partie;
            saetze[size_t(satz)].ruhewert = s;
            saetze[size_t(satz)].ergebnis = ausSicht(ergebnis, st.amZug);
            pool.abgeben(satz);
            ++gefunden;
            ziel = ply + size_t(zufall->ganz(1, 12));
        }
    }
    pool.beenden();
    if (partie < param.partie)
        std::fprintf(stderr, "%s: Partie %ld nicht vorhanden (%ld Partien)\n", param.pgn.c_str(), param.partie, partie);
    std::printf("%ld Stellungen gesucht, %ld geschrieben\n", gefunden, aus.geschrieben);
    std::fflush(stdout);
    return aus.fehler.load() ? 1 : 0;
}
