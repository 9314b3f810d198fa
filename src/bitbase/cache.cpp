#include "bitbase/cache.h"

#include <cstring>
#include <new>

#include "bitbase/datei.h"
#include "bitbase/index.h"
#include "bitbase/material.h"
#include "chess/squares.h"

namespace {

constexpr uint64_t NAMEN_FAKTOR[8] = {10001, 10007, 10009, 10033, 10037, 10039, 10057, 10067};
constexpr uint64_t EVICT_SCHRITT = 113;
constexpr int EVICT_KETTEN = 5;

} // namespace

BitbaseCache_t::BitbaseCache_t(uint64_t bytes)
{
    setSize(bytes);
}

BitbaseCache_t::~BitbaseCache_t() = default;

void BitbaseCache_t::leeren()
{
    buckets_.reset();
    vorrat_.reset();
    bucketAnzahl_ = maxBloecke_ = belegt_ = genommen_ = 0;
    frei_ = nullptr;
    zaehler_ = 0;
}

void BitbaseCache_t::setSize(uint64_t bytes)
{
    if (bytes == groesse_ && (bytes == 0 || buckets_)) return;
    leeren();
    if (bytes > 0 && bytes < MIN_GROESSE) bytes = MIN_GROESSE;
    groesse_ = bytes;
    if (bytes == 0) return;
    maxBloecke_ = bytes / KNOTEN_KOSTEN;
    bucketAnzahl_ = 1;
    while (bucketAnzahl_ <= maxBloecke_ / 2) bucketAnzahl_ <<= 1;
    // A failed allocation leaves the cache switched off.
    buckets_.reset(new (std::nothrow) Knoten*[bucketAnzahl_]());
    vorrat_.reset(new (std::nothrow) Knoten[maxBloecke_]);
    if (!buckets_ || !vorrat_) leeren();
}

void BitbaseCache_t::setPath(const std::string& pfad)
{
    if (pfad == pfad_) return;
    pfad_ = pfad;
    geprueft_.clear();
}

BbPruefung BitbaseCache_t::dateiPruefen(const char* name, std::string* grund)
{
    auto it = geprueft_.find(name);
    if (it == geprueft_.end()) {
        std::string warum;
        const std::string datei = bbDateiName(pfad_, name);
        const BbPruefung p = bbDateiPruefen(datei, &warum);
        if (p == BbPruefung::FEHLT) return p;
        it = geprueft_.emplace(name, std::pair(p, warum)).first;
        if (p == BbPruefung::BESCHAEDIGT) {
            meldungen_.push_back("bitbase file " + datei + " is damaged (" + warum + "), not used");
            meldungDa_.store(true, std::memory_order_relaxed);
        }
    }
    if (grund) *grund = it->second.second;
    return it->second.first;
}

std::vector<std::string> BitbaseCache_t::meldungenAbholen()
{
    std::vector<std::string> r;
    if (!meldungDa_.load(std::memory_order_relaxed)) return r;
    SperreHalter_t h(sperre_);
    r.swap(meldungen_);
    meldungDa_.store(false, std::memory_order_relaxed);
    return r;
}

uint64_t BitbaseCache_t::bucket(const char* name, uint64_t block) const
{
    uint64_t h = block;
    for (int i = 0; name[i] && i < 8; ++i) h += uint64_t(uint8_t(name[i])) * NAMEN_FAKTOR[i];
    return h & (bucketAnzahl_ - 1);
}

// A free node, or the least recently used last node among five chains.
BitbaseCache_t::Knoten* BitbaseCache_t::knotenHolen(uint64_t index)
{
    if (belegt_ < maxBloecke_) {
        ++belegt_;
        if (frei_) {
            Knoten* k = frei_;
            frei_ = k->naechster;
            return k;
        }
        return &vorrat_[genommen_++];
    }
    Knoten** bestLink = nullptr;
    uint32_t bestAlter = 0;
    uint64_t b = index & (bucketAnzahl_ - 1);
    // Five non-empty chains, or every chain once when fewer hold nodes (the
    // odd step visits them all).
    for (uint64_t gesehen = 0, schritte = 0; gesehen < EVICT_KETTEN && schritte < bucketAnzahl_; ++schritte) {
        if (buckets_[b]) {
            ++gesehen;
            Knoten** link = &buckets_[b];
            while ((*link)->naechster) link = &(*link)->naechster;
            const uint32_t alter = zaehler_ - (*link)->stempel;
            if (!bestLink || alter > bestAlter) {
                bestLink = link;
                bestAlter = alter;
            }
        }
        b = (b + EVICT_SCHRITT) & (bucketAnzahl_ - 1);
    }
    Knoten* k = *bestLink;
    *bestLink = nullptr;
    return k;
}

int BitbaseCache_t::lookup(const char* name, uint64_t index, bool cachedOnly)
{
    if (!buckets_) return -1;
    const uint64_t block = index >> 12;
    const int byte = int((index >> 3) & 511), bitNr = int(index & 7);
    ++zaehler_;
    Knoten** kopf = &buckets_[bucket(name, block)];
    for (Knoten** link = kopf; *link; link = &(*link)->naechster) {
        Knoten* k = *link;
        if (k->offset != block * 512 || std::strcmp(k->name, name) != 0) continue;
        if (link != kopf) {
            *link = k->naechster;
            k->naechster = *kopf;
            *kopf = k;
            k->stempel = zaehler_;
        }
        return (k->daten[byte] >> bitNr) & 1;
    }
    if (cachedOnly) return -1;
    BbStellung_t material;
    if (!materialLesen(name, material)) return -1;
    const BbPruefung p = dateiPruefen(name);
    if (p == BbPruefung::FEHLT || p == BbPruefung::BESCHAEDIGT) return -1;
    Knoten* k = knotenHolen(index);
    std::memcpy(k->name, name, std::strlen(name) + 1);
    k->offset = block * 512;
    k->stempel = zaehler_;
    ++gelesen_;
    if (!bbBlockLesen(bbDateiName(pfad_, name), block, bbBloecke(material), k->daten)) {
        // The node is given up; the next look-up of this block tries the
        // file again.
        k->naechster = frei_;
        frei_ = k;
        --belegt_;
        return -1;
    }
    k->naechster = *kopf;
    *kopf = k;
    return (k->daten[byte] >> bitNr) & 1;
}

namespace {

// The descriptor with the side `erste` named first; the other side's
// squares and the en-passant square mirrored when spiegel is 56.
bool beschreiben(const BbSeite_t& erste, const BbSeite_t& zweite, int amZug, int ep, int spiegel, BbStellung_t& b)
{
    if (erste.anzahl < 1 || zweite.anzahl < 1 || erste.anzahl + zweite.anzahl > BB_MAX_FIGUREN) return false;
    std::memset(&b, 0, sizeof(b));
    const BbSeite_t* seiten[2] = {&erste, &zweite};
    int j = 0;
    for (int s = 0; s < 2; ++s) {
        const int anfang = j;
        for (int i = 0; i < seiten[s]->anzahl; ++i, ++j) {
            b.typ[j] = seiten[s]->typ[i];
            b.feld[j] = uint8_t((seiten[s]->feld[i] & 63) ^ spiegel);
            if (b.typ[j] < BAUER || b.typ[j] > KOENIG) return false;
        }
        seiteSortieren(b.typ + anfang, b.feld + anfang, seiten[s]->anzahl);
        if (b.typ[anfang] != KOENIG || (seiten[s]->anzahl > 1 && b.typ[anfang + 1] == KOENIG)) return false;
        b.anzahl[s] = seiten[s]->anzahl;
    }
    materialBenennen(b);
    b.amZug = amZug;
    b.ep = ep > 0 ? ep ^ spiegel : 0;
    return true;
}

} // namespace

bool bitbaseProbe(BitbaseCache_t& cache, const BbSeite_t& weiss, const BbSeite_t& schwarz, int amZug, int ep,
                  bool cachedOnly, int& ergebnis)
{
    BbStellung_t b, r;
    if (!beschreiben(weiss, schwarz, amZug & 1, ep, 0, b) || !beschreiben(schwarz, weiss, (amZug & 1) ^ 1, ep, 56, r))
        return false;
    const uint64_t i = bbIndex(b);
    const uint64_t ri = bbIndex(r);
    // Two positions that share an index cannot both be answered by it.
    if (!bbTreu(b, i) || !bbTreu(r, ri)) return false;
    SperreHalter_t halter(cache.sperre());
    const int w = cache.lookup(b.name, i, cachedOnly);
    if (w < 0) return false;
    if (w == 1) {
        ergebnis = 1;
        return true;
    }
    const int s = cache.lookup(r.name, ri, cachedOnly);
    if (s < 0) return false;
    ergebnis = s == 1 ? -1 : 0;
    return true;
}
