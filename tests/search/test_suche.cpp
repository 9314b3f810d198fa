// The search controller and the node search, driven through the UCI
// interpreter as a GUI would drive them: draws by repetition and by the
// fifty-move rule, mates, root restrictions, MultiPV, the single legal move,
// reproducible node counts, the "Clear Hash" button and the book step (a
// known position answered from the book without a search, unless the book
// is off or the root moves are restricted; a ponder search holds the book
// move until "ponderhit").

#include <new>

#include "../test_hilfen.h"
#include "protocol/uci.h"
#include "protocol/uci_ausgabe.h"
#include "search/suche.h"
#include "shell/beenden.h"

namespace {

// A searcher is built into memory full of junk, so that no result can
// depend on state its construction forgot to set.
struct SucherLoeschen {
    void operator()(Suche_t* s) const
    {
        s->~Suche_t();
        ::operator delete(s, std::align_val_t(alignof(Suche_t)));
    }
};
using SucherZeiger = std::unique_ptr<Suche_t, SucherLoeschen>;

// What one search printed: the lines, the move after "bestmove", the last
// "info depth ... pv" line.
struct Ergebnis {
    std::vector<std::string> zeilen;
    std::string bestmove, letzteInfo;

    // "cp N" or "mate N" of the last principal variation.
    std::string wert() const
    {
        const auto a = letzteInfo.find(" score ");
        return a == std::string::npos ? "" : letzteInfo.substr(a + 7, letzteInfo.find(" time ", a) - a - 7);
    }
    int centipawns() const
    {
        const std::string w = wert();
        if (w.rfind("cp ", 0) != 0) return w.rfind("mate -", 0) == 0 ? -100000 : 100000;
        return std::atoi(w.c_str() + 3);
    }
};

// The UCI interpreter on a searcher; every line after the "uci" answer is
// kept in memory, so the test can look at it while a search runs.
class Suche : public ::testing::Test {
protected:
    void SetUp() override
    {
        programmBeenden.store(false);
        kopf_ = std::tmpfile();
        neuStarten();
    }
    void TearDown() override
    {
        uci.reset(), aus.reset(), sucher.reset();
        std::fclose(kopf_);
        programmBeenden.store(false);
    }
    void neuStarten() // a fresh engine
    {
        uci.reset(), aus.reset(), sucher.reset();
        void* roh = ::operator new(sizeof(Suche_t), std::align_val_t(alignof(Suche_t)));
        std::memset(roh, 0x5A, sizeof(Suche_t));
        sucher = SucherZeiger(new (roh) Suche_t);
        aus = std::make_unique<Mitschrift<UciAusgabe_t>>(OPTIONEN_NORMAL, kopf_);
        uci = std::make_unique<UciInterface_t>(*sucher, OPTIONEN_NORMAL, grenzen, *aus);
    }
    // One command; a search it starts is waited for.
    void sagen(const std::string& zeile)
    {
        uci->Zeile(zeile.c_str());
        sucher->warteBisUntaetig();
    }
    Ergebnis ergebnis()
    {
        Ergebnis e;
        e.zeilen = aus->neue();
        for (const std::string& z : e.zeilen)
            if (z.rfind("bestmove ", 0) == 0) e.bestmove = z.substr(9, z.find(' ', 9) - 9);
            else if (z.rfind("info depth ", 0) == 0 && z.find(" pv") != std::string::npos) e.letzteInfo = z;
        return e;
    }
    Ergebnis suchen(const std::string& position, const std::string& go)
    {
        sagen("position " + position);
        sagen(go);
        return ergebnis();
    }

    std::FILE* kopf_ = nullptr;
    Suchgrenzen_t grenzen;
    SucherZeiger sucher;
    std::unique_ptr<Mitschrift<UciAusgabe_t>> aus;
    std::unique_ptr<UciInterface_t> uci;
};

// "<N" or ">N" holds for the value.
bool schranke(const std::string& s, int64_t wert)
{
    const int64_t n = std::stoll(s.substr(1));
    return s[0] == '<' ? wert < n : wert > n;
}

} // namespace

// Draws by perpetual check, repetition of a position of the game and the
// fifty-move rule, mates, a restricted root and the single legal move. Each
// case: position, go command, the moves allowed as answer ("" any; "!m" any
// but m), the score, exact ("cp 0", "mate 2") or as a bound ("<-500",
// ">500"), and a bound on the nodes searched.
TEST_F(Suche, DrawsMatesAndRestrictedRoots)
{
    const std::string perpetual = "fen r4r1k/5p1p/8/6Q1/8/8/q4PPP/6K1 w - - 0 1";
    const std::string dameMehr = "fen 6k1/8/8/8/8/8/3Q4/K7 b - - 0 1";
    const std::string turmMatt = "fen 7k/8/6K1/8/8/8/8/R7 w - - 0 1";
    const struct {
        std::string position, go, zuege, wert, knoten = {};
    } faelle[] = {
        // A queen and a rook down, White checks forever: Qf6+ Kg8 Qg5+ Kh8.
        {perpetual, "go depth 8", "g5f6 g5e5", "cp 0"},
        {perpetual, "go depth 8 excludemoves g5f6 g5e5", "", "<-500"},
        // Going back to a position of the game draws for the side a queen down.
        {dameMehr + " moves g8h8 d2d3 h8g8 d3d2", "go depth 8", "g8h8", "cp 0"},
        {dameMehr, "go depth 8", "", "<-500"},
        // 99 half moves without capture or pawn move: the winning side keeps
        // the game alive with the pawn, the losing side must not take it
        // (that would restart the count), a mate with the hundredth half
        // move is still a mate; far from the limit nothing changes.
        {"fen 7k/8/8/8/8/8/P1Q5/K7 w - - 99 80", "go depth 6", "a2a3 a2a4", ">500"},
        {"fen 7k/8/8/8/8/5P2/2Q5/K5n1 b - - 99 80", "go depth 6", "!g1f3", "cp 0"},
        {turmMatt.substr(0, turmMatt.size() - 3) + "99 80", "go depth 4", "a1a8", "mate 1"},
        {"fen 7k/8/8/8/8/5P2/2Q5/K5n1 b - - 20 80", "go depth 6", "", "<-500"},
        // Mates in two with a quiet first move (Qg6), for Black (Qc4+ Nxc4
        // bxc4), and being mated next move.
        {"fen 2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1", "go mate 2", "g3g6", "mate 2"},
        {"fen 5k2/6pp/p1qN4/1p1p4/3P4/2PKP2Q/PP3r2/3R4 b - - 0 1", "go mate 2", "c6c4", "mate 2"},
        {"fen 2rr3k/pp3pp1/1nnqbNQp/3pN3/2pP4/2P5/PPB4P/R4RK1 b - - 0 1", "go depth 5", "", "mate -1"},
        // Ra8 mates; the search may only look at what it is given.
        {turmMatt, "go depth 5 searchmoves a1a2 a1b1", "a1a2 a1b1", ""},
        {turmMatt, "go depth 5 excludemoves a1a8", "!a1a8", "mate 2"},
        {turmMatt, "go depth 5", "a1a8", "mate 1"},
        // Kxg2 is the only move: answered at once. A restricted root goes on
        // searching even with one move.
        {"fen 7k/8/8/8/8/8/6q1/7K w - - 0 1", "go depth 20", "h1g2", "", "<100"},
        {"startpos", "go depth 5 searchmoves e2e4", "e2e4", "", ">200"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.position + " / " + f.go);
        const Ergebnis e = suchen(f.position, f.go);
        if (f.zuege.rfind("!", 0) == 0) {
            EXPECT_NE(e.bestmove, f.zuege.substr(1));
        } else if (!f.zuege.empty()) {
            EXPECT_NE((" " + f.zuege + " ").find(" " + e.bestmove + " "), std::string::npos) << e.bestmove;
        }
        if (f.wert[0] == '<' || f.wert[0] == '>') {
            EXPECT_TRUE(schranke(f.wert, e.centipawns())) << e.letzteInfo;
        } else if (!f.wert.empty()) {
            EXPECT_EQ(e.wert(), f.wert) << e.letzteInfo;
        }
        const int64_t knoten = int64_t(sucher->knotenGesamt());
        EXPECT_TRUE(f.knoten.empty() || schranke(f.knoten, knoten)) << knoten;
    }
}

// A second engine, built in the same junk, and the same engine after
// "ucinewgame" search the very same tree.
TEST_F(Suche, FixedNodeSearchesAreReproducible)
{
    const std::string pos = "fen r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";
    const Ergebnis a = suchen(pos, "go nodes 20000");
    const uint64_t knotenA = sucher->knotenGesamt();
    EXPECT_GE(knotenA, 20000u);
    EXPECT_LE(knotenA, 201000u);
    for (int runde = 0; runde < 2; ++runde) {
        if (runde) neuStarten();
        else sagen("ucinewgame");
        const Ergebnis b = suchen(pos, "go nodes 20000");
        EXPECT_EQ(sucher->knotenGesamt(), knotenA) << runde;
        EXPECT_EQ(b.bestmove, a.bestmove) << runde;
        EXPECT_EQ(b.zeilen.size(), a.zeilen.size()) << runde;
    }
}

// (Three different moves at one depth, also with many threads, and root
// restrictions in every line: the scripted search sessions.)
TEST_F(Suche, MultiPvRanksAndScoresAndNeverMoreLinesThanMoves)
{
    sagen("setoption name MultiPV value 3");
    // The last report at depth 6: ranks 1 to 3, scores falling.
    std::vector<std::pair<int, int>> l;
    for (const std::string& z : suchen("startpos", "go depth 6").zeilen) {
        int nr = 0, cp = 0;
        if (std::sscanf(z.c_str(), "info multipv %d depth 6 score cp %d", &nr, &cp) == 2) l.emplace_back(nr, cp);
    }
    ASSERT_GE(l.size(), 3u);
    const auto* r = &l[l.size() - 3];
    EXPECT_EQ(std::tuple(r[0].first, r[1].first, r[2].first), std::tuple(1, 2, 3));
    EXPECT_TRUE(r[0].second >= r[1].second && r[1].second >= r[2].second) << r[0].second << " " << r[1].second << " " << r[2].second;
    // Two legal moves: never a third line.
    for (const std::string& z : suchen("fen 7k/8/8/8/8/8/6q1/4N2K w - - 0 1", "go depth 6").zeilen) {
        int nr = 0;
        if (std::sscanf(z.c_str(), "info multipv %d", &nr) == 1) {
            EXPECT_LE(nr, 2) << z;
        }
    }
}

TEST_F(Suche, ClearHashEmptiesTheTableBeforeTheNextSearch)
{
    // The position after the best move holds the move the engine expects
    // in reply (its ponder move), so the table knows it.
    auto nachBestmove = [&] {
        return stellungNach(nullptr, suchen("startpos", "go depth 6").bestmove).d.schluessel;
    };
    TTDaten_t eintrag;
    auto bekannt = [&](uint64_t schluessel) { return sucher->tabelle().lesen(schluessel, 1, eintrag); };
    uint64_t schluessel = nachBestmove();
    EXPECT_TRUE(bekannt(schluessel));

    sagen("setoption name Clear Hash");
    Optionen_t& opt = uci->optionen();
    EXPECT_TRUE(opt.wahr(OPT_CLEAR_HASH));
    // The button takes effect when the next search starts.
    suchen("fen 7k/8/8/8/8/8/6q1/7K w - - 0 1", "go depth 1");
    EXPECT_FALSE(bekannt(schluessel));
    EXPECT_FALSE(opt.wahr(OPT_CLEAR_HASH));
    EXPECT_STREQ(opt.text(OPT_CLEAR_HASH), "false");

    // Not pressed again: the table is kept.
    schluessel = nachBestmove();
    suchen("fen 7k/8/8/8/8/8/6q1/7K w - - 0 1", "go depth 1");
    EXPECT_TRUE(bekannt(schluessel));
}

// A client takes the last line it saw for the result of the search. Before
// the best move comes the line of the last iteration when it was kept back
// (the quiet iterations of a quick search; iterations the table answered
// without a report), and every shown line ends at the first position that
// repeats one of the game or of the line (a fortress whose lines would go
// round in circles up to the length limit).
TEST_F(Suche, TheLastLineIsTheResultAndEndsAtARepetition)
{
    sagen("setoption name OwnBook value false");
    const struct {
        const char* fen;
        const char* zuege;
        const char* go;
        int tiefe;
    } faelle[] = {
        {"8/8/1p1k4/1P6/2K5/8/8/8 w - - 0 1", "", "go depth 6", 6},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", "", "go depth 6", 6},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", "", "go depth 4", 4},
        {"7k/8/7K/7P/8/8/8/5B2 w - - 0 1", "h6g6 h8g8 g6h6 g8h8", "go depth 16", 16},
    };
    for (const auto& f : faelle) {
        const std::string position = std::string("fen ") + f.fen + (*f.zuege ? " moves " : "") + f.zuege;
        const Ergebnis e = suchen(position, f.go);
        int tiefe = 0;
        std::sscanf(e.letzteInfo.c_str(), "info depth %d", &tiefe);
        EXPECT_EQ(tiefe, f.tiefe) << position << "\n" << e.letzteInfo;
        for (const std::string& z : e.zeilen) {
            const std::size_t pv = z.find(" pv ");
            if (pv == std::string::npos) continue;
            TestStellung t = stellungNach(f.fen, f.zuege);
            std::vector<uint64_t> gesehen(t.st.historie, t.st.historie + t.st.historieLaenge);
            gesehen.push_back(t.d.schluessel);
            std::istringstream in(z.substr(pv + 4));
            for (std::string zug; in >> zug;) {
                Stellungsdaten_t neu;
                const Zug m = koordinatenZugLesen(t.st, zug.c_str());
                ASSERT_TRUE(m && zugSpielen(t.st, m, neu, t.d)) << z;
                t.d = neu;
                const bool wieder = std::count(gesehen.begin(), gesehen.end(), neu.schluessel) > 0;
                EXPECT_TRUE(!wieder || in.rdbuf()->in_avail() == 0) << "goes on after a repetition: " << z;
                gesehen.push_back(neu.schluessel);
            }
        }
    }
}

// Mate (and stalemate, in the scripted sessions) answers with the null
// move, whatever the limits; "go
// infinite" reports its move only when told to stop, even when there is
// nothing left to search (a mate in one, a single legal move, no move).
TEST_F(Suche, NoLegalMoveAndInfiniteSearches)
{
    EXPECT_EQ(suchen("fen 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", "go movetime 50").bestmove, "0000");
    for (auto [fen, zug] : {std::pair{"fen 7k/8/6K1/8/8/8/8/R7 w - - 0 1", "a1a8"},
                            {"fen 7k/8/8/8/8/8/6q1/7K w - - 0 1", "h1g2"}, {"fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "0000"}}) {
        sagen(std::string("position ") + fen);
        uci->Zeile("go infinite");
        schlafeMs(150);
        EXPECT_FALSE(aus->neueMit("bestmove ")) << fen;
        sagen("stop");
        EXPECT_EQ(ergebnis().bestmove, zug) << fen;
    }
}

TEST_F(Suche, BookMovesWithoutSearch)
{
    TempDatei buch("e4 1 e5 1 Nf3 1 * * * *");
    sagen("setoption name BookFile value " + buch.name);
    // The best-move line, or "searched" when a search reported (depth 3
    // reports at least once).
    auto antwort = [&](const std::string& position, const std::string& go) {
        const Ergebnis e = suchen(position, go);
        return !e.letzteInfo.empty() ? std::string("searched") : e.zeilen.empty() ? "" : e.zeilen.back();
    };
    EXPECT_EQ(antwort("startpos", "go depth 3"), "bestmove e2e4 ponder e7e5");
    EXPECT_EQ(antwort("startpos moves e2e4", "go wtime 1000 btime 1000"), "bestmove e7e5 ponder g1f3");
    EXPECT_EQ(antwort("startpos moves e2e4 e7e5", "go movetime 50"), "bestmove g1f3");
    // Out of the book, with the root moves restricted (the book knows
    // nothing of the restriction), with the book off or missing: a search.
    EXPECT_EQ(antwort("startpos moves d2d4", "go depth 3"), "searched");
    EXPECT_EQ(antwort("startpos", "go depth 3 searchmoves d2d4"), "searched");
    sagen("setoption name OwnBook value false");
    EXPECT_EQ(antwort("startpos", "go depth 3"), "searched");
    sagen("setoption name OwnBook value true");
    // A ponder search holds the book move until "ponderhit".
    sagen("position startpos");
    uci->Zeile("go ponder wtime 1000 btime 1000");
    schlafeMs(100);
    EXPECT_TRUE(aus->neue().empty());
    sagen("ponderhit");
    EXPECT_EQ(aus->neue(), std::vector<std::string>{"bestmove e2e4 ponder e7e5"});
    sagen("setoption name BookFile value " + buch.name + ".missing");
    EXPECT_EQ(antwort("startpos", "go depth 3"), "searched");
}

// The quiescence search gives the same verdict in a narrow window as in the
// full one: searched just above its own value it fails low, just below it
// fails high. Its capture selection weighs the material a capture wins; if
// that weight disagrees with the evaluation's, a recapture is skipped in
// narrow windows and an ordinary exchange looks like winning a piece.
TEST(Ruhesuche, NarrowWindowsAgreeWithTheFullWindowAfterExchanges)
{
    const char* stellungen[] = {
        // 1.e4 e5 2.Nf3 Nc6 3.Bb5 a6: Bxc6 dxc6 is an even trade.
        "r1bqkbnr/1ppp1ppp/p1n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 0 4",
        // Two knights after 5.exd5: Black takes back on d5 or moves away.
        "r1bqkb1r/ppp2ppp/2n2n2/3Pp1N1/2B5/8/PPPP1PPP/RNBQK2R b KQkq - 0 5",
        // Open Sicilian after 4.Nxd4.
        "rnbqkbnr/pp2pppp/3p4/8/3NP3/8/PPP2PPP/RNBQKB1R b KQkq - 0 4",
        // Queen's gambit declined after Bxf6: Bxf6 or gxf6.
        "rnbqk2r/ppp1bppp/4pB2/3p4/2PP4/2N5/PP2PPPP/R2QKBNR b KQkq - 0 5",
        // Knights trade in the centre.
        "r1bqkb1r/pppp1ppp/2n5/4n3/3PP3/8/PPP2PPP/RNBQKBNR w KQkq - 0 4",
        // A middlegame with captures on d5 for both sides.
        "r2q1rk1/pp2bppp/2n1bn2/3p4/3P4/2NBBN2/PP3PPP/R2Q1RK1 w - - 0 11",
    };
    auto suche = std::make_unique<Suche_t>();
    for (const char* fen : stellungen) {
        TestStellung t(fen);
        ASSERT_TRUE(t.ok) << fen;
        const int v = suche->ruhewert(t.st, -MATT_WERT - 1, MATT_WERT + 1);
        EXPECT_LE(suche->ruhewert(t.st, v, v + 1), v) << fen;
        EXPECT_GE(suche->ruhewert(t.st, v - 1, v), v) << fen;
    }
}
