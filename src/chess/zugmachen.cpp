#include "chess/zugmachen.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>

#include "chess/attacks.h"
#include "chess/keys.h"

#if VELKARIS_CHECKS
namespace {
void invarianteSichern(const Stellung_t& st, const Stellungsdaten_t* d, const char* wo)
{
    const char* fehler = "";
    if (!invariantenPruefen(st, d, &fehler)) {
        std::fprintf(stderr, "position invariant broken after %s: %s\n", wo, fehler);
        std::abort();
    }
}
} // namespace
#define PRUEFEN(st, d, wo) invarianteSichern(st, d, wo)
#else
#define PRUEFEN(st, d, wo) ((void)0)
#endif

namespace {

inline int slotSuchen(const uint8_t* liste, int sq)
{
    int i = 0;
    while (liste[i] != sq) ++i;
    return i;
}

// Takes the piece of type t on sq out of side block s; the last entry of its
// list moves into the freed slot. Returns the slot.
inline int figurEntfernen(Seite_t& s, int t, int sq)
{
    uint8_t* l = s.liste[t - 1];
    int n = --s.anzahl[t];
    int i = slotSuchen(l, sq);
    l[i] = l[n];
    --s.anzahl[0];
    s.bb[t] ^= bit(sq);
    s.bb[0] ^= bit(sq);
    return i;
}

// Reverse of figurEntfernen: the entry in the slot goes back to the end.
inline void figurZurueck(Seite_t& s, int t, int sq, int slot)
{
    uint8_t* l = s.liste[t - 1];
    int n = s.anzahl[t]++;
    l[n] = l[slot];
    l[slot] = uint8_t(sq);
    ++s.anzahl[0];
    s.bb[0] |= bit(sq);
}

inline int geschlagenerTyp(const Seite_t& s, Bitboard b)
{
    for (int t = BAUER; t <= DAME; ++t)
        if (s.bb[t] & b) return t;
    return KEINE;
}

// Moves piece type t of side block ss from `von` to `nach` (from-to mask
// vn): bitboards, king square or list entry. Reversed by zieherZurueck.
inline void zieherVersetzen(Seite_t& ss, int t, int von, int nach, Bitboard vn, Zugdaten_t& zd)
{
    zd.vonNach = vn;
    ss.bb[t] ^= vn;
    ss.bb[0] ^= vn;
    if (t == KOENIG) {
        ss.koenig = uint8_t(nach);
    } else {
        uint8_t* l = ss.liste[t - 1];
        int i = slotSuchen(l, von);
        l[i] = uint8_t(nach);
        zd.slot = uint32_t(i);
    }
}

inline uint64_t ungleicheLaeuferTerm(const Stellung_t& st)
{
    return laeuferKlasse(st.seite[WEISS].bb[LAEUFER], st.seite[SCHWARZ].bb[LAEUFER]) == 1 ? UNGLEICHE_LAEUFER : 0;
}

// Removes a captured piece of side g on sq with its keys and material.
inline void schlagen(Stellung_t& st, int g, int t, int sq, Stellungsdaten_t& neu, Zugdaten_t& zd)
{
    Seite_t& gs = st.seite[g];
    zd.geschlagen = uint32_t(t);
    zd.geschlagenBB = gs.bb[t];
    uint64_t altTerm = t == LAEUFER ? ungleicheLaeuferTerm(st) : 0;
    zd.slotGeschlagen = uint32_t(figurEntfernen(gs, t, sq));
    uint64_t fk = figurSchluessel(g, t, sq);
    neu.schluessel ^= fk;
    if (t == BAUER) neu.bauernSchluessel ^= fk;
    neu.materialSchluessel -= materialZuwachs(g, t);
    if (t == LAEUFER) neu.materialSchluessel += ungleicheLaeuferTerm(st) - altTerm;
}

// A pawn of side s steps or captures from `von` to `nach` (not promoting),
// with its full and pawn keys.
inline void bauerZiehen(Seite_t& ss, int s, int von, int nach, Zug z, Stellungsdaten_t& neu, Zugdaten_t& zd)
{
    zieherVersetzen(ss, BAUER, von, nach, AT.vonNach[z & 0xFFF], zd);
    uint64_t k = figurSchluessel(s, BAUER, von) ^ figurSchluessel(s, BAUER, nach);
    neu.schluessel ^= k;
    neu.bauernSchluessel ^= k;
}

// Puts the captured piece back on sq (the move's destination, except en
// passant).
inline void geschlagenZurueck(Stellung_t& st, const Zugdaten_t& zd, int sq)
{
    Seite_t& gs = st.seite[st.amZug ^ 1];
    int t = int(zd.geschlagen);
    figurZurueck(gs, t, sq, int(zd.slotGeschlagen));
    gs.bb[t] = zd.geschlagenBB;
}

// Castling rights lost by a move from `von` to `nach` of piece type t.
inline uint8_t rechteNachZug(const Stellung_t& st, int s, int t, int von, int nach, int geschlagen)
{
    uint8_t r = st.rochade;
    const Seite_t& ss = st.seite[s];
    if (t == KOENIG) r &= uint8_t(~RECHTE_DER_SEITE[s]);
    else if (t == TURM) {
        if (von == ss.turmKurz) r &= uint8_t(~(s == WEISS ? RECHT_WEISS_KURZ : RECHT_SCHWARZ_KURZ));
        if (von == ss.turmLang) r &= uint8_t(~(s == WEISS ? RECHT_WEISS_LANG : RECHT_SCHWARZ_LANG));
    }
    if (geschlagen == TURM) {
        const Seite_t& gs = st.seite[s ^ 1];
        if (nach == gs.turmKurz) r &= uint8_t(~(s == WEISS ? RECHT_SCHWARZ_KURZ : RECHT_WEISS_KURZ));
        if (nach == gs.turmLang) r &= uint8_t(~(s == WEISS ? RECHT_SCHWARZ_LANG : RECHT_WEISS_LANG));
    }
    return r;
}

inline void rechteSetzen(Stellung_t& st, uint8_t neueRechte, Stellungsdaten_t& neu)
{
    if (st.rochade) {
        neu.schluessel ^= rochadeSchluessel(st.rochade) ^ rochadeSchluessel(neueRechte);
        st.rochade = neueRechte;
    }
}

// ---- undo routines ------------------------------------------------------

// Gives the move back to the side that made it, with the en-passant square
// and castling rights it had.
inline Stellung_t& rueckgabe(Zugdaten_t& zd)
{
    Stellung_t& st = *zd.stellung;
    st.amZug ^= 1;
    st.ep = zd.alterEp;
    st.rochade = zd.alteRochade;
    return st;
}

// Reverse of zieherVersetzen: piece type t goes back to the move's origin.
inline void zieherZuruecksetzen(Seite_t& ss, int t, const Zugdaten_t& zd)
{
    ss.bb[t] ^= zd.vonNach;
    ss.bb[0] ^= zd.vonNach;
    if (t == KOENIG) ss.koenig = uint8_t(zugVon(zd.zug));
    else ss.liste[t - 1][zd.slot] = uint8_t(zugVon(zd.zug));
}

// Puts the moving piece back and restores the saved rights.
inline Stellung_t& zieherZurueck(Zugdaten_t& zd)
{
    Stellung_t& st = rueckgabe(zd);
    zieherZuruecksetzen(st.seite[st.amZug], zugArt(zd.zug), zd);
    return st;
}

void zurueckRuhig(Zugdaten_t& zd)
{
    [[maybe_unused]] Stellung_t& st = zieherZurueck(zd);
    PRUEFEN(st, nullptr, "unmake");
}

void zurueckSchlag(Zugdaten_t& zd)
{
    Stellung_t& st = zieherZurueck(zd);
    geschlagenZurueck(st, zd, zugNach(zd.zug));
    PRUEFEN(st, nullptr, "unmake capture");
}

void zurueckPromotion(Zugdaten_t& zd)
{
    Stellung_t& st = rueckgabe(zd);
    Seite_t& ss = st.seite[st.amZug];
    int von = zugVon(zd.zug), nach = zugNach(zd.zug);
    int p = promotionsFigur(zugArt(zd.zug));
    // The new piece was appended to its list and is its last entry again.
    --ss.anzahl[p];
    ss.bb[p] ^= bit(nach);
    ss.bb[0] ^= bit(nach);
    --ss.anzahl[0];
    figurZurueck(ss, BAUER, von, int(zd.slot));
    ss.bb[BAUER] ^= bit(von);
    if (zd.geschlagen) geschlagenZurueck(st, zd, nach);
    PRUEFEN(st, nullptr, "unmake promotion");
}

void zurueckRochade(Zugdaten_t& zd)
{
    Stellung_t& st = rueckgabe(zd);
    Seite_t& ss = st.seite[st.amZug];
    ss.bb[KOENIG] ^= zd.vonNach;
    ss.bb[TURM] ^= zd.geschlagenBB;
    ss.bb[0] ^= zd.vonNach ^ zd.geschlagenBB;
    ss.koenig = uint8_t(zugVon(zd.zug));
    // The castling rook squares never change, so they tell the rook's origin.
    ss.liste[TURM - 1][zd.slotGeschlagen] = fileOf(zugNach(zd.zug)) == 6 ? ss.turmKurz : ss.turmLang;
    PRUEFEN(st, nullptr, "unmake castling");
}

void zurueckEp(Zugdaten_t& zd)
{
    Stellung_t& st = rueckgabe(zd);
    zieherZuruecksetzen(st.seite[st.amZug], BAUER, zd);
    geschlagenZurueck(st, zd, squareAt(rowOf(zugVon(zd.zug)), fileOf(zugNach(zd.zug))));
    PRUEFEN(st, nullptr, "unmake en passant");
}

} // namespace

void zugMachen(Stellung_t& st, Zug z, Stellungsdaten_t& neu, const Stellungsdaten_t& alt, Zugdaten_t& zd)
{
    const int s = st.amZug, g = s ^ 1;
    const int von = zugVon(z), nach = zugNach(z), art = zugArt(z);
    Seite_t& ss = st.seite[s];
    Seite_t& gs = st.seite[g];

    zd.stellung = &st;
    zd.zug = z & 0xFFFF;
    zd.geschlagen = 0;
    zd.alterEp = st.ep;
    zd.alteRochade = st.rochade;

    neu.schluessel = alt.schluessel ^ SEITEN_SCHLUESSEL ^ epSchluessel(st.ep);
    neu.bauernSchluessel = alt.bauernSchluessel;
    neu.materialSchluessel = alt.materialSchluessel;
    st.ep = 0;

    switch (art) {
    case BAUER: {
        int t = (gs.bb[0] & bit(nach)) ? geschlagenerTyp(gs, bit(nach)) : KEINE;
        if (t) schlagen(st, g, t, nach, neu, zd);
        bauerZiehen(ss, s, von, nach, z, neu, zd);
        // The en-passant square counts only when an enemy pawn could take.
        if ((von ^ nach) == 16 && (AT.bauer[s][(von + nach) >> 1] & gs.bb[BAUER])) {
            st.ep = uint8_t((von + nach) >> 1);
            neu.schluessel ^= epSchluessel(st.ep);
        }
        zd.zurueck = t ? zurueckSchlag : zurueckRuhig;
        break;
    }
    case SPRINGER:
    case LAEUFER:
    case TURM:
    case DAME:
    case KOENIG: {
        int t = (gs.bb[0] & bit(nach)) ? geschlagenerTyp(gs, bit(nach)) : KEINE;
        if (st.rochade) rechteSetzen(st, rechteNachZug(st, s, art, von, nach, t), neu);
        if (t) schlagen(st, g, t, nach, neu, zd);
        zieherVersetzen(ss, art, von, nach, AT.vonNach[z & 0xFFF], zd);
        neu.schluessel ^= figurSchluessel(s, art, von) ^ figurSchluessel(s, art, nach);
        zd.zurueck = t ? zurueckSchlag : zurueckRuhig;
        break;
    }
    case ART_PROMO_SPRINGER:
    case ART_PROMO_LAEUFER:
    case ART_PROMO_TURM:
    case ART_PROMO_DAME: {
        const int p = promotionsFigur(art);
        zd.vonNach = AT.vonNach[z & 0xFFF];
        int t = (gs.bb[0] & bit(nach)) ? geschlagenerTyp(gs, bit(nach)) : KEINE;
        if (st.rochade) rechteSetzen(st, rechteNachZug(st, s, BAUER, von, nach, t), neu);
        if (t) schlagen(st, g, t, nach, neu, zd);
        uint64_t altTerm = p == LAEUFER ? ungleicheLaeuferTerm(st) : 0;
        zd.slot = uint32_t(figurEntfernen(ss, BAUER, von));
        uint64_t bk = figurSchluessel(s, BAUER, von);
        neu.schluessel ^= bk ^ figurSchluessel(s, p, nach);
        neu.bauernSchluessel ^= bk;
        ss.liste[p - 1][ss.anzahl[p]++] = uint8_t(nach);
        ++ss.anzahl[0];
        ss.bb[p] ^= bit(nach);
        ss.bb[0] ^= bit(nach);
        neu.materialSchluessel += materialZuwachs(s, p) - materialZuwachs(s, BAUER);
        if (p == LAEUFER) neu.materialSchluessel += ungleicheLaeuferTerm(st) - altTerm;
        zd.zurueck = zurueckPromotion;
        break;
    }
    case ART_ROCHADE: {
        const bool kurz = fileOf(nach) == 6;
        const int turmVon = kurz ? ss.turmKurz : ss.turmLang;
        const int turmNach = nach + (kurz ? -1 : 1);
        const Bitboard kvn = von != nach ? bit(von) | bit(nach) : 0;
        const Bitboard tvn = turmVon != turmNach ? bit(turmVon) | bit(turmNach) : 0;
        zd.vonNach = kvn;
        zd.geschlagenBB = tvn;
        uint8_t* l = ss.liste[TURM - 1];
        int i = slotSuchen(l, turmVon);
        l[i] = uint8_t(turmNach);
        zd.slotGeschlagen = uint32_t(i);
        ss.bb[KOENIG] ^= kvn;
        ss.bb[TURM] ^= tvn;
        ss.bb[0] ^= kvn ^ tvn;
        ss.koenig = uint8_t(nach);
        neu.schluessel ^= figurSchluessel(s, KOENIG, von) ^ figurSchluessel(s, KOENIG, nach) ^
                          figurSchluessel(s, TURM, turmVon) ^ figurSchluessel(s, TURM, turmNach);
        rechteSetzen(st, uint8_t(st.rochade & ~RECHTE_DER_SEITE[s]), neu);
        zd.zurueck = zurueckRochade;
        break;
    }
    case ART_EP: {
        bauerZiehen(ss, s, von, nach, z, neu, zd);
        schlagen(st, g, BAUER, squareAt(rowOf(von), fileOf(nach)), neu, zd);
        zd.zurueck = zurueckEp;
        break;
    }
    default:
        assert(false && "move kind");
        zd.zurueck = zurueckRuhig;
        break;
    }

    st.amZug = g;
    neu.belegt = st.seite[WEISS].bb[0] | st.seite[SCHWARZ].bb[0];
    PRUEFEN(st, &neu, "make");
}

bool koenigAngegriffen(const Stellung_t& st, int s, Bitboard belegt)
{
    const Seite_t& gs = st.seite[s ^ 1];
    const int k = st.seite[s].koenig;
    return (turmAngriffe(k, belegt) & (gs.bb[TURM] | gs.bb[DAME])) ||
           (laeuferAngriffe(k, belegt) & (gs.bb[LAEUFER] | gs.bb[DAME])) ||
           (AT.springer[k] & gs.bb[SPRINGER]) || (AT.bauer[s][k] & gs.bb[BAUER]) ||
           (AT.koenig[k] & gs.bb[KOENIG]);
}

bool zugMachenWennLegal(Stellung_t& st, Zug z, Stellungsdaten_t& neu, const Stellungsdaten_t& alt, Zugdaten_t& zd)
{
    zugMachen(st, z, neu, alt, zd);
    if (koenigAngegriffen(st, st.amZug ^ 1, neu.belegt)) {
        zugZuruecknehmen(zd);
        return false;
    }
    return true;
}

bool angriffeNachZug(const Stellung_t& st, Stellungsdaten_t& neu)
{
    const int ich = st.amZug ^ 1;
    Angriffe_t& aufMich = neu.angriffe[ich];
    angriffeBerechnen(st, neu.belegt, ich, aufMich);
    if (aufMich.angegriffen & st.seite[ich].bb[KOENIG]) return false;
    fesselungenBerechnen(st, neu.belegt, ich, aufMich);
    angriffeBerechnen(st, neu.belegt, st.amZug, neu.angriffe[st.amZug]);
    fesselungenBerechnen(st, neu.belegt, st.amZug, neu.angriffe[st.amZug]);
    return true;
}

bool zugMachenSuche(Stellung_t& st, Zug z, Stellungsdaten_t& neu, const Stellungsdaten_t& alt, Zugdaten_t& zd)
{
    zugMachen(st, z, neu, alt, zd);
    if (!angriffeNachZug(st, neu)) {
        zugZuruecknehmen(zd);
        return false;
    }
    return true;
}

void nullzugMachen(Stellung_t& st, Stellungsdaten_t& neu, const Stellungsdaten_t& alt)
{
    neu = alt;
    neu.schluessel ^= SEITEN_SCHLUESSEL;
    st.amZug ^= 1;
    if (st.ep) {
        neu.schluessel ^= epSchluessel(st.ep);
        st.ep = 0;
    }
}
