// Bitbase generation.
//
// Every index of the material gets one of four states, two bits per index
// (the arrays W and K of the classic scheme, interleaved so that both bits
// of an index sit in one word): open, won, not won, and "new" (won, its
// predecessors not yet looked at). Two threads share the work; they change
// states only by compare-and-swap. Indices that are no legal position are
// folded into the state their parents may treat them as: with the first
// side to move they count as won (a move of the second side into them was
// illegal, so it does not spoil a win), with the second side to move as
// not won (such a move of the first side wins nothing).
//
// 1. Iteration 0 classifies every index: illegal or not canonical, bare
//    kings and minor pieces that cannot mate, checkmate and stalemate, or
//    open.
// 2. Iteration 1 looks at every open position that can capture or promote:
//    those moves leave the material, and the bitbases of the smaller
//    materials answer them (through the cache).
// 3. Then every new won position is taken back move by move: an open
//    predecessor with the first side to move is won at once; one with the
//    second side to move is won when all its moves are (it is looked at
//    again each time one of its successors becomes won). Each sweep over
//    the new positions prints one line; the work ends when a sweep finds
//    nothing new.
// 4. Positions still open are not won. Illegal indices may take any bit;
//    they are set so that the blocks compress well.
#include "bitbase/generator.h"

#include <algorithm>
#include <atomic>
#include <cinttypes>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "bitbase/brett.h"
#include "bitbase/blockcoder.h"
#include "bitbase/cache.h"
#include "bitbase/datei.h"
#include "bitbase/index.h"
#include "bitbase/zuege.h"
#include "platform/lock.h"
#include "platform/thread.h"

namespace {

constexpr uint64_t GENERATOR_CACHE = 200000000;

// The two bits of an index: W | K << 1.
constexpr int NEU = 0;      // won, predecessors still to look at
constexpr int OFFEN = 1;
constexpr int SCHLECHT = 2; // not won (for good)
constexpr int GUT = 3;      // won

enum class Urteil { GEWONNEN, VERLOREN, OFFEN, FEHLER };

bool ungenuegend(const BbStellung_t& b)
{
    int leichte = 0;
    bool nurLaeufer = true;
    Bitboard laeufer = 0;
    for (int j = 0; j < b.n; ++j) {
        switch (b.typ[j]) {
        case KOENIG: break;
        case SPRINGER:
            ++leichte;
            nurLaeufer = false;
            break;
        case LAEUFER:
            ++leichte;
            laeufer |= bit(b.feld[j]);
            break;
        default: return false;
        }
    }
    if (leichte < 2) return true;
    return nurLaeufer && (!(laeufer & HELLE_FELDER) || !(laeufer & DUNKLE_FELDER));
}

// One byte of the written block: any value with every bit of r set and no
// bit outside u. Runs and repeated bytes compress best, so the previous
// byte, 00 and FF are tried first; otherwise each free bit copies its
// neighbour, which keeps the byte's bit changes few.
uint8_t fuellen(uint8_t r, uint8_t u, int vorher)
{
    auto passt = [&](int v) { return (v & r) == r && (v & ~u & 0xFF) == 0; };
    if (vorher >= 0 && passt(vorher)) return uint8_t(vorher);
    if (r == 0) return 0x00;
    if (u == 0xFF) return 0xFF;
    const uint8_t frei = uint8_t(u & ~r);
    int erster = 0;
    while (frei & (1 << erster)) ++erster;
    int v = r, letztes = (r >> erster) & 1;
    for (int i = 0; i < 8; ++i) {
        if (frei & (1 << i)) v |= letztes << i;
        else letztes = (r >> i) & 1;
    }
    return uint8_t(v);
}

void blockFuellen(const uint8_t* r, const uint8_t* u, uint8_t* aus)
{
    bool gleich = true, nullen = true, voll = true;
    for (int i = 0; i < BB_BLOCK; ++i) {
        gleich = gleich && r[i] == u[i];
        nullen = nullen && r[i] == 0;
        voll = voll && u[i] == 0xFF;
    }
    if (gleich || nullen) {
        std::memcpy(aus, r, BB_BLOCK);
    } else if (voll) {
        std::memset(aus, 0xFF, BB_BLOCK);
    } else {
        int vorher = -1;
        for (int i = 0; i < BB_BLOCK; ++i) vorher = aus[i] = fuellen(r[i], u[i], vorher);
    }
}

// Work split among threads in chunks of words handed out in order.
struct Verteiler_t {
    std::atomic<uint64_t> naechster{0};
    uint64_t ende = 0;
    static constexpr uint64_t STUECK = 2048;
    bool holen(uint64_t& von, uint64_t& bis)
    {
        von = naechster.fetch_add(STUECK);
        if (von >= ende) return false;
        bis = std::min(ende, von + STUECK);
        return true;
    }
};

// What one thread found in a pass.
struct Ausbeute_t {
    uint64_t neue = 0;
    uint64_t von = ~uint64_t(0), bis = 0; // range of the new won positions
    void merken(uint64_t i)
    {
        ++neue;
        von = std::min(von, i);
        bis = std::max(bis, i + 1);
    }
};

class Generator {
public:
    static constexpr int FAEDEN = 2;

    Generator(const BbStellung_t& m, const std::string& verzeichnis, std::FILE* fortschritt, std::FILE* fehler)
        : mat_(m), verzeichnis_(verzeichnis), fortschritt_(fortschritt), fehler_(fehler), cache_(GENERATOR_CACHE)
    {
        cache_.setPath(verzeichnis);
        n_ = bbPositionen(m);
        slotGroesse_ = n_ / (m.hatBauern() ? 64 : 20);
    }

    bool laufen();

private:
    // 32 indices per word, two bits each (W low, K high). Threads change
    // entries with compare-and-swap, so one entry's two bits always change
    // together.
    std::atomic_ref<uint64_t> wort(uint64_t w) const { return std::atomic_ref<uint64_t>(z_[w]); }
    int zustand(uint64_t i) const { return int((wort(i >> 5).load() >> (2 * (i & 31))) & 3); }
    bool uebergang(uint64_t i, int von, int nach)
    {
        const int sh = int(2 * (i & 31));
        std::atomic_ref<uint64_t> a = wort(i >> 5);
        uint64_t w = a.load();
        while (int((w >> sh) & 3) == von)
            if (a.compare_exchange_weak(w, w ^ (uint64_t(von ^ nach) << sh))) return true;
        return false;
    }
    int amZug(uint64_t i) const { return int((i / slotGroesse_) & 1); }
    bool stellungLesen(uint64_t i, BbStellung_t& b) const
    {
        b = mat_;
        return bbDekodieren(i, b) && bbLegal(b) && bbIndex(b) == i;
    }
    bool fehlerDa() const { return fehlerText_.load() != nullptr; }

    // Runs arbeit(faden) on FAEDEN threads and waits for them.
    template <class F>
    void parallel(F arbeit);

    void zeile(const char* text, uint64_t zahl, bool mitZahl);
    bool meldungFehlt();
    int iterationNull(uint64_t i);
    int umwandlungWert(const BbStellung_t& b, const BbZug_t& z, int neuTyp);
    Urteil bewerten(const BbStellung_t& b);
    template <class F>
    void vorgaenger(const BbStellung_t& f, F fn);
    void nachbarnPruefen(uint64_t f, Ausbeute_t& a);
    bool schreiben();
    bool dateiSchreiben(const BbSchreiber_t& schreiber); // the file and its checksum; says when it fails

    BbStellung_t mat_;
    std::string verzeichnis_;
    std::FILE* fortschritt_;
    std::FILE* fehler_;
    BitbaseCache_t cache_;
    uint64_t n_ = 0, slotGroesse_ = 0;
    std::unique_ptr<uint64_t[]> z_;
    std::atomic<const char*> fehlerText_{nullptr};
};

template <class F>
void Generator::parallel(F arbeit)
{
    struct Auftrag {
        F* f;
        int nr;
    };
    Auftrag auftraege[FAEDEN];
    Faden_t faeden[FAEDEN];
    for (int t = 1; t < FAEDEN; ++t) {
        auftraege[t] = {&arbeit, t};
        if (!faeden[t].starten([](void* a) { (*static_cast<Auftrag*>(a)->f)(static_cast<Auftrag*>(a)->nr); },
                               &auftraege[t], 1024000))
            arbeit(t); // no thread: do its share here
    }
    arbeit(0);
    for (int t = 1; t < FAEDEN; ++t)
        if (faeden[t].laeuft()) faeden[t].warten();
}

void Generator::zeile(const char* text, uint64_t zahl, bool mitZahl)
{
    if (!fortschritt_) return;
    if (mitZahl) std::fprintf(fortschritt_, "%s: Iteration %s: %" PRIu64 "\n", mat_.name, text, zahl);
    else std::fprintf(fortschritt_, "%s: %s\n", mat_.name, text);
    std::fflush(fortschritt_);
}

// The value of a capture or promotion for the first side, from the bitbase
// of the material it leads to: 1 won, 0 not, -1 not available.
int Generator::umwandlungWert(const BbStellung_t& b, const BbZug_t& z, int neuTyp)
{
    BbStellung_t c;
    std::memset(&c, 0, sizeof(c));
    int k = 0;
    for (int s = 0; s < 2; ++s) {
        const int anfang = k;
        for (int j = s == 0 ? 0 : b.anzahl[0]; j < (s == 0 ? b.anzahl[0] : b.n); ++j) {
            if (j == z.geschlagen) continue;
            c.typ[k] = uint8_t(j == z.figur && neuTyp ? neuTyp : b.typ[j]);
            c.feld[k] = uint8_t(j == z.figur ? z.nach : b.feld[j]);
            ++k;
        }
        c.anzahl[s] = k - anfang;
        seiteSortieren(c.typ + anfang, c.feld + anfang, c.anzahl[s]);
    }
    materialBenennen(c);
    if (c.anzahl[0] == 1) return 0; // a lone king wins nothing
    c.amZug = b.amZug ^ 1;
    c.ep = 0;
    const uint64_t i = bbIndex(c);
    SperreHalter_t halter(cache_.sperre());
    return cache_.lookup(c.name, i, false);
}

// Looks at every move of b once: GEWONNEN or VERLOREN when the position is
// decided for good, OFFEN when it depends on positions still open.
Urteil Generator::bewerten(const BbStellung_t& b)
{
    const BbBrett_t brett(b);
    const int s = b.amZug;
    bool offen = false, entschieden = false;
    bbZuegeDurchlaufen(b, brett, [&](const BbZug_t& z) {
        int wert; // 1 won for the first side, 0 not won, 2 open
        if (z.geschlagen >= 0 || z.art == BbZugArt::UMWANDLUNG) {
            if (!bbZugLegal(b, brett, z)) return true;
            if (z.art == BbZugArt::UMWANDLUNG) {
                // The first side picks the best piece, the second side the
                // one that keeps the first side from winning.
                wert = s == 0 ? 0 : 1;
                for (int t = DAME; t >= SPRINGER; --t) {
                    const int v = umwandlungWert(b, z, t);
                    if (v < 0) {
                        fehlerText_.store("Fehler in UmwPruefen");
                        return false;
                    }
                    if (v == (s == 0 ? 1 : 0)) {
                        wert = v;
                        break;
                    }
                }
            } else {
                wert = umwandlungWert(b, z, 0);
                if (wert < 0) {
                    fehlerText_.store("Fehler in BitPruefen");
                    return false;
                }
            }
        } else {
            BbStellung_t c = b;
            c.feld[z.figur] = uint8_t(z.nach);
            c.amZug = s ^ 1;
            c.ep = 0;
            if (z.art == BbZugArt::DOPPELSCHRITT) {
                const int mitte = (z.von + z.nach) / 2;
                if (AT.bauer[s][mitte] & brett.bauern[s ^ 1]) {
                    if (!bbZugLegal(b, brett, z)) return true;
                    c.ep = mitte;
                }
            }
            const uint64_t i = bbIndex(c);
            if (!bbTreu(c, i)) {
                wert = 2;
            } else {
                const int st = zustand(i);
                wert = (st == NEU || st == GUT) ? 1 : st == SCHLECHT ? 0 : 2;
            }
        }
        if (wert == 2) {
            offen = true;
        } else if (wert == (s == 0 ? 1 : 0)) {
            entschieden = true;
            return false;
        }
        return true;
    });
    if (fehlerDa()) return Urteil::FEHLER;
    if (entschieden) return s == 0 ? Urteil::GEWONNEN : Urteil::VERLOREN;
    if (offen) return Urteil::OFFEN;
    return s == 0 ? Urteil::VERLOREN : Urteil::GEWONNEN;
}

// Calls fn(BbStellung_t&) for every position from which a move of the side
// that just moved, without capture or promotion, leads to f. Some of them
// may be illegal; their state says so.
template <class F>
void Generator::vorgaenger(const BbStellung_t& f, F fn)
{
    const BbBrett_t brett(f);
    const int ich = f.amZug ^ 1, er = f.amZug; // ich made the last move
    const bool epMoeglich = brett.bauern[0] && brett.bauern[1];
    auto melden = [&](BbStellung_t& p) {
        p.amZug = ich;
        p.ep = 0;
        fn(p);
        if (!epMoeglich) return;
        // Before that move, the other side may just have made a double step
        // that ich could have taken en passant.
        const BbBrett_t pb(p);
        const int reihe = er == 0 ? 4 : 3, hinten = er == 0 ? 8 : -8;
        for (Bitboard q = pb.bauern[er] & rowMask(reihe); q;) {
            const int sq = popLsb(q);
            const int ep = sq + hinten;
            if ((pb.belegt & (bit(ep) | bit(ep + hinten))) || !(AT.bauer[er][ep] & pb.bauern[ich])) continue;
            p.ep = ep;
            fn(p);
            // The en-passant codes are not mirrored with the board, so the
            // mirror image has an index of its own: it is a predecessor too.
            BbStellung_t s = p;
            for (int j = 0; j < s.n; ++j) s.feld[j] ^= 7;
            s.ep ^= 7;
            fn(s);
        }
        p.ep = 0;
    };
    BbStellung_t p = f;
    if (f.ep > 0) {
        // The last move was the double step in front of the en-passant square.
        const int sq = ich == 0 ? f.ep - 8 : f.ep + 8;
        for (int j = 0; j < f.n; ++j) {
            if (f.typ[j] != BAUER || f.feld[j] != sq || f.seiteVon(j) != ich) continue;
            p.feld[j] = uint8_t(ich == 0 ? f.ep + 8 : f.ep - 8);
            melden(p);
        }
        return;
    }
    const int anfang = ich == 0 ? 0 : f.anzahl[0], ende = ich == 0 ? f.anzahl[0] : f.n;
    for (int j = anfang; j < ende; ++j) {
        const int sq = f.feld[j];
        if (f.typ[j] == BAUER) {
            const int zurueck = ich == 0 ? 8 : -8;
            const int r = rowOf(sq);
            const int o = sq + zurueck;
            if ((ich == 0 ? r > 5 : r < 2) || (brett.belegt & bit(o))) continue;
            p.feld[j] = uint8_t(o);
            melden(p);
            // A double step would have left an en-passant square behind when
            // a pawn of the other side could take; then f is not its result.
            const int o2 = o + zurueck;
            if (r == (ich == 0 ? 4 : 3) && !(brett.belegt & bit(o2)) && !(AT.bauer[ich][o] & brett.bauern[er])) {
                p.feld[j] = uint8_t(o2);
                melden(p);
            }
        } else {
            for (Bitboard z = brett.angriffeVon(j, brett.belegt) & ~brett.belegt; z;) {
                p.feld[j] = uint8_t(popLsb(z));
                melden(p);
            }
        }
        p.feld[j] = uint8_t(sq);
    }
}

int Generator::iterationNull(uint64_t i)
{
    BbStellung_t b;
    if (!stellungLesen(i, b)) return amZug(i) == 0 ? GUT : SCHLECHT;
    if (ungenuegend(b)) return SCHLECHT;
    const BbBrett_t brett(b);
    const bool zugDa = !bbZuegeDurchlaufen(b, brett, [&](const BbZug_t& z) { return !bbZugLegal(b, brett, z); });
    if (zugDa) return OFFEN;
    // No legal move: mate or stalemate. Only a mated second side is a win.
    const bool schach = brett.angegriffen(brett.koenig[b.amZug], b.amZug ^ 1, brett.belegt);
    return schach && b.amZug == 1 ? NEU : SCHLECHT;
}

bool Generator::schreiben()
{
    // Final bits, in place: each entry becomes 1 (won) or 0 (not won) in
    // its W bit and 1 in its K bit where the index is no legal position
    // (its bit is free).
    Verteiler_t v;
    v.ende = n_ / 32;
    parallel([&](int) {
        uint64_t von, bis;
        BbStellung_t b;
        while (v.holen(von, bis))
            for (uint64_t w = von; w < bis; ++w) {
                uint64_t alt = z_[w], neu = 0;
                for (int k = 0; k < 32; ++k) {
                    const bool legal = stellungLesen(w * 32 + uint64_t(k), b);
                    const bool gewonnen = ((alt >> (2 * k)) & 3) == GUT;
                    neu |= uint64_t(legal && gewonnen) << (2 * k);
                    neu |= uint64_t(!legal) << (2 * k + 1);
                }
                z_[w] = neu;
            }
    });
    const uint64_t bloecke = n_ / 4096;
    BbSchreiber_t schreiber(bloecke);
    uint8_t r[BB_BLOCK], u[BB_BLOCK], aus[BB_BLOCK];
    for (uint64_t k = 0; k < bloecke; ++k) {
        for (int i = 0; i < 4096; ++i) {
            const uint64_t e = z_[k * 128 + uint64_t(i >> 5)] >> (2 * (i & 31));
            const uint8_t m = uint8_t(1 << (i & 7));
            if ((i & 7) == 0) r[i >> 3] = u[i >> 3] = 0;
            if (e & 1) r[i >> 3] |= m;
            if (e & 3) u[i >> 3] |= m;
        }
        blockFuellen(r, u, aus);
        schreiber.block(aus);
    }
    return dateiSchreiben(schreiber);
}

// Looks at the positions one move before the new won position f: an open
// one with the first side to move is won now; one with the second side to
// move is looked at anew.
void Generator::nachbarnPruefen(uint64_t f, Ausbeute_t& a)
{
    BbStellung_t pos = mat_;
    bbDekodieren(f, pos); // f is legal: its state says so
    vorgaenger(pos, [&](BbStellung_t& p) {
        const uint64_t i = bbIndex(p);
        if (zustand(i) != OFFEN || !bbTreu(p, i)) return;
        if (p.amZug == 0) {
            if (uebergang(i, OFFEN, NEU)) a.merken(i);
            return;
        }
        const Urteil u = bewerten(p);
        if (u == Urteil::GEWONNEN) {
            if (uebergang(i, OFFEN, NEU)) a.merken(i);
        } else if (u == Urteil::VERLOREN) {
            uebergang(i, OFFEN, SCHLECHT);
        }
    });
}

bool Generator::dateiSchreiben(const BbSchreiber_t& schreiber)
{
    const std::string datei = bbDateiName(verzeichnis_, mat_.name);
    if (schreiber.schreiben(datei)) return true;
    if (fehler_) std::fprintf(fehler_, "cannot write %s\n", datei.c_str());
    return false;
}

bool Generator::meldungFehlt()
{
    uint8_t puffer[BB_BLOCK];
    std::vector<bool> umwandlung;
    const std::vector<std::string> namen = bitbaseBenoetigt(mat_.name, &umwandlung);
    SperreHalter_t halter(cache_.sperre());
    for (size_t i = 0; i < namen.size(); ++i) {
        BbStellung_t c;
        materialLesen(namen[i].c_str(), c);
        const std::string datei = bbDateiName(verzeichnis_, c.name);
        // A damaged smaller bitbase would pass its errors on to this one:
        // every file is checked against its checksum before it is used.
        std::string grund;
        const BbPruefung p = cache_.dateiPruefen(c.name, &grund);
        if (p == BbPruefung::UNGEPRUEFT && fehler_)
            std::fprintf(fehler_, "%s: no checksum file, used unverified\n", datei.c_str());
        if (p != BbPruefung::FEHLT && p != BbPruefung::BESCHAEDIGT && bbBlockLesen(datei, 0, bbBloecke(c), puffer))
            continue;
        if (fehler_) {
            const std::string was = p == BbPruefung::FEHLT         ? "is missing"
                                    : p == BbPruefung::BESCHAEDIGT ? "is damaged: " + grund
                                                                   : "is unreadable";
            std::fprintf(fehler_, "%s (%s %s)\n", umwandlung[i] ? "Fehler in UmwPruefen" : "Fehler in BitPruefen",
                         datei.c_str(), was.c_str());
            std::fflush(fehler_);
        }
        return true;
    }
    return false;
}

bool Generator::laufen()
{
    if (!cache_.aktiv()) {
        if (fehler_) std::fprintf(fehler_, "Fehler beim Anlegen des Bitbase-Cache\n");
        return false;
    }
    if (mat_.anzahl[0] == 1) {
        // A lone king wins nothing: every block is zero.
        zeile("Iteration 0 fertig", 0, false);
        BbSchreiber_t schreiber(n_ / 4096);
        const uint8_t null[BB_BLOCK] = {};
        for (uint64_t k = 0; k < n_ / 4096; ++k) schreiber.block(null);
        return dateiSchreiben(schreiber);
    }
    if (meldungFehlt()) {
        zeile("Iteration 0 fertig", 0, false);
        return false;
    }
    z_.reset(new (std::nothrow) uint64_t[n_ / 32]);
    if (!z_) {
        if (fehler_) std::fprintf(fehler_, "%s: not enough memory\n", mat_.name);
        return false;
    }

    // 1. Iteration 0.
    Verteiler_t v0;
    v0.ende = n_ / 32;
    parallel([&](int) {
        uint64_t von, bis;
        while (v0.holen(von, bis))
            for (uint64_t w = von; w < bis; ++w) {
                uint64_t wort = 0;
                for (int k = 0; k < 32; ++k) wort |= uint64_t(iterationNull(w * 32 + uint64_t(k))) << (2 * k);
                z_[w] = wort;
            }
    });
    zeile("Iteration 0 fertig", 0, false);

    // 2. Captures and promotions.
    Ausbeute_t gesamt;
    Ausbeute_t ausbeute[FAEDEN];
    Verteiler_t v1;
    v1.ende = n_ / 32;
    parallel([&](int t) {
        uint64_t von, bis;
        BbStellung_t b;
        while (!fehlerDa() && v1.holen(von, bis))
            for (uint64_t i = von * 32; i < bis * 32 && !fehlerDa(); ++i) {
                if (zustand(i) != OFFEN) continue;
                b = mat_;
                bbDekodieren(i, b);
                const BbBrett_t brett(b);
                const bool umwandlung = !bbZuegeDurchlaufen(b, brett, [](const BbZug_t& z) {
                    return z.geschlagen < 0 && z.art != BbZugArt::UMWANDLUNG;
                });
                if (!umwandlung) continue;
                const Urteil u = bewerten(b);
                if (u == Urteil::GEWONNEN) {
                    if (uebergang(i, OFFEN, NEU)) ausbeute[t].merken(i);
                } else if (u == Urteil::VERLOREN) {
                    uebergang(i, OFFEN, SCHLECHT);
                }
            }
    });
    if (fehlerDa()) {
        if (fehler_) std::fprintf(fehler_, "%s\n", fehlerText_.load());
        return false;
    }
    for (const Ausbeute_t& a : ausbeute) gesamt.neue += a.neue;
    zeile("1", gesamt.neue, true);

    // 3. Back from every new won position, sweep by sweep over the range
    // that holds them.
    uint64_t von = 0, bis = n_;
    char nummer[24];
    for (int durchgang = 2;; ++durchgang) {
        Ausbeute_t teile[FAEDEN];
        Verteiler_t v;
        v.naechster = von / 32;
        v.ende = (bis + 31) / 32;
        parallel([&](int t) {
            uint64_t a, e;
            while (!fehlerDa() && v.holen(a, e))
                for (uint64_t w = a; w < e && !fehlerDa(); ++w)
                    for (;;) {
                        const uint64_t x = wort(w).load();
                        const uint64_t neu = ~x & ~(x >> 1) & 0x5555555555555555ull;
                        if (!neu) break;
                        const uint64_t f = w * 32 + uint64_t(__builtin_ctzll(neu) / 2);
                        uebergang(f, NEU, GUT);
                        nachbarnPruefen(f, teile[t]);
                    }
        });
        if (fehlerDa()) {
            if (fehler_) std::fprintf(fehler_, "%s\n", fehlerText_.load());
            return false;
        }
        Ausbeute_t summe;
        for (const Ausbeute_t& a : teile) {
            summe.neue += a.neue;
            summe.von = std::min(summe.von, a.von);
            summe.bis = std::max(summe.bis, a.bis);
        }
        std::snprintf(nummer, sizeof(nummer), "%d", durchgang);
        zeile(nummer, summe.neue, true);
        if (summe.neue == 0) break;
        von = summe.von;
        bis = summe.bis;
    }
    return schreiben();
}

} // namespace

std::vector<std::string> bitbaseBenoetigt(const char* name, std::vector<bool>* umwandlung)
{
    std::vector<std::string> namen;
    BbStellung_t m;
    if (!materialLesen(name, m)) return namen;
    // The material without piece `weg` and with piece `neu` turned into
    // type t (either may be -1).
    auto merken = [&](int weg, int neu, int t) {
        const bool istUmwandlung = neu >= 0;
        BbStellung_t c;
        std::memset(&c, 0, sizeof(c));
        int k = 0;
        for (int s = 0; s < 2; ++s) {
            const int anfang = k;
            for (int i = 0; i < m.n; ++i)
                if (m.seiteVon(i) == s && i != weg) c.typ[k++] = uint8_t(i == neu ? t : m.typ[i]);
            c.anzahl[s] = k - anfang;
            seiteSortieren(c.typ + anfang, c.feld + anfang, c.anzahl[s]);
        }
        materialBenennen(c);
        if (c.anzahl[0] == 1) return;
        for (const std::string& n : namen)
            if (n == c.name) return;
        namen.push_back(c.name);
        if (umwandlung) umwandlung->push_back(istUmwandlung);
    };
    // Promotions first (they come first in the generator's checks), then
    // captures.
    for (int j = 0; j < m.n; ++j) {
        if (m.typ[j] != BAUER) continue;
        for (int t = DAME; t >= SPRINGER; --t)
            for (int opfer = -1; opfer < m.n; ++opfer)
                if (opfer < 0 || (m.seiteVon(opfer) != m.seiteVon(j) && m.typ[opfer] != KOENIG)) merken(opfer, j, t);
    }
    for (int j = 0; j < m.n; ++j)
        if (m.typ[j] != KOENIG) merken(j, -1, 0);
    return namen;
}

std::string bitbaseUmgekehrt(const char* name)
{
    const char* zweiter = std::strchr(name + 1, 'K');
    if (!zweiter) return name;
    return std::string(zweiter) + std::string(name, size_t(zweiter - name));
}

bool bitbaseErzeugen(const char* name, const std::string& verzeichnis, std::FILE* fortschritt, std::FILE* fehler)
{
    BbStellung_t m;
    const char* grund = "";
    if (!materialLesen(name, m, &grund)) {
        if (fehler) std::fprintf(fehler, "invalid material name \"%s\": %s\n", name, grund);
        return false;
    }
    if (m.n == 2) {
        if (fehler) std::fprintf(fehler, "%s: two bare kings need no bitbase\n", name);
        return false;
    }
    Generator g(m, verzeichnis, fortschritt, fehler);
    return g.laufen();
}

int bitbaseWerkzeug(const char* name)
{
    return bitbaseErzeugen(name, ".", stdout, stderr) ? 0 : 1;
}
