#pragma once
#include <cstdint>

#include "chess/stellung.h"
#include "eval/bewertungstabellen.h"
#include "eval/packed_score.h"
#include "eval/zahlen.h"

// What the evaluation needs from the material alone: both sides' material
// sums, the game phase, the material balance and the imbalance terms. Cached
// per search thread under the material key.
template <class P, class Z>
struct MaterialEintrag {
    uint64_t schluessel;       // material key; a hit needs equality
    Z summe[2];                // material sum of White and of Black
    Z phase;                   // 0 (endgame) .. 256 (middlegame)
    Z bilanz;                  // White minus Black after the trade-down correction
    P ungleichgewicht;
};
using MaterialEntry = MaterialEintrag<PackedScore, int32_t>;
static_assert(sizeof(MaterialEntry) == 32);

struct MaterialTable {
    static constexpr uint32_t GROESSE = 4096;
    MaterialEntry eintrag[GROESSE];

    MaterialTable() { leeren(); }
    // Marks every entry as empty (a key that cannot hash to its own slot).
    void leeren();
};
static_assert(sizeof(MaterialTable) == 131072);

// Material sum of one side: cumulative values by the count of each type.
template <class T>
typename T::Zahl materialSumme(const T& tab, const Seite_t& s)
{
    return tab.material[BAUER][s.anzahl[BAUER]] + tab.material[SPRINGER][s.anzahl[SPRINGER]] +
           tab.material[LAEUFER][s.anzahl[LAEUFER]] + tab.material[TURM][s.anzahl[TURM]] +
           tab.material[DAME][s.anzahl[DAME]];
}

// Phase from the sum of both sides' material: 0 at 25000 and below, 256 from
// 42016 on.
template <class Z>
Z phaseAusMaterial(const Z& summeBeide)
{
    Z p = ((summeBeide - 25000) * 986) / 65536;
    if (p < 0) return Z{};
    if (p > 256) return Z(256);
    return p;
}

// The balance: the difference d, corrected so that trading pieces down helps
// the side ahead and trading pawns helps the side behind.
template <class T, class Z = typename T::Zahl>
Z materialBilanz(const T& tab, const Z& summeWeiss, const Z& summeSchwarz, int bauernWeiss, int bauernSchwarz)
{
    const Z d = summeWeiss - summeSchwarz;
    if (d == 0) return Z{};
    const Z faktor = d * tab.abtausch + (tab.material[BAUER][bauernSchwarz] - tab.material[BAUER][bauernWeiss]) * tab.abtauschBauern;
    // The product needs 64 bits.
    return d + Z(breit(faktor) * (25000 - (summeWeiss + summeSchwarz)) / (int64_t(1) << 28));
}

// Rooks and queens against minor pieces, rooks beside queens, pawns beside
// queens, and the bishop pair, for White minus Black.
template <class T>
typename T::Paar ungleichgewicht(const T& tab, const Seite_t& w, const Seite_t& b)
{
    typename T::Paar u{};
    u += (tab.turmGegenSpringer[b.anzahl[SPRINGER]] + tab.turmGegenLaeufer[b.anzahl[LAEUFER]]) * w.anzahl[TURM];
    u -= (tab.turmGegenSpringer[w.anzahl[SPRINGER]] + tab.turmGegenLaeufer[w.anzahl[LAEUFER]]) * b.anzahl[TURM];
    u += (tab.dameGegenSpringer[b.anzahl[SPRINGER]] + tab.dameGegenLaeufer[b.anzahl[LAEUFER]]) * w.anzahl[DAME];
    u -= (tab.dameGegenSpringer[w.anzahl[SPRINGER]] + tab.dameGegenLaeufer[w.anzahl[LAEUFER]]) * b.anzahl[DAME];
    u += tab.tuermeBeiDame[w.anzahl[TURM]] * w.anzahl[DAME];
    u -= tab.tuermeBeiDame[b.anzahl[TURM]] * b.anzahl[DAME];
    u += tab.bauernBeiDame[w.anzahl[BAUER]] * w.anzahl[DAME];
    u -= tab.bauernBeiDame[b.anzahl[BAUER]] * b.anzahl[DAME];
    if (w.anzahl[LAEUFER] >= 2) u += tab.laeuferpaar;
    if (b.anzahl[LAEUFER] >= 2) u -= tab.laeuferpaar;
    return u;
}

template <class T, class E>
void materialEintragBerechnen(const T& tab, const Stellung_t& st, uint64_t schluessel, E& e)
{
    const Seite_t& w = st.seite[WEISS];
    const Seite_t& b = st.seite[SCHWARZ];
    e.schluessel = schluessel;
    e.summe[WEISS] = materialSumme(tab, w);
    e.summe[SCHWARZ] = materialSumme(tab, b);
    e.phase = phaseAusMaterial(e.summe[WEISS] + e.summe[SCHWARZ]);
    e.bilanz = materialBilanz(tab, e.summe[WEISS], e.summe[SCHWARZ], w.anzahl[BAUER], b.anzahl[BAUER]);
    e.ungleichgewicht = ungleichgewicht(tab, w, b);
}

// The same with the engine's current weights.
int32_t materialBilanz(int32_t summeWeiss, int32_t summeSchwarz, int bauernWeiss, int bauernSchwarz);
void materialEintragBerechnen(const Stellung_t& st, uint64_t schluessel, MaterialEntry& e);

// Material sum of one side with the built-in values (the endgame
// recognisers, whose scores are not weights).
int32_t materialSumme(const Seite_t& s);

inline const MaterialEntry& materialEintrag(MaterialTable& t, const Stellung_t& st, uint64_t schluessel)
{
    MaterialEntry& e = t.eintrag[schluessel % MaterialTable::GROESSE];
    if (e.schluessel != schluessel) materialEintragBerechnen(st, schluessel, e);
    return e;
}
