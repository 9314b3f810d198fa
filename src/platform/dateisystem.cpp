#include "platform/dateisystem.h"

#include "platform/paths.h"

std::string dateiSuchen(const std::string& name)
{
    if (name.empty() || pfadIstAbsolut(name) || dateiArt(name) == Dateiart::REGULAER) return name;
    return pfadVerbinden(programmVerzeichnis(), name);
}
