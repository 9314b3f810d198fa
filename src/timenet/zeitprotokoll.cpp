#include "timenet/zeitprotokoll.h"

#include <cstdio>

#include "platform/dateisystem.h"
#include "timenet/zeitmerkmale.h"

void Zeitprotokoll_t::beginnen(std::string_view datei)
{
    datei_.assign(datei);
    aktiv_ = datei != AUS;
    hatOffen_ = false;
    offen_.clear();
    fertig_.clear();
}

void Zeitprotokoll_t::iteration(bool gewechselt, const std::string* merkmale, double y, uint64_t knoten)
{
    if (!aktiv_) return;
    if (hatOffen_) {
        offen_ += gewechselt ? '1' : '0';
        fertig_.push_back(std::move(offen_));
        hatOffen_ = false;
    }
    if (merkmale && knoten >= MIN_KNOTEN) {
        offen_ = *merkmale;
        offen_ += zeitZahlText(y);
        offen_ += ' ';
        hatOffen_ = true;
    }
}

bool Zeitprotokoll_t::beenden()
{
    bool ok = true;
    if (aktiv_ && !fertig_.empty()) {
        // A name that is no regular file (a FIFO nobody reads would block
        // the search's end) gets nothing.
        std::FILE* aus = dateiOeffnen(datei_, Dateimodus::ANHAENGEN);
        ok = aus != nullptr;
        if (aus) {
            for (const auto& zeile : fertig_) {
                std::fwrite(zeile.data(), 1, zeile.size(), aus);
                std::fputc('\n', aus);
            }
            ok = !std::ferror(aus);
            ok = std::fclose(aus) == 0 && ok;
        }
    }
    hatOffen_ = false;
    offen_.clear();
    fertig_.clear();
    return ok;
}
