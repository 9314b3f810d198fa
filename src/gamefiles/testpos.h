#pragma once
#include <cstdint>
#include <string>
#include <unordered_set>


// "--Testpos PARAMETER-FILE" picks quiet, balanced positions from the games
// of a PGN file, searches them, and appends for each position whose search
// score is clearly not a draw the line
//     "%8ld%8ld%3d %s" (quiet score, search score, game result seen from
//     the side to move: +1, 0, -1, FEN)
// to an output file. The parameter file has three lines: the PGN file, the
// number of the next game (counted from 1), the output file. It is
// rewritten before every line written, naming the game of that line, so a
// run stopped at any moment continues from there; positions already in the
// output are recognised by their key and not written again.

struct TestposParameter_t {
    std::string pgn;
    long partie = 1;
    std::string ausgabe;
};

// Reads the parameter file; false with a message in fehler when it cannot
// be read or lacks a line or a number.
bool testposParameterLesen(const std::string& datei, TestposParameter_t& p, std::string& fehler);
// Rewrites it under a temporary name; false when that failed.
bool testposParameterSchreiben(const std::string& datei, const TestposParameter_t& p);

// The keys of the positions in an existing output file (FEN from the 21st
// character of each line) into bekannt. A last line without its line end
// is cut off the file when it is the start of a line of this tool's own
// in a file that holds such lines (alone in the file, it must hold the
// numbers and the start of the FEN): a run killed while writing it;
// otherwise it stays, it counts as a line without a position, and
// offeneZeile is set: the next line must begin with a line end. Returns
// the number of lines that held no position (skipped). A missing file is
// empty.
int bekannteStellungenLesen(const std::string& datei, std::unordered_set<uint64_t>& bekannt, bool& offeneZeile);

// Half-width of the window of quiet scores accepted for a position key.
inline int ruheFenster(uint64_t schluessel)
{
    const uint64_t a = schluessel % 2651, b = schluessel % 4151;
    return int(a < b ? a : b) + 850;
}

// The tool: one second per position unless the settings say otherwise.
// Returns the exit code (0, or 1 when a file could not be read or written).
struct WerkzeugEinstellung_t;
int testposWerkzeug(const char* parameterDatei);
int testposWerkzeug(const char* parameterDatei, const WerkzeugEinstellung_t& e);
