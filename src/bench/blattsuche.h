#pragma once
#include <memory>

#include "chess/stellung.h"
#include "chess/zug.h"
#include "eval/bauern_tabelle.h"
#include "eval/material_tabelle.h"

// The tuner's quiescence search: from a position, captures and
// promotions (all evasions when in check) with alpha-beta over the
// engine's static score, until the position is quiet. Returns the quiet
// position at the end of the principal variation, whose static score is
// the quiescence score: the tuner fits that position's score. A capture by
// a more valuable piece onto a square the opponent defends is skipped, as
// the engine's quiescence search does.
class Blattsuche_t {
public:
    Blattsuche_t();

    // Quiescence score of st for the side to move (a mate score when a
    // check along the way has no answer); blatt is the quiet position and
    // zuege the number of plies to it (its side to move is st's when even).
    int suchen(const Stellung_t& st, Stellung_t& blatt, int& zuege);

    // The caches belong to the weights they were filled under.
    void leeren();

private:
    static constexpr int TIEFE = 12;

    int ruhe(int alpha, int beta, int ply);

    Stellung_t st_;
    Stellungsdaten_t d_[TIEFE + 1];
    Zug pv_[TIEFE + 1][TIEFE + 1];
    int pvLaenge_[TIEFE + 1];
    std::unique_ptr<MaterialTable> mt_;
    std::unique_ptr<PawnTable> pt_;
};
