// Arbitrary bytes as the two binary files of the book tools: bit 0 of the
// first byte chooses the book calculation's tree file (0) or the
// statistics image of the "book" commands (1); with bit 1 set the bytes get
// a checksum trailer that fits them, so that every mutation reaches the
// parser behind the check (without it, the check or the format of files
// older than checksums). Besides "no crash", a tree that loads must pass
// its own consistency check a second time without a complaint.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bookcalc/buchbaum.h"
#include "bookcalc/buchberechnung.h"
#include "chess/attacks.h"
#include "files/binaer.h"
#include "files/pruefsumme.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    static bool bereit = (tabellenInitialisieren(), true);
    static std::FILE* nichts = std::fopen("/dev/null", "w");
    (void)bereit;
    if (groesse < 1) return 0;
    std::vector<unsigned char> bytes(daten + 1, daten + groesse);
    if (daten[0] & 2) {
        const uint32_t crc = crc32(bytes.data(), bytes.size());
        bytes.insert(bytes.end(), PRUEF_MARKE, PRUEF_MARKE + sizeof PRUEF_MARKE);
        for (int i = 0; i < 4; ++i) bytes.push_back((unsigned char)(crc >> (8 * i)));
    }
    if (daten[0] % 2 == 0) {
        Buchbaum_t baum;
        if (!baum.lesen(bytes)) return 0;
        baum.pruefen(nullptr);
        if (baum.pruefen(nullptr) != 0) {
            std::fprintf(stderr, "property violated: the check left problems\n");
            std::abort();
        }
        baum.werteBerechnen();
        baum.drucken(nichts, 30);
    } else {
        Buchberechnung_t b;
        if (!b.bildLesen(bytes)) return 0;
        b.bewerten(b.schwelle);
    }
    return 0;
}
