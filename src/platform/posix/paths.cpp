#include "platform/paths.h"

#include <climits>
#include <unistd.h>

const char PFAD_TRENNER = '/';

bool istPfadTrenner(char c)
{
    return c == '/';
}

bool pfadIstAbsolut(const std::string& pfad)
{
    return !pfad.empty() && pfad[0] == '/';
}

std::string programmVerzeichnis()
{
    char puffer[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", puffer, PATH_MAX);
    if (n <= 0) return ".";
    return verzeichnisVon(std::string(puffer, std::size_t(n)));
}
