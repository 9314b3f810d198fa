#pragma once
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bitbase/pruefung.h"
#include "platform/lock.h"

// Decoded 512-byte blocks of bitbase files, kept in a hash table with
// approximate least-recently-used replacement. Files are never held open:
// a miss opens the file, reads and decodes one block and closes it again.
// The search controller's cache is shared by all its threads; bitbaseProbe
// holds the lock for both of its look-ups.
//
// The first time a file is needed, it is read whole and compared with its
// checksum file (pruefung.h); a file that does not fit is treated as
// missing from then on (until the path changes), and a message names it.
class BitbaseCache_t {
public:
    // Every cached block counts this much against the budget.
    static constexpr uint64_t KNOTEN_KOSTEN = 568;
    static constexpr uint64_t MIN_GROESSE = 54400;

    explicit BitbaseCache_t(uint64_t bytes);
    virtual ~BitbaseCache_t();
    BitbaseCache_t(const BitbaseCache_t&) = delete;
    BitbaseCache_t& operator=(const BitbaseCache_t&) = delete;

    // A new budget empties the cache; 0 switches probing off. Sizes below
    // MIN_GROESSE are raised to it.
    void setSize(uint64_t bytes);
    // Directory of the files; cached blocks stay (they are keyed by name).
    // Another directory forgets which files were checked.
    void setPath(const std::string& pfad);

    // Bit `index` of the material's file: 1, 0, or -1 when its block is not
    // at hand (not cached and cachedOnly, or the file or block is missing
    // or broken). The caller holds the lock.
    int lookup(const char* name, uint64_t index, bool cachedOnly);

    // The check of a material's file, made when it is first needed and
    // remembered (a missing file is looked for again next time); grund
    // says what is wrong. The caller holds the lock.
    BbPruefung dateiPruefen(const char* name, std::string* grund = nullptr);
    // One line for every damaged file met since the last call ("bitbase
    // file ... is damaged ..., not used"). Takes the lock itself.
    std::vector<std::string> meldungenAbholen();

    bool aktiv() const { return buckets_ != nullptr; }
    uint64_t groesse() const { return groesse_; }
    uint64_t bucketAnzahl() const { return bucketAnzahl_; }
    uint64_t maxBloecke() const { return maxBloecke_; }
    uint64_t belegteBloecke() const { return belegt_; } // blocks held
    // Blocks read from disk so far (for tests and benchmarks).
    uint64_t gelesen() const { return gelesen_; }
    Sperre_t& sperre() { return sperre_; }

private:
    struct Knoten {
        uint64_t offset; // block number * 512
        Knoten* naechster;
        uint32_t stempel;
        char name[6];
        uint8_t daten[512];
    };
    static_assert(sizeof(Knoten) == 544);

    void leeren();
    Knoten* knotenHolen(uint64_t index);
    uint64_t bucket(const char* name, uint64_t block) const;

    std::unique_ptr<Knoten*[]> buckets_;
    std::unique_ptr<Knoten[]> vorrat_; // the nodes, taken in order
    uint64_t genommen_ = 0;            // nodes of vorrat_ handed out
    Knoten* frei_ = nullptr;           // nodes given back after a failed read
    uint64_t groesse_ = 0;
    uint64_t bucketAnzahl_ = 0;
    uint64_t maxBloecke_ = 0;
    uint64_t belegt_ = 0;
    uint32_t zaehler_ = 0;
    uint64_t gelesen_ = 0;
    std::string pfad_ = ".";
    std::map<std::string, std::pair<BbPruefung, std::string>> geprueft_; // by material name
    std::vector<std::string> meldungen_;
    std::atomic<bool> meldungDa_{false};
    Sperre_t sperre_;
};

// The pieces of one side for a probe: types and squares, king included,
// in any order.
struct BbSeite_t {
    int anzahl = 0;
    uint8_t typ[5] = {};
    uint8_t feld[5] = {};
};

// Asks the bitbases whether White wins (+1), Black wins (-1) or neither
// (0) in the position with these pieces, side to move (0 White) and
// en-passant square (0 none). Needs the file of the material with White
// named first and, unless White wins, the reversed one. False when the
// answer is not known.
bool bitbaseProbe(BitbaseCache_t& cache, const BbSeite_t& weiss, const BbSeite_t& schwarz, int amZug, int ep,
                  bool cachedOnly, int& ergebnis);
