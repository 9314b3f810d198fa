#pragma once
// An independent solver for king and pawn against king, for checking the
// engine's table. It knows nothing of the engine's tables: geometry comes
// from row and file arithmetic, moves follow the ordinary rules of chess.
//
// What it computes: for every legal position with a white pawn (any file,
// ranks 2 to 7), a white king and a black king, with either side to move,
// whether White can force a safe promotion, i.e. reach a position where the
// pawn steps onto the eighth rank and Black cannot take the new queen at
// once, against every defence. Black draws by taking the pawn or by being
// stalemated. The result is the exact number of plies to that promotion
// (the push to the eighth rank counts as one ply), White shortest and
// Black longest; 0 when no such promotion can be forced.
#include <cstdint>
#include <cstdlib>
#include <vector>

class KbkBruteForce {
public:
    static constexpr int ILLEGAL = -1;

    KbkBruteForce() : d_(64 * 64 * 64 * 2, 0) { solve(); }

    // Plies to the forced safe promotion, 0 without one, ILLEGAL for
    // positions that cannot occur in a game (pawn on ranks 1 or 8 included).
    int plies(int pawn, int wk, int bk, bool whiteToMove) const { return d_[index(pawn, wk, bk, whiteToMove)]; }

    static bool adjacent(int a, int b) { return a != b && std::abs(a / 8 - b / 8) <= 1 && std::abs(a % 8 - b % 8) <= 1; }
    // The white pawn on p (moving towards row 0) attacks sq.
    static bool pawnAttacks(int p, int sq) { return sq / 8 == p / 8 - 1 && std::abs(sq % 8 - p % 8) == 1; }

    static bool legal(int p, int wk, int bk, bool whiteToMove)
    {
        if (p / 8 < 1 || p / 8 > 6) return false;
        if (p == wk || p == bk || wk == bk || adjacent(wk, bk)) return false;
        return !(whiteToMove && pawnAttacks(p, bk)); // side not to move in check
    }

private:
    std::vector<int8_t> d_;

    static int index(int p, int wk, int bk, bool w) { return ((p * 64 + wk) * 64 + bk) * 2 + (w ? 1 : 0); }

    static int neighbours(int sq, int* out)
    {
        int n = 0;
        for (int dr = -1; dr <= 1; ++dr)
            for (int df = -1; df <= 1; ++df) {
                int r = sq / 8 + dr, f = sq % 8 + df;
                if ((dr || df) && r >= 0 && r < 8 && f >= 0 && f < 8) out[n++] = r * 8 + f;
            }
        return n;
    }

    // Won within k plies, given the results of the plies before.
    bool wonBefore(int i, int k) const { return d_[i] > 0 && d_[i] < k; }

    bool whiteWins(int p, int wk, int bk, int k) const
    {
        int to[8];
        const int n = neighbours(wk, to);
        for (int j = 0; j < n; ++j)
            if (to[j] != p && !adjacent(to[j], bk) && wonBefore(index(p, to[j], bk, false), k)) return true;
        const int q = p - 8;
        if (q == wk || q == bk) return false;
        if (q / 8 == 0) return k >= 1 && (!adjacent(q, bk) || adjacent(q, wk));
        if (wonBefore(index(q, wk, bk, false), k)) return true;
        const int q2 = p - 16;
        return p / 8 == 6 && q2 != wk && q2 != bk && wonBefore(index(q2, wk, bk, false), k);
    }

    bool blackLoses(int p, int wk, int bk, int k) const
    {
        int to[8];
        const int n = neighbours(bk, to);
        int moves = 0;
        for (int j = 0; j < n; ++j) {
            const int s = to[j];
            if (adjacent(s, wk) || pawnAttacks(p, s)) continue;
            ++moves;
            if (s == p) return false; // takes the pawn
            if (!wonBefore(index(p, wk, s, true), k)) return false;
        }
        return moves > 0; // no move at all: stalemate (a pawn cannot mate)
    }

    // Index i holds pawn i / 8192, white king i / 128 % 64, black king
    // i / 2 % 64 and the side to move i % 2 (see index()).
    void solve()
    {
        const int n = int(d_.size());
        for (int i = 0; i < n; ++i)
            if (!legal(i / 8192, i / 128 % 64, i / 2 % 64, i % 2)) d_[i] = ILLEGAL;
        for (int k = 1;; ++k) {
            bool changed = false;
            for (int i = 0; i < n; ++i) {
                const int p = i / 8192, wk = i / 128 % 64, bk = i / 2 % 64;
                if (d_[i] == 0 && (i % 2 ? whiteWins(p, wk, bk, k) : blackLoses(p, wk, bk, k))) {
                    d_[i] = int8_t(k);
                    changed = true;
                }
            }
            if (!changed) break;
        }
    }
};
