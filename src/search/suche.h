#pragma once
#include "search/sucher.h"

// STAND-IN for the search controller until the real one lands: it answers
// every search with the first root move and searches nothing. Only the
// thread hand-over, pondering and the best-move report are real.
class Suche_t : public Sucher_t {
public:
    Suche_t();
    ~Suche_t() override;
    void search() override;
};
