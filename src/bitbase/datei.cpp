#include "bitbase/datei.h"

#include <cstdio>
#include <cstring>

#include "bitbase/blockcoder.h"
#include "bitbase/pruefung.h"
#include "files/ausgabedatei.h"
#include "files/eingabedatei.h"
#include "files/pruefsumme.h"
#include "platform/paths.h"

namespace {

constexpr int HASH_BITS = 16;

uint64_t fnv(const uint8_t* p, int n)
{
    uint64_t h = 1469598103934665603ull;
    for (int i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

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
    const uint8_t nullen[3] = {0, 0, 0};
    const std::size_t schluss = daten_.empty() ? 0 : 3;
    uint32_t crc = crc32(index_.data(), index_.size());
    crc = crc32(daten_.data(), daten_.size(), crc);
    crc = crc32(nullen, schluss, crc);
    // The checksum goes in place first: killed between the two renames,
    // the directory holds an older bitbase with a checksum that does not
    // fit it, which the readers refuse, never a file trusted unchecked.
    Ausgabedatei_t aus(datei, true, true), summe(bbSummenDatei(datei), false, true);
    if (!aus.offen() || !summe.offen()) return false;
    const std::string zeile = bbSummenZeile(datei, index_.size() + daten_.size() + schluss, crc);
    // A material without any block (all constant) has no payload: nothing
    // to write then, and no buffer to hand to fwrite.
    auto schreibe = [](const void* p, std::size_t n, std::FILE* f) {
        return n == 0 || std::fwrite(p, 1, n, f) == n;
    };
    bool ok = schreibe(index_.data(), index_.size(), aus.datei()) && schreibe(daten_.data(), daten_.size(), aus.datei()) &&
              schreibe(nullen, schluss, aus.datei()) && schreibe(zeile.data(), zeile.size(), summe.datei());
    return ok && summe.abschliessen() && aus.abschliessen();
}

bool bbSatzDeuten(const uint8_t* satz, uint64_t indexGroesse, uint64_t dateiGroesse, BbSatzOrt_t& ort)
{
    ort = BbSatzOrt_t{};
    if (satz[1] == 0xFF && satz[2] == 0xFF && satz[3] == 0xFF) {
        ort.konstant = true;
        ort.wert = satz[0];
        return true;
    }
    ort.offset = uint64_t(satz[0]) | uint64_t(satz[1]) << 8 | uint64_t(satz[2]) << 16 | uint64_t(satz[3]) << 24;
    ort.code = satz[4];
    ort.menge = satzLesemenge(ort.code);
    return ort.menge > 0 && ort.offset >= indexGroesse && ort.offset + uint64_t(ort.menge) <= dateiGroesse;
}

bool bbBlockEntpacken(const BbSatzOrt_t& ort, const uint8_t* nutz, uint8_t* aus)
{
    if (ort.konstant) {
        std::memset(aus, ort.wert, BB_BLOCK);
        return true;
    }
    if (ort.code == 0) {
        std::memcpy(aus, nutz, BB_BLOCK);
        return true;
    }
    // The payload is 3 x code - 250 bytes at least; a decoder that stops
    // earlier, or needs more than was read, met no block of this file.
    const int n = blockDekodieren(nutz, ort.menge, aus);
    return n > 0 && n >= satzLaenge(ort.code);
}

uint64_t bbDefekteBloecke(const std::vector<uint8_t>& datei, uint64_t bloecke)
{
    const uint64_t indexGroesse = bloecke * BB_SATZ;
    if (datei.size() < indexGroesse) return bloecke;
    uint64_t defekt = 0;
    uint8_t block[BB_BLOCK];
    for (uint64_t k = 0; k < bloecke; ++k) {
        BbSatzOrt_t ort;
        const bool ok = bbSatzDeuten(&datei[k * BB_SATZ], indexGroesse, datei.size(), ort) &&
                        bbBlockEntpacken(ort, ort.konstant ? nullptr : &datei[ort.offset], block);
        defekt += !ok;
    }
    return defekt;
}

bool bbBlockLesen(const std::string& datei, uint64_t k, uint64_t bloecke, uint8_t* aus)
{
    if (k >= bloecke) return false;
    Eingabedatei_t ein(datei, true);
    std::FILE* f = ein.datei();
    if (!f || std::fseek(f, 0, SEEK_END) != 0) return false;
    const long groesse = std::ftell(f);
    const uint64_t indexGroesse = bloecke * BB_SATZ;
    if (groesse < 0 || uint64_t(groesse) < indexGroesse) return false;
    uint8_t satz[BB_SATZ];
    if (std::fseek(f, long(k * BB_SATZ), SEEK_SET) != 0 || std::fread(satz, 1, BB_SATZ, f) != BB_SATZ) return false;
    BbSatzOrt_t ort;
    if (!bbSatzDeuten(satz, indexGroesse, uint64_t(groesse), ort)) return false;
    uint8_t puffer[BB_BLOCK];
    if (!ort.konstant && (std::fseek(f, long(ort.offset), SEEK_SET) != 0 ||
                          std::fread(puffer, 1, size_t(ort.menge), f) != size_t(ort.menge)))
        return false;
    return bbBlockEntpacken(ort, puffer, aus);
}
