#pragma once
#include <string>
#include <vector>

// The weight tuner behind "velkaris_bench tune" (Texel's method): every
// training position is resolved by a quiescence search to its quiet
// position, whose static score under the weights is the prediction; the
// error is the mean square difference between the game result (optionally
// blended with a referee's score) and the logistic of the prediction. The
// scale constant of the logistic is fitted first, to the starting weights;
// then all free weights move at once along the error's gradient (Adam
// steps), the gradient coming from the traced evaluation. Because king
// danger, phase and scaling are not linear in the weights, the quiet
// positions and their traces are recomputed every few passes. A tenth of
// the positions is held back; its error after every pass decides when to
// stop, and the weights with the lowest held-back error are written. The
// last tenth of every file is held back (a file lists the positions of a
// game together, game after game).
struct TunerEinstellung_t {
    std::vector<std::string> dateien; // positions in the --Testpos format
    std::string ausgabe;              // the weights file written
    std::string start;                // weights file to start from ("": built in)
    int faeden = 2;
    int maxDurchgaenge = 1000;
    int auffrischen = 20;             // passes between recomputations
    int geduld = 30;                  // passes without a better held-back error before stopping
    double lernrate = 2.0;            // Adam step, in weight units
    double schiedsrichter = 0.0;      // weight of the second column's score in the target (0..1)
    double l2 = 0.0;                  // pull towards the starting weights (per squared unit)
    long minAktiv = 500;              // weights in play in fewer training positions stay as they are
    long maxStellungen = 0;           // 0: every position
    std::vector<std::string> fest;    // entries whose names begin so stay as they are
    std::vector<std::string> nur;     // if any: only entries whose names begin so move
};

// Returns the exit code.
int tunen(const TunerEinstellung_t& e);
