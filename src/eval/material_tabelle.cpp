#include "eval/material_tabelle.h"

#include "eval/eval_tabellen.h"
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

int32_t phaseAusMaterial(int32_t summeBeide)
{
    int32_t p = ((summeBeide - 25000) * 986) / 65536;
    return p < 0 ? 0 : p > 256 ? 256 : p;
}

int32_t materialBilanz(int32_t summeWeiss, int32_t summeSchwarz, int bauernWeiss, int bauernSchwarz)
{
    int32_t d = summeWeiss - summeSchwarz;
    if (d == 0) return 0;
    int32_t faktor = d * 217 + (MATERIAL_BAUER[bauernSchwarz] - MATERIAL_BAUER[bauernWeiss]) * 507;
    int64_t korrektur = int64_t(faktor) * int64_t(25000 - (summeWeiss + summeSchwarz));
    return d + int32_t(korrektur / (int64_t(1) << 28));
}

namespace {

// Rooks and queens against minor pieces, rooks beside queens, pawns beside
// queens, and the bishop pair, for White minus Black.
PackedScore ungleichgewicht(const Seite_t& w, const Seite_t& b)
{
    PackedScore u;
    u += (TURM_GEGEN_SPRINGER[b.anzahl[SPRINGER]] + TURM_GEGEN_LAEUFER[b.anzahl[LAEUFER]]) * w.anzahl[TURM];
    u -= (TURM_GEGEN_SPRINGER[w.anzahl[SPRINGER]] + TURM_GEGEN_LAEUFER[w.anzahl[LAEUFER]]) * b.anzahl[TURM];
    u += (DAME_GEGEN_SPRINGER[b.anzahl[SPRINGER]] + DAME_GEGEN_LAEUFER[b.anzahl[LAEUFER]]) * w.anzahl[DAME];
    u -= (DAME_GEGEN_SPRINGER[w.anzahl[SPRINGER]] + DAME_GEGEN_LAEUFER[w.anzahl[LAEUFER]]) * b.anzahl[DAME];
    u += TUERME_BEI_DAME[w.anzahl[TURM]] * w.anzahl[DAME];
    u -= TUERME_BEI_DAME[b.anzahl[TURM]] * b.anzahl[DAME];
    u += BAUERN_BEI_DAME[w.anzahl[BAUER]] * w.anzahl[DAME];
    u -= BAUERN_BEI_DAME[b.anzahl[BAUER]] * b.anzahl[DAME];
    if (w.anzahl[LAEUFER] >= 2) u += LAEUFERPAAR;
    if (b.anzahl[LAEUFER] >= 2) u -= LAEUFERPAAR;
    return u;
}

} // namespace

void materialEintragBerechnen(const Stellung_t& st, uint64_t schluessel, MaterialEntry& e)
{
    const Seite_t& w = st.seite[WEISS];
    const Seite_t& b = st.seite[SCHWARZ];
    e.schluessel = schluessel;
    e.summe[WEISS] = materialSumme(w);
    e.summe[SCHWARZ] = materialSumme(b);
    e.phase = phaseAusMaterial(e.summe[WEISS] + e.summe[SCHWARZ]);
    e.bilanz = materialBilanz(e.summe[WEISS], e.summe[SCHWARZ], w.anzahl[BAUER], b.anzahl[BAUER]);
    e.ungleichgewicht = ungleichgewicht(w, b);
}
