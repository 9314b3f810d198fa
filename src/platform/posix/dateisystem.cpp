#include "platform/dateisystem.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Dateiart dateiArt(const std::string& name)
{
    struct stat s;
    if (stat(name.c_str(), &s) != 0) return Dateiart::FEHLT;
    return S_ISREG(s.st_mode) ? Dateiart::REGULAER : Dateiart::ANDERE;
}

std::FILE* dateiOeffnen(const std::string& name, Dateimodus modus)
{
    // Without O_NONBLOCK, opening a FIFO waits for its other end. Nothing
    // is truncated before the descriptor is known to be a regular file.
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    const char* art = "r";
    switch (modus) {
    case Dateimodus::LESEN:
    case Dateimodus::LESEN_BINAER: flags |= O_RDONLY; break;
    case Dateimodus::SCHREIBEN:
    case Dateimodus::SCHREIBEN_BINAER:
        flags |= O_WRONLY | O_CREAT;
        art = "w";
        break;
    case Dateimodus::ANHAENGEN:
        flags |= O_WRONLY | O_CREAT | O_APPEND;
        art = "a";
        break;
    }
    const int fd = open(name.c_str(), flags, 0666);
    if (fd < 0) return nullptr;
    struct stat s;
    bool ok = fstat(fd, &s) == 0 && S_ISREG(s.st_mode);
    if (ok) ok = fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
    if (ok && (modus == Dateimodus::SCHREIBEN || modus == Dateimodus::SCHREIBEN_BINAER)) ok = ftruncate(fd, 0) == 0;
    std::FILE* f = ok ? fdopen(fd, art) : nullptr;
    if (!f) close(fd);
    return f;
}

bool dateiSichern(std::FILE* f)
{
    return std::fflush(f) == 0 && fsync(fileno(f)) == 0;
}

bool dateiErsetzen(const std::string& von, const std::string& nach)
{
    if (std::rename(von.c_str(), nach.c_str()) != 0) return false;
    // The new name lives in the directory: it reaches the disk with the
    // directory's own data. Some file systems cannot sync a directory;
    // the rename itself has succeeded then all the same.
    const auto schnitt = nach.rfind('/');
    const std::string verzeichnis = schnitt == std::string::npos ? "." : schnitt == 0 ? "/" : nach.substr(0, schnitt);
    const int fd = open(verzeichnis.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
    return true;
}

bool dateiUmbenennen(const std::string& von, const std::string& nach)
{
    return std::rename(von.c_str(), nach.c_str()) == 0;
}
