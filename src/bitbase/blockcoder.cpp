#include "bitbase/blockcoder.h"

#include <cstring>

void Nachfolger_t::starten(uint8_t r0, uint8_t r1)
{
    for (int x = 0; x < 256; ++x) {
        s[x][0] = uint8_t(x);
        s[x][1] = r0;
        s[x][2] = 0x0F;
        s[x][3] = 0xF0;
    }
    s[r0][1] = r1;
    s[0x0F][2] = 0x1F;
    s[0xF0][3] = 0xF8;
    vor = r0;
}

namespace {

int hoechstesBit(int b)
{
    return 31 - __builtin_clz(unsigned(b));
}

// The decoder's output and model; every token goes through here.
struct Ausgabe {
    uint8_t* aus;
    int pos = 0;
    Nachfolger_t modell;

    void byteSchreiben(uint8_t y)
    {
        aus[pos++] = y;
        modell.lernen(y);
    }
    void lauf(uint8_t v, int n)
    {
        std::memset(aus + pos, v, size_t(n));
        pos += n;
        modell.lernen(v);
        modell.lernen(v);
    }
    void kopie(int quelle, int n)
    {
        for (int j = 0; j < n; ++j) byteSchreiben(aus[quelle + j]);
    }
    // Successor j of the byte before it, chosen by wahl(j), all taken from
    // the model as it stood before the token.
    template <class Wahl>
    void nachfolger(int n, Wahl wahl)
    {
        uint8_t v = modell.vor;
        for (int j = 0; j < n; ++j) aus[pos + j] = v = modell.s[v][wahl(j)];
        for (int j = 0; j < n; ++j) modell.lernen(aus[pos + j]);
        pos += n;
    }
};

} // namespace

int blockDekodieren(const uint8_t* d, int laenge, uint8_t* aus, std::FILE* liste)
{
    if (laenge < 1) return -1;
    const uint8_t h = d[0];
    const int m = h >> 4;
    const uint8_t r0 = (h & 1) ? 0xFF : 0x00;
    const uint8_t r1 = uint8_t(r0 ^ 0xFF);
    if (liste)
        std::fprintf(liste, "   0: %02x       Markierung %02x..%02x; Wdh0=0x%02x, Wdh1=0x%02x\n", h & 0xF1, m * 16,
                     m * 16 + 15, r0, r1);
    Ausgabe a;
    a.aus = aus;
    a.modell.starten(r0, r1);
    int i = 1;
    auto fehler = [&]() {
        if (liste) std::fprintf(liste, "%4d: Fehler\n", a.pos);
        return -1;
    };
    while (a.pos < BB_BLOCK) {
        if (i >= laenge) return fehler();
        const int c = d[i];
        const int pos = a.pos;
        if ((c >> 4) != m) {
            if (liste) std::fprintf(liste, "%4d: %02x\n", pos, c);
            a.byteSchreiben(uint8_t(c));
            ++i;
            continue;
        }
        const int k = c & 15;
        if (k >= 8) {
            const int n = k - 6;
            if (pos + n > BB_BLOCK) return fehler();
            if (liste) std::fprintf(liste, "%4d: %02x       Wiederholung 0a (0x%02x), Länge %d\n", pos, c, r0, n);
            a.lauf(r0, n);
            ++i;
            continue;
        }
        const int lang = (k == 2 || k == 6) ? 3 : 2;
        if (i + lang > laenge) return fehler();
        const int b = d[i + 1];
        const int g = lang == 3 ? d[i + 2] : 0;
        i += lang;
        switch (k) {
        case 0:
            if (b <= 15) {
                if (liste)
                    std::fprintf(liste, "%4d: %02x %02x    Markiertes Zeichen 0x%02x\n", pos, c, b, m * 16 + b);
                a.byteSchreiben(uint8_t(m * 16 + b));
            } else {
                const int n = (b >> 4) + 6;
                const int quelle = pos - (b & 15) - n;
                if (quelle < 0 || pos + n > BB_BLOCK) return -1;
                if (liste)
                    std::fprintf(liste, "%4d: %02x %02x    kurze Kopie (a): %d Zeichen ab Position %d\n", pos, c, b, n,
                                 quelle);
                a.kopie(quelle, n);
            }
            break;
        case 1: {
            const int n = (b >> 6) + 3;
            const int quelle = pos - (b & 63) - n;
            if (quelle < 0 || pos + n > BB_BLOCK) return fehler();
            if (liste)
                std::fprintf(liste, "%4d: %02x %02x    kurze Kopie (b): %d Zeichen ab Position %d\n", pos, c, b, n,
                             quelle);
            a.kopie(quelle, n);
            break;
        }
        case 2: {
            const int n = b + 4;
            const int quelle = pos - g - n;
            if (quelle < 0 || pos + n > BB_BLOCK) return fehler();
            if (liste)
                std::fprintf(liste, "%4d: %02x %02x %02x lange Kopie: %d Zeichen ab Position %d\n", pos, c, b, g, n,
                             quelle);
            a.kopie(quelle, n);
            break;
        }
        case 3:
            if (b >= 8) {
                const int n = hoechstesBit(b);
                if (pos + n > BB_BLOCK) return fehler();
                if (liste)
                    std::fprintf(liste, "%4d: %02x %02x    letzte/vorletzte Nachfolger (0x%02x), Länge %d\n", pos, c,
                                 b, b, n);
                a.nachfolger(n, [b](int j) { return (b >> j) & 1; });
            } else {
                if (pos + b + 19 > BB_BLOCK) return fehler();
                if (liste)
                    std::fprintf(liste, "%4d: %02x %02x    Wiederholung 0b (0x%02x), Länge %d\n", pos, c, b, r0,
                                 b + 19);
                a.lauf(r0, b + 19);
            }
            break;
        case 4:
            if (pos + 4 > BB_BLOCK) return fehler();
            if (liste) std::fprintf(liste, "%4d: %02x %02x    letzte 4 Nachfolger\n", pos, c, b);
            a.nachfolger(4, [b](int j) { return (b >> (2 * j)) & 3; });
            break;
        case 5:
            if (pos + 3 > BB_BLOCK) return fehler();
            if (liste) std::fprintf(liste, "%4d: %02x %02x    genau 3 Zeichen Wiederholung (0x%02x)\n", pos, c, b, b);
            a.lauf(uint8_t(b), 3);
            break;
        case 6:
            if (pos + b + 4 > BB_BLOCK) return fehler();
            if (liste)
                std::fprintf(liste, "%4d: %02x %02x %02x Wiederholung (0x%02x), Länge %d\n", pos, c, b, g, g, b + 4);
            a.lauf(uint8_t(g), b + 4);
            break;
        default: // 7
            if (pos + b + 3 > BB_BLOCK) return fehler();
            if (liste)
                std::fprintf(liste, "%4d: %02x %02x    Wiederholung 1 (0x%02x), Länge %d\n", pos, c, b, r1, b + 3);
            a.lauf(r1, b + 3);
            break;
        }
    }
    if (liste) std::fprintf(liste, "%4d: komprimiert zu %d Bytes\n", a.pos, i);
    return i;
}

// ---------------------------------------------------------------- encoder

namespace {

// One way to go on from the current position: the payload bytes it costs
// and the block bytes it covers.
struct Token {
    int kosten = 1;
    int laenge = 1;
    uint8_t bytes[3] = {0, 0, 0};

    bool besserAls(const Token& t) const
    {
        const int a = laenge - kosten, b = t.laenge - t.kosten;
        return a != b ? a > b : laenge > t.laenge;
    }
};

struct Kodierer {
    const uint8_t* blk;
    int m;
    uint8_t r0, r1;
    Nachfolger_t modell;
    int kopf[4096];
    int vorher[BB_BLOCK];

    static int hash3(const uint8_t* p) { return ((p[0] << 4) ^ (p[1] << 2) ^ p[2] ^ (p[0] >> 4)) & 4095; }

    void vorschlagen(Token& best, int kosten, int laenge, int k, int b, int g = 0)
    {
        Token t;
        t.kosten = kosten;
        t.laenge = laenge;
        t.bytes[0] = uint8_t(m * 16 + k);
        t.bytes[1] = uint8_t(b);
        t.bytes[2] = uint8_t(g);
        if (t.besserAls(best)) best = t;
    }

    void laeufe(int pos, Token& best)
    {
        const uint8_t v = blk[pos];
        int n = 1;
        while (pos + n < BB_BLOCK && blk[pos + n] == v) ++n;
        if (v == r0) {
            if (n >= 2) {
                const int l = n < 9 ? n : 9;
                Token t;
                t.kosten = 1;
                t.laenge = l;
                t.bytes[0] = uint8_t(m * 16 + l + 6);
                if (t.besserAls(best)) best = t;
            }
            if (n >= 19) {
                const int l = n < 26 ? n : 26;
                vorschlagen(best, 2, l, 3, l - 19);
            }
        }
        if (v == r1 && n >= 3) {
            const int l = n < 258 ? n : 258;
            vorschlagen(best, 2, l, 7, l - 3);
        }
        if (n >= 3) vorschlagen(best, 2, 3, 5, v);
        if (n >= 4) {
            const int l = n < 259 ? n : 259;
            vorschlagen(best, 3, l, 6, l - 4, v);
        }
    }

    void kopien(int pos, Token& best)
    {
        if (pos + 3 > BB_BLOCK) return;
        int tiefe = 0;
        for (int q = kopf[hash3(blk + pos)]; q >= 0 && tiefe < 48; q = vorher[q], ++tiefe) {
            int n = 0;
            while (q + n < pos && pos + n < BB_BLOCK && blk[q + n] == blk[pos + n]) ++n;
            if (n < 3) continue;
            const int abstand = pos - q; // gap + length
            // Short copy (b): 3..6 bytes, gap up to 63.
            for (int l = n < 6 ? n : 6; l >= 3; --l)
                if (abstand - l <= 63) {
                    vorschlagen(best, 2, l, 1, ((l - 3) << 6) | (abstand - l));
                    break;
                }
            // Short copy (a): 7..21 bytes, gap up to 15.
            for (int l = n < 21 ? n : 21; l >= 7; --l)
                if (abstand - l <= 15) {
                    vorschlagen(best, 2, l, 0, ((l - 6) << 4) | (abstand - l));
                    break;
                }
            // Long copy: 4..259 bytes, gap up to 255.
            for (int l = n < 259 ? n : 259; l >= 4; --l)
                if (abstand - l <= 255) {
                    vorschlagen(best, 3, l, 2, l - 4, abstand - l);
                    break;
                }
        }
    }

    void nachfolger(int pos, Token& best)
    {
        // Four bytes, each any of the four successors.
        if (pos + 4 <= BB_BLOCK) {
            uint8_t v = modell.vor;
            int b = 0, j = 0;
            for (; j < 4; ++j) {
                int q = 0;
                while (q < 4 && modell.s[v][q] != blk[pos + j]) ++q;
                if (q == 4) break;
                b |= q << (2 * j);
                v = blk[pos + j];
            }
            if (j == 4) vorschlagen(best, 2, 4, 4, b);
        }
        // Three to seven bytes, each the first or second successor.
        uint8_t v = modell.vor;
        int b = 0, j = 0;
        for (; j < 7 && pos + j < BB_BLOCK; ++j) {
            const uint8_t y = blk[pos + j];
            if (modell.s[v][0] == y) {
            } else if (modell.s[v][1] == y) {
                b |= 1 << j;
            } else {
                break;
            }
            v = y;
        }
        if (j >= 3) vorschlagen(best, 2, j, 3, b | (1 << j));
    }

    // The model sees the token's bytes as the decoder will show them.
    void lernen(const Token& t, int pos)
    {
        const int k = t.bytes[0] & 15;
        const bool istToken = (t.bytes[0] >> 4) == m;
        const bool lauf = istToken && (k >= 5 || (k == 3 && t.bytes[1] < 8)) && k != 0;
        if (lauf) {
            modell.lernen(blk[pos]);
            modell.lernen(blk[pos]);
        } else {
            for (int j = 0; j < t.laenge; ++j) modell.lernen(blk[pos + j]);
        }
        for (int j = 0; j < t.laenge; ++j) {
            const int p = pos + j;
            if (p + 3 <= BB_BLOCK) {
                const int h = hash3(blk + p);
                vorher[p] = kopf[h];
                kopf[h] = p;
            }
        }
    }
};

// The high nibble that occurs least (the lowest among equals).
int markeWaehlen(const uint8_t* blk)
{
    int zahl[16] = {};
    for (int i = 0; i < BB_BLOCK; ++i) ++zahl[blk[i] >> 4];
    int best = 0;
    for (int n = 1; n < 16; ++n)
        if (zahl[n] < zahl[best]) best = n;
    return best;
}

// Bytes that runs of v would save: every byte of a run of two or more
// beyond the first.
int laufErsparnis(const uint8_t* blk, uint8_t v)
{
    int summe = 0;
    for (int i = 1; i < BB_BLOCK; ++i)
        if (blk[i] == v && blk[i - 1] == v) ++summe;
    return summe;
}

} // namespace

int blockKodieren(const uint8_t* block, uint8_t* aus)
{
    Kodierer k;
    k.blk = block;
    k.m = markeWaehlen(block);
    const bool ff = laufErsparnis(block, 0xFF) > laufErsparnis(block, 0x00);
    k.r0 = ff ? 0xFF : 0x00;
    k.r1 = uint8_t(k.r0 ^ 0xFF);
    k.modell.starten(k.r0, k.r1);
    for (int& h : k.kopf) h = -1;
    int n = 0;
    aus[n++] = uint8_t((k.m << 4) | (ff ? 1 : 0));
    for (int pos = 0; pos < BB_BLOCK;) {
        Token best;
        const uint8_t y = block[pos];
        if ((y >> 4) == k.m) {
            best.kosten = 2;
            best.bytes[0] = uint8_t(k.m * 16);
            best.bytes[1] = uint8_t(y & 15);
        } else {
            best.bytes[0] = y;
        }
        k.laeufe(pos, best);
        k.kopien(pos, best);
        k.nachfolger(pos, best);
        for (int j = 0; j < best.kosten; ++j) aus[n++] = best.bytes[j];
        k.lernen(best, pos);
        pos += best.laenge;
    }
    return n;
}
