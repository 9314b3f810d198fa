#include "chess/spiel.h"

#include "chess/zugdaten.h"
#include "chess/zuggen.h"
#include "chess/zugmachen.h"

bool zugSpielen(Stellung_t& st, Zug z, Stellungsdaten_t& neu, const Stellungsdaten_t& alt)
{
    Zugdaten_t zd;
    if (!zugMachenSuche(st, z, neu, alt, zd)) return false;
    const int art = zugArt(z);
    if (art == BAUER || art == ART_EP || istPromotion(z) || zd.geschlagen) {
        st.historieLaenge = 1;
        st.historie[0] = neu.schluessel;
    } else if (st.historieLaenge <= 100) {
        st.historie[st.historieLaenge++] = neu.schluessel;
    }
    return true;
}

bool materialUngenuegend(const Stellung_t& st)
{
    const Seite_t& w = st.seite[WEISS];
    const Seite_t& b = st.seite[SCHWARZ];
    if (w.anzahl[BAUER] || b.anzahl[BAUER]) return false;
    const int alle = w.anzahl[0] + b.anzahl[0];
    const int leichte = w.anzahl[SPRINGER] + w.anzahl[LAEUFER] + b.anzahl[SPRINGER] + b.anzahl[LAEUFER];
    if (alle == 3 && leichte == 1) return true;
    const int laeufer = w.anzahl[LAEUFER] + b.anzahl[LAEUFER];
    if (alle != 2 + laeufer) return false;
    const Bitboard l = w.bb[LAEUFER] | b.bb[LAEUFER];
    return !(l & HELLE_FELDER) || !(l & DUNKLE_FELDER);
}

int remisTest(const Stellung_t& st, uint64_t schluessel, bool fuenfzigZuege)
{
    if (fuenfzigZuege && st.historieLaenge >= HISTORIE_GROESSE) return REMIS_FUENFZIG;
    if (materialUngenuegend(st)) return REMIS_MATERIAL;
    int gleich = 0;
    for (uint32_t i = 0; i + 1 < st.historieLaenge; ++i)
        if (st.historie[i] == schluessel) ++gleich;
    return gleich > 1 ? REMIS_WIEDERHOLUNG_2 : gleich == 1 ? REMIS_WIEDERHOLUNG : REMIS_KEINS;
}

int varianteBisWiederholung(const Stellung_t& st, uint64_t wurzel, const uint64_t* schluessel, int n)
{
    const uint32_t spiel = st.historieLaenge < uint32_t(HISTORIE_GROESSE) ? st.historieLaenge : HISTORIE_GROESSE;
    for (int i = 0; i < n; ++i) {
        const uint64_t k = schluessel[i];
        bool gesehen = k == wurzel;
        for (uint32_t j = 0; !gesehen && j < spiel; ++j) gesehen = st.historie[j] == k;
        for (int j = 0; !gesehen && j < i; ++j) gesehen = schluessel[j] == k;
        if (gesehen) return i + 1;
    }
    return n;
}

namespace {
// Calls f with every legal move in generation order until f returns false.
template <class F>
void legaleDurchlaufen(Stellung_t& st, const Stellungsdaten_t& d, F f)
{
    Zug roh[MAX_ZUEGE];
    Zug* ende = alleZuege(st, d, roh);
    Stellungsdaten_t kind;
    Zugdaten_t zd;
    for (Zug* p = roh; p != ende; ++p) {
        if (!zugMachenWennLegal(st, *p, kind, d, zd)) continue;
        zugZuruecknehmen(zd);
        if (!f(*p)) return;
    }
}
} // namespace

Zug* legaleZuege(Stellung_t& st, const Stellungsdaten_t& d, Zug* liste)
{
    legaleDurchlaufen(st, d, [&](Zug z) {
        *liste++ = z;
        return true;
    });
    return liste;
}

int legaleZuegeZaehlen(Stellung_t& st, const Stellungsdaten_t& d)
{
    int n = 0;
    legaleDurchlaufen(st, d, [&](Zug) { return ++n, true; });
    return n;
}

bool partieEnde(Stellung_t& st, const Stellungsdaten_t& d, int* ergebnis)
{
    bool zugDa = false;
    legaleDurchlaufen(st, d, [&](Zug) { return zugDa = true, false; });
    if (zugDa) return false;
    if (ergebnis) *ergebnis = !imSchach(st, d) ? 0 : st.amZug == WEISS ? -1 : 1;
    return true;
}

bool zugPseudoLegal(const Stellung_t& st, const Stellungsdaten_t& d, Zug z)
{
    z &= 0xFFFF;
    if (!istZug(z)) return false;
    Zug roh[MAX_ZUEGE];
    Zug* ende = alleZuege(st, d, roh);
    for (Zug* p = roh; p != ende; ++p)
        if (*p == z) return true;
    return false;
}

bool zugLegal(Stellung_t& st, const Stellungsdaten_t& d, Zug z)
{
    if (!zugPseudoLegal(st, d, z)) return false;
    Stellungsdaten_t kind;
    Zugdaten_t zd;
    if (!zugMachenWennLegal(st, z & 0xFFFF, kind, d, zd)) return false;
    zugZuruecknehmen(zd);
    return true;
}
