#include "chess/stellung.h"

#include <cstring>

#include "chess/attacks.h"
#include "chess/keys.h"

bool seiteValidieren(Seite_t& s)
{
    for (int t = BAUER; t <= KOENIG; ++t) {
        int n = popcount(s.bb[t]);
        if (n > MAX_ANZAHL[t]) return false;
        s.anzahl[t] = uint8_t(n);
    }
    int alle = popcount(s.bb[0]);
    if (alle > MAX_ANZAHL[0] || s.anzahl[KOENIG] != 1) return false;
    s.anzahl[0] = uint8_t(alle);
    for (int t = BAUER; t <= DAME; ++t) {
        int i = 0;
        for (Bitboard b = s.bb[t]; b;) s.liste[t - 1][i++] = uint8_t(popLsb(b));
        for (; i < 10; ++i) s.liste[t - 1][i] = 0;
    }
    s.koenig = uint8_t(lsb(s.bb[KOENIG]));
    return true;
}

uint64_t schluesselBerechnen(const Stellung_t& st)
{
    uint64_t k = 0;
    for (int s = 0; s < 2; ++s)
        for (int t = BAUER; t <= KOENIG; ++t)
            for (Bitboard b = st.seite[s].bb[t]; b;) k ^= figurSchluessel(s, t, popLsb(b));
    k ^= rochadeSchluessel(st.rochade);
    k ^= epSchluessel(st.ep);
    if (st.amZug == SCHWARZ) k ^= SEITEN_SCHLUESSEL;
    return k;
}

uint64_t bauernSchluesselBerechnen(const Stellung_t& st)
{
    uint64_t k = 0;
    for (int s = 0; s < 2; ++s)
        for (Bitboard b = st.seite[s].bb[BAUER]; b;) k ^= figurSchluessel(s, BAUER, popLsb(b));
    return k;
}

uint64_t materialSchluesselBerechnen(const Stellung_t& st)
{
    uint64_t k = 0;
    for (int s = 0; s < 2; ++s)
        for (int t = BAUER; t <= DAME; ++t) k += materialZuwachs(s, t) * popcount(st.seite[s].bb[t]);
    if (laeuferKlasse(st.seite[WEISS].bb[LAEUFER], st.seite[SCHWARZ].bb[LAEUFER]) == 1) k += UNGLEICHE_LAEUFER;
    return k;
}

void datenBerechnen(const Stellung_t& st, Stellungsdaten_t& d)
{
    d.belegt = st.belegt();
    d.schluessel = schluesselBerechnen(st);
    d.bauernSchluessel = bauernSchluesselBerechnen(st);
    d.materialSchluessel = materialSchluesselBerechnen(st);
    angriffeBerechnen(st, d.belegt, SCHWARZ, d.angriffe[SCHWARZ]);
    angriffeBerechnen(st, d.belegt, WEISS, d.angriffe[WEISS]);
    fesselungenBerechnen(st, d.belegt, WEISS, d.angriffe[WEISS]);
    fesselungenBerechnen(st, d.belegt, SCHWARZ, d.angriffe[SCHWARZ]);
}

namespace {
uint8_t rechteSpiegeln(uint8_t r)
{
    return uint8_t(((r & 3) << 2) | ((r >> 2) & 3));
}

Bitboard bbSpiegeln(Bitboard b)
{
    return __builtin_bswap64(b); // rank mirror: square ^ 56
}
} // namespace

void spiegeln(const Stellung_t& q, Stellung_t& z)
{
    Stellung_t neu;
    std::memset(&neu, 0, sizeof(neu));
    neu.amZug = q.amZug ^ 1;
    neu.ep = q.ep ? uint8_t(q.ep ^ 56) : 0;
    neu.rochade = rechteSpiegeln(q.rochade);
    neu.chess960 = q.chess960;
    neu.buchstabenRochade = q.buchstabenRochade;
    for (int s = 0; s < 2; ++s) {
        const Seite_t& a = q.seite[s];
        Seite_t& b = neu.seite[s ^ 1];
        for (int t = 0; t <= KOENIG; ++t) b.bb[t] = bbSpiegeln(a.bb[t]);
    }
    // The castling rook squares stay as they are: each block keeps its own
    // home rank, and the rook files are shared by both colours.
    for (int s = 0; s < 2; ++s) {
        neu.seite[s].turmLang = q.seite[s].turmLang;
        neu.seite[s].turmKurz = q.seite[s].turmKurz;
        seiteValidieren(neu.seite[s]);
    }
    neu.historieLaenge = 1;
    neu.historie[0] = schluesselBerechnen(neu);
    z = neu;
}

bool invariantenPruefen(const Stellung_t& st, const Stellungsdaten_t* d, const char** fehler)
{
    auto melde = [&](const char* text) {
        if (fehler) *fehler = text;
        return false;
    };
    if (st.amZug != WEISS && st.amZug != SCHWARZ) return melde("side to move");
    if (st.seite[0].bb[0] & st.seite[1].bb[0]) return melde("sides overlap");
    for (int s = 0; s < 2; ++s) {
        const Seite_t& sb = st.seite[s];
        Bitboard vereinigt = 0;
        for (int t = BAUER; t <= KOENIG; ++t) {
            if (vereinigt & sb.bb[t]) return melde("piece bitboards overlap");
            vereinigt |= sb.bb[t];
            if (popcount(sb.bb[t]) != sb.anzahl[t]) return melde("piece count");
        }
        if (vereinigt != sb.bb[0]) return melde("side occupancy");
        if (popcount(sb.bb[0]) != sb.anzahl[0]) return melde("total count");
        if (sb.anzahl[KOENIG] != 1 || sb.bb[KOENIG] != bit(sb.koenig)) return melde("king square");
        for (int t = BAUER; t <= DAME; ++t) {
            Bitboard ausListe = 0;
            for (int i = 0; i < sb.anzahl[t]; ++i) {
                if (sb.liste[t - 1][i] > 63) return melde("list square");
                ausListe |= bit(sb.liste[t - 1][i]);
            }
            if (ausListe != sb.bb[t] || popcount(ausListe) != sb.anzahl[t]) return melde("piece list");
        }
    }
    if (st.historieLaenge < 1 || st.historieLaenge > HISTORIE_GROESSE) return melde("history length");
    if (d) {
        if (d->belegt != st.belegt()) return melde("occupancy");
        if (d->schluessel != schluesselBerechnen(st)) return melde("full key");
        if (d->bauernSchluessel != bauernSchluesselBerechnen(st)) return melde("pawn key");
        if (d->materialSchluessel != materialSchluesselBerechnen(st)) return melde("material key");
    }
    return true;
}
