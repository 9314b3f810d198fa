#pragma once
// An independent endgame solver to check the bitbase generator against: a
// plain retrograde analysis with move counters over every placement of the
// pieces on a full board, with its own board and move generation; it shares
// no code with the engine. Squares: 0 = a8 ... 63 = h1; White's pawns move
// towards row 0. Materials are named like the bitbase files, White first.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace orakel {

enum Wert : uint8_t { OFFEN = 0, GEWINN = 1, VERLUST = 2, REMIS = 3, ILLEGAL = 4 };

struct Figur {
    int seite; // 0 White, 1 Black
    int typ;   // 1 pawn, 2 knight, 3 bishop, 4 rook, 5 queen, 6 king
};

class Loeser {
public:
    // Solves the material and, first, every material it converts into.
    explicit Loeser(const std::string& name);

    int anzahl() const { return int(figuren_.size()); }
    const std::vector<Figur>& figuren() const { return figuren_; }
    uint64_t positionen() const { return wert_.size(); }
    // Index: side to move, en-passant flag (only with one pawn each; the
    // pawn of the side not to move has just made its double step), squares
    // in material order.
    uint64_t index(int amZug, bool ep, const int* felder) const;
    void lesen(uint64_t index, int& amZug, bool& ep, int* felder) const;
    Wert wert(uint64_t index) const { return Wert(wert_[index]); } // for the side to move
    int epFeld(int amZug, bool ep, const int* felder) const;       // 0 without
    // The material left when piece weg (-1: none) is gone and piece
    // umgewandelt (-1: none) has become neuTyp; f receives the squares h in
    // the order of that material's name.
    std::string rest(const int* h, int weg, int umgewandelt, int neuTyp, int* f) const;

private:
    void loesen();
    bool legal(int amZug, bool ep, const int* f) const;
    template <class F>
    void zuege(int amZug, bool ep, const int* f, F fn) const;
    template <class F>
    void rueckzuege(int amZug, bool ep, const int* f, F fn) const;

    std::vector<Figur> figuren_;
    int epVarianten_ = 1;
    std::vector<uint8_t> wert_, zaehler_;
    std::map<std::string, const Loeser*> unter_; // materials captures and promotions lead to
};

// The solver of a material (built on first use and kept).
const Loeser& loeser(const std::string& name);

} // namespace orakel
