#include "platform/dateisystem.h"

#include <io.h>

#include "platform/windows/windows_kopf.h"

namespace {

// "\\.\NAME" (or with '/') addresses devices and named pipes; opening a
// pipe there, even only to look at it, would take one of its connections.
bool geraeteName(const std::string& name)
{
    auto trenner = [](char c) { return c == '\\' || c == '/'; };
    return name.size() >= 4 && trenner(name[0]) && trenner(name[1]) && name[2] == '.' && trenner(name[3]);
}

} // namespace

Dateiart dateiArt(const std::string& name)
{
    if (geraeteName(name)) return Dateiart::ANDERE;
    // The handle tells what the attributes alone do not: reserved names
    // (NUL, CON, COM1, ...) stand for devices in every folder. Asking only
    // for the attributes reads and changes nothing.
    HANDLE h = CreateFileA(name.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD fehler = GetLastError();
        const bool fehlt =
            fehler == ERROR_FILE_NOT_FOUND || fehler == ERROR_PATH_NOT_FOUND || fehler == ERROR_INVALID_NAME;
        // Something that is there but cannot even be looked at is no file
        // to read or to write over.
        return fehlt ? Dateiart::FEHLT : Dateiart::ANDERE;
    }
    BY_HANDLE_FILE_INFORMATION info;
    const bool regulaer = GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
                          !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
    CloseHandle(h);
    return regulaer ? Dateiart::REGULAER : Dateiart::ANDERE;
}

std::FILE* dateiOeffnen(const std::string& name, Dateimodus modus)
{
    // Nothing that is not a regular file is opened at all: "w" would
    // otherwise truncate, and a pipe or the console would block a reader.
    if (dateiArt(name) == Dateiart::ANDERE) return nullptr;
    const char* art = "r";
    switch (modus) {
    case Dateimodus::LESEN: art = "r"; break;
    case Dateimodus::LESEN_BINAER: art = "rb"; break;
    case Dateimodus::SCHREIBEN: art = "w"; break;
    case Dateimodus::SCHREIBEN_BINAER: art = "wb"; break;
    case Dateimodus::ANHAENGEN: art = "a"; break;
    }
    std::FILE* f = std::fopen(name.c_str(), art);
    if (!f) return nullptr;
    // Whatever the name turned into in between: only a file on a disk.
    const auto h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
    if (h == INVALID_HANDLE_VALUE || GetFileType(h) != FILE_TYPE_DISK) {
        std::fclose(f);
        return nullptr;
    }
    return f;
}

bool dateiSichern(std::FILE* f)
{
    return std::fflush(f) == 0 && _commit(_fileno(f)) == 0;
}

bool dateiErsetzen(const std::string& von, const std::string& nach)
{
    // The runtime's rename refuses an existing target.
    return MoveFileExA(von.c_str(), nach.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool dateiUmbenennen(const std::string& von, const std::string& nach)
{
    return MoveFileExA(von.c_str(), nach.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
