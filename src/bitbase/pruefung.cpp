#include "bitbase/pruefung.h"

#include <algorithm>
#include <cinttypes>
#include <cstring>
#include <filesystem>
#include <vector>

#include "bitbase/datei.h"
#include "bitbase/material.h"
#include "files/eingabedatei.h"
#include "files/pruefsumme.h"
#include "platform/dateisystem.h"

namespace {

constexpr const char* ENDUNG = ".vbb";
constexpr const char* SUMMEN_ENDUNG = ".crc";

std::string ohneVerzeichnis(const std::string& pfad)
{
    const auto schnitt = pfad.find_last_of("/\\");
    return schnitt == std::string::npos ? pfad : pfad.substr(schnitt + 1);
}

bool endetMit(const std::string& text, const char* ende)
{
    const std::size_t n = std::strlen(ende);
    return text.size() >= n && text.compare(text.size() - n, n, ende) == 0;
}

// The checksum file's line: name, size and CRC; false unless it is
// exactly such a line for this file.
bool summeLesen(const std::string& summenDatei, const std::string& name, uint64_t& groesse, uint32_t& crc)
{
    Eingabedatei_t ein(summenDatei);
    if (!ein.offen()) return false;
    char zeile[256];
    if (!std::fgets(zeile, sizeof zeile, ein.datei())) return false;
    char gelesenerName[128];
    char ende = 0;
    unsigned long long g = 0;
    unsigned c = 0;
    if (std::sscanf(zeile, "%127s %llu %8x%c", gelesenerName, &g, &c, &ende) != 4 || ende != '\n' ||
        name != gelesenerName)
        return false;
    groesse = g;
    crc = c;
    return true;
}

} // namespace

std::string bbSummenDatei(const std::string& vbbDatei)
{
    const std::string rumpf = endetMit(vbbDatei, ENDUNG) ? vbbDatei.substr(0, vbbDatei.size() - 4) : vbbDatei;
    return rumpf + SUMMEN_ENDUNG;
}

std::string bbSummenZeile(const std::string& vbbDatei, uint64_t groesse, uint32_t crc)
{
    char zeile[160];
    std::snprintf(zeile, sizeof zeile, "%s %" PRIu64 " %08x\n", ohneVerzeichnis(vbbDatei).c_str(), groesse, unsigned(crc));
    return zeile;
}

BbPruefung bbDateiPruefen(const std::string& vbbDatei, std::string* grund)
{
    std::string nichts;
    std::string& warum = grund ? *grund : nichts;
    warum.clear();
    Eingabedatei_t ein(vbbDatei, true);
    if (!ein.offen()) return BbPruefung::FEHLT;
    const std::string summenDatei = bbSummenDatei(vbbDatei);
    if (dateiArt(summenDatei) == Dateiart::FEHLT) return BbPruefung::UNGEPRUEFT;
    uint64_t sollGroesse = 0;
    uint32_t sollCrc = 0;
    if (!summeLesen(summenDatei, ohneVerzeichnis(vbbDatei), sollGroesse, sollCrc)) {
        warum = "its checksum file " + ohneVerzeichnis(summenDatei) + " is unreadable";
        return BbPruefung::BESCHAEDIGT;
    }
    uint64_t groesse = 0;
    uint32_t crc = 0;
    std::vector<unsigned char> stueck(1 << 16);
    for (std::size_t n; (n = std::fread(stueck.data(), 1, stueck.size(), ein.datei())) > 0;) {
        crc = crc32(stueck.data(), n, crc);
        groesse += n;
    }
    if (ein.lesefehler()) {
        warum = "read error";
        return BbPruefung::BESCHAEDIGT;
    }
    if (groesse != sollGroesse) {
        warum = std::to_string(groesse) + " bytes instead of " + std::to_string(sollGroesse);
        return BbPruefung::BESCHAEDIGT;
    }
    if (crc != sollCrc) {
        warum = "checksum differs from " + ohneVerzeichnis(summenDatei);
        return BbPruefung::BESCHAEDIGT;
    }
    return BbPruefung::GUT;
}

int bitbaseVerzeichnisPruefen(const char* verzeichnis, std::FILE* aus)
{
    namespace fs = std::filesystem;
    std::error_code fehler;
    std::vector<std::string> namen; // materials with a .vbb or a .crc file
    for (fs::directory_iterator it(verzeichnis, fehler), ende; !fehler && it != ende; it.increment(fehler)) {
        const std::string datei = it->path().filename().string();
        for (const char* endung : {ENDUNG, SUMMEN_ENDUNG})
            if (endetMit(datei, endung)) namen.push_back(datei.substr(0, datei.size() - std::strlen(endung)));
    }
    if (fehler) {
        std::fprintf(stderr, "cannot read the directory %s\n", verzeichnis);
        return 1;
    }
    std::sort(namen.begin(), namen.end());
    namen.erase(std::unique(namen.begin(), namen.end()), namen.end());
    int gut = 0, ungeprueft = 0, schlecht = 0;
    for (const std::string& name : namen) {
        BbStellung_t m;
        if (!materialLesen(name.c_str(), m) || m.n < 3) continue; // not a bitbase of ours
        const std::string vbb = bbDateiName(verzeichnis, name.c_str());
        std::string grund;
        switch (bbDateiPruefen(vbb, &grund)) {
        case BbPruefung::GUT:
            ++gut;
            std::fprintf(aus, "%s%s: ok\n", name.c_str(), ENDUNG);
            break;
        case BbPruefung::FEHLT:
            ++schlecht;
            std::fprintf(aus, "%s%s: MISSING (%s%s names it)\n", name.c_str(), ENDUNG, name.c_str(), SUMMEN_ENDUNG);
            break;
        case BbPruefung::BESCHAEDIGT:
            ++schlecht;
            std::fprintf(aus, "%s%s: DAMAGED (%s)\n", name.c_str(), ENDUNG, grund.c_str());
            break;
        case BbPruefung::UNGEPRUEFT: {
            // Without a checksum only the structure can be checked: every
            // block must decode.
            std::vector<unsigned char> daten;
            const uint64_t defekt = dateiEinlesen(vbb, daten) ? bbDefekteBloecke(daten, bbBloecke(m)) : bbBloecke(m);
            if (defekt) {
                ++schlecht;
                std::fprintf(aus, "%s%s: DAMAGED (%" PRIu64 " of %" PRIu64 " blocks unreadable; no checksum file)\n",
                             name.c_str(), ENDUNG, defekt, bbBloecke(m));
            } else {
                ++ungeprueft;
                std::fprintf(aus, "%s%s: no checksum file; every block readable\n", name.c_str(), ENDUNG);
            }
            break;
        }
        }
    }
    std::fprintf(aus, "%s: %d ok, %d without checksum, %d damaged or missing\n", verzeichnis, gut, ungeprueft, schlecht);
    std::fflush(aus);
    if (gut + ungeprueft + schlecht == 0) {
        std::fprintf(stderr, "no bitbase files in %s\n", verzeichnis);
        return 1;
    }
    return schlecht ? 1 : 0;
}
