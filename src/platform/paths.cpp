#include "platform/paths.h"

#include <climits>
#include <unistd.h>

std::string programmVerzeichnis()
{
    char puffer[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", puffer, PATH_MAX);
    if (n <= 0) return ".";
    puffer[n] = 0;
    std::string pfad(puffer);
    auto pos = pfad.rfind(PFAD_TRENNER);
    if (pos == std::string::npos) return ".";
    if (pos == 0) return std::string(1, PFAD_TRENNER);
    return pfad.substr(0, pos);
}

std::string pfadVerbinden(const std::string& verzeichnis, const std::string& name)
{
    if (verzeichnis.empty()) return name;
    if (verzeichnis.back() == PFAD_TRENNER) return verzeichnis + name;
    return verzeichnis + PFAD_TRENNER + name;
}
