#pragma once
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "chess/zug.h"
#include "platform/lock.h"

// The work tree of the book calculation ("velkaris --book"): positions
// reached from the start position, each with the moves examined so far and
// their scores. Workers search the positions on the book's lines for their
// best move not yet in the tree; a node's value is the best of its moves,
// so the tree is a growing minimax tree of the opening.

// One move of a node (24 bytes in the file).
struct BaumZug_t {
    uint64_t kind = 0;     // key of the position after the move
    int32_t wert = 0;      // score for the side making the move, centipawns
    uint32_t flags = 0;    // ZUG_*
    uint32_t zug = 0;
    uint32_t partien = 0;  // games of the "pgn" form that played it
};
constexpr uint32_t ZUG_GESUCHT = 1;  // found as the best new move by a search of its position
constexpr uint32_t ZUG_PARTIE = 2;   // played in a game
constexpr uint32_t ZUG_BEWERTET = 4; // wert holds a score

struct BaumKnoten_t {
    int32_t wert = 0;      // value for the side to move, centipawns (KNOTEN_BEWERTET)
    uint32_t legal = 0;    // number of legal moves
    uint32_t flags = 0;    // KNOTEN_*
    std::vector<BaumZug_t> zuege;
};
constexpr uint32_t KNOTEN_GESPERRT = 1;      // taken by a worker's merge (never saved normally)
constexpr uint32_t KNOTEN_VOLLSTAENDIG = 2;  // every legal move has its record
constexpr uint32_t KNOTEN_BEWERTET = 4;      // wert holds a value
constexpr uint32_t KNOTEN_IN_ARBEIT = 16;    // a worker searches it (never saved normally)

constexpr uint32_t BAUM_FORMAT = 1234;
constexpr int32_t BAUM_MATT = 30000;         // value of a mated side, centipawns

// Limits of one calculation run.
struct BaumParameter_t {
    int arbeiter = 8;
    int64_t knotenJeSuche = 200000;   // nodes of one search (virtual clock)
    int maxHalbzuege = 16;            // positions deeper than this are not expanded
    int breite = 30;                  // centipawns: moves this far below the best stay on the lines
    uint64_t neueKnotenMax = 200;     // a run ends after so many new positions
    int hashMb = 8;                   // per worker
    int auftraegeJeRunde = 64;
    std::string sicherung;            // saved to after every round when not empty
};

class Buchbaum_t {
public:
    std::map<uint64_t, BaumKnoten_t> knoten;
    uint64_t neueKnoten = 0;
    mutable Sperre_t sperre; // held by workers while they read, by the merge while it writes

    // Only the start position: values 0 and its 20 moves, no flags.
    void startKnoten();
    uint64_t startSchluessel() const;

    enum Laden { GELADEN, FEHLT, DEFEKT };
    // Reads the file (a missing file gives the start node alone), reports
    // and clears the marks of an interrupted run, and checks the tree.
    // Messages go to meldungen. A defective file leaves the tree alone.
    Laden laden(const std::string& datei, std::FILE* meldungen);
    // The file's bytes without the checks (fuzzing, tests). A file ends in
    // a checksum; one without (written before they came) is read as before.
    bool lesen(std::vector<unsigned char> daten);
    bool speichern(const std::string& datei) const;

    // Replays the tree from the start position and mends what does not fit
    // (wrong keys, illegal, double or null moves, missing positions, wrong
    // move counts); returns the number of problems.
    int pruefen(std::FILE* meldungen);

    // Node values from the values of their moves (a move back into a
    // position on the current line counts as a draw).
    void werteBerechnen();

    // The games of a PGN file (from the start position, "Termination" not
    // "time") as moves of the tree, up to maxHalbzuege deep. False when the
    // file cannot be read.
    bool partienHinzufuegen(const std::string& datei, int maxHalbzuege);

    // Statistics and the tree as text.
    void drucken(std::FILE* aus, int breite) const;
    // A text book of the moves within breite centipawns of the best.
    bool buchSchreiben(const std::string& datei, double breite) const;

    // One calculation run: rounds of searches on the worker pool until no
    // position is left to do or the new-node limit is reached.
    void rechnen(const BaumParameter_t& p);

    // Score of a move as the tree knows it; false when it has none.
    bool zugWert(const BaumZug_t& z, int32_t& wert) const;
};

// The "--book" command line; returns the exit code.
int buchWerkzeug(int argc, char** argv);
