#pragma once
#include "bitbase/brett.h"
#include "bitbase/material.h"

// Pseudo-legal moves of the side to move of a bitbase position (moves that
// may leave the own king attacked). No castling: bitbase positions have no
// castling rights.

enum class BbZugArt { RUHIG, DOPPELSCHRITT, UMWANDLUNG, EN_PASSANT };

struct BbZug_t {
    int figur;    // list position of the moving piece
    int von, nach;
    int geschlagen; // list position of the captured piece, -1 none
    BbZugArt art;
};

// Calls f(const BbZug_t&) for every move until f returns false; returns
// false when it was stopped.
template <class F>
bool bbZuegeDurchlaufen(const BbStellung_t& b, const BbBrett_t& brett, F f)
{
    const int s = b.amZug, g = s ^ 1;
    auto opfer = [&](int sq) {
        for (int j = 0; j < b.n; ++j)
            if (b.feld[j] == sq && b.seiteVon(j) == g) return j;
        return -1;
    };
    const int anfang = s == 0 ? 0 : b.anzahl[0], ende = s == 0 ? b.anzahl[0] : b.n;
    for (int j = anfang; j < ende; ++j) {
        const int von = b.feld[j];
        if (b.typ[j] != BAUER) {
            for (Bitboard z = brett.angriffeVon(j, brett.belegt) & ~brett.seite[s]; z;) {
                const int nach = popLsb(z);
                const int c = (brett.seite[g] & bit(nach)) ? opfer(nach) : -1;
                if (!f(BbZug_t{j, von, nach, c, BbZugArt::RUHIG})) return false;
            }
            continue;
        }
        // Pawns of side 0 move towards row 0.
        const int vor = s == 0 ? -8 : 8;
        const int letzteReihe = s == 0 ? 0 : 7;
        const int start = s == 0 ? 6 : 1;
        const int nach1 = von + vor;
        if (!(brett.belegt & bit(nach1))) {
            const BbZugArt art = rowOf(nach1) == letzteReihe ? BbZugArt::UMWANDLUNG : BbZugArt::RUHIG;
            if (!f(BbZug_t{j, von, nach1, -1, art})) return false;
            const int nach2 = nach1 + vor;
            if (rowOf(von) == start && !(brett.belegt & bit(nach2)) &&
                !f(BbZug_t{j, von, nach2, -1, BbZugArt::DOPPELSCHRITT}))
                return false;
        }
        for (Bitboard z = AT.bauer[s][von] & brett.seite[g]; z;) {
            const int nach = popLsb(z);
            const BbZugArt art = rowOf(nach) == letzteReihe ? BbZugArt::UMWANDLUNG : BbZugArt::RUHIG;
            if (!f(BbZug_t{j, von, nach, opfer(nach), art})) return false;
        }
        if (b.ep > 0 && (AT.bauer[s][von] & bit(b.ep)) && !f(BbZug_t{j, von, b.ep, opfer(b.ep - vor), BbZugArt::EN_PASSANT}))
            return false;
    }
    return true;
}

// Does the move leave the mover's king unattacked?
inline bool bbZugLegal(const BbStellung_t& b, const BbBrett_t& brett, const BbZug_t& z)
{
    const int s = b.amZug;
    Bitboard belegt = (brett.belegt ^ bit(z.von)) | bit(z.nach);
    if (z.art == BbZugArt::EN_PASSANT && z.geschlagen >= 0) belegt ^= bit(b.feld[z.geschlagen]);
    const int koenig = b.typ[z.figur] == KOENIG ? z.nach : brett.koenig[s];
    return !brett.angegriffen(koenig, s ^ 1, belegt, z.geschlagen);
}
