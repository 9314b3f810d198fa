#include "protocol/xboard_ausgabe.h"

#include <cstring>

#include "chess/notation.h"
#include "platform/clock.h"
#include "protocol/uci_ausgabe.h"
#include "protocol/xboard.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"

int xboardWert(int wert)
{
    constexpr int MATT_GRENZE = 450000;
    // 500,000 - 467,233 = 32,767: a mate in p plies shows as 32767 - p.
    constexpr int MATT_VERSATZ = 467233;
    if (wert > MATT_GRENZE) return wert - MATT_VERSATZ;
    if (wert < -MATT_GRENZE) return wert + MATT_VERSATZ;
    if (wert > 1) return (wert + 9) / 10;
    if (wert < -1) return (wert - 9) / 10;
    return 0;
}

void xboardZugSchreiben(const Stellung_t& st, Zug z, bool rochadeWorte, char* puffer)
{
    if (zugArt(z) == ART_ROCHADE && (rochadeWorte || st.chess960)) {
        // The king always lands on the g- or c-file.
        std::strcpy(puffer, (zugNach(z) & 7) == 6 ? "O-O" : "O-O-O");
        return;
    }
    zugSchreiben(st, z, puffer);
}

XBoardAusgabe_t::XBoardAusgabe_t(const Suchgrenzen_t& grenzen, std::FILE* ziel) : Ausgabe_t(ziel), grenzen_(grenzen) {}

bool XBoardAusgabe_t::IstStumm() const
{
    if (stumm_.load(std::memory_order_relaxed)) return true;
    const Optionen_t* o = optionen_.load(std::memory_order_acquire);
    if (!o) return false;
    const int i = o->finden("NoOutput");
    return i >= 0 && o->wahr(i);
}

void XBoardAusgabe_t::zeileImmer(const char* text)
{
    if (stumm_.load(std::memory_order_relaxed)) return;
    SperreHalter_t h(sperre_);
    std::fputs(text, ziel_);
    std::fputc('\n', ziel_);
    std::fflush(ziel_);
}

void XBoardAusgabe_t::Fehler(const char* text, const char* detail)
{
    if (IstStumm()) return;
    // The detail is usually the offending command; a hostile one may be
    // tens of thousands of characters, of which the start says enough.
    char zeile[640];
    std::snprintf(zeile, sizeof zeile, "Error (%.200s): %.400s", text, detail ? detail : "internal error");
    Zeile(zeile);
}

void XBoardAusgabe_t::Fortschritt(int tiefe, int, int64_t, int64_t knoten, int)
{
    // Nothing is printed; the analysis status shows the latest counts.
    knoten_.store(knoten, std::memory_order_relaxed);
    tiefe_.store(tiefe, std::memory_order_relaxed);
}

void XBoardAusgabe_t::BesterZug(const Stellung_t& st, Zug zug, Zug ponder)
{
    // The move of an analysis, or of a search stopped while the engine was
    // told to keep quiet, is never played.
    if (analyse_.load(std::memory_order_relaxed) || IstStumm()) return;
    SperreHalter_t h(rueckSperre_);
    if (xboard_) xboard_->zugDerEngine(st, zug, ponder);
}

void XBoardAusgabe_t::AktuellerZug(const Stellung_t& st, Zug zug, int nummer, int)
{
    char text[8];
    xboardZugSchreiben(st, zug, rochadeWorte(), text);
    SperreHalter_t h(zustand_);
    zugNummer_.store(nummer, std::memory_order_relaxed);
    std::memcpy(zugText_, text, sizeof text);
}

void XBoardAusgabe_t::Hauptvariante(const Stellung_t& st, const Zug* zuege, int anzahl, int wert, int, int, int tiefe,
                                    int, int64_t, int64_t knoten, int, bool still)
{
    knoten_.store(knoten, std::memory_order_relaxed);
    tiefe_.store(tiefe, std::memory_order_relaxed);
    if (!post_.load(std::memory_order_relaxed)) return;
    letzterWert_.store(wert, std::memory_order_relaxed);
    if (still || IstStumm()) return;

    char zeile[UCI_ZEILE];
    const int64_t zentisekunden = (jetztMs() - grenzen_.start) / 10;
    int laenge = std::snprintf(zeile, sizeof zeile, "%d %d %.0f %.0f", tiefe, xboardWert(wert), double(zentisekunden),
                               double(knoten));
    char ponder[8];
    {
        SperreHalter_t h(zustand_);
        std::memcpy(ponder, ponderText_, sizeof ponder);
    }
    if (ponder[0]) laenge += std::snprintf(zeile + laenge, sizeof zeile - std::size_t(laenge), " (%s)", ponder);

    const bool rochade = rochadeWorte();
    for (int i = 0; i < anzahl; ++i) {
        char text[8];
        xboardZugSchreiben(st, zuege[i], rochade, text);
        const int n = int(std::strlen(text));
        if (laenge + 1 + n >= VARIANTE_GRENZE) break;
        zeile[laenge++] = ' ';
        std::memcpy(zeile + laenge, text, std::size_t(n) + 1);
        laenge += n;
        if (i == 0 && analyse_.load(std::memory_order_relaxed)) {
            SperreHalter_t h(zustand_);
            std::memcpy(hinweis_, text, sizeof text);
        }
    }
    Zeile(zeile);
}

void XBoardAusgabe_t::sucheBeginnt(int legaleZuege)
{
    legaleZuege_.store(legaleZuege, std::memory_order_relaxed);
    knoten_.store(0, std::memory_order_relaxed);
    tiefe_.store(0, std::memory_order_relaxed);
    letzterWert_.store(500000, std::memory_order_relaxed);
}

void XBoardAusgabe_t::analyseBeginnt(int legaleZuege)
{
    analyse_.store(true, std::memory_order_relaxed);
    sucheBeginnt(legaleZuege);
    zugNummer_.store(0, std::memory_order_relaxed);
    analyseStart_.store(jetztMs(), std::memory_order_relaxed);
    SperreHalter_t h(zustand_);
    hinweis_[0] = 0;
    zugText_[0] = 0;
}

void XBoardAusgabe_t::ponderTextSetzen(const char* text)
{
    SperreHalter_t h(zustand_);
    std::snprintf(ponderText_, sizeof ponderText_, "%s", text);
}

bool XBoardAusgabe_t::hinweis(char* puffer, int groesse)
{
    SperreHalter_t h(zustand_);
    std::snprintf(puffer, std::size_t(groesse), "%s", hinweis_);
    return hinweis_[0] != 0;
}

void XBoardAusgabe_t::analyseStatus()
{
    char text[8];
    int nummer;
    {
        SperreHalter_t h(zustand_);
        std::memcpy(text, zugText_, sizeof text);
        nummer = zugNummer_.load(std::memory_order_relaxed);
    }
    const int legale = legaleZuege_.load(std::memory_order_relaxed);
    char zeile[160];
    std::snprintf(zeile, sizeof zeile, "stat01:%13.0f %16.0f %6d %3d %3d %s",
                  double((jetztMs() - analyseStart_.load(std::memory_order_relaxed)) / 10),
                  double(knoten_.load(std::memory_order_relaxed)), int(tiefe_.load(std::memory_order_relaxed)),
                  legale - nummer + 1, legale, text);
    Zeile(zeile);
}
