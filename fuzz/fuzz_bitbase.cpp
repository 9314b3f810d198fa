// libFuzzer target: arbitrary bytes as a bitbase file, read block by block
// through the cache and the probe, checked with the directory check, and
// dumped as text; and the same bytes as one compressed payload for the
// block decoder. Bits 2 and 3 of the first byte choose the checksum file
// beside it: none, one that fits, one of another file, or garbage.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bitbase/blockcoder.h"
#include "bitbase/cache.h"
#include "bitbase/datei.h"
#include "bitbase/erklaeren.h"
#include "bitbase/index.h"
#include "bitbase/pruefung.h"
#include "chess/attacks.h"
#include "files/pruefsumme.h"

namespace {

const std::string& verzeichnis()
{
    static const std::string v = [] {
        const auto p = std::filesystem::temp_directory_path() / "velkaris-fuzz-bitbase";
        std::filesystem::create_directories(p);
        return p.string();
    }();
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    static bool bereit = (tabellenInitialisieren(), true);
    (void)bereit;
    uint8_t block[BB_BLOCK];
    blockDekodieren(daten, int(groesse < 4096 ? groesse : 4096), block);
    if (groesse < 1) return 0;

    // The first byte picks the material the file claims to be.
    static const char* const NAMEN[] = {"KDK", "KBK", "KDKT", "KBKB"};
    const char* name = NAMEN[daten[0] & 3];
    const std::string datei = bbDateiName(verzeichnis(), name);
    if (std::FILE* f = std::fopen(datei.c_str(), "wb")) {
        std::fwrite(daten + 1, 1, groesse - 1, f);
        std::fclose(f);
    }
    const std::string summe = bbSummenDatei(datei);
    std::remove(summe.c_str());
    if (const int art = (daten[0] >> 2) & 3; art != 0)
        if (std::FILE* f = std::fopen(summe.c_str(), "w")) {
            const uint32_t crc = crc32(daten + 1, groesse - 1);
            const std::string zeile = art == 1   ? bbSummenZeile(datei, groesse - 1, crc)
                                      : art == 2 ? bbSummenZeile(datei, groesse - 1, crc ^ 1)
                                                 : std::string(reinterpret_cast<const char*>(daten), groesse < 40 ? groesse : 40);
            std::fwrite(zeile.data(), 1, zeile.size(), f);
            std::fclose(f);
        }
    BbStellung_t m;
    materialLesen(name, m);
    for (uint64_t k = 0; k < 8; ++k) bbBlockLesen(datei, k, bbBloecke(m), block);
    bbDefekteBloecke(std::vector<uint8_t>(daten + 1, daten + groesse), bbBloecke(m));
    static std::FILE* nichts = std::fopen("/dev/null", "w");
    bitbaseVerzeichnisPruefen(verzeichnis().c_str(), nichts);

    BitbaseCache_t cache(1);
    cache.setPath(verzeichnis());
    for (uint64_t i = 0; i < bbPositionen(m); i += bbPositionen(m) / 61 + 1) cache.lookup(name, i, false);
    BbSeite_t w, s;
    w.anzahl = s.anzahl = 1;
    w.typ[0] = s.typ[0] = 6;
    w.feld[0] = 60;
    s.feld[0] = 4;
    w.typ[1] = 5;
    w.feld[1] = 27;
    w.anzahl = 2;
    int r;
    bitbaseProbe(cache, w, s, 0, 0, false, r);
    bitbaseProbe(cache, s, w, 1, 0, false, r);
    cache.meldungenAbholen();

    bitbaseErklaeren(bbDateiName(verzeichnis(), name).substr(0, datei.size() - 4).c_str());
    return 0;
}
