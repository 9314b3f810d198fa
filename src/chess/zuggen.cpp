#include "chess/zuggen.h"

#include "chess/attacks.h"

namespace {

inline Zug* ziele(Zug* l, int von, Bitboard z, int art)
{
    while (z) *l++ = zugBauen(von, popLsb(z), art);
    return l;
}

inline Zug* promotionen(Zug* l, int von, int nach)
{
    *l++ = zugBauen(von, nach, ART_PROMO_DAME);
    *l++ = zugBauen(von, nach, ART_PROMO_TURM);
    *l++ = zugBauen(von, nach, ART_PROMO_LAEUFER);
    *l++ = zugBauen(von, nach, ART_PROMO_SPRINGER);
    return l;
}

// Direction helpers for side S: "vor" is one step towards the enemy.
template <int S> constexpr Bitboard vor(Bitboard b) { return S == WEISS ? schrittNord(b) : schrittSued(b); }
template <int S> constexpr int VOR = S == WEISS ? -8 : 8;
// Captures towards the a-file and towards the h-file.
template <int S> constexpr int SCHLAG_A = S == WEISS ? -9 : 7;
template <int S> constexpr int SCHLAG_H = S == WEISS ? -7 : 9;
template <int S> constexpr Bitboard LETZTE_REIHE = S == WEISS ? rowMask(0) : rowMask(7);
template <int S> constexpr Bitboard DOPPEL_REIHE = S == WEISS ? rowMask(4) : rowMask(3); // destination of a double step
template <int S> constexpr Bitboard SIEBTE_REIHE = S == WEISS ? rowMask(1) : rowMask(6);

// Pawn moves in the fixed order: captures towards the a-file, captures
// towards the h-file (promotions as queen, rook, bishop, knight), push
// promotions, double steps, single steps. schlagZiel limits captures,
// zugZiel limits pushes.
template <int S>
Zug* bauernZuege(Zug* l, Bitboard bauern, Bitboard schlagZiel, Bitboard zugZiel, Bitboard frei)
{
    Bitboard z = vor<S>(schrittA(bauern)) & schlagZiel;
    while (z) {
        int nach = popLsb(z);
        if (bit(nach) & LETZTE_REIHE<S>) l = promotionen(l, nach - SCHLAG_A<S>, nach);
        else *l++ = zugBauen(nach - SCHLAG_A<S>, nach, BAUER);
    }
    z = vor<S>(schrittH(bauern)) & schlagZiel;
    while (z) {
        int nach = popLsb(z);
        if (bit(nach) & LETZTE_REIHE<S>) l = promotionen(l, nach - SCHLAG_H<S>, nach);
        else *l++ = zugBauen(nach - SCHLAG_H<S>, nach, BAUER);
    }
    const Bitboard einfach = vor<S>(bauern) & frei;
    z = einfach & zugZiel & LETZTE_REIHE<S>;
    while (z) {
        int nach = popLsb(z);
        l = promotionen(l, nach - VOR<S>, nach);
    }
    z = vor<S>(einfach) & frei & zugZiel & DOPPEL_REIHE<S>;
    while (z) {
        int nach = popLsb(z);
        *l++ = zugBauen(nach - 2 * VOR<S>, nach, BAUER);
    }
    z = einfach & zugZiel & ~LETZTE_REIHE<S>;
    while (z) {
        int nach = popLsb(z);
        *l++ = zugBauen(nach - VOR<S>, nach, BAUER);
    }
    return l;
}

inline Zug* epSchlaege(const Stellung_t& st, Zug* l, Bitboard bauern)
{
    if (!st.ep) return l;
    Bitboard von = AT.bauer[st.amZug ^ 1][st.ep] & bauern;
    while (von) *l++ = zugBauen(popLsb(von), st.ep, ART_EP);
    return l;
}

Zug* rochaden(const Stellung_t& st, const Stellungsdaten_t& d, Zug* l)
{
    const int s = st.amZug;
    const Seite_t& ss = st.seite[s];
    const Bitboard angegriffen = d.angriffe[s].angegriffen;
    const int k = ss.koenig;
    const int grund = s == WEISS ? 56 : 0;
    for (int lang = 0; lang < 2; ++lang) {
        uint8_t recht = s == WEISS ? (lang ? RECHT_WEISS_LANG : RECHT_WEISS_KURZ)
                                   : (lang ? RECHT_SCHWARZ_LANG : RECHT_SCHWARZ_KURZ);
        if (!(st.rochade & recht)) continue;
        const int turm = lang ? ss.turmLang : ss.turmKurz;
        if (!(ss.bb[TURM] & bit(turm))) continue;
        const int kNach = grund + (lang ? 2 : 6);
        const int tNach = grund + (lang ? 3 : 5);
        const Bitboard weg = AT.zwischen[k][kNach] | bit(k) | bit(kNach);
        if (weg & angegriffen) continue;
        const Bitboard leer = (AT.zwischen[turm][tNach] | bit(tNach) | weg) & ~(bit(k) | bit(turm));
        if (leer & d.belegt) continue;
        *l++ = zugBauen(k, kNach, ART_ROCHADE);
    }
    return l;
}

template <int S>
Zug* alleZuegeSeite(const Stellung_t& st, const Stellungsdaten_t& d, Zug* l)
{
    const Seite_t& ss = st.seite[S];
    const Bitboard frei = ~d.belegt;
    const Bitboard nichtEigen = ~ss.bb[0];
    l = bauernZuege<S>(l, ss.bb[BAUER], st.seite[S ^ 1].bb[0], ~Bitboard(0), frei);
    l = epSchlaege(st, l, ss.bb[BAUER]);
    for (int i = 0; i < ss.anzahl[SPRINGER]; ++i) {
        int sq = ss.liste[SPRINGER - 1][i];
        l = ziele(l, sq, AT.springer[sq] & nichtEigen, SPRINGER);
    }
    for (int i = 0; i < ss.anzahl[LAEUFER]; ++i) {
        int sq = ss.liste[LAEUFER - 1][i];
        l = ziele(l, sq, laeuferAngriffe(sq, d.belegt) & nichtEigen, LAEUFER);
    }
    for (int i = 0; i < ss.anzahl[TURM]; ++i) {
        int sq = ss.liste[TURM - 1][i];
        l = ziele(l, sq, turmAngriffe(sq, d.belegt) & nichtEigen, TURM);
    }
    for (int i = 0; i < ss.anzahl[DAME]; ++i) {
        int sq = ss.liste[DAME - 1][i];
        l = ziele(l, sq, dameAngriffe(sq, d.belegt) & nichtEigen, DAME);
    }
    l = ziele(l, ss.koenig, AT.koenig[ss.koenig] & nichtEigen & ~d.angriffe[S].angegriffen, KOENIG);
    if (st.rochade & RECHTE_DER_SEITE[S]) l = rochaden(st, d, l);
    return l;
}

template <int S>
Zug* ausweichZuegeSeite(const Stellung_t& st, const Stellungsdaten_t& d, Zug* l)
{
    const Seite_t& ss = st.seite[S];
    const Seite_t& gs = st.seite[S ^ 1];
    const Angriffe_t& a = d.angriffe[S];
    const int k = ss.koenig;

    // Sliders giving check forbid their whole line to the king, also the
    // square behind it that the king itself hides from them.
    const Bitboard gerade = turmAngriffe(k, d.belegt) & (gs.bb[TURM] | gs.bb[DAME]);
    const Bitboard diagonal = laeuferAngriffe(k, d.belegt) & (gs.bb[LAEUFER] | gs.bb[DAME]);
    Bitboard verboten = a.angegriffen;
    for (Bitboard b = gerade | diagonal; b;) {
        int c = popLsb(b);
        verboten |= AT.linieDurch[k][c] & ~bit(c);
    }
    l = ziele(l, k, AT.koenig[k] & ~ss.bb[0] & ~verboten, KOENIG);

    const Bitboard schachgeber =
        gerade | diagonal | (AT.springer[k] & gs.bb[SPRINGER]) | (AT.bauer[S][k] & gs.bb[BAUER]);
    if (!schachgeber || mehrAlsEins(schachgeber)) return l;
    const int c = lsb(schachgeber);
    const Bitboard ziel = bit(c) | AT.zwischen[k][c];

    // The pawn that has just made a double step may be taken en passant.
    // The capture also helps when its destination blocks a slider's check
    // (only in a set-up position, but the answer must still be right).
    if (st.ep && (c == st.ep - VOR<S> || (ziel & bit(st.ep)))) l = epSchlaege(st, l, ss.bb[BAUER]);

    const Bitboard frei = ~d.belegt;
    const Bitboard beweglich = ~a.gefesselt;
    l = bauernZuege<S>(l, ss.bb[BAUER] & beweglich, gs.bb[0] & ziel, ziel, frei);
    for (int i = 0; i < ss.anzahl[SPRINGER]; ++i) {
        int sq = ss.liste[SPRINGER - 1][i];
        if (bit(sq) & beweglich) l = ziele(l, sq, AT.springer[sq] & ziel, SPRINGER);
    }
    for (int i = 0; i < ss.anzahl[LAEUFER]; ++i) {
        int sq = ss.liste[LAEUFER - 1][i];
        if (bit(sq) & beweglich) l = ziele(l, sq, laeuferAngriffe(sq, d.belegt) & ziel, LAEUFER);
    }
    for (int i = 0; i < ss.anzahl[DAME]; ++i) {
        int sq = ss.liste[DAME - 1][i];
        if (bit(sq) & beweglich) l = ziele(l, sq, laeuferAngriffe(sq, d.belegt) & ziel, DAME);
    }
    for (int i = 0; i < ss.anzahl[TURM]; ++i) {
        int sq = ss.liste[TURM - 1][i];
        if (bit(sq) & beweglich) l = ziele(l, sq, turmAngriffe(sq, d.belegt) & ziel, TURM);
    }
    for (int i = 0; i < ss.anzahl[DAME]; ++i) {
        int sq = ss.liste[DAME - 1][i];
        if (bit(sq) & beweglich) l = ziele(l, sq, turmAngriffe(sq, d.belegt) & ziel, DAME);
    }
    return l;
}

inline bool schonDa(const Zug* anfang, const Zug* ende, Zug z)
{
    for (const Zug* p = anfang; p != ende; ++p)
        if (*p == z) return true;
    return false;
}

inline Zug* zielOhneDoppel(Zug* anfang, Zug* l, int von, Bitboard z, int art)
{
    while (z) {
        Zug m = zugBauen(von, popLsb(z), art);
        if (!schonDa(anfang, l, m)) *l++ = m;
    }
    return l;
}

template <int S>
Zug* ruheZuegeSeite(const Stellung_t& st, const Stellungsdaten_t& d, Bitboard maske, int modus, Zug* l)
{
    Zug* const anfang = l;
    const Seite_t& ss = st.seite[S];
    const Seite_t& gs = st.seite[S ^ 1];
    const Angriffe_t& gegenMich = d.angriffe[S];   // what the enemy attacks
    const Angriffe_t& meine = d.angriffe[S ^ 1];   // what I attack
    const Bitboard frei = ~d.belegt;
    const Bitboard gegner = gs.bb[0];
    const int ek = gs.koenig;
    const Bitboard bauern = ss.bb[BAUER];

    // 1. Pawn captures of wanted pieces, of pieces on checking squares or on
    // the last rank; promotions only to a queen; en passant into the mask.
    const Bitboard bauerSchach = AT.bauer[S ^ 1][ek];
    const Bitboard schlagZiel = gegner & (maske | bauerSchach | LETZTE_REIHE<S>);
    Bitboard z = vor<S>(schrittA(bauern)) & schlagZiel;
    while (z) {
        int nach = popLsb(z);
        *l++ = zugBauen(nach - SCHLAG_A<S>, nach, (bit(nach) & LETZTE_REIHE<S>) ? ART_PROMO_DAME : BAUER);
    }
    z = vor<S>(schrittH(bauern)) & schlagZiel;
    while (z) {
        int nach = popLsb(z);
        *l++ = zugBauen(nach - SCHLAG_H<S>, nach, (bit(nach) & LETZTE_REIHE<S>) ? ART_PROMO_DAME : BAUER);
    }
    const Bitboard einfach = vor<S>(bauern) & frei;
    z = einfach & LETZTE_REIHE<S>;
    while (z) {
        int nach = popLsb(z);
        *l++ = zugBauen(nach - VOR<S>, nach, ART_PROMO_DAME);
    }
    if (st.ep && (maske & bit(st.ep))) l = epSchlaege(st, l, bauern);

    // 2. Quiet pawn checks onto safe squares; in mode 2 every push to the
    // seventh rank as well.
    if (modus >= 1) {
        const Bitboard sicher = ~gegenMich.doppelt | meine.bauern | meine.doppelt;
        Bitboard ein = einfach & ~LETZTE_REIHE<S> & bauerSchach & sicher;
        Bitboard doppel = vor<S>(einfach) & frei & DOPPEL_REIHE<S> & bauerSchach & sicher;
        while (ein) {
            int nach = popLsb(ein);
            *l++ = zugBauen(nach - VOR<S>, nach, BAUER);
        }
        while (doppel) {
            int nach = popLsb(doppel);
            *l++ = zugBauen(nach - 2 * VOR<S>, nach, BAUER);
        }
        if (modus == 2) {
            Bitboard sieben = einfach & SIEBTE_REIHE<S> & ~(bauerSchach & sicher);
            while (sieben) {
                int nach = popLsb(sieben);
                *l++ = zugBauen(nach - VOR<S>, nach, BAUER);
            }
        }
    }

    // 3. Pieces: captures of wanted pieces, checks that capture, and with
    // modes 1 and 2 quiet checks onto safe squares.
    const Bitboard ruhigSicher = modus >= 1 ? frei & ~gegenMich.bauern & (~gegenMich.angegriffen | meine.doppelt) : 0;
    const Bitboard gewollt = maske & gegner;
    const Bitboard springerSchach = AT.springer[ek];
    const Bitboard laeuferSchach = laeuferAngriffe(ek, d.belegt);
    const Bitboard turmSchach = turmAngriffe(ek, d.belegt);
    auto schachZiele = [&](Bitboard felder) { return gewollt | (felder & (gegner | ruhigSicher)); };
    const Bitboard zs = schachZiele(springerSchach);
    for (int i = 0; i < ss.anzahl[SPRINGER]; ++i) {
        int sq = ss.liste[SPRINGER - 1][i];
        l = ziele(l, sq, AT.springer[sq] & zs, SPRINGER);
    }
    const Bitboard zl = schachZiele(laeuferSchach);
    for (int i = 0; i < ss.anzahl[LAEUFER]; ++i) {
        int sq = ss.liste[LAEUFER - 1][i];
        l = ziele(l, sq, laeuferAngriffe(sq, d.belegt) & zl, LAEUFER);
    }
    const Bitboard zt = schachZiele(turmSchach);
    for (int i = 0; i < ss.anzahl[TURM]; ++i) {
        int sq = ss.liste[TURM - 1][i];
        l = ziele(l, sq, turmAngriffe(sq, d.belegt) & zt, TURM);
    }
    const Bitboard zd = schachZiele(laeuferSchach | turmSchach);
    for (int i = 0; i < ss.anzahl[DAME]; ++i) {
        int sq = ss.liste[DAME - 1][i];
        l = ziele(l, sq, dameAngriffe(sq, d.belegt) & zd, DAME);
    }

    // 4. King captures of wanted pieces that are not defended.
    l = ziele(l, ss.koenig, AT.koenig[ss.koenig] & gewollt & ~gegenMich.angegriffen, KOENIG);

    // 5. Discovered checks: a piece alone between an own slider and the
    // enemy king gives check by leaving the line.
    Bitboard schieber = (AT.turmLeer[ek] & (ss.bb[TURM] | ss.bb[DAME])) |
                        (AT.laeuferLeer[ek] & (ss.bb[LAEUFER] | ss.bb[DAME]));
    while (schieber) {
        const int sl = popLsb(schieber);
        const Bitboard dazwischen = AT.zwischen[ek][sl] & d.belegt;
        if (!dazwischen || mehrAlsEins(dazwischen) || !(dazwischen & ss.bb[0])) continue;
        const int b = lsb(dazwischen);
        const Bitboard weg = ~AT.linieDurch[ek][sl] & ~ss.bb[0];
        const Bitboard erlaubt = modus == 0 ? gegner : ~Bitboard(0);
        const int t = st.typAuf(S, b);
        switch (t) {
        case BAUER: {
            Bitboard schl = AT.bauer[S][b] & gegner & weg;
            Bitboard schub = 0;
            if (modus != 0) {
                Bitboard e = vor<S>(bit(b)) & frei;
                schub = (e | (vor<S>(e) & frei & DOPPEL_REIHE<S>)) & weg;
            }
            for (Bitboard zz = schl | schub; zz;) {
                int nach = popLsb(zz);
                int art = (bit(nach) & LETZTE_REIHE<S>) ? ART_PROMO_DAME : BAUER;
                Zug m = zugBauen(b, nach, art);
                if (!schonDa(anfang, l, m)) *l++ = m;
            }
            break;
        }
        case SPRINGER: l = zielOhneDoppel(anfang, l, b, AT.springer[b] & weg & erlaubt, SPRINGER); break;
        case LAEUFER: l = zielOhneDoppel(anfang, l, b, laeuferAngriffe(b, d.belegt) & weg & erlaubt, LAEUFER); break;
        case TURM: l = zielOhneDoppel(anfang, l, b, turmAngriffe(b, d.belegt) & weg & erlaubt, TURM); break;
        case DAME: l = zielOhneDoppel(anfang, l, b, dameAngriffe(b, d.belegt) & weg & erlaubt, DAME); break;
        case KOENIG:
            l = zielOhneDoppel(anfang, l, b, AT.koenig[b] & weg & erlaubt & ~gegenMich.angegriffen, KOENIG);
            break;
        default: break;
        }
    }
    return l;
}

} // namespace

Zug* ausweichZuege(const Stellung_t& st, const Stellungsdaten_t& d, Zug* liste)
{
    return st.amZug == WEISS ? ausweichZuegeSeite<WEISS>(st, d, liste) : ausweichZuegeSeite<SCHWARZ>(st, d, liste);
}

Zug* alleZuege(const Stellung_t& st, const Stellungsdaten_t& d, Zug* liste)
{
    if (imSchach(st, d)) return ausweichZuege(st, d, liste);
    return st.amZug == WEISS ? alleZuegeSeite<WEISS>(st, d, liste) : alleZuegeSeite<SCHWARZ>(st, d, liste);
}

Zug* ruheZuege(const Stellung_t& st, const Stellungsdaten_t& d, Bitboard schlagMaske, int schachModus, Zug* liste)
{
    if (imSchach(st, d)) return ausweichZuege(st, d, liste);
    return st.amZug == WEISS ? ruheZuegeSeite<WEISS>(st, d, schlagMaske, schachModus, liste)
                             : ruheZuegeSeite<SCHWARZ>(st, d, schlagMaske, schachModus, liste);
}
