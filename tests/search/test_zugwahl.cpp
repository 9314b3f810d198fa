// The move picker's order, the history counters and the killer rules.

#include "../test_hilfen.h"
#include "chess/zuggen.h"
#include "search/zugwahl.h"

namespace {

// The moves of a position in the order the picker's sorting leaves them,
// with these killers and these moves rewarded in the history.
std::vector<std::string> sortiert(const char* fen, const std::vector<std::string>& killer,
                                  const std::vector<std::string>& belohnt)
{
    TestStellung t(fen);
    Ply_t p{};
    Historie_t h{};
    h.leeren();
    Zug* ende = alleZuege(t.st, t.d, p.liste);
    auto finden = [&](const std::string& text) {
        for (Zug* q = p.liste; q != ende; ++q)
            if (zugText(t.st, *q) == text) return *q & 0xFFFF;
        ADD_FAILURE() << "no move " << text << " in " << fen;
        return Zug(0);
    };
    for (std::size_t i = 0; i < killer.size(); ++i) p.killer[i] = finden(killer[i]);
    for (const std::string& z : belohnt) h.belohnen(finden(z), 4);
    zugwahlStarten(&p, ende, 0);
    const ZugwahlKontext_t k{&t.st, &t.d, &h, 0};
    zugwahlSortieren(&p, k, p.liste);
    std::vector<std::string> zuege;
    for (Zug* q = p.liste; q != ende; ++q) zuege.push_back(zugText(t.st, *q & 0xFFFF));
    return zuege;
}

TEST(Zugwahl, SortedListFollowsTheOrderingRules)
{
    const struct {
        const char* fen;
        std::vector<std::string> killer, belohnt;
        std::vector<std::string> erwartet; // in this order, other moves anywhere
        const char* warum;
    } faelle[] = {
        {"4k3/8/8/3q4/1NP5/8/8/4K3 w - - 0 1", {}, {}, {"c4d5", "b4d5", "e1f1"},
         "the queen taken by the pawn before the knight, both before quiet moves"},
        {"4k3/8/8/8/8/8/8/1N2K3 w - - 0 1", {"b1c3", "b1d2"}, {}, {"b1c3", "b1d2", "b1a3"},
         "the first killer before the second before other knight moves"},
        {"4k3/8/8/8/8/8/8/1N2K3 w - - 0 1", {}, {"b1a3"}, {"b1a3", "b1c3"},
         "a move that refuted before goes before its equals"},
        {"4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", {}, {}, {"e1g1", "e1f2"}, "castling before a king step"},
        {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", {}, {}, {"e5d6", "e5e6"}, "en passant before a pawn push"},
        {"4k3/8/3p4/4p3/3P4/8/8/4K3 w - - 0 1", {}, {}, {"d4e5", "e1d2"}, "pawn ending: a pawn capture first"},
    };
    for (const auto& f : faelle) {
        // The expected moves as they come in the sorted list.
        std::vector<std::string> folge;
        for (const std::string& z : sortiert(f.fen, f.killer, f.belohnt))
            if (std::count(f.erwartet.begin(), f.erwartet.end(), z)) folge.push_back(z);
        EXPECT_EQ(folge, f.erwartet) << f.warum;
    }
}

TEST(Zugwahl, HistoryStaysBoundedThroughItsRescales)
{
    // Rewards keep coming; the counters are rescaled again and again, the
    // values used for ordering stay within 16 bits, the increment never
    // collapses, and the move rewarded last and most reads highest.
    Historie_t h;
    h.leeren();
    const Zug oft = zugBauen(G1, F3, SPRINGER), selten = zugBauen(F1, C4, LAEUFER);
    int skaliert = 0;
    for (int i = 0; i < 300000; ++i) {
        const uint32_t shiftVorher = h.shift;
        h.belohnen(i % 7 ? oft : selten, 1 + i % 9);
        if (h.shift < shiftVorher) {
            ++skaliert;
            ASSERT_GE(h.inkrement, 32u) << i;
        }
        ASSERT_LE(h.wert[Historie_t::index(oft)], 0x3C000000u) << i;
        ASSERT_LE(h.lesen(oft), 0x10000u) << i;
        ASSERT_LE(h.lesen(selten), 0x10000u) << i;
    }
    EXPECT_GE(skaliert, 2);
    EXPECT_GT(h.lesen(oft), h.lesen(selten));
}

TEST(Zugwahl, KillerRules)
{
    const struct {
        Zug m;
        bool wirdKiller;
        const char* warum;
    } faelle[] = {
        {zugBauen(G1, F3, SPRINGER), true, "an ordinary refutation"},
        {zugBauen(D4, E5, SPRINGER), false, "a recapture on the square just moved to"},
        {zugBauen(A2, A1, SPRINGER), false, "a move into a corner"},
        {zugBauen(G2, H1, SPRINGER), false, "a move into a corner"},
        {zugBauen(D5, E6, ART_EP), false, "an en-passant capture"},
    };
    for (const auto& f : faelle) {
        Ply_t p{};
        p.killer[0] = 77;
        killerEintragen(&p, f.m, zugBauen(E7, E5, BAUER));
        EXPECT_EQ(p.killer[0] == f.m, f.wirdKiller) << f.warum;
        EXPECT_EQ(p.killer[1], f.wirdKiller ? 77u : 0u) << f.warum;
    }
    // The first killer again: no duplicate in the second slot.
    Ply_t p{};
    const Zug m = zugBauen(G1, F3, SPRINGER);
    killerEintragen(&p, m, 0);
    killerEintragen(&p, m, 0);
    EXPECT_EQ(std::pair(p.killer[0], p.killer[1]), std::pair(m, Zug(0)));
}

} // namespace
