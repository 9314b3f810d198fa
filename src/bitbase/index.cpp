#include "bitbase/index.h"

#include "bitbase/brett.h"
#include "chess/squares.h"

namespace {

constexpr int ABWESEND = 8; // type code + 8: a piece that is not on the board

// Row and column exchanged (the a8-h1 diagonal as mirror).
constexpr int transponiert(int d)
{
    return ((d >> 3) & 7) | ((d & 7) << 3);
}

// King squares of the triangle by slot / 2.
struct Dreieck_t {
    uint8_t feld[10];
    constexpr Dreieck_t() : feld{}
    {
        for (int r = 0; r < 4; ++r)
            for (int c = r; c < 4; ++c) feld[((7 - r) * r + 2 * c) / 2] = uint8_t(r * 8 + c);
    }
};
constexpr Dreieck_t DREIECK{};

uint64_t potenz64(int e)
{
    return uint64_t(1) << (6 * e);
}

uint64_t indexOhneBauern(const BbStellung_t& b)
{
    const int k = b.feld[0];
    const int t = ((k & 32) ? 56 : 0) + ((k & 4) ? 7 : 0);
    const int kk = k ^ t;
    bool d = rowOf(kk) > fileOf(kk);
    bool auf = rowOf(kk) == fileOf(kk);
    for (int j = 1; j < b.n && auf; ++j) {
        if (b.typ[j] > ABWESEND) continue;
        const int s = b.feld[j] ^ t;
        d = rowOf(s) > fileOf(s);
        auf = rowOf(s) == fileOf(s);
    }
    uint64_t rest = 0;
    for (int j = 1; j < b.n; ++j) {
        int s = b.typ[j] > ABWESEND ? kk : b.feld[j] ^ t;
        if (d) s = transponiert(s);
        rest = rest * 64 + uint64_t(s);
    }
    const int r = rowOf(kk), c = fileOf(kk);
    const int slot = d ? (7 - c) * c + 2 * r + b.amZug : (7 - r) * r + 2 * c + b.amZug;
    return uint64_t(slot) * potenz64(b.n - 1) + rest;
}

// The first pawn that stands on the board.
int ersterBauerDa(const BbStellung_t& b)
{
    for (int j = 0; j < b.n; ++j)
        if (b.typ[j] == BAUER) return j;
    return -1;
}

uint64_t indexMitBauern(const BbStellung_t& b)
{
    const int eb = ersterBauerDa(b);
    const int p = bauernCode(b, eb);
    const int m = fileOf(p) >= 4 ? 7 : 0;
    const int slot = (p & 56) + 2 * (fileOf(p) ^ m) + b.amZug;
    uint64_t rest = 0;
    for (int j = 0; j < b.n; ++j) {
        if (j == eb) continue;
        int s;
        if (b.typ[j] == BAUER) s = bauernCode(b, j);
        else if (b.typ[j] == BAUER + ABWESEND) s = b.seiteVon(j) == 0 ? 56 : 0;
        else if (b.typ[j] > ABWESEND) s = b.feld[0];
        else s = b.feld[j];
        rest = rest * 64 + uint64_t(s ^ m);
    }
    return uint64_t(slot) * potenz64(b.n - 1) + rest;
}

// A pawn code of side s back to its square; ep receives the en-passant
// square the code stands for (0 when it is a plain square). False for a
// code no pawn can have.
bool codeLesen(int code, int s, int& feld, int& ep)
{
    const int r = rowOf(code), c = fileOf(code);
    ep = 0;
    feld = code;
    if (r != 0 && r != 7) return true;
    const bool kleinereLinie = s == 0 ? r == 7 : r == 0;
    if (kleinereLinie ? c == 0 : c == 7) return false;
    feld = squareAt(s == 0 ? 3 : 4, c);
    if (s == 0) ep = kleinereLinie ? feld - 9 : feld - 7;
    else ep = kleinereLinie ? feld + 7 : feld + 9;
    return true;
}

// Reads the digits of a pawn index with the mirror m undone; false when
// the codes contradict each other.
bool mitBauernLesen(uint64_t index, int m, BbStellung_t& b)
{
    const int eb = b.ersterBauer;
    const uint64_t p64 = potenz64(b.n - 1);
    const int slot = int(index / p64);
    uint64_t rest = index % p64;
    b.amZug = slot & 1;
    b.ep = 0;
    int code[BB_MAX_FIGUREN];
    code[eb] = ((slot & 56) | ((slot >> 1) & 3)) ^ m;
    for (int j = b.n - 1; j >= 0; --j) {
        if (j == eb) continue;
        code[j] = int(rest & 63) ^ m;
        rest >>= 6;
    }
    for (int j = 0; j < b.n; ++j) {
        if (b.typ[j] != BAUER) {
            b.feld[j] = uint8_t(code[j]);
            continue;
        }
        int feld, ep;
        if (!codeLesen(code[j], b.seiteVon(j), feld, ep)) return false;
        if (ep && b.ep && ep != b.ep) return false;
        if (ep) b.ep = ep;
        b.feld[j] = uint8_t(feld);
    }
    return true;
}

bool hatEpCode(uint64_t index, const BbStellung_t& b)
{
    const uint64_t p64 = potenz64(b.n - 1);
    const int slot = int(index / p64);
    if ((slot >> 3) == 0 || (slot >> 3) == 7) return true;
    uint64_t rest = index % p64;
    for (int j = b.n - 1; j >= 0; --j) {
        if (j == b.ersterBauer) continue;
        const int r = int(rest & 63) >> 3;
        if (b.typ[j] == BAUER && (r == 0 || r == 7)) return true;
        rest >>= 6;
    }
    return false;
}

} // namespace

int bauernCode(const BbStellung_t& b, int j)
{
    const int s = b.feld[j];
    if (b.ep <= 0) return s;
    const int r = rowOf(s), c = fileOf(s);
    if (b.seiteVon(j) == 0 && r == 3) {
        if (b.ep == s - 9 && c > 0) return 56 + c;
        if (b.ep == s - 7 && c < 7) return c;
    } else if (b.seiteVon(j) == 1 && r == 4) {
        if (b.ep == s + 7 && c > 0) return c;
        if (b.ep == s + 9 && c < 7) return 56 + c;
    }
    return s;
}

uint64_t bbIndex(const BbStellung_t& b)
{
    return b.hatBauern() ? indexMitBauern(b) : indexOhneBauern(b);
}

bool bbDekodieren(uint64_t index, BbStellung_t& b)
{
    if (index >= bbPositionen(b)) return false;
    if (!b.hatBauern()) {
        const uint64_t p64 = potenz64(b.n - 1);
        const int slot = int(index / p64);
        uint64_t rest = index % p64;
        b.amZug = slot & 1;
        b.ep = 0;
        b.feld[0] = DREIECK.feld[slot >> 1];
        for (int j = b.n - 1; j >= 1; --j) {
            b.feld[j] = uint8_t(rest & 63);
            rest >>= 6;
        }
        return true;
    }
    // Codes of en-passant capturers read differently once the board is
    // mirrored; the reading whose position is legal and gives the index
    // back is the one meant.
    if (!hatEpCode(index, b)) return mitBauernLesen(index, 0, b);
    for (int m = 0; m <= 7; m += 7)
        if (mitBauernLesen(index, m, b) && bbLegal(b) && bbIndex(b) == index) return true;
    return mitBauernLesen(index, 0, b);
}

bool bbLegal(const BbStellung_t& b)
{
    const BbBrett_t brett(b);
    if (!brett.ok) return false;
    for (int j = 0; j < b.n; ++j)
        if (b.typ[j] == BAUER && (rowOf(b.feld[j]) == 0 || rowOf(b.feld[j]) == 7)) return false;
    const int ich = b.amZug, er = ich ^ 1;
    if (brett.angegriffen(brett.koenig[er], ich, brett.belegt)) return false;
    if (b.ep <= 0) return true;
    // The pawn that made the double step stands in front of the square, the
    // square and the one it came from are empty, and a pawn can take.
    const int vorn = ich == 0 ? 8 : -8;
    const int ep = b.ep;
    if (rowOf(ep) != (ich == 0 ? 2 : 5)) return false;
    if (!(brett.bauern[er] & bit(ep + vorn))) return false;
    if (brett.belegt & (bit(ep) | bit(ep - vorn))) return false;
    return (AT.bauer[er][ep] & brett.bauern[ich]) != 0;
}

bool bbTreu(const BbStellung_t& b, uint64_t index)
{
    if (b.ep <= 0) return true;
    BbStellung_t q = b;
    if (!bbDekodieren(index, q)) return false;
    for (int spiegel = 0; spiegel <= 7; spiegel += 7) {
        bool gleich = q.amZug == b.amZug && q.ep == (b.ep ^ spiegel);
        for (int j = 0; j < b.n && gleich; ++j) gleich = q.feld[j] == (b.feld[j] ^ spiegel);
        if (gleich) return true;
    }
    return false;
}
