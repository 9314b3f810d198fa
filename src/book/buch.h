#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "chess/squares.h"
#include "chess/stellung.h"
#include "chess/zug.h"

class Zufallsgenerator;

// One book move. Positions with Black to move are stored as their colour-
// flipped mirror, so one line serves both colours: key and move always
// describe a position with White to move.
struct BuchEintrag_t {
    uint64_t schluessel;
    uint32_t gewicht;   // at least 1
    uint32_t zug;       // kind bits 0 = no move
};
static_assert(sizeof(BuchEintrag_t) == 16);

// XOR on a move word: flips the ranks of both squares, keeps the kind.
constexpr Zug BUCH_SPIEGEL = 0xE38;

inline Zug buchZug(Zug z, int amZug)
{
    return amZug == WEISS ? z : z ^ BUCH_SPIEGEL;
}

// The key the book files a position under: its own with White to move, the
// key of its mirror with Black to move.
uint64_t buchSchluessel(const Stellung_t& st);

// Book lines nested deeper than this many moves are refused (no opening
// needs them; a file that nests forever must not exhaust the memory).
constexpr int BUCH_MAX_TIEFE = 2000;

// The opening book: a text file holding a tree of moves with weights,
//     e4 60 e5 30 * c5 25 * * d4 40 d5 10 * * *
// read once into a sorted array of entries and answered by binary search.
// Each move token is followed by its weight and by the level of replies
// after it, which a token starting with "*" closes; the top level closes
// the file. "startpos N" switches to Chess960 start position N while no
// piece has left the first two ranks of its side. A weight of 0 or less
// keeps a move as a path without playing it; -1 (or a missing weight) is
// an error. One error anywhere rejects the whole file.
class Buch_t {
public:
    // Draws come from the given generator, the engine's shared one when null.
    explicit Buch_t(Zufallsgenerator* zufall = nullptr) : zufall_(zufall) {}

    // A move for the position, chosen at random with the weights of its
    // entries, and in *ponder (when given) the heaviest reply to it. The
    // file is read when its name differs from the one read last; a file
    // that fails stays unread (no moves) until another name comes.
    bool probe(const std::string& datei, const Stellung_t& st, Zug& zug, Zug* ponder = nullptr);

    // (Re)reads the file of name(); false (and no entries) when it cannot be
    // opened or holds an error. A relative name not found in the working
    // directory is looked for next to the program.
    bool load();
    // Reads a book text from a stream instead; the entries are replaced
    // only when it succeeds.
    bool laden(std::istream& ein);

    void nameSetzen(const std::string& name) { name_ = name; }
    const std::string& name() const { return name_; }

    const std::vector<BuchEintrag_t>& eintraege() const { return eintraege_; }
    // The entries of one key, heaviest first.
    const BuchEintrag_t* erster(uint64_t schluessel) const;
    const BuchEintrag_t* hinterLetztem(uint64_t schluessel) const;

private:
    std::vector<BuchEintrag_t> eintraege_;
    std::string name_;
    Zufallsgenerator* zufall_;
};
