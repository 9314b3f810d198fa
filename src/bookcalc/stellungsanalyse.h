#pragma once
#include <cstdint>

// "makepos": searches every position of the list (lines "PROBABILITY FEN")
// with a node limit and writes "MOVE SCORE FEN" lines.
bool stellungenAnalysieren(const char* eingabe, const char* ausgabe, int64_t knoten, int hashMb);
