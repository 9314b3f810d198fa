#pragma once
// A searcher that only records what it was given. A ponder search answers
// only after "ponderhit" or "stop"; asked to hold on, any search stays open
// until stopped.
#include "../test_hilfen.h"

#include "search/sucher.h"

class ProbeSucher : public Sucher_t {
public:
    explicit ProbeSucher(bool festhalten = false) : festhalten_(festhalten) { fadenStarten(); }
    ~ProbeSucher() override { beenden(); }

    void search() override
    {
        faden = std::this_thread::get_id();
        zuege.assign(wurzelAnfang(), wurzelEnde());
        gegeben = rootMovesGiven;
        warAnalyse = analyse;
        warDebug = debug;
        warPonder = ponderAktiv();
        laeuft.store(true);
        while (festhalten_ ? !sollStoppen() : ponderAktiv()) schlafeMs(1);
        ausgabe->BesterZug(*stellung, zuege.empty() ? 0 : zuege[0], 0);
        ++suchen;
        laeuft.store(false);
    }

    std::thread::id faden;
    std::vector<Zug> zuege;
    bool gegeben = false, warAnalyse = false, warDebug = false, warPonder = false;
    std::atomic<bool> laeuft{false};
    std::atomic<int> suchen{0};

private:
    bool festhalten_;
};
