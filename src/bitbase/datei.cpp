#include "bitbase/datei.h"

#include <cstdio>
#include <cstring>

#include "bitbase/blockcoder.h"
#include "platform/dateisystem.h"
#include "platform/paths.h"

namespace {

constexpr int HASH_BITS = 16;

uint64_t fnv(const uint8_t* p, int n)
{
    uint64_t h = 1469598103934665603ull;
    for (int i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

// Closes the file on every way out.
struct Datei {
    std::FILE* f;
    explicit Datei(std::FILE* d) : f(d) {}
    ~Datei()
    {
        if (f) std::fclose(f);
    }
};

} // namespace

int satzLaenge(int code)
{
    if (code == 0) return BB_BLOCK;
    if (code <= 124) return code;
    if (code <= 253) return 3 * code - 250;
    return 0;
}

int satzLesemenge(int code)
{
    if (code <= 124) return satzLaenge(code);
    if (code <= 253) return 3 * code - 248;
    return 0;
}

std::string bbDateiName(const std::string& verzeichnis, const char* name)
{
    return pfadVerbinden(verzeichnis, std::string(name) + ".vbb");
}

BbSchreiber_t::BbSchreiber_t(uint64_t bloecke) : index_(bloecke * BB_SATZ), buckets_(size_t(1) << HASH_BITS) {}

void BbSchreiber_t::block(const uint8_t* daten)
{
    uint8_t* satz = &index_[naechster_++ * BB_SATZ];
    bool null = true, voll = true;
    for (int i = 0; i < BB_BLOCK; ++i) {
        null = null && daten[i] == 0;
        voll = voll && daten[i] == 0xFF;
    }
    if (null || voll) {
        const uint8_t v = null ? 0x00 : 0xFF;
        const uint8_t konstant[BB_SATZ] = {v, 0xFF, 0xFF, 0xFF, 0x00};
        std::memcpy(satz, konstant, BB_SATZ);
        return;
    }
    uint8_t puffer[BB_KODIER_PUFFER];
    int laenge = blockKodieren(daten, puffer);
    const uint8_t* nutz = puffer;
    // A payload is kept only if it decodes back to the block; the raw bytes
    // serve otherwise.
    uint8_t probe[BB_BLOCK];
    if (laenge >= BB_BLOCK || blockDekodieren(puffer, laenge, probe) != laenge ||
        std::memcmp(probe, daten, BB_BLOCK) != 0) {
        laenge = BB_BLOCK;
        nutz = daten;
    }
    const int code = laenge == BB_BLOCK ? 0 : laenge <= 125 ? laenge : 125 + (laenge - 125) / 3;
    const uint64_t h = fnv(nutz, laenge);
    std::vector<uint64_t>& kette = buckets_[h >> (64 - HASH_BITS)];
    uint64_t offset = 0;
    bool gefunden = false;
    for (uint64_t e : kette) {
        const uint64_t o = e >> 16;
        if (int(e & 0xFFFF) == laenge && !std::memcmp(&daten_[o - index_.size()], nutz, size_t(laenge))) {
            offset = o;
            gefunden = true;
            break;
        }
    }
    if (!gefunden) {
        offset = index_.size() + daten_.size();
        daten_.insert(daten_.end(), nutz, nutz + laenge);
        kette.push_back((offset << 16) | uint64_t(laenge));
    }
    for (int i = 0; i < 4; ++i) satz[i] = uint8_t(offset >> (8 * i));
    satz[4] = uint8_t(code);
}

bool BbSchreiber_t::schreiben(const std::string& datei) const
{
    const std::string tmp = datei + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(index_.data(), 1, index_.size(), f) == index_.size();
    if (ok && !daten_.empty()) {
        const uint8_t nullen[3] = {0, 0, 0};
        ok = std::fwrite(daten_.data(), 1, daten_.size(), f) == daten_.size() && std::fwrite(nullen, 1, 3, f) == 3;
    }
    ok = std::fclose(f) == 0 && ok;
    if (ok) ok = dateiErsetzen(tmp, datei);
    if (!ok) std::remove(tmp.c_str());
    return ok;
}

bool bbBlockLesen(const std::string& datei, uint64_t k, uint64_t bloecke, uint8_t* aus)
{
    if (k >= bloecke) return false;
    Datei d(std::fopen(datei.c_str(), "rb"));
    if (!d.f || std::fseek(d.f, 0, SEEK_END) != 0) return false;
    const long groesse = std::ftell(d.f);
    const uint64_t indexGroesse = bloecke * BB_SATZ;
    if (groesse < 0 || uint64_t(groesse) < indexGroesse) return false;
    uint8_t satz[BB_SATZ];
    if (std::fseek(d.f, long(k * BB_SATZ), SEEK_SET) != 0 || std::fread(satz, 1, BB_SATZ, d.f) != BB_SATZ) return false;
    if (satz[1] == 0xFF && satz[2] == 0xFF && satz[3] == 0xFF) {
        std::memset(aus, satz[0], BB_BLOCK);
        return true;
    }
    const uint64_t offset = uint64_t(satz[0]) | uint64_t(satz[1]) << 8 | uint64_t(satz[2]) << 16 |
                            uint64_t(satz[3]) << 24;
    const int code = satz[4];
    const int menge = satzLesemenge(code);
    if (menge == 0 || offset < indexGroesse || offset + uint64_t(menge) > uint64_t(groesse)) return false;
    uint8_t puffer[BB_BLOCK];
    if (std::fseek(d.f, long(offset), SEEK_SET) != 0 || std::fread(puffer, 1, size_t(menge), d.f) != size_t(menge))
        return false;
    if (code == 0) {
        std::memcpy(aus, puffer, BB_BLOCK);
        return true;
    }
    // The payload is 3 x code - 250 bytes at least; a decoder that stops
    // earlier, or needs more than was read, met no block of this file.
    const int n = blockDekodieren(puffer, menge, aus);
    return n > 0 && n >= satzLaenge(code);
}
