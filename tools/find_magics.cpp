// One-off tool that found the engine's slider multipliers. For every square it
// searches sparse random multipliers that, with the fixed shifts 52 (rooks)
// and 55 (bishops), map all blocker subsets without a destructive collision
// into as small an index range as it can find, then packs the squares' ranges
// one after another into one shared table. Build and run by hand:
//   g++ -O2 -std=c++20 tools/find_magics.cpp -o /tmp/fm && /tmp/fm 20000000
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using U64 = uint64_t;

static U64 rngState = 0x9E3779B97F4A7C15ull;
static U64 rnd()
{
    U64 z = (rngState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
static U64 sparse() { return rnd() & rnd() & rnd(); }

// Square 0 = a8, row 0 = eighth rank.
static U64 slide(int sq, U64 occ, const int (*dirs)[2])
{
    U64 a = 0;
    int r0 = sq >> 3, f0 = sq & 7;
    for (int d = 0; d < 4; ++d) {
        int r = r0 + dirs[d][0], f = f0 + dirs[d][1];
        while (r >= 0 && r < 8 && f >= 0 && f < 8) {
            a |= 1ull << (r * 8 + f);
            if (occ & (1ull << (r * 8 + f))) break;
            r += dirs[d][0];
            f += dirs[d][1];
        }
    }
    return a;
}
static const int RD[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
static const int BD[4][2] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

static U64 mask(int sq, bool rook)
{
    U64 m = 0;
    int r0 = sq >> 3, f0 = sq & 7;
    const int (*dirs)[2] = rook ? RD : BD;
    for (int d = 0; d < 4; ++d) {
        int r = r0 + dirs[d][0], f = f0 + dirs[d][1];
        while (true) {
            int nr = r + dirs[d][0], nf = f + dirs[d][1];
            if (r < 0 || r > 7 || f < 0 || f > 7) break;
            if (nr < 0 || nr > 7 || nf < 0 || nf > 7) break; // edge square not relevant
            m |= 1ull << (r * 8 + f);
            r = nr;
            f = nf;
        }
    }
    return m;
}

int main(int argc, char** argv)
{
    long tries = argc > 1 ? atol(argv[1]) : 200000;
    U64 magic[2][64];
    int size[2][64];
    for (int rook = 1; rook >= 0; --rook) {
        int shift = rook ? 52 : 55;
        int range = 1 << (64 - shift);
        for (int sq = 0; sq < 64; ++sq) {
            U64 m = mask(sq, rook);
            std::vector<U64> occ, att;
            U64 s = 0;
            do {
                occ.push_back(s);
                att.push_back(slide(sq, s, rook ? RD : BD));
                s = (s - m) & m;
            } while (s);
            std::vector<U64> used(range);
            std::vector<int> stamp(range, -1);
            int best = range + 1;
            U64 bestMagic = 0;
            for (long t = 0; t < 50 * tries; ++t) {
                U64 mg = sparse();
                if (__builtin_popcountll((m * mg) >> 56) < 6) continue;
                int maxIdx = 0;
                bool ok = true;
                for (size_t i = 0; i < occ.size(); ++i) {
                    int idx = int((occ[i] * mg) >> shift);
                    if (idx >= best - 1) { ok = false; break; }
                    if (stamp[idx] != t) { stamp[idx] = int(t); used[idx] = att[i]; }
                    else if (used[idx] != att[i]) { ok = false; break; }
                    if (idx > maxIdx) maxIdx = idx;
                }
                if (ok) { best = maxIdx + 1; bestMagic = mg; }
                if (bestMagic && t > tries) break;
            }
            if (!bestMagic) { fprintf(stderr, "no magic for %d\n", sq); return 1; }
            magic[rook][sq] = bestMagic;
            size[rook][sq] = best;
            fprintf(stderr, "%s %2d size %d\n", rook ? "R" : "B", sq, best);
        }
    }
    long off = 0;
    for (int rook = 1; rook >= 0; --rook) {
        printf(rook ? "// rooks\n" : "// bishops\n");
        for (int sq = 0; sq < 64; ++sq) {
            printf("    {0x%016llXull, %ld},\n", (unsigned long long)magic[rook][sq], off);
            off += size[rook][sq];
        }
    }
    printf("// total %ld\n", off);
}
