#pragma once
// The evaluators behind the endgame dispatch. Each one is written for the
// side it favours (the strong side) and reads the position through
// endspiel::Sicht_t, so the same code serves White and Black.
#include "eval/endspiel.h"

namespace endspiel {

// Pawnless endings: drives the defending king to the edge. Always kind 2.
Endspielurteil_t mopUp(const Stellung_t& st);

// One pawn and pieces against pieces.
Endspielurteil_t bauerUndFiguren(const Stellung_t& st, int stark);
// King and pawn against king, from the solved table.
Endspielurteil_t bauerGegenKoenig(const Stellung_t& st, int stark);
// Bishop and rook pawn whose promotion square the bishop cannot cover.
Endspielurteil_t falscherRandbauer(const Stellung_t& st, int stark);

// Rook and pawn against rook.
Endspielurteil_t turmBauerGegenTurm(const Stellung_t& st, int stark);
// Rook and a minor piece against rook; the strong side has the minor piece.
Endspielurteil_t turmLeichtfigurGegenTurm(const Stellung_t& st, int stark);
// Rook against a minor piece.
Endspielurteil_t turmGegenLeichtfigur(const Stellung_t& st, int stark);

// Two knights against a pawn; the strong side has the knights.
Endspielurteil_t zweiSpringerGegenBauer(const Stellung_t& st, int stark);
// Bishop and knight against the lone king.
Endspielurteil_t laeuferSpringerGegenKoenig(const Stellung_t& st, int stark);

} // namespace endspiel
