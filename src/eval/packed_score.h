#pragma once
#include <cstdint>

// A middlegame value and an endgame value carried in one 32-bit word: the
// middlegame half in the low 16 bits (two's complement), the endgame half
// above it, so that a pair (mg, eg) is the number eg * 65536 + mg. Pairs are
// added and subtracted as whole words; a plain integer added to a pair lands
// in the middlegame half. When the middlegame half leaves the 16-bit range it
// wraps and carries into the endgame half; the unpacking below is what
// decides the values. The arithmetic runs on unsigned words, so every wrap is
// well defined.
struct PackedScore {
    uint32_t wort = 0;

    constexpr PackedScore() = default;
    constexpr explicit PackedScore(uint32_t w) : wort(w) {}

    // Low 16 bits read as a signed 16-bit number.
    constexpr int32_t mg() const { return int16_t(uint16_t(wort)); }
    // (word + 32768) shifted right arithmetically by 16.
    constexpr int32_t eg() const { return int32_t(wort + 32768u) >> 16; }
    // The word as a signed 32-bit integer.
    constexpr int32_t roh() const { return int32_t(wort); }

    constexpr PackedScore& operator+=(PackedScore b) { wort += b.wort; return *this; }
    constexpr PackedScore& operator-=(PackedScore b) { wort -= b.wort; return *this; }
    friend constexpr PackedScore operator+(PackedScore a, PackedScore b) { return PackedScore(a.wort + b.wort); }
    friend constexpr PackedScore operator-(PackedScore a, PackedScore b) { return PackedScore(a.wort - b.wort); }
    friend constexpr PackedScore operator-(PackedScore a) { return PackedScore(0u - a.wort); }
    friend constexpr PackedScore operator*(PackedScore a, int n) { return PackedScore(a.wort * uint32_t(n)); }
    friend constexpr PackedScore operator*(int n, PackedScore a) { return PackedScore(a.wort * uint32_t(n)); }
    friend constexpr bool operator==(PackedScore a, PackedScore b) { return a.wort == b.wort; }
};

constexpr PackedScore S(int mg, int eg)
{
    return PackedScore(uint32_t(eg) * 65536u + uint32_t(mg));
}

// A plain integer lands in the middlegame half.
constexpr PackedScore nurMg(int32_t v) { return PackedScore(uint32_t(v)); }
// A plain integer shifted into the endgame half.
constexpr PackedScore nurEg(int32_t v) { return PackedScore(uint32_t(v) << 16); }
