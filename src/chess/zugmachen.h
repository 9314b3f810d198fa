#pragma once
#include "chess/stellung.h"
#include "chess/zug.h"
#include "chess/zugdaten.h"

// Makes the move without any legality test and without attack records; sets
// occupancy and keys of neu from alt. Undo with zugZuruecknehmen.
void zugMachen(Stellung_t& st, Zug z, Stellungsdaten_t& neu, const Stellungsdaten_t& alt, Zugdaten_t& zd);

inline void zugZuruecknehmen(Zugdaten_t& zd) { zd.zurueck(zd); }

// Makes the move and tests only whether the mover's king is attacked; an
// illegal move is taken back and false returned. No attack records.
bool zugMachenWennLegal(Stellung_t& st, Zug z, Stellungsdaten_t& neu, const Stellungsdaten_t& alt, Zugdaten_t& zd);

// Makes the move and computes both attack records and pins of neu; an
// illegal move is taken back and false returned.
bool zugMachenSuche(Stellung_t& st, Zug z, Stellungsdaten_t& neu, const Stellungsdaten_t& alt, Zugdaten_t& zd);

// The second half of zugMachenSuche for a move made with zugMachen: the
// attack records of neu, false (records incomplete) when the mover's king
// stands attacked. The caller takes the move back in either case.
bool angriffeNachZug(const Stellung_t& st, Stellungsdaten_t& neu);

// Null move: the side to move passes. nullzugZuruecknehmen needs the
// en-passant square the position had before.
void nullzugMachen(Stellung_t& st, Stellungsdaten_t& neu, const Stellungsdaten_t& alt);
inline void nullzugZuruecknehmen(Stellung_t& st, uint8_t altesEp)
{
    st.amZug ^= 1;
    st.ep = altesEp;
}

// True when the king of side s stands attacked in the given occupancy
// (direct look-ups from the king square).
bool koenigAngegriffen(const Stellung_t& st, int s, Bitboard belegt);
