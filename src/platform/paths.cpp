#include "platform/paths.h"

std::string verzeichnisVon(const std::string& programm)
{
    std::size_t pos = programm.size();
    while (pos > 0 && !istPfadTrenner(programm[pos - 1])) --pos;
    if (pos == 0) return ".";
    // A root ("/", "C:\") keeps its separator.
    if (pos == 1 || programm[pos - 2] == ':') return programm.substr(0, pos);
    return programm.substr(0, pos - 1);
}

std::string pfadVerbinden(const std::string& verzeichnis, const std::string& name)
{
    if (verzeichnis.empty()) return name;
    if (istPfadTrenner(verzeichnis.back())) return verzeichnis + name;
    return verzeichnis + PFAD_TRENNER + name;
}
