#include "platform/konsole.h"

#include <fcntl.h>
#include <io.h>

void eingabeUnveraendert(std::FILE* f)
{
    const int fd = _fileno(f);
    if (fd >= 0) _setmode(fd, _O_BINARY);
}
