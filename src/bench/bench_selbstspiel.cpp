// velkaris_bench selfplay: games of the engine against itself at a fixed
// node budget, from opening positions, written as PGN (for the training
// positions of the tuner; velkaris_bench testpos picks them from the games).
//
//   velkaris_bench selfplay --openings FILE [--openings FILE...] --games N
//                           --out FILE.pgn [--nodes N] [--threads T]
//                           [--seed S] [--first K] [--weights FILE]
//
// Game k (from --first, default 0) starts from opening k mod (number of
// openings) and draws the budget of every move between 0.8 and 1.2 times
// --nodes (default 5000) from a generator seeded with S and k; every move
// is searched from a clean slate (no table, no history), so every game is
// the same whatever the thread that plays it and whatever it played before;
// games are written in order. A game ends by mate, stalemate, threefold repetition, the
// fifty-move rule or insufficient material; when both sides have agreed
// for eight plies in a row that one side is four pawns ahead (or mates),
// that side wins; after 400 plies it is a draw.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "bench/faeden.h"
#include "chess/attacks.h"
#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/spiel.h"
#include "chess/zuggen.h"
#include "eval/bewertungstabellen.h"
#include "eval/endspiel.h"
#include "gamefiles/testpos.h"
#include "gamefiles/werkzeugsuche.h"
#include "platform/dateisystem.h"
#include "platform/lock.h"
#include "search/suche.h"
#include "shell/zufall.h"

namespace {

constexpr int MAX_HALBZUEGE = 400;
constexpr int ENTSCHIEDEN = 4000;
constexpr int ENTSCHIEDEN_HALBZUEGE = 8;

const char FIGUR_BUCHSTABE[] = " PNBRQK";

// SAN of a legal move (check marks are left out; readers do not need them).
std::string san(Stellung_t& st, const Stellungsdaten_t& d, Zug z)
{
    const int von = zugVon(z), nach = zugNach(z), art = zugArt(z);
    char feld[3];
    feldSchreiben(nach, feld);
    if (art == ART_ROCHADE) return fileOf(nach) > fileOf(von) ? "O-O" : "O-O-O";
    const int figur = istPromotion(z) || art == ART_EP ? BAUER : art;
    const bool schlag = art == ART_EP || (st.belegt() & bit(nach));
    std::string s;
    if (figur == BAUER) {
        if (schlag) s += char('a' + fileOf(von)), s += 'x';
        s += feld;
        if (istPromotion(z)) s += '=', s += FIGUR_BUCHSTABE[promotionsFigur(art)];
        return s;
    }
    s += FIGUR_BUCHSTABE[figur];
    // Another piece of the kind that can go there: the file, else the rank,
    // else both.
    Zug liste[MAX_ZUEGE];
    bool andere = false, gleicheLinie = false, gleicheReihe = false;
    for (Zug* p = liste, *ende = legaleZuege(st, d, liste); p < ende; ++p) {
        const Zug m = Zug(*p & 0xFFFF);
        if (m == z || zugNach(m) != nach || zugArt(m) != art) continue;
        andere = true;
        gleicheLinie |= fileOf(zugVon(m)) == fileOf(von);
        gleicheReihe |= rowOf(zugVon(m)) == rowOf(von);
    }
    if (andere) {
        if (!gleicheLinie) s += char('a' + fileOf(von));
        else if (!gleicheReihe) s += char('1' + 7 - rowOf(von));
        else s += char('a' + fileOf(von)), s += char('1' + 7 - rowOf(von));
    }
    if (schlag) s += 'x';
    return s + feld;
}

struct Partie_t {
    std::string fen;
    std::vector<std::string> zuege;
    const char* ergebnis = "1/2-1/2";
};

// One game from st. seed makes the budgets.
Partie_t spielen(Werkzeugsuche_t& suche, const Stellung_t& anfang, int64_t knoten, uint32_t saat)
{
    Partie_t p;
    Stellung_t st = anfang;
    Stellungsdaten_t d[2];
    datenBerechnen(st, d[0]);
    int di = 0;
    char fen[128];
    fenSchreiben(st, fen);
    p.fen = fen;
    Zufallsgenerator zufall(saat);
    int entschiedenFuer = 0, entschiedenSeit = 0; // +1 White, -1 Black
    for (int ply = 0; ply < MAX_HALBZUEGE; ++ply) {
        int ende = 0;
        if (partieEnde(st, d[di], &ende)) {
            p.ergebnis = ende > 0 ? "1-0" : ende < 0 ? "0-1" : "1/2-1/2";
            return p;
        }
        if (remisTest(st, d[di].schluessel, true) != REMIS_KEINS && ply > 0) return p;
        GoParameter_t go;
        go.knoten = int64_t(double(knoten) * zufall.reell(0.8, 1.2));
        const Suchergebnis_t r = suche.suchen(st, go);
        if (!r.zug || !zugLegal(st, d[di], r.zug)) break;
        // Both sides see the same side clearly ahead: adjudicated.
        const int weiss = st.amZug == WEISS ? r.wert : -r.wert;
        const int fuer = weiss >= ENTSCHIEDEN ? 1 : weiss <= -ENTSCHIEDEN ? -1 : 0;
        entschiedenSeit = fuer != 0 && fuer == entschiedenFuer ? entschiedenSeit + 1 : 1;
        entschiedenFuer = fuer;
        p.zuege.push_back(san(st, d[di], r.zug));
        if (!zugSpielen(st, r.zug, d[di ^ 1], d[di])) break;
        di ^= 1;
        if (entschiedenFuer && entschiedenSeit >= ENTSCHIEDEN_HALBZUEGE) {
            p.ergebnis = entschiedenFuer > 0 ? "1-0" : "0-1";
            return p;
        }
    }
    return p;
}

std::string pgnText(const Partie_t& p, long nummer, int64_t knoten)
{
    std::string s = "[Event \"selfplay " + std::to_string(knoten) + " nodes\"]\n[Site \"?\"]\n[Date \"????.??.??\"]\n";
    s += "[Round \"" + std::to_string(nummer) + "\"]\n[White \"Velkaris\"]\n[Black \"Velkaris\"]\n";
    s += std::string("[Result \"") + p.ergebnis + "\"]\n[SetUp \"1\"]\n[FEN \"" + p.fen + "\"]\n\n";
    // Move numbers from the FEN's full-move counter.
    long zug = 1;
    bool schwarz = false;
    {
        const std::size_t l = p.fen.rfind(' ');
        zug = std::max(1L, std::atol(p.fen.c_str() + l + 1));
        schwarz = p.fen.find(" b ") != std::string::npos;
    }
    std::string zeile;
    auto wort = [&](const std::string& w) {
        if (zeile.size() + w.size() + 1 > 79) s += zeile + "\n", zeile.clear();
        if (!zeile.empty()) zeile += ' ';
        zeile += w;
    };
    for (std::size_t i = 0; i < p.zuege.size(); ++i) {
        if (!schwarz) wort(std::to_string(zug) + ".");
        else if (i == 0) wort(std::to_string(zug) + "...");
        wort(p.zuege[i]);
        if (schwarz) ++zug;
        schwarz = !schwarz;
    }
    wort(p.ergebnis);
    return s + zeile + "\n\n";
}

bool eroeffnungenLesen(const char* datei, std::vector<Stellung_t>& liste)
{
    std::ifstream ein(datei);
    if (!ein) return false;
    for (std::string z; std::getline(ein, z);) {
        Stellung_t st;
        Stellungsdaten_t d;
        if (!z.empty() && z[0] != '#' && stellungSetzen(st, d, z.c_str())) liste.push_back(st);
    }
    return true;
}

} // namespace

int benchSelbstspiel(int argc, char** argv)
{
    tabellenInitialisieren();
    kbkTabelleBauen();
    std::vector<Stellung_t> eroeffnungen;
    long partien = 0, erste = 0;
    int64_t knoten = 5000;
    int faeden = 2;
    uint32_t saat = 1;
    std::string ausgabe, gewichte;
    for (int i = 0; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--openings") {
            if (!eroeffnungenLesen(argv[i + 1], eroeffnungen)) {
                std::fprintf(stderr, "selfplay: cannot read %s\n", argv[i + 1]);
                return 1;
            }
        } else if (a == "--games") partien = std::atol(argv[i + 1]);
        else if (a == "--first") erste = std::atol(argv[i + 1]);
        else if (a == "--nodes") knoten = std::atoll(argv[i + 1]);
        else if (a == "--threads") faeden = std::clamp(std::atoi(argv[i + 1]), 1, 64);
        else if (a == "--seed") saat = uint32_t(std::atol(argv[i + 1]));
        else if (a == "--out") ausgabe = argv[i + 1];
        else if (a == "--weights") gewichte = argv[i + 1];
        else {
            std::fprintf(stderr, "selfplay: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    if (argc % 2 || eroeffnungen.empty() || partien < 1 || ausgabe.empty() || knoten < 1) {
        std::fprintf(stderr, "usage: velkaris_bench selfplay --openings FILE... --games N --out FILE.pgn [--nodes N] "
                             "[--threads T] [--seed S] [--first K] [--weights FILE]\n");
        return 2;
    }
    if (!gewichte.empty()) {
        Gewichte_t g;
        const GewichteLesen_t r = gewichteDateiLesen(gewichte, g);
        if (!r.ok) {
            std::fprintf(stderr, "selfplay: %s: %s\n", gewichte.c_str(), r.fehler.c_str());
            return 1;
        }
        gewichteSetzen(g);
    }
    std::FILE* aus = dateiOeffnen(ausgabe, Dateimodus::ANHAENGEN);
    if (!aus) {
        std::fprintf(stderr, "selfplay: cannot write %s\n", ausgabe.c_str());
        return 1;
    }

    // Finished games wait until every earlier one is written.
    Sperre_t sperre;
    std::map<long, std::string> fertig;
    long naechsteAusgabe = erste;
    std::atomic<long> naechste{erste};
    std::atomic<long> halbzuege{0};
    parallel(faeden, [&](int) {
        Werkzeugsuche_t suche(2);
        for (long k; (k = naechste.fetch_add(1)) < erste + partien;) {
            const Partie_t p = spielen(suche, eroeffnungen[std::size_t(k) % eroeffnungen.size()], knoten,
                                       saat * 2654435761u + uint32_t(k));
            halbzuege += long(p.zuege.size());
            SperreHalter_t g(sperre);
            fertig[k] = pgnText(p, k + 1, knoten);
            for (auto it = fertig.begin(); it != fertig.end() && it->first == naechsteAusgabe; it = fertig.erase(it)) {
                std::fputs(it->second.c_str(), aus);
                ++naechsteAusgabe;
            }
            std::fflush(aus);
            if ((k - erste + 1) % 500 == 0) {
                std::printf("selfplay: %ld games, %ld plies\n", k - erste + 1, halbzuege.load());
                std::fflush(stdout);
            }
        }
    });
    const bool ok = std::fclose(aus) == 0;
    std::printf("selfplay: %ld games, %ld plies written to %s\n", partien, halbzuege.load(), ausgabe.c_str());
    return ok ? 0 : 1;
}

// velkaris_bench testpos PARAMETER-FILE [--nodes N] [--seed S] [--hash MB]:
// the positions "--Testpos" picks from the games of a PGN file, each
// searched with a node budget instead of a second (and a fixed seed, so a
// run can be repeated).
int benchTestpos(int argc, char** argv)
{
    if (argc < 1 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: velkaris_bench testpos PARAMETER-FILE [--nodes N] [--seed S] [--hash MB]\n");
        return 2;
    }
    WerkzeugEinstellung_t e;
    e.go = GoParameter_t{};
    e.go.knoten = 5000;
    e.hashMb = 2;
    e.saat = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--nodes") e.go.knoten = std::max(1LL, std::atoll(argv[i + 1]));
        else if (a == "--seed") e.saat = uint32_t(std::max(1L, std::atol(argv[i + 1])));
        else if (a == "--hash") e.hashMb = std::clamp(std::atoi(argv[i + 1]), 1, 1024);
        else {
            std::fprintf(stderr, "testpos: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    tabellenInitialisieren();
    kbkTabelleBauen();
    return testposWerkzeug(argv[0], e);
}
