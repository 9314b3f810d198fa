#include "eval/kbk_tabelle.h"

#include <cstring>
#include <mutex>

#include "chess/attacks.h"
#include "eval/endspiel.h"

uint8_t KbkTabelle[KBK_GROESSE];

namespace {

bool istGewinn(uint8_t t) { return t >= 1 && t < KBK_REMIS; }

// Positions decided on the spot: illegal ones, the captured pawn, stalemate
// and the safe promotion.
void endstellungenEintragen()
{
    for (int i = 0; i < KBK_BAUERNFELDER; ++i) {
        const int p = kbkBauernFeld(i);
        const int vor = p - 8; // the square in front of the pawn
        for (int b = 0; b < 64; ++b) {
            for (int w = 0; w < 64; ++w) {
                uint8_t& schwarzZieht = KbkTabelle[kbkIndex(i, false, b, w)];
                uint8_t& weissZieht = KbkTabelle[kbkIndex(i, true, b, w)];
                if (w == p || w == b || (AT.koenig[b] & bit(w))) {
                    schwarzZieht = weissZieht = KBK_UNMOEGLICH;
                    continue;
                }
                if (b == p) { // Black has just taken the pawn
                    schwarzZieht = KBK_UNMOEGLICH;
                    weissZieht = KBK_REMIS;
                    continue;
                }
                if (AT.bauer[WEISS][p] & bit(b)) weissZieht = KBK_UNMOEGLICH; // Black in check
                // Black stalemated.
                if (!(AT.koenig[b] & ~(AT.koenig[w] | AT.bauer[WEISS][p]))) schwarzZieht = KBK_REMIS;
                const Bitboard koenige = bit(w) | bit(b);
                if (!(AT.koenig[w] & ~(bit(p) | AT.koenig[b])) && (koenige & bit(vor))) {
                    if (weissZieht == KBK_OFFEN) weissZieht = KBK_REMIS; // White stalemated
                } else if (rowOf(p) == 1 && !(koenige & bit(vor)) && weissZieht == KBK_OFFEN) {
                    // The pawn queens and Black cannot take the new queen.
                    if (!(AT.koenig[b] & bit(vor)) || (AT.koenig[w] & bit(vor))) weissZieht = 1;
                }
            }
        }
    }
}

// Black to move: draw if any king move reaches a draw, otherwise a win as
// late as Black can make it once every move is known to lose.
uint8_t schwarzZieht(int i, int b, int w)
{
    uint8_t laengster = 0;
    bool offen = false;
    for (Bitboard ziele = AT.koenig[b]; ziele;) {
        const uint8_t t = KbkTabelle[kbkIndex(i, true, popLsb(ziele), w)];
        if (t == KBK_REMIS) return KBK_REMIS;
        if (t == KBK_OFFEN)
            offen = true;
        else if (t != KBK_UNMOEGLICH && t > laengster)
            laengster = t;
    }
    if (offen) return KBK_OFFEN;
    // Without any legal move Black is stalemated (a lone pawn cannot mate).
    // The stalemate test of the set-up already catches every such case.
    if (laengster == 0) return KBK_REMIS;
    return uint8_t(laengster + 1);
}

// White to move: the first winning move, king moves in ascending order of
// their target squares before the pawn's pushes, decides.
uint8_t weissZieht(int i, int b, int w)
{
    bool offen = false;
    auto pruefen = [&](int index) {
        const uint8_t t = KbkTabelle[index];
        if (t == KBK_OFFEN) offen = true;
        return istGewinn(t) ? uint8_t(t + 1) : uint8_t(0);
    };
    for (Bitboard ziele = AT.koenig[w]; ziele;)
        if (uint8_t t = pruefen(kbkIndex(i, false, b, popLsb(ziele)))) return t;

    const int p = kbkBauernFeld(i);
    const Bitboard koenige = bit(w) | bit(b);
    // A push onto a king gives an impossible entry; the push to the eighth
    // rank is settled by the set-up.
    if (rowOf(p) >= 2)
        if (uint8_t t = pruefen(kbkIndex(kbkBauernIndex(p - 8), false, b, w))) return t;
    // The double step needs the square it passes over to be free as well.
    if (rowOf(p) == 6 && !(koenige & bit(p - 8)))
        if (uint8_t t = pruefen(kbkIndex(kbkBauernIndex(p - 16), false, b, w))) return t;
    return offen ? KBK_OFFEN : KBK_REMIS;
}

void loesen()
{
    tabellenInitialisieren();
    std::memset(KbkTabelle, KBK_OFFEN, sizeof(KbkTabelle));
    endstellungenEintragen();

    // Passes in index order until nothing changes; an entry settled in a
    // pass is already seen by the entries after it.
    bool geaendert = true;
    while (geaendert) {
        geaendert = false;
        for (int index = 0; index < KBK_GROESSE; ++index) {
            if (KbkTabelle[index] != KBK_OFFEN) continue;
            const int i = index >> 13, w = index & 63, b = (index >> 6) & 63;
            const uint8_t t = (index & 4096) ? weissZieht(i, b, w) : schwarzZieht(i, b, w);
            if (t != KBK_OFFEN) {
                KbkTabelle[index] = t;
                geaendert = true;
            }
        }
    }
    // What is still open cannot be forced: a draw.
    for (uint8_t& t : KbkTabelle)
        if (t == KBK_OFFEN) t = KBK_REMIS;
}

} // namespace

void kbkTabelleBauen()
{
    static std::once_flag einmal;
    std::call_once(einmal, loesen);
}
