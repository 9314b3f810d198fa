#pragma once
#include "bitbase/material.h"
#include "chess/attacks.h"
#include "chess/bitboard.h"

// The bitboards of a bitbase position, for attack tests and move
// generation. Side 0 is the first-named side, which plays as White.
struct BbBrett_t {
    Bitboard seite[2] = {0, 0};
    Bitboard bauern[2] = {0, 0};
    Bitboard belegt = 0;
    int koenig[2] = {0, 0};
    bool ok = true; // every piece on a square of its own
    const BbStellung_t* b;

    explicit BbBrett_t(const BbStellung_t& st) : b(&st)
    {
        for (int j = 0; j < st.n; ++j) {
            const int s = st.seiteVon(j);
            const Bitboard f = bit(st.feld[j]);
            if (belegt & f) ok = false;
            belegt |= f;
            seite[s] |= f;
            if (st.typ[j] == KOENIG) koenig[s] = st.feld[j];
            else if (st.typ[j] == BAUER) bauern[s] |= f;
        }
    }

    // Squares the piece at list position j attacks with the given occupancy.
    Bitboard angriffeVon(int j, Bitboard bel) const
    {
        const int f = b->feld[j];
        switch (b->typ[j]) {
        case BAUER: return AT.bauer[b->seiteVon(j)][f];
        case SPRINGER: return AT.springer[f];
        case LAEUFER: return laeuferAngriffe(f, bel);
        case TURM: return turmAngriffe(f, bel);
        case DAME: return dameAngriffe(f, bel);
        case KOENIG: return AT.koenig[f];
        default: return 0;
        }
    }

    // Does side s attack sq in the occupancy bel? The piece at list
    // position ohne (just taken) does not count.
    bool angegriffen(int sq, int s, Bitboard bel, int ohne = -1) const
    {
        for (int j = s == 0 ? 0 : b->anzahl[0], e = s == 0 ? b->anzahl[0] : b->n; j < e; ++j)
            if (j != ohne && (angriffeVon(j, bel) & bit(sq))) return true;
        return false;
    }
};
