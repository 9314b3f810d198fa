#pragma once
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

// Numbers with a trace, for the tuner: the evaluation runs on them instead
// of its 32-bit numbers and packed pairs (eval/bewertungstabellen.h) and
// yields, besides the score, its derivative by every weight of the record.
//
// A Spur_t holds the value, computed with the same integer operations as
// the engine's evaluation (so it equals the engine's score), and the
// derivative as a list of (weight index, coefficient); an index may occur
// several times until the list is gathered. Products follow the product
// rule; a division divides the derivative exactly (the value truncates as
// the engine's does); a comparison looks at the value only, so a branch of
// the evaluation contributes the derivative of the branch taken.

struct SpurGlied_t {
    uint16_t index;
    float faktor;
};

struct Spur_t {
    int64_t v = 0;
    std::vector<SpurGlied_t> a;

    Spur_t() = default;
    Spur_t(int64_t wert) : v(wert) {} // a constant
    Spur_t(int64_t wert, int index) : v(wert), a{{uint16_t(index), 1.0f}} {}

    Spur_t& operator+=(const Spur_t& b)
    {
        v += b.v;
        a.insert(a.end(), b.a.begin(), b.a.end());
        return *this;
    }
    Spur_t& operator-=(const Spur_t& b)
    {
        v -= b.v;
        a.reserve(a.size() + b.a.size());
        for (const SpurGlied_t& g : b.a) a.push_back({g.index, -g.faktor});
        return *this;
    }
    Spur_t& skalieren(double f)
    {
        for (SpurGlied_t& g : a) g.faktor = float(g.faktor * f);
        return *this;
    }

    // Sums the coefficients of equal indices and drops the zeros; the list
    // is then ordered by index.
    void sammeln()
    {
        std::sort(a.begin(), a.end(), [](const SpurGlied_t& x, const SpurGlied_t& y) { return x.index < y.index; });
        std::size_t n = 0;
        for (std::size_t i = 0; i < a.size();) {
            SpurGlied_t g = a[i++];
            while (i < a.size() && a[i].index == g.index) g.faktor += a[i++].faktor;
            if (g.faktor != 0.0f) a[n++] = g;
        }
        a.resize(n);
    }
};

inline Spur_t operator+(Spur_t x, const Spur_t& y) { return x += y; }
inline Spur_t operator-(Spur_t x, const Spur_t& y) { return x -= y; }
inline Spur_t operator-(const Spur_t& x) { return Spur_t() -= x; }
inline Spur_t operator*(Spur_t x, int64_t n)
{
    x.v *= n;
    x.skalieren(double(n));
    return x;
}
inline Spur_t operator*(int64_t n, Spur_t x) { return std::move(x) * n; }
inline Spur_t operator*(const Spur_t& x, const Spur_t& y)
{
    Spur_t r(x.v * y.v);
    r.a.reserve(x.a.size() + y.a.size());
    for (const SpurGlied_t& g : x.a) r.a.push_back({g.index, float(g.faktor * double(y.v))});
    for (const SpurGlied_t& g : y.a) r.a.push_back({g.index, float(g.faktor * double(x.v))});
    return r;
}
inline Spur_t operator/(Spur_t x, int64_t n)
{
    x.v /= n;
    x.skalieren(1.0 / double(n));
    return x;
}

inline bool operator==(const Spur_t& x, const Spur_t& y) { return x.v == y.v; }
inline bool operator<(const Spur_t& x, const Spur_t& y) { return x.v < y.v; }
inline bool operator>(const Spur_t& x, const Spur_t& y) { return x.v > y.v; }
inline bool operator<=(const Spur_t& x, const Spur_t& y) { return x.v <= y.v; }
inline bool operator>=(const Spur_t& x, const Spur_t& y) { return x.v >= y.v; }

// Traced numbers hold 64 bits already.
inline const Spur_t& breit(const Spur_t& x) { return x; }

// A (middlegame, endgame) pair of traced numbers, in place of a packed
// score (it never wraps).
struct SpurPaar_t {
    Spur_t m, e;

    const Spur_t& mg() const { return m; }
    const Spur_t& eg() const { return e; }

    SpurPaar_t& operator+=(const SpurPaar_t& b)
    {
        m += b.m;
        e += b.e;
        return *this;
    }
    SpurPaar_t& operator-=(const SpurPaar_t& b)
    {
        m -= b.m;
        e -= b.e;
        return *this;
    }
};

inline SpurPaar_t operator+(SpurPaar_t x, const SpurPaar_t& y) { return x += y; }
inline SpurPaar_t operator-(SpurPaar_t x, const SpurPaar_t& y) { return x -= y; }
inline SpurPaar_t operator-(const SpurPaar_t& x) { return SpurPaar_t{} -= x; }
inline SpurPaar_t operator*(const SpurPaar_t& x, int64_t n) { return {x.m * n, x.e * n}; }
inline SpurPaar_t nurMg(const Spur_t& x) { return {x, Spur_t()}; }
inline SpurPaar_t nurEg(const Spur_t& x) { return {Spur_t(), x}; }
