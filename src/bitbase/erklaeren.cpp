#include "bitbase/erklaeren.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "bitbase/blockcoder.h"
#include "bitbase/datei.h"
#include "bitbase/material.h"
#include "bitbase/pruefung.h"
#include "files/ausgabedatei.h"
#include "files/eingabedatei.h"

namespace {

constexpr size_t MAX_NAME = 1020;

struct Satz {
    uint8_t b[BB_SATZ];
    bool konstant() const { return b[1] == 0xFF && b[2] == 0xFF && b[3] == 0xFF; }
    long offset() const { return long(b[0]) | long(b[1]) << 8 | long(b[2]) << 16 | long(b[3]) << 24; }
};

bool satzLesen(std::FILE* f, uint64_t k, Satz& s)
{
    return std::fseek(f, long(k * BB_SATZ), SEEK_SET) == 0 && std::fread(s.b, 1, BB_SATZ, f) == BB_SATZ;
}

void indexSchreiben(std::FILE* ein, std::FILE* aus, uint64_t bloecke)
{
    std::fputs("#################\n###   Index   ###\n#################\n\n", aus);
    long groesster = -1;
    Satz s;
    for (uint64_t k = 0; k < bloecke && satzLesen(ein, k, s); ++k) {
        std::fprintf(aus, "%8ld: %02x %02x %02x %02x %02x ", long(k), s.b[0], s.b[1], s.b[2], s.b[3], s.b[4]);
        if (s.konstant()) {
            std::fputs(s.b[0] == 0x00 ? "00 .. 00\n" : s.b[0] == 0xFF ? "ff .. ff\n" : "\n", aus);
            continue;
        }
        const int code = s.b[4];
        char groesse[32];
        if (code == 0) std::snprintf(groesse, sizeof(groesse), "512");
        else if (code >= 125) std::snprintf(groesse, sizeof(groesse), "%d..%d", 3 * code - 250, 3 * code - 248);
        else std::snprintf(groesse, sizeof(groesse), "%d", code);
        std::fprintf(aus, "Position %02x%02x%02x%02x %s Bytes", s.b[3], s.b[2], s.b[1], s.b[0], groesse);
        if (s.offset() <= groesster) std::fputs(" Wiederholung", aus);
        else groesster = s.offset();
        std::fputs("\n", aus);
    }
}

// Returns the number of payloads that do not decode to a block (or lie
// outside the file).
uint64_t bloeckeSchreiben(std::FILE* ein, std::FILE* aus, uint64_t bloecke, uint64_t groesse)
{
    long groesster = -1;
    uint64_t defekt = 0;
    Satz s;
    for (uint64_t k = 0; k < bloecke && satzLesen(ein, k, s); ++k) {
        if (s.konstant() || s.offset() <= groesster) continue;
        groesster = s.offset();
        std::fprintf(aus, "\n##########################\n###   Block %-8ld   ###\n##########################\n\n",
                     long(k));
        BbSatzOrt_t ort;
        const bool imRahmen = bbSatzDeuten(s.b, bloecke * BB_SATZ, groesse, ort);
        const int code = s.b[4];
        if (code == 0) {
            std::fputs("unkomprimierte Daten\n", aus);
            defekt += !imRahmen;
            continue;
        }
        // Whatever the file holds of the payload; a short one ends in an
        // error line.
        uint8_t puffer[3 * 255];
        const int menge = code >= 125 ? 3 * code - 248 : code;
        int gelesen = 0;
        if (std::fseek(ein, s.offset(), SEEK_SET) == 0) gelesen = int(std::fread(puffer, 1, size_t(menge), ein));
        uint8_t block[BB_BLOCK];
        const int n = blockDekodieren(puffer, gelesen, block, aus);
        defekt += !imRahmen || n <= 0 || n < satzLaenge(code);
    }
    return defekt;
}

} // namespace

int bitbaseErklaeren(const char* name)
{
    if (std::strlen(name) >= MAX_NAME) return 1;
    const char* material = std::strrchr(name, '/');
    material = material ? material + 1 : name;
    BbStellung_t b;
    const char* grund = "";
    if (!materialLesen(material, b, &grund)) {
        std::fprintf(stderr, "invalid material name \"%s\": %s\n", material, grund);
        return 1;
    }
    const std::string vbb = std::string(name) + ".vbb", txt = std::string(name) + ".txt";
    Eingabedatei_t einDatei(vbb, true);
    std::FILE* ein = einDatei.datei();
    if (!ein) {
        std::fprintf(stderr, "cannot open %s\n", vbb.c_str());
        return 1;
    }
    const uint64_t bloecke = b.n == 2 ? 0 : bbBloecke(b);
    long groesse = -1;
    if (std::fseek(ein, 0, SEEK_END) == 0) groesse = std::ftell(ein);
    if (groesse < 0 || uint64_t(groesse) < bloecke * BB_SATZ) {
        std::fprintf(stderr, "%s: %ld bytes, too short for the index of %s (%llu bytes): no bitbase or cut off\n",
                     vbb.c_str(), groesse, material, (unsigned long long)(bloecke * BB_SATZ));
        return 1;
    }
    Ausgabedatei_t aus(txt);
    if (!aus.offen()) {
        std::fprintf(stderr, "cannot create %s\n", txt.c_str());
        return 1;
    }
    indexSchreiben(ein, aus.datei(), bloecke);
    const uint64_t defekt = bloeckeSchreiben(ein, aus.datei(), bloecke, uint64_t(groesse));
    if (einDatei.lesefehler()) {
        std::fprintf(stderr, "cannot read %s\n", vbb.c_str());
        return 1;
    }
    if (!aus.abschliessen()) {
        std::fprintf(stderr, "cannot write %s\n", txt.c_str());
        return 1;
    }
    // The dump shows a damaged file as it is, and says so.
    int rc = 0;
    if (defekt) {
        std::fprintf(stderr, "%s: %llu blocks cannot be decoded (marked Fehler in %s)\n", vbb.c_str(),
                     (unsigned long long)defekt, txt.c_str());
        rc = 1;
    }
    std::string warum;
    if (bbDateiPruefen(vbb, &warum) == BbPruefung::BESCHAEDIGT) {
        std::fprintf(stderr, "%s is damaged: %s\n", vbb.c_str(), warum.c_str());
        rc = 1;
    }
    return rc;
}
