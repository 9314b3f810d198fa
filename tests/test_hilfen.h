#pragma once
// Small helpers shared by the tests.
// The start-up tables are built once by the test environment.
#include <cstdio>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

#include "chess/attacks.h"
#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/stellung.h"
#include "eval/endspiel.h"
#include "shell/ausgabe.h"

struct TestStellung {
    Stellung_t st;
    Stellungsdaten_t d;
    bool ok = false;
    explicit TestStellung(const char* fen = nullptr) { ok = stellungSetzen(st, d, fen); }
};

// An output channel that prints plain lines and drops everything else.
struct StummeAusgabe : Ausgabe_t {
    using Ausgabe_t::Ausgabe_t;
    void Fehler(const char*, const char*) override {}
    void Fehler2(const char*, const char*) override {}
    void BesterZug(const Stellung_t&, Zug, Zug) override {}
    void Hauptvariante(const Stellung_t&, const Zug*, int, int, int, int, int, int, int64_t, int64_t, int,
                       bool) override
    {
    }
};

// An output channel that keeps its plain lines in memory; the search thread
// may print while the test thread looks.
template <class Basis>
struct Mitschrift : Basis {
    using Basis::Basis;
    void Zeile(const char* text) override
    {
        std::lock_guard<std::mutex> g(sperre);
        if (!this->IstStumm()) zeilen.emplace_back(text);
    }
    std::size_t anzahl()
    {
        std::lock_guard<std::mutex> g(sperre);
        return zeilen.size();
    }
    // Lines printed since the last call.
    std::vector<std::string> neue()
    {
        std::lock_guard<std::mutex> g(sperre);
        std::vector<std::string> r(zeilen.begin() + long(gelesen), zeilen.end());
        gelesen = zeilen.size();
        return r;
    }
    // A line not yet handed out by neue() starts with this text.
    bool neueMit(const char* anfang)
    {
        std::lock_guard<std::mutex> g(sperre);
        for (std::size_t i = gelesen; i < zeilen.size(); ++i)
            if (zeilen[i].rfind(anfang, 0) == 0) return true;
        return false;
    }

    std::vector<std::string> zeilen;
    std::size_t gelesen = 0;
    std::mutex sperre;
};

// A fixed xorshift sequence, so random cases are the same in every run.
struct Xorshift {
    uint64_t x = 0x9E3779B97F4A7C15ull;
    uint64_t operator()()
    {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        return x;
    }
};

constexpr Bitboard felder(std::initializer_list<int> liste)
{
    Bitboard b = 0;
    for (int f : liste) b |= bit(f);
    return b;
}

// Everything written to a temporary file so far.
inline std::string dateiInhalt(std::FILE* f)
{
    std::rewind(f);
    std::string s;
    for (int c; (c = std::fgetc(f)) != EOF;) s += char(c);
    return s;
}

inline std::string zugText(const Stellung_t& st, Zug z)
{
    char puffer[8];
    zugSchreiben(st, z, puffer);
    return puffer;
}

inline std::string fenText(const Stellung_t& st)
{
    char puffer[128];
    fenSchreiben(st, puffer);
    return puffer;
}

inline std::string testDaten(const char* name)
{
    std::string pfad(VELKARIS_TEST_DATA);
    pfad.append(1, '/');
    pfad.append(name);
    return pfad;
}
