#include "book/buch.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/spiel.h"
#include "chess/zugdaten.h"
#include "chess/zugmachen.h"
#include "files/eingabedatei.h"
#include "platform/dateisystem.h"
#include "shell/zufall.h"

namespace {

// Tokens are at most this long; a longer run of characters is split and its
// rest read as the next token.
constexpr int TOKEN_LAENGE = 9;

bool istLeer(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

class TokenLeser {
public:
    explicit TokenLeser(std::istream& ein) : puffer_(ein.rdbuf()) {}

    // Next token into text; false at the end of the input.
    bool naechstes(char (&text)[TOKEN_LAENGE + 1], int& laenge)
    {
        if (!puffer_) return false;
        int c;
        while ((c = puffer_->sgetc()) != EOF && istLeer(c)) puffer_->sbumpc();
        laenge = 0;
        while (laenge < TOKEN_LAENGE && (c = puffer_->sgetc()) != EOF && !istLeer(c)) {
            text[laenge++] = char(c);
            puffer_->sbumpc();
        }
        text[laenge] = 0;
        return laenge > 0;
    }

private:
    std::streambuf* puffer_;
};

bool nurZiffern(const char* p, int laenge)
{
    if (laenge == 0) return false;
    for (int i = 0; i < laenge; ++i)
        if (p[i] < '0' || p[i] > '9') return false;
    return true;
}

// The weight: an optional sign and digits, the whole token.
bool gewichtLesen(const char* p, int laenge, int64_t& wert)
{
    bool negativ = false;
    if (laenge > 0 && (*p == '-' || *p == '+')) {
        negativ = *p == '-';
        ++p;
        --laenge;
    }
    if (!nurZiffern(p, laenge)) return false;
    int64_t v = 0;
    for (int i = 0; i < laenge; ++i) v = v * 10 + (p[i] - '0');
    wert = negativ ? -v : v;
    return true;
}

// True when a piece stands on the ranks 3 to 6.
bool mitteBesetzt(const Stellung_t& st)
{
    return (st.belegt() & (rowMask(2) | rowMask(3) | rowMask(4) | rowMask(5))) != 0;
}

bool eintragVor(const BuchEintrag_t& a, const BuchEintrag_t& b)
{
    if (a.schluessel != b.schluessel) return a.schluessel < b.schluessel;
    if (a.gewicht != b.gewicht) return a.gewicht > b.gewicht;
    return a.zug < b.zug;
}

// Entries of the same position and move (lines that transpose, or a file
// that repeats a line) become one with their weights added, as long as
// the sum fits. The choice of a move keeps its odds, and a position holds
// at most one entry per move, however often a file repeats it.
void zusammenfassen(std::vector<BuchEintrag_t>& e)
{
    std::sort(e.begin(), e.end(), [](const BuchEintrag_t& a, const BuchEintrag_t& b) {
        if (a.schluessel != b.schluessel) return a.schluessel < b.schluessel;
        if (a.zug != b.zug) return a.zug < b.zug;
        return a.gewicht > b.gewicht;
    });
    std::size_t n = 0;
    for (const BuchEintrag_t& x : e) {
        BuchEintrag_t& letzter = e[n > 0 ? n - 1 : 0];
        if (n > 0 && letzter.schluessel == x.schluessel && letzter.zug == x.zug &&
            uint64_t(letzter.gewicht) + x.gewicht <= UINT32_MAX) {
            letzter.gewicht += x.gewicht;
            continue;
        }
        e[n++] = x;
    }
    e.resize(n);
}

// The book text read into entries. Levels are kept on an explicit stack
// (one record per move of the current line), so a deep file costs memory,
// not the thread's stack.
bool lesen(std::istream& ein, std::vector<BuchEintrag_t>& eintraege)
{
    struct Ebene {
        Stellungsdaten_t daten;
        Zugdaten_t zd;
        int gesichert; // index into the saved positions, or -1
    };
    Stellung_t st;
    std::vector<Ebene> stapel(1);
    // A "startpos" inside a line replaces the position; the position it
    // replaced comes back when that level closes.
    std::vector<std::unique_ptr<Stellung_t>> gesichert;
    stellungSetzen(st, stapel[0].daten, nullptr);
    stapel[0].gesichert = -1;

    TokenLeser leser(ein);
    char text[TOKEN_LAENGE + 1];
    int laenge;
    for (;;) {
        if (!leser.naechstes(text, laenge)) return false;
        Ebene& oben = stapel.back();
        if (text[0] == '*') {
            if (oben.gesichert >= 0) {
                st = *gesichert[size_t(oben.gesichert)];
                gesichert.pop_back();
            }
            if (stapel.size() == 1) return true;
            zugZuruecknehmen(oben.zd);
            stapel.pop_back();
            continue;
        }
        if (!std::strcmp(text, "startpos")) {
            if (mitteBesetzt(st) || !leser.naechstes(text, laenge) || !nurZiffern(text, laenge)) return false;
            unsigned n = 0;
            for (int i = 0; i < laenge; ++i) n = (n * 10 + unsigned(text[i] - '0')) % 960;
            if (oben.gesichert < 0 && stapel.size() > 1) {
                oben.gesichert = int(gesichert.size());
                gesichert.push_back(std::make_unique<Stellung_t>(st));
            }
            chess960Setzen(st, n);
            datenBerechnen(st, oben.daten);
            continue;
        }
        if (std::memchr(text, 0, size_t(laenge))) return false;
        char zugText[TOKEN_LAENGE + 1];
        std::memcpy(zugText, text, sizeof zugText);
        int64_t gewicht = -1;
        if (!leser.naechstes(text, laenge) || !gewichtLesen(text, laenge, gewicht) || gewicht == -1) return false;
        const Zug z = zugTextLesen(st, oben.daten, zugText);
        if (!istZug(z)) return false;
        if (gewicht >= 1) eintraege.push_back({buchSchluessel(st), uint32_t(gewicht), buchZug(z, st.amZug)});
        if (stapel.size() > size_t(BUCH_MAX_TIEFE)) return false;
        stapel.push_back({});
        Ebene& neu = stapel.back();
        neu.gesichert = -1;
        if (!zugMachenSuche(st, z, neu.daten, stapel[stapel.size() - 2].daten, neu.zd)) return false;
    }
}

} // namespace

uint64_t buchSchluessel(const Stellung_t& st)
{
    if (st.amZug == WEISS) return schluesselBerechnen(st);
    Stellung_t spiegel;
    spiegeln(st, spiegel);
    return spiegel.historie[0];
}

bool Buch_t::laden(std::istream& ein)
{
    std::vector<BuchEintrag_t> neu;
    if (!lesen(ein, neu)) return false;
    zusammenfassen(neu);
    std::sort(neu.begin(), neu.end(), eintragVor);
    eintraege_.swap(neu);
    return true;
}

bool Buch_t::load()
{
    eintraege_.clear();
    if (name_.empty()) return false;
    Eingabestrom_t ein(dateiSuchen(name_));
    if (!ein.offen() || !laden(ein)) return false;
    // A book cut short by a read error is no book.
    if (!ein.lesefehler()) return true;
    eintraege_.clear();
    return false;
}

const BuchEintrag_t* Buch_t::erster(uint64_t schluessel) const
{
    return std::lower_bound(eintraege_.data(), eintraege_.data() + eintraege_.size(), schluessel,
                            [](const BuchEintrag_t& e, uint64_t k) { return e.schluessel < k; });
}

const BuchEintrag_t* Buch_t::hinterLetztem(uint64_t schluessel) const
{
    return std::upper_bound(eintraege_.data(), eintraege_.data() + eintraege_.size(), schluessel,
                            [](uint64_t k, const BuchEintrag_t& e) { return k < e.schluessel; });
}

bool Buch_t::probe(const std::string& datei, const Stellung_t& st, Zug& zug, Zug* ponder)
{
    zug = 0;
    if (ponder) *ponder = 0;
    if (datei != name_) {
        name_ = datei;
        if (!load()) return false;
    }
    if (eintraege_.empty()) return false;

    const uint64_t k = buchSchluessel(st);
    const BuchEintrag_t* anfang = erster(k);
    const BuchEintrag_t* ende = hinterLetztem(k);
    if (anfang == ende) return false;
    // The total may pass 32 bits (weights up to 999,999,999 each); the draw
    // then takes two words.
    uint64_t summe = 0;
    for (const BuchEintrag_t* e = anfang; e != ende; ++e) summe += e->gewicht;
    if (summe == 0) return false;
    Zufallsgenerator& zufall = zufall_ ? *zufall_ : Zufallsgenerator::gemeinsam();
    uint64_t r = zufall.ziehen();
    if (summe > UINT32_MAX) r = (r << 32) | zufall.ziehen();
    r %= summe;
    const BuchEintrag_t* gewaehlt = anfang;
    for (uint64_t lauf = 0; gewaehlt != ende; ++gewaehlt) {
        lauf += gewaehlt->gewicht;
        if (lauf > r) break;
    }
    if (gewaehlt == ende || !istZug(gewaehlt->zug)) return false;

    // The move is played only when it is legal here: a file may hold
    // anything, and two positions may share a key.
    Stellung_t kopie = st;
    Stellungsdaten_t d[2];
    datenBerechnen(kopie, d[0]);
    const Zug z = buchZug(gewaehlt->zug, st.amZug);
    if (!zugLegal(kopie, d[0], z)) return false;
    zug = z;
    if (!ponder) return true;

    Zugdaten_t zd;
    zugMachenSuche(kopie, z, d[1], d[0], zd);
    const uint64_t k2 = buchSchluessel(kopie);
    const BuchEintrag_t* antwort = erster(k2);
    if (antwort != eintraege_.data() + eintraege_.size() && antwort->schluessel == k2 && istZug(antwort->zug) &&
        antwort->gewicht > 0) {
        const Zug p = buchZug(antwort->zug, kopie.amZug);
        if (zugLegal(kopie, d[1], p)) *ponder = p;
    }
    return true;
}
