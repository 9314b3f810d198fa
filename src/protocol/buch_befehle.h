#pragma once
#include <cstdint>
#include <memory>

class Ausgabe_t;
class Buchberechnung_t;

// The UCI "book" command (the whole line). Its sub-commands build and look
// at books:
//   book add FILE.pgn [value V] [CalcELO]   games into the statistics
//   book addpos FILE [value V]              analyses ("makepos" output)
//   book readmem FILE | writemem FILE       the statistics as a binary image
//   book write FILE [threshold T] [width W] the statistics as a text book
//   book writeEPD FILE ... | write960 FILE  (the same; the second writes nothing)
//   book lock | unlock | delete
//   book entropy BOOK                       variety of a text book, in bits
//   book positions BOOK out FILE            the last positions of its lines
//   book makepos FILE out FILE [nodes N] [hash MB]   analyses positions
// objekt is the statistics, created by the commands that fill it and freed
// by "delete" and by a write.
void buchBefehl(const char* zeile, std::unique_ptr<Buchberechnung_t>& objekt, Ausgabe_t& ausgabe);
