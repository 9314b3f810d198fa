#include "eval/material_tabelle.h"

#include "eval/material_werte.h"

void MaterialTable::leeren()
{
    for (uint32_t i = 0; i < GROESSE; ++i) eintrag[i] = MaterialEntry{i + 1, {0, 0}, 0, 0, PackedScore()};
}

int32_t materialSumme(const Seite_t& s)
{
    return MATERIAL_BAUER[s.anzahl[BAUER]] + MATERIAL_SPRINGER[s.anzahl[SPRINGER]] +
           MATERIAL_LAEUFER[s.anzahl[LAEUFER]] + MATERIAL_TURM[s.anzahl[TURM]] + MATERIAL_DAME[s.anzahl[DAME]];
}

int32_t materialBilanz(int32_t summeWeiss, int32_t summeSchwarz, int bauernWeiss, int bauernSchwarz)
{
    return materialBilanz(BW, summeWeiss, summeSchwarz, bauernWeiss, bauernSchwarz);
}

void materialEintragBerechnen(const Stellung_t& st, uint64_t schluessel, MaterialEntry& e)
{
    materialEintragBerechnen(BW, st, schluessel, e);
}
