#include "gamefiles/ausgabedatei.h"

#include "platform/dateisystem.h"

Ausgabedatei_t::Ausgabedatei_t(const std::string& name, bool binaer) : name_(name), tmp_(name + ".tmp")
{
    datei_ = std::fopen(tmp_.c_str(), binaer ? "wb" : "w");
}

Ausgabedatei_t::~Ausgabedatei_t()
{
    if (!datei_) return;
    std::fclose(datei_);
    std::remove(tmp_.c_str());
}

bool Ausgabedatei_t::abschliessen()
{
    if (!datei_) return false;
    const bool fehler = std::ferror(datei_) != 0;
    const bool zu = std::fclose(datei_) == 0;
    datei_ = nullptr;
    if (fehler || !zu || !dateiErsetzen(tmp_, name_)) {
        std::remove(tmp_.c_str());
        return false;
    }
    return true;
}
