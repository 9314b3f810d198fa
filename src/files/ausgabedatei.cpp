#include "files/ausgabedatei.h"

#include "platform/dateisystem.h"

Ausgabedatei_t::Ausgabedatei_t(const std::string& name, bool binaer, bool dauerhaft)
    : name_(name), tmp_(name + ".tmp"), dauerhaft_(dauerhaft)
{
    if (dateiArt(name_) == Dateiart::ANDERE) return;
    datei_ = dateiOeffnen(tmp_, binaer ? Dateimodus::SCHREIBEN_BINAER : Dateimodus::SCHREIBEN);
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
    bool ok = std::fflush(datei_) == 0 && std::ferror(datei_) == 0;
    if (ok && dauerhaft_) ok = dateiSichern(datei_);
    ok = std::fclose(datei_) == 0 && ok;
    datei_ = nullptr;
    if (ok) ok = dauerhaft_ ? dateiErsetzen(tmp_, name_) : dateiUmbenennen(tmp_, name_);
    if (!ok) std::remove(tmp_.c_str());
    return ok;
}
