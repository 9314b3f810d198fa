#include "protocol/uci.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

#include "bookcalc/buchberechnung.h"
#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/perft.h"
#include "chess/spiel.h"
#include "chess/zugdaten.h"
#include "chess/zugmachen.h"
#include "platform/clock.h"
#include "protocol/buch_befehle.h"
#include "protocol/uci_ausgabe.h"
#include "protocol/zeit_befehle.h"
#include "search/sucher.h"
#include "shell/ausgabe.h"
#include "shell/beenden.h"
#include "shell/konsole.h"
#include "shell/suchgrenzen.h"
#include "shell/worttext.h"
#include "shell/zahlen.h"
#include "timenet/zeitnetz_trainer.h"

namespace {
// The value after a keyword anywhere in the line; ueberspringen characters
// right after the word are skipped first (never past the line's end).
void parameterLesen(const char* zeile, const char* wort, int ueberspringen, int64_t& ziel)
{
    const char* p = std::strstr(zeile, wort);
    if (!p) return;
    p += std::strlen(wort);
    for (int i = 0; i < ueberspringen && *p; ++i) ++p;
    ganzzahlLesen(p, ziel);
}

void parameterLesen(const char* zeile, const char* wort, int32_t& ziel)
{
    int64_t v = ziel;
    parameterLesen(zeile, wort, 0, v);
    ziel = auf32(v);
}

void perftZeile(Ausgabe_t& aus, char* zeile)
{
    blanksZusammenfassen(zeile);
    aus.Zeile(zeile);
}
} // namespace

UciInterface_t::UciInterface_t(Sucher_t& sucher, const OptionEintrag_t* optionen, Suchgrenzen_t& grenzen,
                               Ausgabe_t& ausgabe)
    : ausgabe_(ausgabe), optionen_(optionen), grenzen_(grenzen), sucher_(sucher)
{
    stellungSetzen(stellung_, daten_[0], nullptr);
}

UciInterface_t::~UciInterface_t() = default;

void UciInterface_t::Zeile(const char* zeile)
{
    char wort[KonsolenLeser_t::WORT_LAENGE + 1];
    const char* rest = erstesWort(zeile, wort, KonsolenLeser_t::WORT_LAENGE);
    if (!rest) return;
    const char* befehl = blanksUeberspringen(zeile);

    if (!std::strcmp(wort, "isready")) ausgabe_.Zeile("readyok");
    else if (!std::strcmp(wort, "position")) position(rest);
    else if (!std::strcmp(wort, "go")) go(befehl);
    else if (!std::strcmp(wort, "stop")) stop();
    else if (!std::strcmp(wort, "ponderhit")) {
        sucher_.ponderHit();
        ponder_ = false;
    } else if (!std::strcmp(wort, "quit")) quit();
    else if (!std::strcmp(wort, "setoption")) setoption(befehl);
    else if (!std::strcmp(wort, "debug")) debug_ = std::strstr(rest, "on") != nullptr;
    else if (!std::strcmp(wort, "ucinewgame")) sucher_.neuesSpiel();
    else if (!std::strcmp(wort, "perft")) perft(rest);
    else if (!std::strcmp(wort, "book")) buch(befehl);
    else if (!std::strcmp(wort, "time")) zeit(befehl);
}

void UciInterface_t::setoption(const char* zeile)
{
    // Malformed lines are ignored without a word; a value the option
    // cannot hold whole is refused aloud, since the interface believes it
    // set.
    const char* grund = nullptr;
    if (optionen_.setoption(zeile, &grund) || !grund) return;
    char text[160];
    std::snprintf(text, sizeof text, "info string option %s not set: %s",
                  optionen_.eintrag(optionen_.zielOption(zeile)).name, grund);
    ausgabe_.Zeile(text);
}

void UciInterface_t::buch(const char* zeile)
{
    buchBefehl(zeile, buchberechnung_, ausgabe_);
}

void UciInterface_t::zeit(const char* zeile)
{
    zeitBefehl(zeile, zeitTrainer_, ausgabe_);
}

void UciInterface_t::stop()
{
    sucher_.stoppenAnfordern();
    sucher_.warteBisUntaetig();
    unendlich_ = ponder_ = false;
}

void UciInterface_t::quit()
{
    // Silence first: whatever the search still says while it winds down
    // is not for the interface any more.
    ausgabe_.stummSchalten();
    programmBeenden.store(true);
    stop();
}

// ----------------------------------------------------------------------
// position

// A rejected "position" keeps the position it found. The derived data then
// has to be that position's own: after moves it sat in the other record.
void UciInterface_t::datenNeuBerechnen()
{
    datenBerechnen(stellung_, daten_[0]);
}

void UciInterface_t::position(const char* rest)
{
    sucher_.warteBisUntaetig();
    datenIndex_ = 0;
    const char* p = blanksUeberspringen(rest);
    const char* zuege = nullptr;

    if (beginntMit(p, "startpos")) {
        stellungSetzen(stellung_, daten_[0], nullptr);
        zuege = std::strstr(p, "moves");
    } else if (beginntMit(p, "Chess960")) {
        int64_t n = 0;
        if (!ganzzahlLesen(p + 8, n)) {
            datenNeuBerechnen();
            ausgabe_.Fehler("'position Chess960' without number", nullptr);
            return;
        }
        chess960Setzen(stellung_, unsigned(((n % 960) + 960) % 960));
        datenBerechnen(stellung_, daten_[0]);
        zuege = std::strstr(p, "moves");
    } else {
        const char* fen = std::strstr(p, "fen");
        if (!fen) {
            datenNeuBerechnen();
            ausgabe_.Fehler("'position' without 'startpos' and without 'fen'", nullptr);
            return;
        }
        fen = blanksUeberspringen(fen + 3);
        // The FEN runs up to the move list ("moves" holds no FEN letter).
        zuege = std::strstr(fen, "moves");
        std::size_t laenge = zuege ? std::size_t(zuege - fen) : std::strlen(fen);
        auto text = std::make_unique<char[]>(laenge + 1);
        std::memcpy(text.get(), fen, laenge);
        text[laenge] = 0;
        rechtsTrimmen(text.get());
        if (!stellungSetzen(stellung_, daten_[0], text.get())) {
            stellungSetzen(stellung_, daten_[0], nullptr);
            ausgabe_.Fehler("position: illegal FEN, the start position is set instead: ", text.get());
            return;
        }
    }
    if (zuege) {
        zuege += 5;
        zuegeSpielen(zuege);
    }
}

Zug UciInterface_t::zugLesen(const char* text, const char** ende)
{
    // At most five characters of the token: four for the squares, one for
    // a promotion letter. Castling may also come as a word.
    char puffer[6];
    int n = 0;
    const char* p = text;
    while (*p && !weiss(*p)) {
        if (n < 5) puffer[n++] = *p;
        ++p;
    }
    puffer[n] = 0;
    *ende = p;

    const bool lang = beginntMit(puffer, "O-O-O") || beginntMit(puffer, "0-0-0") || beginntMit(puffer, "o-o-o");
    const bool kurz = beginntMit(puffer, "O-O") || beginntMit(puffer, "0-0") || beginntMit(puffer, "o-o");
    if (lang) {
    } else if (kurz) puffer[3] = 0;
    else if (n == 5 && !std::isalpha(static_cast<unsigned char>(puffer[4]))) puffer[4] = 0;

    Zug z = koordinatenZugLesen(stellung_, puffer);
    if (!istZug(z) || !zugLegal(stellung_, daten_[datenIndex_], z)) return 0;
    return z;
}

void UciInterface_t::zuegeSpielen(const char* p)
{
    for (;;) {
        p = blanksUeberspringen(p);
        if (!*p) return;
        const char* ende;
        Zug z = zugLesen(p, &ende);
        int neu = datenIndex_ ^ 1;
        if (!z || !zugSpielen(stellung_, z, daten_[neu], daten_[datenIndex_])) {
            char puffer[6] = {};
            std::size_t n = std::min<std::size_t>(std::size_t(ende - p), 5);
            std::memcpy(puffer, p, n);
            ausgabe_.Fehler("position: illegal move, the moves before it stand: ", puffer);
            return;
        }
        datenIndex_ = neu;
        p = ende;
    }
}

// ----------------------------------------------------------------------
// go

void UciInterface_t::wurzelZuegeLesen(const char* zeile)
{
    wurzelAnzahl_ = 0;
    const char* such = std::strstr(zeile, "searchmoves");
    const char* aus = such ? nullptr : std::strstr(zeile, "excludemoves");
    if (!such && !aus) return;

    // The listed moves: up to the line's end or the first token that is not
    // a legal move (the next keyword, say). Repeats count once.
    Zug liste[MAX_ZUEGE];
    int anzahl = 0;
    const char* p = such ? such + 11 : aus + 12;
    for (;;) {
        p = blanksUeberspringen(p);
        if (!*p) break;
        const char* ende;
        Zug z = zugLesen(p, &ende);
        if (!z) break;
        z = zugOhneSchluessel(z);
        if (anzahl < MAX_ZUEGE && std::find(liste, liste + anzahl, z) == liste + anzahl) liste[anzahl++] = z;
        p = ende;
    }

    if (such) {
        std::copy(liste, liste + anzahl, wurzel_);
        wurzelAnzahl_ = anzahl;
        return;
    }
    // Every legal move except the listed ones; a removed move's place is
    // taken by the last move of the list.
    Stellung_t kopie = stellung_;
    Zug* e = legaleZuege(kopie, daten_[datenIndex_], wurzel_);
    wurzelAnzahl_ = int(e - wurzel_);
    for (int i = 0; i < wurzelAnzahl_;) {
        Zug z = zugOhneSchluessel(wurzel_[i]);
        wurzel_[i] = z;
        if (std::find(liste, liste + anzahl, z) != liste + anzahl) wurzel_[i] = wurzel_[--wurzelAnzahl_];
        else ++i;
    }
}

void UciInterface_t::go(const char* zeile)
{
    GoParameter_t p;
    bool ponder = std::strstr(zeile, "ponder") != nullptr;
    const bool weissAmZug = stellung_.amZug == WEISS;
    parameterLesen(zeile, weissAmZug ? "wtime" : "btime", 1, p.zeit);
    parameterLesen(zeile, weissAmZug ? "winc" : "binc", 1, p.inkrement);
    parameterLesen(zeile, "movestogo", p.zuegeBisKontrolle);
    parameterLesen(zeile, "depth", p.tiefe);
    parameterLesen(zeile, "nodes", 0, p.knoten);
    parameterLesen(zeile, "mate", p.matt);
    parameterLesen(zeile, "movetime", 0, p.zugzeit);
    p.unendlich = std::strstr(zeile, "infinite") != nullptr;
    if (goKurz_) {
        p = GoParameter_t{};
        p.tiefe = 1;
        ponder = false;
    }

    // Reading the root moves tries them on the game position, which a
    // search still running may be copying: wait for it first.
    sucher_.warteBisUntaetig();
    wurzelZuegeLesen(zeile);

    grenzen_.fuellen(p, false);
    // An infinite search may end early (a proven mate, a single legal move,
    // nothing to move), but the interface expects its move only after
    // "stop": like a ponder search it holds the answer until then.
    uint32_t flags = (ponder || p.unendlich ? Sucher_t::FLAG_PONDER : 0) | (debug_ ? Sucher_t::FLAG_DEBUG : 0);
    unendlich_ = p.unendlich;
    ponder_ = ponder;
    // An empty restriction (nothing legal listed, or everything excluded)
    // searches every move rather than leaving the interface without a move.
    if (wurzelAnzahl_ > 0)
        sucher_.starten(stellung_, optionen_, flags, grenzen_, ausgabe_, wurzel_, wurzel_ + wurzelAnzahl_);
    else sucher_.starten(stellung_, optionen_, flags, grenzen_, ausgabe_);
}

// ----------------------------------------------------------------------
// perft

void UciInterface_t::perft(const char* rest)
{
    const char* p = blanksUeberspringen(rest);
    const char* t = std::strstr(p, "depth");
    int32_t tiefe = 0;
    if (!t || !ganzzahlLesen(t + 5, tiefe)) {
        ausgabe_.Fehler("perft without depth (perft depth N [divide] [Hash MB])", nullptr);
        return;
    }
    tiefe = std::clamp(tiefe, INT32_MIN + 1, perftTiefeMax_);
    int32_t hash = 0;
    if (const char* h = std::strstr(p, "Hash")) ganzzahlLesen(h + 4, hash);
    hash = std::clamp(hash, 0, perftHashMax_);
    const uint64_t megabytes = uint64_t(hash);

    char zeile[256];
    const int64_t anfang = jetztMs();
    Stellung_t st = stellung_;
    const Stellungsdaten_t& d = daten_[datenIndex_];

    if (!std::strstr(p, "divide")) {
        uint64_t knoten = 0;
        if (tiefe > 0) {
            PerftTabelle_t tabelle(megabytes);
            knoten = ::perft(&tabelle, st, d, tiefe);
        }
        std::snprintf(zeile, sizeof zeile, "info depth %d time %16.0f nodes %16.0f", tiefe,
                      double(jetztMs() - anfang), double(knoten));
        perftZeile(ausgabe_, zeile);
        return;
    }

    Zug zuege[MAX_ZUEGE];
    Zug* ende = legaleZuege(st, d, zuege);
    uint64_t summe = 0;
    int64_t vorher = anfang;
    for (Zug* z = zuege; z < ende; ++z) {
        *z = zugOhneSchluessel(*z);
        Stellung_t kind = st;
        Stellungsdaten_t neu;
        Zugdaten_t zd{};
        uint64_t knoten = 0;
        if (zugMachenSuche(kind, *z, neu, d, zd) && tiefe - 1 > 0) {
            PerftTabelle_t tabelle(megabytes);
            knoten = ::perft(&tabelle, kind, neu, tiefe - 1);
        }
        summe += tiefe <= 1 ? 1 : knoten;
        char text[16];
        zugSchreiben(st, *z, text);
        int64_t jetzt = jetztMs();
        std::snprintf(zeile, sizeof zeile, "info move %s depth %d time %16.0f nodes %16.0f", text, tiefe - 1,
                      double(jetzt - vorher), double(knoten));
        vorher = jetzt;
        perftZeile(ausgabe_, zeile);
    }
    std::snprintf(zeile, sizeof zeile, "info depth %d time %16.0f nodes %16.0f", tiefe, double(jetztMs() - anfang),
                  double(summe));
    perftZeile(ausgabe_, zeile);
}
