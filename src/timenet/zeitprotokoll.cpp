#include "timenet/zeitprotokoll.h"

#include <fstream>

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

void Zeitprotokoll_t::beenden()
{
    if (aktiv_ && !fertig_.empty()) {
        std::ofstream aus(datei_, std::ios::app);
        if (aus)
            for (const auto& zeile : fertig_) aus << zeile << '\n';
    }
    hatOffen_ = false;
    offen_.clear();
    fertig_.clear();
}
