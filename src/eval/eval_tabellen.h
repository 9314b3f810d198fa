#pragma once
#include <cstdint>

#include "eval/packed_score.h"

// The hand-set weights of the evaluation, from which the built-in weight
// record is made (eval/gewichte.cpp). The evaluation itself reads the
// tables derived from the current record (eval/bewertungstabellen.h).
// Square tables are written once for White, from the 8th rank down to the
// 1st, files a to d; files e to h are the mirror image. Black reads the
// entry of its square mirrored to White's side (sq ^ 56).

namespace evaltab {

constexpr PackedScore N0 = S(0, 0);

// Pawns by square.
constexpr PackedScore BAUER_HALB[8][4] = {
    {N0, N0, N0, N0},
    {N0, N0, N0, N0},
    {S(107, 198), S(247, 291), S(230, 297), S(273, 308)},
    {S(6, 95), S(146, 288), S(129, 194), S(172, 204)},
    {S(-48, 55), S(92, 146), S(75, 154), S(118, 164)},
    {S(-68, 40), S(72, 133), S(55, 139), S(98, 149)},
    {S(-76, 35), S(64, 128), S(47, 134), S(90, 144)},
    {N0, N0, N0, N0},
};

// Passed pawns by square.
constexpr PackedScore FREIBAUER_HALB[8][4] = {
    {N0, N0, N0, N0},
    {S(635, 1233), S(639, 1222), S(638, 1147), S(660, 1076)},
    {S(231, 508), S(235, 487), S(234, 422), S(256, 351)},
    {S(118, 325), S(122, 304), S(121, 239), S(143, 168)},
    {S(50, 158), S(54, 137), S(53, 72), S(75, 1)},
    {S(34, 33), S(38, 12), S(37, -53), S(59, -124)},
    {S(42, -13), S(46, -34), S(45, -99), S(67, -170)},
    {N0, N0, N0, N0},
};

constexpr PackedScore SPRINGER_HALB[8][4] = {
    {S(-1, -2), S(64, 62), S(79, 91), S(92, 101)},
    {S(89, 63), S(102, 80), S(115, 90), S(128, 98)},
    {S(134, 77), S(145, 75), S(156, 72), S(168, 78)},
    {S(21, 55), S(32, 51), S(42, 46), S(50, 39)},
    {S(-16, 15), S(-5, 11), S(4, 6), S(12, -1)},
    {S(-38, -38), S(-26, -40), S(-16, -43), S(-3, -37)},
    {S(-39, -73), S(-27, -56), S(-13, -46), S(0, -38)},
    {S(-125, -176), S(-59, -112), S(-45, -83), S(-31, -73)},
};

// A knight or bishop on a square no enemy pawn can ever attack.
constexpr PackedScore SPRINGER_VORPOSTEN_HALB[8][4] = {
    {N0, S(10, 14), S(24, 32), S(31, 42)},
    {N0, S(35, 46), S(80, 106), S(104, 139)},
    {N0, S(35, 46), S(80, 106), S(104, 139)},
    {N0, S(21, 28), S(52, 69), S(83, 111)},
    {N0, S(7, 9), S(14, 19), S(42, 56)},
    {N0, N0, N0, S(7, 9)},
    {N0, N0, N0, N0},
    {N0, N0, N0, N0},
};

constexpr PackedScore LAEUFER_VORPOSTEN_HALB[8][4] = {
    {N0, S(3, 14), S(6, 34), S(8, 43)},
    {N0, S(9, 48), S(21, 110), S(28, 144)},
    {N0, S(9, 48), S(21, 110), S(28, 144)},
    {N0, S(6, 29), S(14, 72), S(22, 115)},
    {N0, S(2, 10), S(4, 19), S(11, 58)},
    {N0, N0, N0, S(2, 10)},
    {N0, N0, N0, N0},
    {N0, N0, N0, N0},
};

// King placement in the middlegame (plain values).
constexpr int32_t KOENIG_SICHERHEIT_HALB[8][4] = {
    {0, 0, 0, 0},
    {0, 0, 0, 0},
    {0, 0, 0, 0},
    {0, 0, 0, 0},
    {31, 0, 0, 0},
    {30, 28, 0, 0},
    {47, 49, 7, -2},
    {43, 81, 37, 7},
};


// Squares a king can reach in the endgame within three steps; 0 from 23 on.
constexpr int32_t KOENIG_REICHWEITE[23] = {
    -148, -112, -52, -27, -16, -10, -7, -5, -4, -3, -3, -2, -2, -2,
    -1, -1, -1, -1, -1, -1, -1, -1, -1,
};

// Passed pawns standing side by side or one rank apart, by row (White's view).
constexpr PackedScore VERBUNDENE_FREIBAUERN[8] = {
    S(0, 0), S(111, 66), S(78, 46), S(46, 26), S(24, 13), S(12, 7), S(12, 7), S(0, 0),
};

// Advanced passed pawns by i = 8 - rank (1 on the 7th rank, 3 on the 5th).
constexpr PackedScore FREIBAUER_GEDECKT[8] = {
    S(0, 0), S(55, 60), S(41, 45), S(11, 12), S(2, 2), S(0, 0), S(0, 0), S(0, 0),
};
constexpr PackedScore FREIBAUER_BLOCKIERT[8] = {
    S(0, 0), S(123, 132), S(92, 99), S(24, 26), S(4, 5), S(0, 0), S(0, 0), S(0, 0),
};
constexpr PackedScore STOPP_ANGEGRIFFEN[8] = {
    S(0, 0), S(21, 28), S(15, 21), S(4, 5), S(0, 1), S(0, 0), S(0, 0), S(0, 0),
};
constexpr PackedScore STOPP_ANGEGRIFFEN2[8] = {
    S(0, 0), S(6, 18), S(4, 13), S(1, 3), S(0, 0), S(0, 0), S(0, 0), S(0, 0),
};
constexpr PackedScore STOPP_GEDECKT[8] = {
    S(0, 0), S(199, 193), S(149, 144), S(39, 38), S(7, 7), S(0, 0), S(0, 0), S(0, 0),
};
constexpr PackedScore STOPP_GEDECKT2[8] = {
    S(0, 0), S(174, 179), S(130, 134), S(34, 35), S(6, 7), S(0, 0), S(0, 0), S(0, 0),
};

// By the number of enemy pieces hanging or threatened (at most 16).
constexpr PackedScore DROHUNG[17] = {
    S(0, 0), S(97, 93), S(238, 238), S(380, 378), S(523, 517), S(665, 600),
    S(800, 600), S(800, 600), S(800, 600), S(800, 600), S(800, 600), S(800, 600),
    S(800, 600), S(800, 600), S(800, 600), S(800, 600), S(800, 600),
};

// Mobility of knights and bishops by the weighted number of target squares,
// of rooks and queens by their number.
constexpr PackedScore SPRINGER_MOBILITAET[13] = {
    S(-408, -246), S(-204, -123), S(-120, -72), S(-55, -33), S(0, 0), S(48, 29), S(92, 55),
    S(132, 79), S(169, 102), S(204, 123), S(237, 143), S(269, 162), S(299, 180),
};
constexpr PackedScore LAEUFER_MOBILITAET[23] = {
    S(-264, -168), S(-132, -84), S(-77, -49), S(-35, -23), S(0, 0), S(31, 20), S(59, 38),
    S(85, 54), S(109, 70), S(132, 84), S(153, 98), S(174, 111), S(193, 123), S(212, 135),
    S(230, 146), S(247, 157), S(264, 168), S(280, 178), S(296, 188), S(311, 198), S(326, 208),
    S(341, 217), S(355, 226),
};
constexpr PackedScore TURM_MOBILITAET[15] = {
    S(-360, -296), S(-180, -148), S(-105, -87), S(-48, -40), S(0, 0), S(42, 35), S(81, 67),
    S(116, 96), S(149, 123), S(180, 148), S(209, 172), S(237, 195), S(264, 217), S(289, 238),
    S(313, 258),
};
constexpr PackedScore DAME_MOBILITAET[28] = {
    S(-278, -230), S(-139, -115), S(-81, -67), S(-37, -31), S(0, 0), S(33, 27), S(62, 52),
    S(90, 74), S(115, 95), S(139, 115), S(162, 134), S(183, 151), S(204, 168), S(223, 185),
    S(242, 200), S(260, 215), S(278, 230), S(295, 244), S(312, 258), S(328, 271), S(344, 284),
    S(359, 297), S(374, 309), S(389, 322), S(403, 333), S(417, 345), S(431, 356), S(444, 368),
};

// King shelter by i = (no pawn on the left file) + (none on the right file)
// + 3 x (none on the king's file).
constexpr int32_t SCHILD[6] = {1, -74, -78, -79, -90, -139};

// Opposite bishops: how far apart one side's passed pawns stand (0: at most
// one passed pawn, 1: within three files, 2: further apart).
constexpr int32_t STREUUNG[3] = {0, 17, 13};

// Imbalance, by the count of the pieces named.
constexpr PackedScore TURM_GEGEN_SPRINGER[11] = {
    S(4, 151), S(-68, 92), S(-108, -90), S(-162, -135), S(-216, -180), S(-270, -225),
    S(-324, -270), S(-378, -315), S(-432, -360), S(-486, -405), S(-540, -450),
};
constexpr PackedScore TURM_GEGEN_LAEUFER[11] = {
    S(-45, 163), S(-42, 191), S(-178, -66), S(-267, -99), S(-356, -132), S(-445, -165),
    S(-534, -198), S(-623, -231), S(-712, -264), S(-801, -297), S(-890, -330),
};
constexpr PackedScore DAME_GEGEN_SPRINGER[11] = {
    S(16, -50), S(-64, -348), S(-106, -396), S(-159, -594), S(-212, -792), S(-265, -990),
    S(-318, -1188), S(-371, -1386), S(-424, -1584), S(-477, -1782), S(-530, -1980),
};
constexpr PackedScore DAME_GEGEN_LAEUFER[11] = {
    S(11, -135), S(-81, -102), S(-70, -638), S(-105, -957), S(-140, -1276), S(-175, -1595),
    S(-210, -1914), S(-245, -2233), S(-280, -2552), S(-315, -2871), S(-350, -3190),
};
constexpr PackedScore TUERME_BEI_DAME[11] = {
    S(1, 70), S(-365, 267), S(-892, 450), S(-1338, 675), S(-1784, 900), S(-2230, 1125),
    S(-2676, 1350), S(-3122, 1575), S(-3568, 1800), S(-4014, 2025), S(-4460, 2250),
};
constexpr PackedScore BAUERN_BEI_DAME[9] = {
    S(174, 32), S(256, 148), S(-358, 22), S(-816, -13), S(-1273, -48), S(-1731, -83),
    S(-2189, -119), S(-2646, -154), S(-3104, -189),
};
constexpr PackedScore LAEUFERPAAR = S(0, 130);

// Imbalance, the trade-down correction of the balance (pieces, pawns).
constexpr int32_t ABTAUSCH[2] = {217, 507};
// The balance counts once in the whole score and once more in the
// middlegame half (in 1/256: middlegame, endgame).
constexpr int32_t MATERIAL_ZUSATZ[2] = {256, 0};

// Pawn structure.
constexpr PackedScore DREIFACH = S(44, 300);
constexpr PackedScore ISOLIERT_RAND = S(19, 30);
constexpr PackedScore ISOLIERT = S(80, 99);
constexpr PackedScore ISOLIERT_DOPPELT = S(116, 114);
constexpr PackedScore GETRENNT = S(11, 11);
constexpr PackedScore DOPPELBAUER = S(151, 139);
constexpr PackedScore RUECKSTAENDIG = S(38, 45);
constexpr PackedScore RUECKSTAENDIG_HINTER_BLOCK = S(10, 34);
constexpr PackedScore KANDIDAT = S(170, 76);
constexpr PackedScore KANDIDAT_6 = S(211, 208);

// Pieces and pawns.
constexpr PackedScore TURM_AUF_7 = S(136, 44);
constexpr PackedScore TURM_AUF_7_BAUERN = S(0, 22);
constexpr PackedScore TURM_AUF_7_KOENIG = S(0, 88);
constexpr PackedScore TURM_GEGEN_RUECKSTAENDIG = S(10, 11);
constexpr PackedScore LAEUFER_ECKE = S(315, 375);
constexpr PackedScore LAEUFER_BAUERNFARBE = S(5, 23);
constexpr PackedScore NACKTER_KOENIG = S(166, 350);
constexpr PackedScore FESSELUNG = S(111, 247);

// King-attack counter: pawns, knights, bishops, rooks, queens reaching the
// squares around the enemy king.
constexpr int32_t ANGRIFF_ZAEHLER[5] = {48, 34, 8, 25, 47};

// King safety (plain middlegame values): squares beside the king attacked
// twice (one, more), such a square a queen reaches (each, and with hardly
// any flight), the king's file without pawns (per rook, per queen), pinned
// neighbours, the castling bonus, the curvature of the danger, the blocked
// centre pawn, undeveloped minor pieces (each, more with the queen out).
constexpr int32_t KOENIG_DOPPELT[2] = {37, 42};
constexpr int32_t KOENIG_DAMENFELD[2] = {61, 38};
constexpr int32_t KOENIG_LINIE[2] = {15, 18};
constexpr int32_t KOENIG_GEFESSELT = 8;
constexpr int32_t KOENIG_ROCHADE = 35;
constexpr int32_t KOENIG_KRUEMMUNG = 26;
constexpr int32_t ZENTRUMSBAUER = 40;
constexpr int32_t UNENTWICKELT[2] = {50, 42};

// The king in the endgame (plain endgame values): on the edge without a
// square inside, own pawns two steps and one step away, no square to go
// to, stop squares within three, two and one step, none within reach.
constexpr int32_t KOENIG_RAND = 153;
constexpr int32_t KOENIG_BAUERN[2] = {48, 22};
constexpr int32_t KOENIG_EINGESPERRT = 300;
constexpr int32_t KOENIG_STOPP[3] = {46, 79, 129};
constexpr int32_t KOENIG_STOPP_FERN = 76;
// Pawn races: per passed pawn more, enemy king outside the catch region
// (the pawns' side to move, or not), the king on a line through a
// promotion square it cannot reach; per row of the rearmost passed pawn.
constexpr int32_t WETTLAUF[4] = {253, 284, 169, 247};
constexpr int32_t WETTLAUF_REIHE = 101;

constexpr PackedScore TEMPO = S(68, 35);

// Drawish endings: opposite bishops alone and with a rook each (in 1/256),
// and a side without pawns against pawns.
constexpr int32_t REMIS_UNGLEICHE_LAEUFER[2] = {112, 16};
constexpr int32_t REMIS_OHNE_BAUERN = 1300;

} // namespace evaltab
