#pragma once
#include "search/sucher.h"

// A searcher that plays a uniformly random legal move: for testing
// interfaces and tournament set-ups. Driven exactly like the real search.
class SucheZufall_t : public Sucher_t {
public:
    SucheZufall_t();
    ~SucheZufall_t() override;
    void search() override;
};
