#pragma once
#include <cstdint>
#include <memory>

#include "chess/stellung.h"
#include "eval/bewertungstabellen.h"
#include "eval/gewichte.h"
#include "eval/spur.h"

// The evaluation's tables in traced numbers, for one weight record: every
// entry carries the derivative 1 by the weight it comes from.
using SpurTabellen_t = Bewertungstabellen<SpurPaar_t, Spur_t>;
std::unique_ptr<SpurTabellen_t> spurTabellen(const Gewichte_t& g);

// The static score of a position for the side to move, as the search sees
// it (endgame recogniser, then the evaluation), with its derivative by
// every weight, gathered (ordered by index, no zeros). Where the
// recogniser's score replaces the evaluation the derivative is empty. The
// value equals the engine's score under the same weights unless a packed
// half of the engine's sum leaves 16 bits (traced pairs do not wrap).
Spur_t spurBewertung(const SpurTabellen_t& tab, const Stellung_t& st, const Stellungsdaten_t& d);
