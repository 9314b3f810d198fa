#pragma once
#include <cstdint>
#include <memory>

#include "chess/stellung.h"

// Perft's own hash table of 24-byte entries {key, count, depth}; the entry
// count is the largest power of two that fits into the given megabytes.
class PerftTabelle_t {
public:
    explicit PerftTabelle_t(uint64_t megabytes);
    ~PerftTabelle_t();
    PerftTabelle_t(const PerftTabelle_t&) = delete;
    PerftTabelle_t& operator=(const PerftTabelle_t&) = delete;

    uint64_t eintraege() const { return anzahl_; }
    bool holen(uint64_t key, int tiefe, uint64_t& knoten) const;
    // Starts loading the slot of a key into the cache.
    void vorladen(uint64_t key) const { __builtin_prefetch(&tabelle_[key & (anzahl_ - 1)]); }
    void speichern(uint64_t key, int tiefe, uint64_t knoten);

private:
    struct Eintrag {
        uint64_t key;
        uint64_t knoten;
        uint32_t tiefe;
    };
    static_assert(sizeof(Eintrag) == 24);
    Eintrag* tabelle_ = nullptr;
    uint64_t anzahl_ = 0;
};

// Leaf nodes of the given depth (0 for depth <= 0). tabelle may be null or
// empty (0 MB or a failed allocation); perft then runs without one.
uint64_t perft(PerftTabelle_t* tabelle, Stellung_t& st, const Stellungsdaten_t& d, int tiefe);
