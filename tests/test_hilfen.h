#pragma once
// Small helpers shared by the tests, and the headers nearly every test
// needs. The start-up tables are built once by the test environment.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "chess/attacks.h"
#include "chess/squares.h"
#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/spiel.h"
#include "chess/stellung.h"
#include "eval/endspiel.h"
#include "platform/clock.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"
#include "shell/ausgabe.h"

struct TestStellung {
    Stellung_t st;
    Stellungsdaten_t d;
    bool ok = false;
    explicit TestStellung(const char* fen = nullptr) { ok = stellungSetzen(st, d, fen); }
};

// The position after the moves (coordinates or SAN) from the FEN (nullptr:
// the start position); not ok when a move does not fit.
inline TestStellung stellungNach(const char* fen, const std::string& zuege)
{
    TestStellung t(fen);
    std::istringstream in(zuege);
    for (std::string wort; in >> wort;) {
        Stellungsdaten_t neu;
        const Zug z = zugTextLesen(t.st, t.d, wort.c_str());
        if (!z || !zugSpielen(t.st, z, neu, t.d)) t.ok = false;
        t.d = neu;
    }
    return t;
}

// An output channel that prints plain lines and drops everything else.
struct StummeAusgabe : Ausgabe_t {
    using Ausgabe_t::Ausgabe_t;
    void Fehler(const char*, const char*) override {}
    void Fehler2(const char*, const char*) override {}
    void BesterZug(const Stellung_t&, Zug, Zug) override {}
    void Hauptvariante(const Stellung_t&, const Zug*, int, int, int, int, int, int, int64_t, int64_t, int,
                       bool) override {}
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

// Runs fn on a temporary file: what it returns and what it wrote there (for
// the tools and reports that print to a FILE*).
template <class F>
auto mitschreiben(F fn)
{
    std::FILE* f = std::tmpfile();
    auto r = std::make_pair(fn(f), std::string());
    r.second = dateiInhalt(f);
    std::fclose(f);
    return r;
}

// The lines of a text, without their line ends (a last line without one
// counts too).
inline std::vector<std::string> zeilenAus(const std::string& text)
{
    std::vector<std::string> r;
    std::istringstream in(text);
    for (std::string z; std::getline(in, z);) r.push_back(z);
    return r;
}

inline std::string dateiText(const std::string& pfad)
{
    std::ostringstream s;
    s << std::ifstream(pfad, std::ios::binary).rdbuf();
    return s.str();
}

inline void dateiSchreiben(const std::string& pfad, const std::string& inhalt)
{
    std::ofstream(pfad, std::ios::binary) << inhalt;
}

// A directory of its own for one test (tests run as processes of their
// own, side by side), removed at the end.
struct TestVerzeichnis {
    static inline std::atomic<int> zaehler{0};
    std::string pfad = (std::filesystem::temp_directory_path() /
                        ("velkaris-test-" + std::to_string(std::random_device{}()) + "-" + std::to_string(zaehler++)))
                           .string();
    TestVerzeichnis() { std::filesystem::create_directories(pfad); }
    ~TestVerzeichnis() { std::filesystem::remove_all(pfad); }
    std::string datei(const std::string& name) const { return pfad + "/" + name; }
};

// A file in the temporary directory, removed with the object.
struct TempDatei {
    std::string name;
    explicit TempDatei(const std::string& inhalt = std::string())
    {
        static std::random_device zufall;
        name = "/tmp/velkaris_test_" + std::to_string(zufall()) + std::to_string(zufall());
        if (!inhalt.empty()) schreiben(inhalt);
    }
    ~TempDatei()
    {
        std::remove(name.c_str());
        std::remove((name + ".tmp").c_str());
    }
    void schreiben(const std::string& inhalt) const { dateiSchreiben(name, inhalt); }
    std::string lesen() const { return std::filesystem::exists(name) ? dateiText(name) : "<missing>"; }
};

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
    return std::string(VELKARIS_TEST_DATA) + "/" + name;
}
