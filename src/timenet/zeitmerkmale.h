#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "chess/stellung.h"
#include "chess/zug.h"

// What the search controller records about one completed iteration of the
// iterative deepening; the time network compares it with the record of the
// iteration before.
struct Iterationsdaten_t {
    uint8_t gewechselt[3] = {0, 0, 0}; // best move changed: [0] this iteration, [1] the previous, [2] the one before
    uint8_t imSchach = 0;              // side to move is in check
    uint8_t taktisch = 0;              // best move is tactical (zugIstTaktisch, or the controller's own flag)
    int32_t wurzelZuege = 0;           // number of root moves
    int32_t bedroht = 0;               // threatened opponent pieces (bedrohteFiguren)
    uint64_t knotenBester = 0;         // nodes spent on the best root move
    uint64_t knotenAndere1 = 0;        // ... on the other root move with most nodes
    uint64_t knotenAndere2 = 0;        // ... on the one with the second most
    uint64_t knotenGesamt = 0;         // nodes of the whole iteration
    Zug hauptvariante[4] = {0, 0, 0, 0}; // first four moves of the principal variation, missing ones 0
    int32_t bewertung = 0;             // the iteration's score
};

constexpr int ZEIT_MERKMALE = 16;
using Zeitmerkmale_t = std::array<double, ZEIT_MERKMALE>;

// The 16 network inputs of an iteration, from its record and the previous
// iteration's.
void zeitMerkmaleBerechnen(const Iterationsdaten_t& jetzt, const Iterationsdaten_t& vorher, Zeitmerkmale_t& m);

// The features as one text line: every value in the default stream format
// (six significant digits) followed by a blank.
std::string zeitMerkmaleText(const Zeitmerkmale_t& m);
// Reads 16 values from such a text. False when fewer can be read.
bool zeitMerkmaleLesen(std::string_view text, Zeitmerkmale_t& m);

// One real in the default stream format (six significant digits).
std::string zeitZahlText(double x);

// Pieces of the side not to move that the side to move attacks while they
// are not defended (the king whenever it is attacked), together with those
// the side to move threatens with lesser pieces; each piece counted once.
inline int bedrohteFiguren(const Stellung_t& st, const Stellungsdaten_t& d)
{
    const int gegner = 1 - st.amZug;
    const Angriffe_t& gegenGegner = d.angriffe[gegner]; // attacks of the side to move
    const Bitboard verteidigt = d.angriffe[st.amZug].angegriffen;
    const Bitboard figuren = st.alle(gegner);
    Bitboard b = figuren & gegenGegner.angegriffen & ~verteidigt;
    b |= st.figuren(gegner, KOENIG) & gegenGegner.angegriffen;
    b |= figuren & gegenGegner.bedroht;
    return popcount(b);
}

// A capture (the destination holds an opponent piece), a promotion or an en
// passant capture.
inline bool zugIstTaktisch(const Stellung_t& st, Zug z)
{
    const int art = zugArt(z);
    if (art == ART_EP || (art >= ART_PROMO_SPRINGER && art <= ART_PROMO_DAME)) return true;
    return art != ART_ROCHADE && (st.alle(1 - st.amZug) & bit(zugNach(z))) != 0;
}
