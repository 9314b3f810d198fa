#pragma once
#include <cstdint>

// The XBoard time control: up to three periods played one after the other
// ("level 40 5 0" is one period of 40 moves in 5 minutes that repeats;
// "level 0 2:30 1.5" is the whole game in 2:30 with 1.5 s a move). The last
// period that is defined repeats when its moves are used up.
struct Periode_t {
    int32_t zuege = -1;     // moves of the period; 0 = all remaining moves, -1 = no such period
    double basisMs = 0;     // time the period brings
    double inkrementMs = 0; // time every move of the period brings
};

struct Zeitkontrolle_t {
    static constexpr int PERIODEN = 3;
    Periode_t periode[PERIODEN];

    // The whole game in five minutes, no increment.
    static Zeitkontrolle_t standard();

    // The period with moves is the last one defined when no further one
    // follows it.
    bool istLetzte(int i) const { return i + 1 >= PERIODEN || periode[i + 1].zuege < 0; }
};

// What the "go" command of a move carries.
struct GoUhr_t {
    int32_t zuegeBisKontrolle; // 0 = none
    double inkrementMs;
};

// Moves to go and increment for a search started when k of the engine's own
// moves (whole moves of the game, counted from 0) lie behind.
GoUhr_t goUhrWaehlen(const Zeitkontrolle_t& tk, int64_t k);

// Time the engine's clock gains after its move number k + 1 (k moves behind
// it): the increment, plus the next period's base time when the move closed
// a period.
double uhrBonus(const Zeitkontrolle_t& tk, int64_t k);

// Reads the arguments of "level": one to three triples of moves, base time
// (whole minutes or minutes:seconds) and increment in seconds. False (and tk
// unchanged) when the text is not such a list.
bool levelLesen(const char* text, Zeitkontrolle_t& tk);

// Reads a decimal number with an optional fraction ("5", "0.5", "-3");
// nullptr when no digit follows. Values beyond +-1e15 are cut there.
const char* dezimalLesen(const char* text, double& wert);
