#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// What the games and analyses say about one move of one position. r is a
// result in [-1, 1] for the side to move (1 = win) and w the weight of the
// observation; mean and variance of r follow from the three sums.
struct BuchStatistik_t {
    double summeWR = 0;    // sum of w * r
    double summeWRR = 0;   // sum of w * r * r
    double summeW = 0;     // sum of w
    float wert = 0;        // ranking value, set while writing a book
    float mittel = 0;      // mean result, set while writing
    float unsicherheit = 0; // 1 / sqrt(sum of w), set while writing
    uint32_t zug = 0;      // normalised to White to move
    uint8_t besucht = 0;   // mark used while writing
    uint8_t frei[7] = {};
};
static_assert(sizeof(BuchStatistik_t) == 48);

// The statistics from which the "book" commands make a text book: entries
// per (position key, move), both normalised to White to move as the book
// files them. Several "add" and "addpos" commands accumulate; "write"
// turns the table into a book file.
class Buchberechnung_t {
public:
    std::multimap<uint64_t, BuchStatistik_t> eintraege;
    std::set<uint64_t> signaturen; // games already added
    bool gesperrt = false;         // only existing (key, move) pairs take observations
    double breite = 1.0;
    double schwelle = 1.0;

    // Adds the sums to the entry of (key, move); a new entry is made unless
    // the table is locked.
    void beobachtung(uint64_t schluessel, double s0, double s1, double s2, uint32_t zug);

    // The games of a PGN file, every observation weighted wert / 1000. With
    // calcElo the players' strengths weigh their moves as well. False when
    // the file cannot be read (a broken game ends the file; the games
    // before it count).
    bool partienHinzufuegen(const std::string& datei, double wert, bool calcElo);

    // Lines "MOVE SCORE FEN" of an analysis (the output of "makepos").
    bool analysenHinzufuegen(const std::string& datei, double wert);

    // The binary image of the whole object, ending in a checksum. Reading
    // replaces the contents only when the whole file is sound (an image
    // without a checksum, written before they came, is read as before);
    // the file reader reports a failure on standard error, the byte reader
    // names it in *grund.
    bool bildSchreiben(const std::string& datei) const;
    bool bildLesen(const std::string& datei);
    bool bildLesen(std::vector<unsigned char> daten, const char** grund = nullptr);

    // Writes the text book: moves with at least schwelleTausendstel / 1000
    // of weight, ranked by value; the best of a position gets weight 99,
    // moves more than breite below it weight 0 (kept as paths).
    bool buchSchreiben(const std::string& datei, int schwelleTausendstel, int breite);

    // The ranking of the moves (done by buchSchreiben before it writes).
    void bewerten(double schwelle);
};

// Expected result in [-1, 1] of the side to move for a search score
// (1,000 units per pawn).
double ergebnisAusWert(int wert);
