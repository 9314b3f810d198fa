#pragma once
// The file a real output channel writes to in a test: a temporary file that
// hands out the lines written since the last look.
#include "../test_hilfen.h"

struct KanalDatei {
    std::FILE* f = std::tmpfile();
    std::size_t gelesen = 0;
    ~KanalDatei() { std::fclose(f); }

    std::vector<std::string> neue()
    {
        const std::vector<std::string> alle = zeilenAus(dateiInhalt(f));
        std::vector<std::string> r(alle.begin() + long(gelesen), alle.end());
        gelesen = alle.size();
        return r;
    }
};
