#include "platform/paths.h"

#include <cctype>

#include "platform/windows/windows_kopf.h"

const char PFAD_TRENNER = '\\';

bool istPfadTrenner(char c)
{
    return c == '\\' || c == '/';
}

bool pfadIstAbsolut(const std::string& pfad)
{
    // "\dir", "\\server\share", or a drive letter: "C:\dir", and "C:dir",
    // which cannot be joined to another directory either.
    if (!pfad.empty() && istPfadTrenner(pfad[0])) return true;
    return pfad.size() >= 2 && std::isalpha(static_cast<unsigned char>(pfad[0])) && pfad[1] == ':';
}

std::string programmVerzeichnis()
{
    // Long enough for any path Windows can hand out.
    std::string pfad(32768, '\0');
    const DWORD n = GetModuleFileNameA(nullptr, pfad.data(), DWORD(pfad.size()));
    if (n == 0 || n >= pfad.size()) return ".";
    pfad.resize(n);
    return verzeichnisVon(pfad);
}
