#include "eval/bauern_tabelle.h"

#include "eval/bauern_struktur.h"
#include "eval/bewertungstabellen.h"

void PawnTable::leeren()
{
    for (uint32_t i = 0; i < GROESSE; ++i) {
        eintrag[i] = PawnEntry{};
        eintrag[i].schluessel = i + 1;
    }
}

void bauernEintragBerechnen(uint64_t schluessel, Bitboard weiss, Bitboard schwarz, PawnEntry& e)
{
    bauernEintragBerechnen(BW, schluessel, weiss, schwarz, e);
}
