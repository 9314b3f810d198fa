#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

// The transposition table: one array shared by every search thread without
// locks. An entry is the full position key and one packed data word, both
// std::atomic words accessed with relaxed loads and stores; a reader may
// therefore see a key together with the data of another position (every user
// checks a stored move for legality before playing it).
//
// Data word, from the least significant bit:
//   0..3    age of the search that wrote or last read the entry
//   4..10   127 - zero-window count of the node
//   11      threat flag (the null move found a mate threat)
//   12      always 0
//   13..14  bound: 0 upper, 1 lower, 2 exact
//   15..27  remaining depth in half plies
//   28..43  best move (16 bits), 0 = none
//   44..63  score + 500,000

// Bound values in the node search's own terms (the field in place).
constexpr int32_t TT_OBERGRENZE = 0;       // score is at most the stored value
constexpr int32_t TT_UNTERGRENZE = 0x2000; // score is at least the stored value
constexpr int32_t TT_EXAKT = 0x4000;
constexpr int32_t TT_GRENZE_MASKE = 0x6000;
constexpr int32_t TT_DROHUNG = 0x800;      // threat flag in place

// What a probe returns and a store takes.
struct TTDaten_t {
    int32_t wert = 0;        // score, relative to the root (mate scores adjusted by the ply)
    int32_t tiefe = 0;       // remaining depth in half plies, 0..8191
    int32_t nullfenster = 0; // zero-window count of the node, 0..127
    int32_t grenze = 0;      // TT_OBERGRENZE, TT_UNTERGRENZE or TT_EXAKT
    uint32_t zug = 0;        // best move (16-bit encoding), 0 = none
    int32_t drohung = 0;     // 0 or TT_DROHUNG
};

struct TTEintrag_t {
    std::atomic<uint64_t> schluessel;
    std::atomic<uint64_t> daten;
};
static_assert(sizeof(TTEintrag_t) == 16, "an entry is two 64-bit words");

namespace tt {

constexpr int32_t MATT_GRENZE = 450000; // scores of this size or more are mates
constexpr int32_t MATT = 500000;

// Mate scores are kept relative to the node: moved away from zero by the
// ply on store, back towards zero by the ply on probe.
constexpr int32_t wertSpeichern(int32_t wert, int ply)
{
    if (wert < -(MATT_GRENZE - 1)) wert -= ply;
    else if (wert >= MATT_GRENZE) wert += ply;
    // Window bounds beyond a mate would not fit the 20-bit field; clamping
    // them only weakens a bound.
    if (wert < -MATT) wert = -MATT;
    if (wert > MATT) wert = MATT;
    return wert;
}
constexpr int32_t wertLesen(int32_t wert, int ply)
{
    if (wert < -(MATT_GRENZE - 1)) return wert + ply;
    if (wert >= MATT_GRENZE) return wert - ply;
    return wert;
}

constexpr uint64_t packen(const TTDaten_t& d, int ply, uint32_t alter)
{
    int32_t tiefe = d.tiefe < 0 ? 0 : d.tiefe > 0x1FFF ? 0x1FFF : d.tiefe;
    int32_t nf = d.nullfenster < 0 ? 0 : d.nullfenster > 127 ? 127 : d.nullfenster;
    return (uint64_t(uint32_t(wertSpeichern(d.wert, ply) + MATT)) << 44)
         | (uint64_t(d.zug & 0xFFFF) << 28)
         | (uint64_t(tiefe) << 15)
         | uint64_t(d.grenze & TT_GRENZE_MASKE)
         | uint64_t(d.drohung & TT_DROHUNG)
         | (uint64_t(127 - nf) << 4)
         | uint64_t(alter & 15);
}

constexpr TTDaten_t entpacken(uint64_t daten, int ply)
{
    TTDaten_t d;
    d.wert = wertLesen(int32_t(daten >> 44) - MATT, ply);
    d.zug = uint32_t((daten >> 28) & 0xFFFF);
    d.tiefe = int32_t((daten >> 15) & 0x1FFF);
    d.grenze = int32_t(daten & TT_GRENZE_MASKE);
    d.drohung = int32_t(daten & TT_DROHUNG);
    d.nullfenster = 127 - int32_t((daten >> 4) & 127);
    return d;
}

constexpr uint32_t alterVon(uint64_t daten) { return uint32_t(daten & 15); }

} // namespace tt

class Transpositionstabelle_t {
public:
    static constexpr uint64_t MIN_BYTES = 1600;        // smallest table tried
    static constexpr uint64_t AUFGEBEN_UNTER = 16001;  // no array below this after a failure
    static constexpr uint64_t MAX_BYTES = 1ull << 36;  // keeps n below 2^32 for the bucket multiply
    static constexpr uint64_t BUCKET = 4;

    // Allocation hooks (tests simulate failures with them).
    using Zuteiler_t = void* (*)(size_t bytes);
    using Freigeber_t = void (*)(void* p);

    Transpositionstabelle_t();
    ~Transpositionstabelle_t();
    Transpositionstabelle_t(const Transpositionstabelle_t&) = delete;
    Transpositionstabelle_t& operator=(const Transpositionstabelle_t&) = delete;

    // Sizes the table to the given number of bytes (Hash option x 2^20).
    // Nothing happens when that was the last size asked for and the table
    // has an array. Otherwise the old array is freed and sizes from
    // max(bytes, 1,600) down are tried, shrinking by a sixteenth after each
    // failure, until one succeeds (age 1, zeroed) or the size falls below
    // 16,001 bytes (no array: probes find nothing, stores do nothing).
    void groesseSetzen(uint64_t bytes);
    // Every entry zeroed, age 1.
    void leeren();
    // Advances the age, once at the start of every search before any probe.
    void neueSuche();

    // Looks the key up in its bucket. On a hit fills d (mate scores adjusted
    // to the ply) and marks the entry as used by the current search.
    bool lesen(uint64_t schluessel, int ply, TTDaten_t& d)
    {
        if (!eintraege_) return false;
        TTEintrag_t* e = eimer(schluessel);
        const uint32_t alter = alter_.load(std::memory_order_relaxed);
        for (uint64_t i = 0; i < BUCKET; ++i, ++e) {
            if (e->schluessel.load(std::memory_order_relaxed) != schluessel) continue;
            uint64_t daten = e->daten.load(std::memory_order_relaxed);
            d = tt::entpacken(daten, ply);
            if (tt::alterVon(daten) != alter)
                e->daten.store(daten ^ (tt::alterVon(daten) ^ alter), std::memory_order_relaxed);
            return true;
        }
        return false;
    }

    // Stores d for the key: over the entry holding the key whatever it held,
    // else over the first entry of an earlier search, else over the least
    // valuable entry (shallowest; then upper before lower before exact; then
    // fewer zero-window plies; the later entry on ties).
    void schreiben(uint64_t schluessel, int ply, const TTDaten_t& d)
    {
        if (!eintraege_) return;
        TTEintrag_t* eimerStart = eimer(schluessel);
        const uint32_t alter = alter_.load(std::memory_order_relaxed);
        const uint64_t daten = tt::packen(d, ply, alter);
        TTEintrag_t* e = eimerStart;
        for (uint64_t i = 0; i < BUCKET; ++i, ++e)
            if (e->schluessel.load(std::memory_order_relaxed) == schluessel) {
                e->daten.store(daten, std::memory_order_relaxed);
                return;
            }
        TTEintrag_t* opfer = nullptr;
        uint32_t kleinster = 0xFFFFFFFFu;
        e = eimerStart;
        for (uint64_t i = 0; i < BUCKET; ++i, ++e) {
            uint64_t alt = e->daten.load(std::memory_order_relaxed);
            if (tt::alterVon(alt) != alter) {
                opfer = e;
                break;
            }
            uint32_t wert = uint32_t(alt) & 0x0FFFF7F0u;
            if (wert <= kleinster) {
                kleinster = wert;
                opfer = e;
            }
        }
        opfer->schluessel.store(schluessel, std::memory_order_relaxed);
        opfer->daten.store(daten, std::memory_order_relaxed);
    }

    // Starts loading the key's bucket into the cache.
    void vorladen(uint64_t schluessel) const
    {
        if (eintraege_) __builtin_prefetch(eimer(schluessel));
    }

    // Per mille of entries written or read in the current search (sampled
    // over 2,000 entries in large tables).
    int hashfull() const;

    uint64_t anzahl() const { return n_; }               // n (the array holds n + 4)
    uint64_t angefordert() const { return angefordert_; } // last size asked for
    uint32_t alter() const { return alter_.load(std::memory_order_relaxed); }
    bool hatTabelle() const { return eintraege_ != nullptr; }

    // Replaces the allocation functions (nullptr = the ordinary aligned heap).
    // Frees the current array first.
    void zuteilerSetzen(Zuteiler_t zuteilen, Freigeber_t freigeben);

private:
    TTEintrag_t* eimer(uint64_t schluessel) const
    {
        return eintraege_ + (((schluessel >> 32) * n_) >> 32);
    }
    void freigeben();

    TTEintrag_t* eintraege_ = nullptr; // n + 4 entries, 64-byte aligned
    uint64_t n_ = 0;
    uint64_t angefordert_ = 0;
    std::atomic<uint32_t> alter_{1};
    Zuteiler_t zuteilen_;
    Freigeber_t freigeben_;
};
