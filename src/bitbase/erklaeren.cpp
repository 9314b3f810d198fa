#include "bitbase/erklaeren.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "bitbase/blockcoder.h"
#include "bitbase/datei.h"
#include "bitbase/material.h"
#include "platform/dateisystem.h"

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

void bloeckeSchreiben(std::FILE* ein, std::FILE* aus, uint64_t bloecke)
{
    long groesster = -1;
    Satz s;
    for (uint64_t k = 0; k < bloecke && satzLesen(ein, k, s); ++k) {
        if (s.konstant() || s.offset() <= groesster) continue;
        groesster = s.offset();
        std::fprintf(aus, "\n##########################\n###   Block %-8ld   ###\n##########################\n\n",
                     long(k));
        const int code = s.b[4];
        if (code == 0) {
            std::fputs("unkomprimierte Daten\n", aus);
            continue;
        }
        // Whatever the file holds of the payload; a short one ends in an
        // error line.
        uint8_t puffer[3 * 255];
        const int menge = code >= 125 ? 3 * code - 248 : code;
        int gelesen = 0;
        if (std::fseek(ein, s.offset(), SEEK_SET) == 0) gelesen = int(std::fread(puffer, 1, size_t(menge), ein));
        uint8_t block[BB_BLOCK];
        blockDekodieren(puffer, gelesen, block, aus);
    }
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
    const std::string vbb = std::string(name) + ".vbb", txt = std::string(name) + ".txt", tmp = txt + ".tmp";
    std::FILE* ein = std::fopen(vbb.c_str(), "rb");
    if (!ein) {
        std::fprintf(stderr, "cannot open %s\n", vbb.c_str());
        return 1;
    }
    std::FILE* aus = std::fopen(tmp.c_str(), "w");
    if (!aus) {
        std::fclose(ein);
        std::fprintf(stderr, "cannot create %s\n", txt.c_str());
        return 1;
    }
    const uint64_t bloecke = b.n == 2 ? 0 : bbBloecke(b);
    indexSchreiben(ein, aus, bloecke);
    bloeckeSchreiben(ein, aus, bloecke);
    std::fclose(ein);
    const bool ok = std::fclose(aus) == 0 && dateiErsetzen(tmp, txt);
    if (!ok) {
        std::remove(tmp.c_str());
        std::fprintf(stderr, "cannot write %s\n", txt.c_str());
        return 1;
    }
    return 0;
}
