#include "chess/notation.h"

#include <cstring>

#include "chess/attacks.h"
#include "chess/spiel.h"
#include "chess/zugdaten.h"
#include "chess/zuggen.h"
#include "chess/zugmachen.h"

namespace {

bool istLeer(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int feldLesen(const char* p)
{
    if (p[0] < 'a' || p[0] > 'h' || p[1] < '1' || p[1] > '8') return -1;
    return squareAt('8' - p[1], p[0] - 'a');
}

// English or German piece letter (upper case) -> piece type, else 0.
int figurBuchstabe(char c)
{
    switch (c) {
    case 'N': case 'S': return SPRINGER;
    case 'B': case 'L': return LAEUFER;
    case 'R': case 'T': return TURM;
    case 'Q': case 'D': return DAME;
    case 'K': return KOENIG;
    default: return KEINE;
    }
}

char grossBuchstabe(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

Zug rochadeZug(const Stellung_t& st, bool lang)
{
    const int k = st.seite[st.amZug].koenig;
    const int ziel = (st.amZug == WEISS ? 56 : 0) + (lang ? 2 : 6);
    return zugBauen(k, ziel, ART_ROCHADE);
}

bool beginntMit(const char* p, const char* wort)
{
    return std::strncmp(p, wort, std::strlen(wort)) == 0;
}

} // namespace

void feldSchreiben(int sq, char* puffer)
{
    puffer[0] = char('a' + fileOf(sq));
    puffer[1] = char('0' + rankOf(sq));
    puffer[2] = 0;
}

void zugSchreiben(const Stellung_t& st, Zug z, char* puffer)
{
    const int art = zugArt(z);
    if (art == ART_NULL) {
        std::strcpy(puffer, "0000");
        return;
    }
    const int von = zugVon(z), nach = zugNach(z);
    if (art == ART_ROCHADE && st.chess960) {
        const bool kurz = fileOf(nach) == 6;
        if (!st.buchstabenRochade) {
            std::strcpy(puffer, kurz ? "O-O" : "O-O-O");
            return;
        }
        // The king takes its own rook.
        const int s = rowOf(von) == 7 ? WEISS : SCHWARZ;
        const int turm = kurz ? st.seite[s].turmKurz : st.seite[s].turmLang;
        feldSchreiben(von, puffer);
        feldSchreiben(turm, puffer + 2);
        return;
    }
    feldSchreiben(von, puffer);
    feldSchreiben(nach, puffer + 2);
    if (art >= ART_PROMO_SPRINGER && art <= ART_PROMO_DAME) {
        puffer[4] = "nbrq"[art - ART_PROMO_SPRINGER];
        puffer[5] = 0;
    }
}

Zug koordinatenZugLesen(const Stellung_t& st, const char* p)
{
    while (*p && istLeer(*p)) ++p;
    if (beginntMit(p, "O-O-O") || beginntMit(p, "0-0-0") || beginntMit(p, "o-o-o")) return rochadeZug(st, true);
    if (beginntMit(p, "O-O") || beginntMit(p, "0-0") || beginntMit(p, "o-o")) return rochadeZug(st, false);
    if (!p[0] || !p[1]) return 0;
    const int von = feldLesen(p);
    if (von < 0 || !p[2] || !p[3]) return 0;
    const int nach = feldLesen(p + 2);
    if (nach < 0) return 0;
    const int s = st.amZug;
    const int typ = st.typAuf(s, von);
    if (typ == KEINE) return 0;
    if (typ == BAUER) {
        int promo = figurBuchstabe(grossBuchstabe(p[4]));
        if (promo >= SPRINGER && promo <= DAME) return zugBauen(von, nach, promo + 5);
        if (fileOf(von) != fileOf(nach) && !(st.seite[s ^ 1].bb[0] & bit(nach))) return zugBauen(von, nach, ART_EP);
        return zugBauen(von, nach, BAUER);
    }
    if (typ == KOENIG) {
        const Seite_t& ss = st.seite[s];
        const uint8_t kurzRecht = s == WEISS ? RECHT_WEISS_KURZ : RECHT_SCHWARZ_KURZ;
        const uint8_t langRecht = s == WEISS ? RECHT_WEISS_LANG : RECHT_SCHWARZ_LANG;
        const int e = s == WEISS ? E1 : E8, g = s == WEISS ? G1 : G8, c = s == WEISS ? C1 : C8;
        if ((st.rochade & kurzRecht) && von == e && nach == g) return zugBauen(von, g, ART_ROCHADE);
        if ((st.rochade & langRecht) && von == e && nach == c) return zugBauen(von, c, ART_ROCHADE);
        if ((st.rochade & langRecht) && nach == ss.turmLang) return zugBauen(von, c, ART_ROCHADE);
        if ((st.rochade & kurzRecht) && nach == ss.turmKurz) return zugBauen(von, g, ART_ROCHADE);
        return zugBauen(von, nach, KOENIG);
    }
    return zugBauen(von, nach, typ);
}

Zug sanZugLesen(Stellung_t& st, const Stellungsdaten_t& d, const char* text)
{
    while (*text && istLeer(*text)) ++text;
    char body[64];
    size_t n = std::strlen(text);
    if (n >= sizeof(body)) return 0;
    std::memcpy(body, text, n + 1);

    // Annotations are taken off the end, at most one of each group.
    bool schach = false, matt = false, ep = false, wertung = false;
    for (;;) {
        while (n && istLeer(body[n - 1])) --n;
        body[n] = 0;
        auto endetMit = [&](const char* s) {
            size_t k = std::strlen(s);
            return n >= k && std::memcmp(body + n - k, s, k) == 0;
        };
        size_t weg = 0;
        int gruppe = 0;
        if (endetMit("++")) weg = 2, gruppe = 2;
        else if (endetMit("+")) weg = 1, gruppe = 1;
        else if (endetMit("#")) weg = 1, gruppe = 2;
        else if (endetMit("e. p.")) weg = 5, gruppe = 3;
        else if (endetMit("e.p.")) weg = 4, gruppe = 3;
        else if (endetMit("ep")) weg = 2, gruppe = 3;
        else if (endetMit("!!") || endetMit("??") || endetMit("!?") || endetMit("?!")) weg = 2, gruppe = 4;
        else if (endetMit("!") || endetMit("?")) weg = 1, gruppe = 4;
        if (!gruppe) break;
        bool& merker = gruppe == 1 ? schach : gruppe == 2 ? matt : gruppe == 3 ? ep : wertung;
        if (merker) return 0;
        if ((gruppe == 1 && matt) || (gruppe == 2 && schach)) return 0;
        merker = true;
        n -= weg;
    }
    body[n] = 0;
    if (n < 2 || n > 6) return 0;

    Zug zug = 0;
    const int s = st.amZug;
    if (!std::strcmp(body, "O-O-O") || !std::strcmp(body, "0-0-0") || !std::strcmp(body, "O-O") ||
        !std::strcmp(body, "0-0")) {
        const bool lang = n == 5;
        const uint8_t recht = s == WEISS ? (lang ? RECHT_WEISS_LANG : RECHT_WEISS_KURZ)
                                         : (lang ? RECHT_SCHWARZ_LANG : RECHT_SCHWARZ_KURZ);
        if (!(st.rochade & recht)) return 0;
        zug = rochadeZug(st, lang);
        if (!zugLegal(st, d, zug)) return 0;
    } else {
        int typ;
        size_t i = 0;
        if ((typ = figurBuchstabe(body[0])) != KEINE) i = 1;
        else if (body[0] >= 'a' && body[0] <= 'h') typ = BAUER;
        else return 0;

        // Promotion piece at the end, optionally after '=' or '/'.
        int promo = KEINE;
        int letzte = figurBuchstabe(body[n - 1]);
        if (letzte != KEINE && letzte != KOENIG) {
            promo = letzte;
            --n;
            if (n && (body[n - 1] == '=' || body[n - 1] == '/')) --n;
            body[n] = 0;
        }
        if (n < 2 || n - 2 < i) return 0;
        const int nach = feldLesen(body + n - 2);
        if (nach < 0) return 0;

        // Between the piece and the destination: file and rank hints, and a
        // capture or move mark right before the destination.
        int nurDatei = -1, nurReihe = -1;
        bool schlagMarke = false, zugMarke = false;
        size_t ende = n - 2;
        if (ende > i && (body[ende - 1] == 'x' || body[ende - 1] == '-')) {
            if (body[ende - 1] == '-') zugMarke = true;
            else schlagMarke = true;
            --ende;
        }
        if (typ == BAUER && n > 2) {
            // A pawn move longer than its destination names its origin file.
            if (ende < 1) return 0;
            nurDatei = body[0] - 'a';
            i = 1;
        }
        for (size_t k = i; k < ende; ++k) {
            char c = body[k];
            if (c >= 'a' && c <= 'h') nurDatei = c - 'a';
            else if (c >= '1' && c <= '8') nurReihe = '8' - c;
            else return 0;
        }

        const Seite_t& ss = st.seite[s];
        const Bitboard gegner = st.seite[s ^ 1].bb[0];
        const bool aufEp = typ == BAUER && st.ep && nach == st.ep;
        const bool besetzt = (gegner & bit(nach)) != 0;
        if (st.seite[s].bb[0] & bit(nach)) return 0;
        if ((besetzt || aufEp) && !schlagMarke) return 0;
        if (!besetzt && !aufEp && schlagMarke) return 0;
        if (besetzt && zugMarke) return 0;

        Bitboard kandidaten;
        const int vor = s == WEISS ? -8 : 8;
        switch (typ) {
        case BAUER:
            if (besetzt || aufEp) {
                kandidaten = AT.bauer[s ^ 1][nach] & ss.bb[BAUER];
            } else {
                kandidaten = 0;
                int eins = nach - vor;
                if (eins >= 0 && eins < 64) {
                    if (ss.bb[BAUER] & bit(eins)) kandidaten |= bit(eins);
                    int zwei = eins - vor;
                    int startReihe = s == WEISS ? 6 : 1;
                    if (!(d.belegt & bit(eins)) && zwei >= 0 && zwei < 64 && rowOf(zwei) == startReihe &&
                        (ss.bb[BAUER] & bit(zwei)))
                        kandidaten |= bit(zwei);
                }
            }
            break;
        case SPRINGER: kandidaten = AT.springer[nach] & ss.bb[SPRINGER]; break;
        case LAEUFER: kandidaten = laeuferAngriffe(nach, d.belegt) & ss.bb[LAEUFER]; break;
        case TURM: kandidaten = turmAngriffe(nach, d.belegt) & ss.bb[TURM]; break;
        case DAME: kandidaten = dameAngriffe(nach, d.belegt) & ss.bb[DAME]; break;
        default: kandidaten = AT.koenig[nach] & ss.bb[KOENIG]; break;
        }
        if (nurDatei >= 0) kandidaten &= fileMask(nurDatei);
        if (nurReihe >= 0) kandidaten &= rowMask(nurReihe);
        if (promo != KEINE && typ != BAUER) return 0;

        auto zugFuer = [&](int von) -> Zug {
            if (typ != BAUER) return zugBauen(von, nach, typ);
            if (aufEp) return zugBauen(von, nach, ART_EP);
            if (promo != KEINE) return zugBauen(von, nach, promo + 5);
            return zugBauen(von, nach, BAUER);
        };
        // With several candidates only the legal ones count; exactly one
        // must remain.
        int gefunden = 0;
        for (Bitboard b = kandidaten; b;) {
            Zug m = zugFuer(popLsb(b));
            if (zugLegal(st, d, m)) {
                zug = m;
                ++gefunden;
            }
        }
        if (gefunden != 1) return 0;
    }

    if (ep && zugArt(zug) != ART_EP) return 0;
    if (schach || matt) {
        Stellungsdaten_t kind;
        Zugdaten_t zd;
        if (!zugMachenSuche(st, zug, kind, d, zd)) return 0;
        bool ok;
        if (matt) {
            int ergebnis = 0;
            ok = partieEnde(st, kind, &ergebnis) && ergebnis != 0;
        } else {
            ok = imSchach(st, kind);
        }
        zugZuruecknehmen(zd);
        if (!ok) return 0;
    }
    return zug;
}

Zug zugTextLesen(Stellung_t& st, const Stellungsdaten_t& d, const char* text)
{
    while (*text && istLeer(*text)) ++text;
    const size_t n = std::strlen(text);
    // The coordinate reader looks at the first characters only, so the
    // whole text must have one of its shapes; everything else is SAN.
    static const char* const ROCHADEN[] = {"O-O", "O-O-O", "0-0", "0-0-0", "o-o", "o-o-o"};
    const bool felder = (n == 4 || (n == 5 && std::strchr("nbrqNBRQ", text[4]))) && feldLesen(text) >= 0 &&
                        feldLesen(text + 2) >= 0;
    bool rochade = false;
    for (const char* r : ROCHADEN) rochade |= !std::strcmp(text, r);
    if (felder || rochade) {
        const Zug z = koordinatenZugLesen(st, text);
        // A promotion letter only after a pawn move to the last rank.
        const bool form = rochade || n == 4 || istPromotion(z);
        if (istZug(z) && form && zugLegal(st, d, z)) return zugOhneSchluessel(z);
    }
    return zugOhneSchluessel(sanZugLesen(st, d, text));
}
