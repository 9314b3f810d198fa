#include "chess/fen.h"

#include <cstdio>
#include <cstring>

#include "chess/attacks.h"
#include "chess/zugmachen.h"

namespace {

bool istLeer(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

const char* leerUeberspringen(const char* p)
{
    while (*p && istLeer(*p)) ++p;
    return p;
}

// FEN piece letter -> type, side; 0 for anything else.
int fenFigur(char c, int& seite)
{
    static const char* weiss = "PNBRQK";
    static const char* schwarz = "pnbrqk";
    for (int i = 0; i < 6; ++i) {
        if (c == weiss[i]) {
            seite = WEISS;
            return i + 1;
        }
        if (c == schwarz[i]) {
            seite = SCHWARZ;
            return i + 1;
        }
    }
    return 0;
}

constexpr uint8_t KURZ[2] = {RECHT_WEISS_KURZ, RECHT_SCHWARZ_KURZ};
constexpr uint8_t LANG[2] = {RECHT_WEISS_LANG, RECHT_SCHWARZ_LANG};
constexpr int GRUNDREIHE[2] = {7, 0};

int koenigsLinie(const Stellung_t& st, int s)
{
    Bitboard k = st.seite[s].bb[KOENIG];
    return k ? fileOf(lsb(k)) : -1;
}

// Chooses the castling rook files of one wing, shared by both colours: the
// outermost file that holds a rook of a colour owning the right, beyond its
// king. Fails when a colour with the right has no rook there.
bool fluegelWaehlen(Stellung_t& st, bool kurz, int beschraenkt)
{
    const uint8_t* recht = kurz ? KURZ : LANG;
    uint8_t kandidaten = 0; // bit f: file f is a candidate
    bool irgendein = false;
    for (int s = 0; s < 2; ++s) {
        if (!(st.rochade & recht[s])) continue;
        irgendein = true;
        int k = koenigsLinie(st, s);
        if (k < 0) return false;
        uint8_t eigene = 0;
        for (int f = 0; f < 8; ++f) {
            bool jenseits = kurz ? f > k : f < k;
            if (jenseits && (st.seite[s].bb[TURM] & bit(squareAt(GRUNDREIHE[s], f)))) eigene |= uint8_t(1 << f);
        }
        if (beschraenkt >= 0) eigene &= uint8_t(1 << beschraenkt);
        if (!eigene) return false;
        kandidaten |= eigene;
    }
    int datei = kurz ? 7 : 0;
    if (irgendein) {
        if (kurz)
            while (!(kandidaten & (1 << datei))) --datei;
        else
            while (!(kandidaten & (1 << datei))) ++datei;
        // Both colours castle with the rook of that file; a colour whose
        // rook does not stand there cannot hold the right.
        for (int s = 0; s < 2; ++s) {
            if (!(st.rochade & recht[s])) continue;
            int k = koenigsLinie(st, s);
            bool jenseits = kurz ? datei > k : datei < k;
            if (!jenseits || !(st.seite[s].bb[TURM] & bit(squareAt(GRUNDREIHE[s], datei)))) return false;
        }
    }
    if (kurz) {
        st.seite[WEISS].turmKurz = uint8_t(squareAt(7, datei));
        st.seite[SCHWARZ].turmKurz = uint8_t(squareAt(0, datei));
    } else {
        st.seite[WEISS].turmLang = uint8_t(squareAt(7, datei));
        st.seite[SCHWARZ].turmLang = uint8_t(squareAt(0, datei));
    }
    return true;
}

// Reads a decimal number with saturation; false when there are no digits.
bool zahlLesen(const char*& p, long& wert)
{
    p = leerUeberspringen(p);
    bool negativ = false;
    const char* q = p;
    if (*q == '-' || *q == '+') negativ = *q++ == '-';
    if (*q < '0' || *q > '9') return false;
    long v = 0;
    while (*q >= '0' && *q <= '9') {
        if (v < 100000000) v = v * 10 + (*q - '0');
        ++q;
    }
    wert = negativ ? -v : v;
    p = q;
    return true;
}

} // namespace

const char* fenLesen(Stellung_t& st, const char* p)
{
    std::memset(&st, 0, sizeof(st));
    st.historieLaenge = 1;
    p = leerUeberspringen(p);

    // 1. Placement, from the eighth rank down.
    int reihe = 0, datei = 0;
    while (*p && !istLeer(*p)) {
        char c = *p++;
        if (c <= ' ' || c > 'r') return nullptr;
        if (c >= '1' && c <= '8') {
            datei += c - '0';
            if (datei > 8) return nullptr;
        } else if (c == '/') {
            if (datei != 8 || ++reihe > 7) return nullptr;
            datei = 0;
        } else {
            int seite = 0, typ = fenFigur(c, seite);
            if (!typ || datei >= 8) return nullptr;
            st.seite[seite].bb[typ] |= bit(squareAt(reihe, datei));
            ++datei;
        }
    }
    // Every rank must be complete: a short last rank would silently leave
    // squares of unknown content.
    if (reihe != 7 || datei != 8) return nullptr;
    for (int s = 0; s < 2; ++s)
        for (int t = BAUER; t <= KOENIG; ++t) st.seite[s].bb[0] |= st.seite[s].bb[t];

    // 2. Side to move.
    p = leerUeberspringen(p);
    if (*p == 'w' || *p == 'W') st.amZug = WEISS;
    else if (*p == 'b' || *p == 'B') st.amZug = SCHWARZ;
    else return nullptr;
    ++p;
    if (*p && !istLeer(*p)) return nullptr;

    // 3. Castling rights: KQkq, the same followed by a rook file, or rook
    // files alone (Shredder style).
    p = leerUeberspringen(p);
    int kurzDatei = -1, langDatei = -1;
    char vorher = 0;
    while (*p && !istLeer(*p)) {
        char c = *p++;
        if (c == '-') {
            vorher = 0;
            continue;
        }
        if (c == 'K' || c == 'Q' || c == 'k' || c == 'q') {
            st.rochade |= c == 'K' ? RECHT_WEISS_KURZ : c == 'Q' ? RECHT_WEISS_LANG : c == 'k' ? RECHT_SCHWARZ_KURZ : RECHT_SCHWARZ_LANG;
            st.buchstabenRochade = 0;
            vorher = c;
            continue;
        }
        char klein = (c >= 'A' && c <= 'H') ? char(c - 'A' + 'a') : c;
        if (klein < 'a' || klein > 'h') return nullptr;
        int f = klein - 'a';
        if (vorher == 'K' || vorher == 'k') {
            kurzDatei = f;
            st.chess960 = 1;
        } else if (vorher == 'Q' || vorher == 'q') {
            langDatei = f;
            st.chess960 = 1;
        } else {
            int s = (c >= 'A' && c <= 'H') ? WEISS : SCHWARZ;
            int k = koenigsLinie(st, s);
            if (k < 0) return nullptr;
            st.chess960 = 1;
            st.buchstabenRochade = 1;
            if (f < k) {
                st.rochade |= LANG[s];
                langDatei = f;
            } else {
                st.rochade |= KURZ[s];
                kurzDatei = f;
            }
        }
        vorher = 0;
    }
    // A right belongs to a king on its own first rank; with rights on both
    // sides the kings share their file.
    for (int s = 0; s < 2; ++s) {
        if (!(st.rochade & RECHTE_DER_SEITE[s])) continue;
        Bitboard k = st.seite[s].bb[KOENIG];
        if (!k || mehrAlsEins(k) || rowOf(lsb(k)) != GRUNDREIHE[s]) return nullptr;
    }
    if ((st.rochade & 3) && (st.rochade & 12) && koenigsLinie(st, WEISS) != koenigsLinie(st, SCHWARZ)) return nullptr;
    if (!fluegelWaehlen(st, true, kurzDatei) || !fluegelWaehlen(st, false, langDatei)) return nullptr;
    if (st.seite[WEISS].turmKurz != H1 || st.seite[WEISS].turmLang != A1) st.chess960 = 1;
    if ((st.rochade & 3) && st.seite[WEISS].bb[KOENIG] != bit(E1)) st.chess960 = 1;
    if ((st.rochade & 12) && st.seite[SCHWARZ].bb[KOENIG] != bit(E8)) st.chess960 = 1;

    // 4. En passant: the square must lie behind an enemy pawn that has just
    // made its double step through two empty squares.
    p = leerUeberspringen(p);
    if (*p == '-') {
        ++p;
    } else if (*p) {
        char fc = *p >= 'A' && *p <= 'H' ? char(*p - 'A' + 'a') : *p;
        if (fc < 'a' || fc > 'h') return nullptr;
        char rc = p[1];
        if (rc != (st.amZug == WEISS ? '6' : '3')) return nullptr;
        p += 2;
        const int ep = squareAt(st.amZug == WEISS ? 2 : 5, fc - 'a');
        const int vorn = st.amZug == WEISS ? 8 : -8; // from the ep square to the pawn
        const Bitboard alle = st.seite[0].bb[0] | st.seite[1].bb[0];
        if (!(st.seite[st.amZug ^ 1].bb[BAUER] & bit(ep + vorn))) return nullptr;
        if (alle & (bit(ep) | bit(ep - vorn))) return nullptr;
        // Kept only when a pawn of the side to move can take.
        if (AT.bauer[st.amZug ^ 1][ep] & st.seite[st.amZug].bb[BAUER]) st.ep = uint8_t(ep);
    }
    if (*p && !istLeer(*p)) return nullptr;

    // 5. Piece counts and lists; no pawn on the first or last rank, and the
    // side that is not to move must not stand in check.
    for (int s = 0; s < 2; ++s) {
        if (!seiteValidieren(st.seite[s])) return nullptr;
        // Every piece beyond the original set came from a pawn. A side with
        // more such pieces than missing pawns cannot arise, and its next
        // promotion could overflow a piece list.
        const Seite_t& b = st.seite[s];
        auto mehr = [](int n, int original) { return n > original ? n - original : 0; };
        const int befoerdert = mehr(b.anzahl[SPRINGER], 2) + mehr(b.anzahl[LAEUFER], 2) + mehr(b.anzahl[TURM], 2) +
                               mehr(b.anzahl[DAME], 1);
        if (befoerdert > 8 - b.anzahl[BAUER]) return nullptr;
    }
    if ((st.seite[WEISS].bb[BAUER] | st.seite[SCHWARZ].bb[BAUER]) & (rowMask(0) | rowMask(7))) return nullptr;
    if (koenigAngegriffen(st, st.amZug ^ 1, st.belegt())) return nullptr;
    return p;
}

namespace {
constexpr const char* GRUNDSTELLUNG = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
} // namespace

void grundstellungSetzen(Stellung_t& st)
{
    fenLesen(st, GRUNDSTELLUNG);
    st.historieLaenge = 1;
    st.historie[0] = schluesselBerechnen(st);
}

bool stellungSetzen(Stellung_t& st, Stellungsdaten_t& d, const char* text)
{
    // Without move counters (also for the start position) the clock starts at 0.
    const char* p = fenLesen(st, text ? text : GRUNDSTELLUNG);
    if (!p) return false;
    long halbzuege = -1, voll;
    if (zahlLesen(p, halbzuege)) zahlLesen(p, voll); // the full-move number is not kept
    datenBerechnen(st, d);
    // A half-move clock h continues the fifty-move count: h empty entries,
    // then the current key.
    if (halbzuege >= 0 && halbzuege <= 99) {
        for (long i = 0; i < halbzuege; ++i) st.historie[i] = 0;
        st.historie[halbzuege] = d.schluessel;
        st.historieLaenge = uint32_t(halbzuege + 1);
    } else {
        st.historie[0] = d.schluessel;
        st.historieLaenge = 1;
    }
    return true;
}

void chess960Fen(unsigned n, char* puffer)
{
    n %= 960;
    char reihe[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    reihe[2 * (n % 4) + 1] = 'b';
    n /= 4;
    reihe[2 * (n % 4)] = 'b';
    n /= 4;
    auto freiesFeld = [&](unsigned k) {
        for (int i = 0; i < 8; ++i)
            if (!reihe[i] && k-- == 0) return i;
        return -1;
    };
    reihe[freiesFeld(n % 6)] = 'q';
    n /= 6;
    static const int springer[10][2] = {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}};
    int a = freiesFeld(unsigned(springer[n][0])), b = freiesFeld(unsigned(springer[n][1]));
    reihe[a] = 'n';
    reihe[b] = 'n';
    reihe[freiesFeld(0)] = 'r';
    reihe[freiesFeld(0)] = 'k';
    reihe[freiesFeld(0)] = 'r';
    char gross[9];
    for (int i = 0; i < 9; ++i) gross[i] = reihe[i] ? char(reihe[i] - 'a' + 'A') : 0;
    std::snprintf(puffer, 64, "%s/pppppppp/8/8/8/8/PPPPPPPP/%s w KQkq - 0 1", reihe, gross);
}

void chess960Setzen(Stellung_t& st, unsigned n)
{
    char fen[64];
    chess960Fen(n, fen);
    fenLesen(st, fen);
    st.historieLaenge = 1;
    st.historie[0] = schluesselBerechnen(st);
}

void fenSchreiben(const Stellung_t& st, char* puffer)
{
    static const char* buchstaben[2] = {" PNBRQK", " pnbrqk"};
    char* p = puffer;
    for (int reihe = 0; reihe < 8; ++reihe) {
        int leer = 0;
        for (int datei = 0; datei < 8; ++datei) {
            int sq = squareAt(reihe, datei);
            int s = (st.seite[WEISS].bb[0] & bit(sq)) ? WEISS : (st.seite[SCHWARZ].bb[0] & bit(sq)) ? SCHWARZ : -1;
            if (s < 0) {
                ++leer;
                continue;
            }
            if (leer) *p++ = char('0' + leer);
            leer = 0;
            *p++ = buchstaben[s][st.typAuf(s, sq)];
        }
        if (leer) *p++ = char('0' + leer);
        if (reihe < 7) *p++ = '/';
    }
    *p++ = ' ';
    *p++ = st.amZug == WEISS ? 'w' : 'b';
    *p++ = ' ';
    if (!st.rochade) {
        *p++ = '-';
    } else {
        const char zeichen[4] = {'K', 'Q', 'k', 'q'};
        for (int i = 0; i < 4; ++i) {
            if (!(st.rochade & (1 << i))) continue;
            const int s = i / 2;
            const bool kurz = (i % 2) == 0;
            *p++ = zeichen[i];
            const Seite_t& ss = st.seite[s];
            const int turm = kurz ? ss.turmKurz : ss.turmLang;
            // Name the file when another rook stands further out.
            Bitboard weiter = 0;
            for (int f = fileOf(turm) + (kurz ? 1 : -1); f >= 0 && f < 8; f += kurz ? 1 : -1)
                weiter |= bit(squareAt(GRUNDREIHE[s], f));
            if (ss.bb[TURM] & weiter) *p++ = char('a' + fileOf(turm));
        }
    }
    *p++ = ' ';
    if (!st.ep) {
        *p++ = '-';
    } else {
        *p++ = char('a' + fileOf(st.ep));
        *p++ = st.amZug == WEISS ? '6' : '3';
    }
    *p = 0;
}
