#pragma once
#include <cstdint>

#include "platform/lock.h"

// The engine's random generator: a congruential word plus a five-word
// xorshift sequence. The neural network's training steps, the opening book,
// the random mover and the test-position tools draw from one shared
// instance; a lock makes the draws safe from several threads (none of them
// draws often).
class Zufallsgenerator {
public:
    // Seeded with the fixed words and the calendar clock in seconds.
    Zufallsgenerator();
    // Seeded with the fixed words and the given fifth word, so that a
    // sequence can be repeated (tests, reproducible tools).
    explicit Zufallsgenerator(uint32_t fuenftesWort);

    Zufallsgenerator(const Zufallsgenerator&) = delete;
    Zufallsgenerator& operator=(const Zufallsgenerator&) = delete;

    // The shared instance, created on first use.
    static Zufallsgenerator& gemeinsam();

    // Next raw 32-bit value.
    uint32_t ziehen();
    // A real in [a, b].
    double reell(double a, double b);
    // An integer in [a, b]; a when b < a.
    int32_t ganz(int32_t a, int32_t b);

private:
    uint32_t zustand_[5];
    Sperre_t sperre_;
};
