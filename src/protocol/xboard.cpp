#include "protocol/xboard.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/spiel.h"
#include "platform/clock.h"
#include "platform/dateisystem.h"
#include "shell/optionen.h"
#include "protocol/xboard_ausgabe.h"
#include "shell/worttext.h"
#include "shell/zahlen.h"
#include "shell/konsole.h"

namespace {
// Up to n white-space delimited tokens of the text, joined by single blanks.
std::string tokens(const char* p, int n)
{
    std::string r;
    for (int i = 0; i < n; ++i) {
        p = blanksUeberspringen(p);
        if (!*p) break;
        const char* a = p;
        while (*p && !weiss(*p)) ++p;
        if (!r.empty()) r += ' ';
        r.append(a, std::size_t(p - a));
    }
    return r;
}

// A move's coordinate text padded with blanks to the record's width of six
// characters (the longest text, a promotion or O-O-O, has five).
void zugFeld(const Stellung_t& st, Zug z, char (&feld)[XBoardInterface_t::ZUG_BREITE + 1])
{
    char text[8] = {};
    zugSchreiben(st, z, text);
    std::memset(feld, ' ', XBoardInterface_t::ZUG_BREITE);
    std::memcpy(feld, text, std::min(std::strlen(text), XBoardInterface_t::ZUG_BREITE));
    feld[XBoardInterface_t::ZUG_BREITE] = 0;
}

// The detail of an error: the start of the offending command says enough.
constexpr std::size_t DETAIL_MAX = 200;
// Longest FEN a set-up may bring (real ones have fewer than 100 characters).
constexpr std::size_t FEN_MAX = 256;
// Longest move text echoed in "Illegal move".
constexpr std::size_t ZUGTEXT_MAX = 63;

constexpr const char* FEATURES[] = {
    "feature done=0",
    "feature myname=\"Velkaris 2015-08-06\"",
    "feature ping=1",
    "feature setboard=1",
    "feature playother=1",
    "feature usermove=1",
    "feature sigint=0",
    "feature variants=\"normal,fischerandom\"",
    "feature colors=0",
    "feature ics=0",
    "feature name=1",
    "feature memory=1",
    "feature smp=1",
    // Node limits are the search's own business: "nps" is not understood,
    // and a client should not pair it with "st".
    "feature nps=0",
};

// The result to claim when the game is over in this position: the side to
// move has no move, or the rules give a draw without anyone asking (fifty
// moves, no mating material, the third time the same position). Else null.
const char* ergebnisText(Stellung_t& st, const Stellungsdaten_t& d)
{
    int sieger = 0;
    if (partieEnde(st, d, &sieger))
        return sieger < 0 ? "0-1 {Black mates}" : sieger > 0 ? "1-0 {White mates}" : "1/2-1/2 {Stalemate}";
    switch (remisTest(st, d.schluessel, true)) {
    case REMIS_FUENFZIG: return "1/2-1/2 {Draw by 50 move rule}";
    case REMIS_MATERIAL: return "1/2-1/2 {Insufficient material}";
    case REMIS_WIEDERHOLUNG_2: return "1/2-1/2 {Draw by repetition}";
    default: return nullptr;
    }
}
} // namespace

const XBoardInterface_t::Eintrag XBoardInterface_t::BEFEHLE[] = {
    {"accepted", &XBoardInterface_t::ignorieren},
    {"rejected", &XBoardInterface_t::ignorieren},
    {"random", &XBoardInterface_t::ignorieren},
    {"otim", &XBoardInterface_t::ignorieren},
    {"rating", &XBoardInterface_t::ignorieren},
    {"computer", &XBoardInterface_t::ignorieren},
    {"new", &XBoardInterface_t::neu},
    {"variant", &XBoardInterface_t::variante},
    {"force", &XBoardInterface_t::force},
    {"go", &XBoardInterface_t::go},
    {"playother", &XBoardInterface_t::playother},
    {"level", &XBoardInterface_t::level},
    {"st", &XBoardInterface_t::st},
    {"sd", &XBoardInterface_t::sd},
    {"time", &XBoardInterface_t::zeit},
    {"usermove", &XBoardInterface_t::usermove},
    {"?", &XBoardInterface_t::sofort},
    {"ping", &XBoardInterface_t::ping},
    {"draw", &XBoardInterface_t::remis},
    {"result", &XBoardInterface_t::ergebnis},
    {"setboard", &XBoardInterface_t::setboard},
    {"hint", &XBoardInterface_t::hint},
    {"bk", &XBoardInterface_t::bk},
    {"undo", &XBoardInterface_t::undo},
    {"remove", &XBoardInterface_t::remove},
    {"hard", &XBoardInterface_t::hard},
    {"easy", &XBoardInterface_t::easy},
    {"post", &XBoardInterface_t::post},
    {"nopost", &XBoardInterface_t::nopost},
    {"analyze", &XBoardInterface_t::analyze},
    {"name", &XBoardInterface_t::name},
    {"exit", &XBoardInterface_t::exit},
    {".", &XBoardInterface_t::status},
    {"memory", &XBoardInterface_t::memory},
    {"cores", &XBoardInterface_t::cores},
};

XBoardInterface_t::XBoardInterface_t(Eingabe_t& uci, const Optionen_t& optionen, XBoardAusgabe_t& ausgabe)
    : optionen_(optionen), ausgabe_(ausgabe), queue_(std::make_unique<XboardUciQueue_t>(uci, ausgabe))
{
    ausgabe_.optionenSetzen(&optionen_);
    grundZustand();
}

XBoardInterface_t::~XBoardInterface_t()
{
    // The worker executes what is left (a search it starts still reports to
    // this object), then the channel forgets us.
    queue_.reset();
    ausgabe_.xboardSetzen(nullptr);
}

// ----------------------------------------------------------------------
// Lines and the queue

void XBoardInterface_t::Zeile(const char* zeile)
{
    char wort[17];
    const char* rest = erstesWort(zeile, wort, 16);
    if (!rest) return;
    const char* befehl = blanksUeberspringen(zeile);

    std::unique_lock<Sperre_t> halter(sperre_);
    if (beendet_) return;
    imBefehl_ = true;
    befehlAusfuehren(wort, rest, befehl);
    imBefehl_ = false;
    if (aufgeschoben_.da) {
        const Aufgeschoben a = aufgeschoben_;
        aufgeschoben_ = {};
        zugVerarbeiten(a.schluessel, a.zug, a.ponder);
    }
    if (beendet_) beenden(halter);
}

void XBoardInterface_t::befehlAusfuehren(const char* wort, const char* rest, const char* befehl)
{
    if (!std::strcmp(wort, "xboard")) {
        ausgabe_.Zeile("");
        return;
    }
    if (!std::strcmp(wort, "protover")) {
        protover(rest, befehl);
    } else if (version_ < 2) {
        // An interface of the first protocol version cannot drive this
        // engine: say so and leave.
        fehler("protocol version 2 required", befehl);
        senden("quit");
        beendet_ = true;
    } else if (!std::strcmp(wort, "quit")) {
        // The result of a search still running is not wanted any more.
        senden("setoption name NoOutput value true");
        senden("quit");
        beendet_ = true;
    } else {
        const Eintrag* e = std::find_if(std::begin(BEFEHLE), std::end(BEFEHLE),
                                        [&](const Eintrag& x) { return !std::strcmp(x.wort, wort); });
        if (e == std::end(BEFEHLE)) fehler("unknown command", befehl);
        else (this->*e->aktion)(rest, befehl);
    }
}

void XBoardInterface_t::beenden(std::unique_lock<Sperre_t>& halter)
{
    // Without the lock: the queued "quit" stops a search whose move may be
    // on its way and needs the lock.
    halter.unlock();
    warteBisAbgearbeitet();
}

void XBoardInterface_t::warteBisAbgearbeitet()
{
    queue_->warteBisFertig();
}

void XBoardInterface_t::senden(const std::string& uci)
{
    queue_->einreihen(uci.c_str(), XboardUciQueue_t::UCI, nullptr, &sperre_);
}

void XBoardInterface_t::sagen(const std::string& zeile)
{
    queue_->einreihen(zeile.c_str(), XboardUciQueue_t::ZEILE, nullptr, &sperre_);
}

void XBoardInterface_t::fehler(const char* text, const char* befehl)
{
    const std::string detail(befehl, std::min(std::strlen(befehl), DETAIL_MAX));
    queue_->einreihen(text, XboardUciQueue_t::FEHLER, detail.c_str(), &sperre_);
}

// ----------------------------------------------------------------------
// Start-up and settings

void XBoardInterface_t::protover(const char* rest, const char*)
{
    ganzzahlLesen(rest, version_);
    if (version_ < 2) {
        fehler("protocol version 2 required", blanksUeberspringen(rest));
        senden("quit");
        beendet_ = true;
        return;
    }
    senden("debug on");
    for (const char* f : FEATURES) sagen(f);

    // Options the user keeps for XBoard games: the working directory's
    // file first, else the one next to the program.
    std::FILE* ini = dateiOeffnen(dateiSuchen("Velkaris.ini"), Dateimodus::LESEN);
    if (!ini) {
        fehler("file 'Velkaris.ini' not found", "protover");
        sagen("feature done=1");
        return;
    }
    char zeile[1024];
    bool zeilenAnfang = true;
    while (std::fgets(zeile, sizeof zeile, ini)) {
        // The rest of an overlong line is no line of its own.
        const bool anfang = zeilenAnfang;
        zeilenAnfang = std::strchr(zeile, '\n') != nullptr;
        rechtsTrimmen(zeile);
        if (!anfang || !beginntMit(zeile, "setoption ")) continue;
        // NoOutput belongs to the protocol's own use around "stop"; set
        // from here it would silence the rest of the handshake.
        const int ziel = optionen_.zielOption(zeile);
        if (ziel >= 0 && ziel == optionen_.finden("NoOutput")) fehler("option not settable from Velkaris.ini", zeile);
        else senden(zeile);
    }
    std::fclose(ini);
    datenIndex_ = 0;
    brettNeuAufbauen();
    sagen("feature done=1");
}

void XBoardInterface_t::grundZustand()
{
    basis_ = "startpos";
    zuege_.clear();
    datenIndex_ = 0;
    brettNeuAufbauen();
    erwartet_ = 0;
    tk_ = Zeitkontrolle_t::standard();
    uhr_ = 300000;
    st_ = -1;
    sd_ = -1;
    force_ = false;
    historieLoeschen();
}

void XBoardInterface_t::historieLoeschen()
{
    werteAnzahl_ = 0;
    zuegeSeitAngebot_ = 0;
    gegnerBietet_ = false;
}

void XBoardInterface_t::neu(const char*, const char*)
{
    sucheStoppen();
    senden("position startpos");
    senden("setoption name UCI_Chess960 value false");
    senden("setoption name Clear Hash value true");
    senden("ucinewgame");
    grundZustand();
    chess960_ = false;
    ausgabe_.rochadeWorteSetzen(false);
    if (analysiert_) analyseStarten();
}

void XBoardInterface_t::variante(const char* rest, const char*)
{
    chess960_ = std::strstr(rest, "fischerandom") != nullptr;
    ausgabe_.rochadeWorteSetzen(chess960_);
    senden(chess960_ ? "setoption name UCI_Chess960 value true" : "setoption name UCI_Chess960 value false");
}

template <class T> bool XBoardInterface_t::zahlLesen(const char* rest, const char* befehl, T& wert)
{
    if (ganzzahlLesen(rest, wert)) return true;
    fehler("bad parameters", befehl);
    return false;
}

void XBoardInterface_t::level(const char* rest, const char* befehl)
{
    // A refused level keeps the time control the game had.
    if (!levelLesen(rest, tk_)) {
        fehler("bad parameters", befehl);
        return;
    }
    uhr_ = int64_t(std::min(tk_.periode[0].basisMs, 1e15));
    st_ = -1;
    sd_ = -1;
}

void XBoardInterface_t::st(const char* rest, const char* befehl)
{
    double sekunden = 0;
    if (!dezimalLesen(rest, sekunden) || sekunden < 0) {
        fehler("bad parameters", befehl);
        return;
    }
    st_ = int64_t(sekunden * 1000.0);
    sd_ = -1;
}

void XBoardInterface_t::sd(const char* rest, const char* befehl)
{
    int32_t tiefe = 0;
    if (!zahlLesen(rest, befehl, tiefe)) return;
    st_ = -1;
    sd_ = tiefe;
}

void XBoardInterface_t::zeit(const char* rest, const char* befehl)
{
    int64_t zentisekunden = 0;
    if (!zahlLesen(rest, befehl, zentisekunden)) return;
    constexpr int64_t MAX = 1000000000000000;
    uhr_ = std::clamp(zentisekunden, -MAX, MAX) * 10;
}

void XBoardInterface_t::memory(const char* rest, const char* befehl)
{
    int64_t mb = 0;
    if (!zahlLesen(rest, befehl, mb)) return;
    // A few megabytes stay for everything besides the table.
    char text[96];
    std::snprintf(text, sizeof text, "setoption name Hash value %lld",
                  static_cast<long long>(std::max<int64_t>(std::clamp<int64_t>(mb, 0, INT32_MAX) - 4, 1)));
    senden(text);
}

void XBoardInterface_t::cores(const char* rest, const char* befehl)
{
    int32_t n = 0;
    if (!zahlLesen(rest, befehl, n)) return;
    char text[96];
    std::snprintf(text, sizeof text, "setoption name NumberOfProcessors value %d", std::max(n, 1));
    senden(text);
}

void XBoardInterface_t::name(const char* rest, const char*)
{
    // No option has this name: the opponent's name changes nothing.
    const char* p = blanksUeberspringen(rest);
    senden("setoption name Opponent value " + std::string(p, std::min(std::strlen(p), DETAIL_MAX)));
}

void XBoardInterface_t::hard(const char*, const char*)
{
    ponderErlaubt_ = true;
}

void XBoardInterface_t::easy(const char*, const char*)
{
    if (pondertJetzt_) sucheStoppen();
    ponderErlaubt_ = false;
}

void XBoardInterface_t::post(const char*, const char*)
{
    ausgabe_.postSetzen(true);
}

void XBoardInterface_t::nopost(const char*, const char*)
{
    ausgabe_.postSetzen(false);
}

void XBoardInterface_t::bk(const char*, const char*)
{
    ausgabe_.Zeile("");
}

void XBoardInterface_t::remis(const char*, const char*)
{
    gegnerBietet_ = true;
}

void XBoardInterface_t::ergebnis(const char*, const char*)
{
    sucheStoppen();
}

void XBoardInterface_t::ping(const char*, const char* befehl)
{
    // "ping N" is answered "pong N".
    char pong[30];
    std::snprintf(pong, sizeof pong, "%s", befehl);
    pong[1] = 'o';
    if (denkt_ && !pondertJetzt_) {
        // Answered once the engine's move is out, so that the interface
        // knows the move belongs to the time before the ping.
        if (pongAnzahl_ == PONGS) {
            sagen(pongs_[0]);
            std::memmove(pongs_[0], pongs_[1], sizeof pongs_[0] * (PONGS - 1));
            --pongAnzahl_;
        }
        std::memcpy(pongs_[pongAnzahl_++], pong, sizeof pong);
        return;
    }
    sagen(pong);
}

void XBoardInterface_t::pongsSagen(bool direkt)
{
    for (int i = 0; i < pongAnzahl_; ++i) {
        if (direkt) ausgabe_.zeileImmer(pongs_[i]);
        else sagen(pongs_[i]);
    }
    pongAnzahl_ = 0;
}

// ----------------------------------------------------------------------
// The game record

Zug XBoardInterface_t::zugLesen(const char* text)
{
    const std::size_t n = std::strlen(text);
    if (n == 0 || n > ZUGTEXT_MAX) return 0;
    static constexpr const char* ROCHADE[] = {"O-O", "O-O-O", "0-0", "0-0-0", "o-o", "o-o-o"};
    const bool rochade = std::any_of(std::begin(ROCHADE), std::end(ROCHADE),
                                     [&](const char* w) { return !std::strcmp(text, w); });
    // Coordinates (a fifth letter only for a promotion), castling words,
    // and anything else as SAN.
    Zug z = 0;
    if (rochade || n == 4 || n == 5) {
        z = koordinatenZugLesen(brett_, text);
        if (z && !rochade && n == 5 && !istPromotion(z)) z = 0;
        if (z && !zugLegal(brett_, daten(), z)) z = 0;
    }
    if (!z) z = sanZugLesen(brett_, daten(), text);
    return zugOhneSchluessel(z);
}

void XBoardInterface_t::zugAnhaengen(Zug z)
{
    // The engine's own coordinate text, which the UCI side reads back.
    char feld[ZUG_BREITE + 1];
    zugFeld(brett_, z, feld);
    zuege_.append(feld, ZUG_BREITE);
    const int neu = datenIndex_ ^ 1;
    zugSpielen(brett_, z, daten_[neu], daten_[datenIndex_]);
    datenIndex_ = neu;
}

void XBoardInterface_t::brettNeuAufbauen()
{
    datenIndex_ = 0;
    const bool fen = beginntMit(basis_.c_str(), "fen ");
    if (!stellungSetzen(brett_, daten_[0], fen ? basis_.c_str() + 4 : nullptr)) {
        basis_ = "startpos";
        stellungSetzen(brett_, daten_[0], nullptr);
    }
    std::string alt;
    alt.swap(zuege_);
    for (std::size_t i = 0; i + ZUG_BREITE <= alt.size(); i += ZUG_BREITE) {
        const std::string text = tokens(alt.c_str() + i, 1).substr(0, ZUG_BREITE);
        const Zug z = zugLesen(text.c_str());
        if (!z) break;
        zugAnhaengen(z);
    }
}

bool XBoardInterface_t::spielEnde(bool direkt)
{
    const char* text = ergebnisText(brett_, daten());
    if (!text) return false;
    if (direkt) ausgabe_.zeileImmer(text);
    else sagen(text);
    return true;
}

void XBoardInterface_t::usermove(const char* rest, const char* befehl)
{
    uhrStart_ = jetztMs();
    const std::string text = tokens(rest, 1);
    const Zug z = zugLesen(text.c_str());
    if (!z) {
        sagen("Illegal move: " + text.substr(0, ZUGTEXT_MAX));
        return;
    }
    if (!platzFuerZug()) {
        fehler("game too long", befehl);
        return;
    }
    // The interface's move while the engine thinks on its own: that search
    // belongs to another position.
    if (denkt_) sucheStoppen();
    zugAnhaengen(z);

    if (spielEnde(false)) {
        if (analysiert_ || pondertJetzt_) sucheStoppen();
        return;
    }
    if (analysiert_) {
        sucheStoppen();
        analyseStarten();
        return;
    }
    if (force_) return;
    if (pondertJetzt_) {
        if (z == zugOhneSchluessel(erwartet_)) {
            // The expected reply: the ponder search goes on as the search
            // for the engine's move.
            senden("ponderhit");
            pondertJetzt_ = false;
            denkt_ = true;
            ausgabe_.ponderTextSetzen("");
            return;
        }
        sucheStoppen();
    }
    denkenStarten();
}

void XBoardInterface_t::setboard(const char* rest, const char*)
{
    sucheStoppen();
    // The placement, side, castling, en passant and the two counters; the
    // UCI side must read the same text, so nothing else travels on.
    const std::string fen = tokens(rest, 6);
    basis_ = "fen " + fen;
    zuege_.clear();
    erwartet_ = 0;
    datenIndex_ = 0;
    if (fen.size() > FEN_MAX || !stellungSetzen(brett_, daten_[0], fen.c_str())) {
        fehler("Illegal position", fen.empty() ? "setboard" : blanksUeberspringen(rest));
        basis_ = "startpos";
        brettNeuAufbauen();
    }
    if (analysiert_) analyseStarten();
}

void XBoardInterface_t::undo(const char*, const char*)
{
    if (!force_ && !analysiert_) {
        historieLoeschen();
        return;
    }
    if (denkt_ || pondertJetzt_) sucheStoppen();
    if (!zuege_.empty()) zuege_.resize(zuege_.size() - ZUG_BREITE);
    brettNeuAufbauen();
    if (analysiert_) {
        sucheStoppen();
        analyseStarten();
    }
    historieLoeschen();
}

void XBoardInterface_t::remove(const char*, const char*)
{
    if (pondertJetzt_ || denkt_) {
        sucheStoppen();
        erwartet_ = 0;
    }
    zuege_.resize(zuege_.size() > 2 * ZUG_BREITE ? zuege_.size() - 2 * ZUG_BREITE : 0);
    historieLoeschen();
    brettNeuAufbauen();
    if (analysiert_) {
        sucheStoppen();
        analyseStarten();
    }
}

void XBoardInterface_t::hint(const char*, const char*)
{
    char text[8];
    if (analysiert_) {
        if (ausgabe_.hinweis(text, int(sizeof text))) ausgabe_.Zeile(("Hint: " + std::string(text)).c_str());
        return;
    }
    // The expected reply, as long as it is a move of the board.
    if (!erwartet_ || !zugLegal(brett_, daten(), erwartet_)) return;
    xboardZugSchreiben(brett_, erwartet_, chess960_, text);
    sagen("Hint: " + std::string(text));
}

// ----------------------------------------------------------------------
// Searches

void XBoardInterface_t::sucheStoppen()
{
    // The move of the stopped search is dropped while NoOutput is on.
    senden("setoption name NoOutput value true");
    senden("stop");
    senden("setoption name NoOutput value false");
    ausgabe_.ponderTextSetzen("");
    pondertJetzt_ = false;
    denkt_ = false;
    pongsSagen(false);
}

std::string XBoardInterface_t::positionsBefehl(const char* ponderZug) const
{
    std::string s = "position " + basis_;
    if (!zuege_.empty()) s += " moves " + zuege_;
    if (ponderZug) s += (zuege_.empty() ? " moves " : "") + std::string(ponderZug);
    return s;
}

std::string XBoardInterface_t::goBefehl(bool ponder) const
{
    char text[256];
    if (sd_ > 0) {
        std::snprintf(text, sizeof text, "go depth %ld", long(sd_));
    } else if (st_ >= 0) {
        std::snprintf(text, sizeof text, "go movetime %10.0f", double(st_));
    } else {
        const GoUhr_t g = goUhrWaehlen(tk_, (anzahlZuege() + (ponder ? 1 : 0)) / 2);
        int n = std::snprintf(text, sizeof text, "go wtime %16.0f btime %16.0f winc %16.0f binc %16.0f", double(uhr_),
                              double(uhr_), g.inkrementMs, g.inkrementMs);
        if (g.zuegeBisKontrolle > 0)
            n += std::snprintf(text + n, sizeof text - std::size_t(n), " movestogo %d", int(g.zuegeBisKontrolle));
        if (ponder) std::snprintf(text + n, sizeof text - std::size_t(n), " ponder");
    }
    return text;
}

void XBoardInterface_t::denkenStarten()
{
    // A search still running would hold up the position that follows (an
    // analysis or a ponder search never ends by itself).
    if (denkt_ || pondertJetzt_) sucheStoppen();
    if (analysiert_) {
        sucheStoppen();
        analyseBeenden();
    }
    // Asked to move when the game is over: the answer is its result (and
    // the engine is not thinking, so a ping is answered at once).
    if (spielEnde(false)) return;
    if (!platzFuerZug()) {
        fehler("game too long", "go");
        return;
    }
    denkt_ = true;
    senden(positionsBefehl(nullptr));
    ausgabe_.sucheBeginnt(legaleZuegeZaehlen(brett_, daten()));
    ausgabe_.ponderTextSetzen("");
    senden(goBefehl(false));
}

bool XBoardInterface_t::pondernStarten(Zug ponder)
{
    // Nothing to think about when the expected reply ends the game.
    {
        Stellung_t nachher = brett_;
        Stellungsdaten_t d;
        if (!zugSpielen(nachher, ponder, d, daten()) || ergebnisText(nachher, d)) return false;
    }
    // On the search thread: the queue is never waited for here (the worker
    // may be waiting for this very search), so without room, no pondering.
    char feld[ZUG_BREITE + 1];
    zugFeld(brett_, ponder, feld);
    const std::string position = positionsBefehl(feld);
    const std::string go = goBefehl(true);
    if (!platzFuerZug() || queue_->wartetAufPlatz() || !queue_->platzFuer(position.size() + 1, go.size() + 1))
        return false;
    queue_->einreihen(position.c_str(), XboardUciQueue_t::UCI);
    ausgabe_.sucheBeginnt(legaleZuegeZaehlen(brett_, daten()));
    char xtext[8];
    xboardZugSchreiben(brett_, ponder, chess960_, xtext);
    ausgabe_.ponderTextSetzen(xtext);
    queue_->einreihen(go.c_str(), XboardUciQueue_t::UCI);
    return true;
}

void XBoardInterface_t::analyseStarten()
{
    if (!analysiert_) {
        // The book would answer a known position with its move, after the
        // analysis, and print nothing meanwhile: it rests while the engine
        // analyses.
        const int i = optionen_.finden("OwnBook");
        buchPausiert_ = i >= 0 && optionen_.wahr(i);
        if (buchPausiert_) senden("setoption name OwnBook value false");
    }
    analysiert_ = true;
    ausgabe_.analyseBeginnt(legaleZuegeZaehlen(brett_, daten()));
    // A finished game has nothing to analyse: its result is all there is
    // to say until the position changes.
    if (spielEnde(false)) return;
    senden(positionsBefehl(nullptr));
    senden("go infinite");
}

void XBoardInterface_t::force(const char*, const char*)
{
    sucheStoppen();
    force_ = true;
}

void XBoardInterface_t::go(const char*, const char*)
{
    force_ = false;
    uhrStart_ = jetztMs();
    denkenStarten();
}

void XBoardInterface_t::playother(const char*, const char*)
{
    force_ = false;
    // The other side is to move; when it cannot, the game is over.
    spielEnde(false);
}

void XBoardInterface_t::sofort(const char*, const char*)
{
    // "Move now": the search plays what it has. A ponder search has no move
    // for the game yet.
    if (!pondertJetzt_) senden("stop");
}

void XBoardInterface_t::analyze(const char*, const char*)
{
    sucheStoppen();
    analyseStarten();
}

void XBoardInterface_t::exit(const char*, const char*)
{
    if (!analysiert_) return;
    sucheStoppen();
    analyseBeenden();
    senden("setoption name Clear Hash value true");
}

void XBoardInterface_t::analyseBeenden()
{
    analysiert_ = false;
    ausgabe_.analyseSetzen(false);
    if (buchPausiert_) senden("setoption name OwnBook value true");
    buchPausiert_ = false;
}

void XBoardInterface_t::status(const char*, const char*)
{
    if (analysiert_) ausgabe_.analyseStatus();
}

// ----------------------------------------------------------------------
// The engine's move

void XBoardInterface_t::zugDerEngine(const Stellung_t& st, Zug zug, Zug ponder)
{
    const uint64_t schluessel = schluesselBerechnen(st);
    std::lock_guard<Sperre_t> halter(sperre_);
    if (imBefehl_) {
        // The main thread waits for the queue in the middle of a command.
        aufgeschoben_ = {true, schluessel, zug, ponder};
        return;
    }
    zugVerarbeiten(schluessel, zug, ponder);
}

void XBoardInterface_t::zugVerarbeiten(uint64_t schluessel, Zug zug, Zug ponder)
{
    // Decided once, under the lock: a move is either printed and recorded,
    // or neither.
    if (beendet_ || analysiert_ || ausgabe_.IstStumm()) return;
    // A search of another position than the game's (it was overtaken by a
    // command) has nothing to say about this game.
    if (schluessel != daten().schluessel) return;
    zug = zugOhneSchluessel(zug);
    if (!istZug(zug) || !zugLegal(brett_, daten(), zug)) {
        // Nothing to play: the search is over all the same.
        denkt_ = false;
        pongsSagen(true);
        return;
    }

    remisAngebotPruefen();
    char text[8];
    xboardZugSchreiben(brett_, zug, chess960_, text);
    char zeile[32];
    std::snprintf(zeile, sizeof zeile, "move %s", text);
    ausgabe_.zeileImmer(zeile);

    // 1. The clock: the time used, and what the move brings.
    const double uhr = double(uhr_) - double(jetztMs() - uhrStart_) + uhrBonus(tk_, anzahlZuege() / 2);
    uhr_ = int64_t(std::clamp(uhr, 150.0, 1e18));
    // 2., 3. The record, the game's end, resignation.
    zugAnhaengen(zug);
    const bool ende = spielEnde(true);
    const bool aufgegeben = !ende && aufgebenPruefen();
    // 4.
    denkt_ = false;
    pongsSagen(true);
    // 5. Pondering on the expected reply.
    if (ende || aufgegeben) return;
    erwartet_ = 0;
    ponder = zugOhneSchluessel(ponder);
    if (istZug(ponder) && zugLegal(brett_, daten(), ponder)) erwartet_ = ponder;
    if (ponderErlaubt_ && erwartet_ && sd_ < 0 && st_ < 0) pondertJetzt_ = pondernStarten(erwartet_);
}

void XBoardInterface_t::remisAngebotPruefen()
{
    const bool weissAmZug = brett_.amZug == WEISS;
    if (weissAmZug != engineWeiss_) {
        engineWeiss_ = weissAmZug;
        werteAnzahl_ = 0;
        zuegeSeitAngebot_ = 0;
    }
    // A forced move says nothing about the position.
    if (legaleZuegeZaehlen(brett_, daten()) > 1) {
        std::memmove(werte_ + 1, werte_, sizeof werte_[0] * 3);
        werte_[0] = ausgabe_.letzterWert();
        werteAnzahl_ = std::min(werteAnzahl_ + 1, 4);
    }
    if (zuegeSeitAngebot_ < INT32_MAX) ++zuegeSeitAngebot_;
    if (gegnerBietet_) zuegeSeitAngebot_ = std::max(zuegeSeitAngebot_, int32_t(anzahlZuege()));
    if ((zuegeSeitAngebot_ < 21 && !gegnerBietet_) || werteAnzahl_ < 4) return;

    // Level scores (with the opponent's offer: any score not better than
    // level) in the last three searches.
    const int32_t unten = gegnerBietet_ ? -500000 : -1;
    gegnerBietet_ = false;
    if (std::all_of(werte_, werte_ + 3, [&](int32_t w) { return w >= unten && w <= 1; })) {
        zuegeSeitAngebot_ = 0;
        ausgabe_.zeileImmer("offer draw");
    }
}

bool XBoardInterface_t::aufgebenPruefen()
{
    if (werteAnzahl_ < 4) return false;
    const int i = optionen_.finden("Resign");
    const int32_t centipawns = i >= 0 ? optionen_.wert(i) : 450000;
    const int32_t grenze = std::max(-10 * centipawns, -20000);
    // Lost in all four searches, and not getting better.
    if (!std::all_of(werte_, werte_ + 4, [&](int32_t w) { return w <= grenze; }) || werte_[0] > werte_[1])
        return false;
    ausgabe_.zeileImmer("resign");
    return true;
}
