#include "../test_hilfen.h"
#include "kanal_datei.h"
#include "protocol/uci_ausgabe.h"
#include "protocol/xboard.h"
#include "protocol/xboard_ausgabe.h"
#include "shell/zahlen.h"

namespace {
using Zeilen = std::vector<std::string>;

// Stands in for the inner UCI interpreter: records the commands it gets
// (blanks collapsed, none at the end) and applies "setoption", so that
// NoOutput works.
struct UciMitschrift : Eingabe_t {
    explicit UciMitschrift(Optionen_t& o) : optionen(o) {}
    void Zeile(const char* z) override
    {
        std::string s(z);
        blanksZusammenfassen(s.data());
        s.resize(std::strlen(s.c_str()));
        while (!s.empty() && s.back() == ' ') s.pop_back();
        std::lock_guard<std::mutex> g(m);
        befehle.push_back(s);
        if (!std::strncmp(z, "setoption ", 10)) optionen.setoption(z);
    }
    Optionen_t& optionen;
    std::mutex m;
    Zeilen befehle;
};

struct XBoard : ::testing::Test {
    void SetUp() override
    {
        aus.xboardSetzen(&xb);
        sagen({"protover 2"});
        ausgabe();
    }
    // Sends the lines and returns the UCI commands they caused.
    Zeilen sagen(std::initializer_list<const char*> zeilen)
    {
        for (const char* z : zeilen) xb.Zeile(z);
        xb.warteBisAbgearbeitet();
        std::lock_guard<std::mutex> g(uci.m);
        Zeilen r(uci.befehle.begin() + long(gelesen), uci.befehle.end());
        gelesen = uci.befehle.size();
        for (const std::string& s : r)
            if (s.rfind("position ", 0) == 0) letztePosition = s;
        return r;
    }
    // The lines printed since the last call.
    Zeilen ausgabe()
    {
        xb.warteBisAbgearbeitet();
        return datei.neue();
    }
    // The search reports its move (and a score through a thinking line)
    // for the position of a UCI "position" command: the last one sent, or
    // the given one.
    void zieht(const char* zug, const char* ponder = "", int wert = 0, std::string position = "")
    {
        if (position.empty()) position = letztePosition;
        const std::size_t m = std::min(position.find(" moves "), position.size());
        const std::string kopf = position.substr(0, m);
        const std::string zuege = position.substr(std::min(m + 7, position.size()));
        const char* fen = kopf.rfind("position fen ", 0) == 0 ? kopf.c_str() + 13 : nullptr;
        TestStellung t = stellungNach(fen, zuege), danach = stellungNach(fen, zuege + " " + zug);
        ASSERT_TRUE(t.ok && danach.ok) << position << ", then " << zug;
        const Zug z = koordinatenZugLesen(t.st, zug);
        aus.Hauptvariante(t.st, &z, 1, wert, -500000, 500000, 3, 3, 0, 100, 0, true);
        aus.BesterZug(t.st, z, *ponder ? koordinatenZugLesen(danach.st, ponder) : Zug(0));
    }
    // The first number after a word of the last go command.
    int64_t goWert(const Zeilen& befehle, const char* wort)
    {
        const std::string& go = befehle.back();
        int64_t v = -1;
        ganzzahlLesen(go.c_str() + go.find(wort) + std::strlen(wort), v);
        return v;
    }

    // Closed last: the interpreter's worker may print until it ends.
    KanalDatei datei;
    Suchgrenzen_t grenzen;
    Optionen_t optionen{OPTIONEN_NORMAL};
    UciMitschrift uci{optionen};
    XBoardAusgabe_t aus{grenzen, datei.f};
    XBoardInterface_t xb{uci, optionen, aus};
    std::size_t gelesen = 0;
    std::string letztePosition = "position startpos";
};

const Zeilen STOP = {"setoption name NoOutput value true", "stop", "setoption name NoOutput value false"};
Zeilen plus(Zeilen a, const Zeilen& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
} // namespace

TEST_F(XBoard, GoCommandsFollowTheTimeControl)
{
    EXPECT_EQ(sagen({"level 40 5 0", "time 12345", "otim 999", "go"}),
              Zeilen({"position startpos", "go wtime 123450 btime 123450 winc 0 binc 0 movestogo 40"}));
    zieht("e2e4");
    EXPECT_EQ(sagen({"level 0 2:30 1.5", "usermove e7e5"}),
              Zeilen({"position startpos moves e2e4 e7e5", "go wtime 150000 btime 150000 winc 1500 binc 1500"}));
    zieht("g1f3");
    EXPECT_EQ(sagen({"st 5", "usermove b8c6"}).back(), "go movetime 5000");
    zieht("f1b5");
    EXPECT_EQ(sagen({"sd 7", "usermove a7a6"}).back(), "go depth 7");
    zieht("b5a4");
    // A refused level keeps what was there (here the fixed depth).
    EXPECT_EQ(sagen({"level 40 5", "usermove g8f6"}).back(), "go depth 7");
    EXPECT_EQ(ausgabe(), Zeilen({"move e2e4", "move g1f3", "move f1b5", "move b5a4",
                                 "Error (bad parameters): level 40 5"}));
}

TEST_F(XBoard, TheMoveThatClosesAPeriodBringsTheNextOnesTime)
{
    EXPECT_EQ(sagen({"level 2 5 0", "go"}).back(), "go wtime 300000 btime 300000 winc 0 binc 0 movestogo 2");
    zieht("e2e4");
    EXPECT_EQ(sagen({"time 1000", "usermove e7e5"}).back(), "go wtime 10000 btime 10000 winc 0 binc 0 movestogo 1");
    zieht("g1f3");
    const Zeilen dritter = sagen({"usermove b8c6"});
    EXPECT_EQ(goWert(dritter, "movestogo"), 2);
    // Ten seconds, less the moment the move took, plus the new period.
    EXPECT_GT(goWert(dritter, "wtime"), 300000 + 9000);
    EXPECT_LE(goWert(dritter, "wtime"), 300000 + 10000);
}

TEST_F(XBoard, PonderingOnTheExpectedReply)
{
    sagen({"hard", "level 0 5 0", "time 30000", "usermove e2e4"});
    zieht("e7e5", "g1f3");
    const Zeilen ponder = sagen({});
    ASSERT_EQ(ponder.size(), 2u);
    EXPECT_EQ(ponder[0], "position startpos moves e2e4 e7e5 g1f3");
    EXPECT_EQ(ponder[1].substr(ponder[1].size() - 7), " ponder");
    // The expected move turns the ponder search into the real one.
    EXPECT_EQ(sagen({"hint", "usermove g1f3"}), Zeilen({"ponderhit"}));
    zieht("b8c6", "f1b5");
    EXPECT_EQ(sagen({}).size(), 2u);
    // Another move stops it and searches afresh.
    EXPECT_EQ(sagen({"time 30000", "usermove d2d4"}), plus(STOP, {"position startpos moves e2e4 e7e5 g1f3 b8c6 d2d4",
                                                     "go wtime 300000 btime 300000 winc 0 binc 0"}));
    // Fixed depth: no pondering.
    sagen({"sd 3"});
    zieht("e5d4", "d1d4");
    EXPECT_EQ(sagen({}), Zeilen{});
    EXPECT_EQ(ausgabe(), Zeilen({"move e7e5", "Hint: g1f3", "move b8c6", "move e5d4"}));
}

TEST_F(XBoard, PingWhileThinkingIsAnsweredAfterTheMove)
{
    sagen({"go", "ping 7"});
    EXPECT_EQ(ausgabe(), Zeilen{});
    zieht("e2e4");
    sagen({"ping 8"});
    // Stopped without a move: the answer comes all the same.
    sagen({"usermove e7e5", "ping 9", "force"});
    EXPECT_EQ(ausgabe(), Zeilen({"move e2e4", "pong 7", "pong 8", "pong 9"}));
}

TEST_F(XBoard, MovesOfAnotherPositionOrOfAStoppedSearchAreDropped)
{
    sagen({"go"});
    // NoOutput on: the search was stopped.
    optionen.setoption("setoption name NoOutput value true");
    zieht("e2e4");
    optionen.setoption("setoption name NoOutput value false");
    sagen({"force", "usermove d2d4"});
    // The search of the start position reports after the board moved on.
    zieht("e2e4", "", 0, "position startpos");
    EXPECT_EQ(ausgabe(), Zeilen{});
    EXPECT_EQ(sagen({"go"}).back().substr(0, 9), "go wtime ");
    EXPECT_EQ(letztePosition, "position startpos moves d2d4");
}

TEST_F(XBoard, UndoRemoveAndSetboardRebuildTheGame)
{
    sagen({"force", "usermove e2e4", "usermove e7e5", "usermove g1f3", "undo", "go"});
    EXPECT_EQ(letztePosition, "position startpos moves e2e4 e7e5");
    zieht("g1f3");
    sagen({"remove", "usermove d7d5", "force", "analyze"});
    EXPECT_EQ(letztePosition, "position startpos moves e2e4 d7d5");
    EXPECT_EQ(sagen({"undo"}), plus(STOP, {"position startpos moves e2e4", "go infinite"}));
    EXPECT_EQ(sagen({"setboard 8/8/8/8/8/8/8/8 w - - 0 1"}),
              plus(STOP, {"position startpos", "go infinite"}));
    EXPECT_EQ(sagen({"setboard 4k3/8/8/8/8/8/8/4K2R w K - 0 1 moves e1g1", "exit", "go"}).back().substr(0, 3), "go ");
    EXPECT_EQ(letztePosition, "position fen 4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    EXPECT_EQ(ausgabe(), Zeilen({"move g1f3", "Error (Illegal position): 8/8/8/8/8/8/8/8 w - - 0 1"}));
}

TEST_F(XBoard, QuitStopsAndEndsEverything)
{
    EXPECT_EQ(sagen({"memory 100", "cores 0", "name Some One", "bk", "quit", "go", "new"}),
              Zeilen({"setoption name Hash value 96", "setoption name NumberOfProcessors value 1",
                      "setoption name Opponent value Some One", "setoption name NoOutput value true", "quit"}));
    EXPECT_EQ(ausgabe(), Zeilen({""}));
}

// Asked to move, to analyse or to ponder where the game is already over,
// the engine claims the result, as after its own move, instead of starting
// a search that has nothing to find; a ping is answered at once.
TEST_F(XBoard, AFinishedGameIsClaimedInsteadOfSearched)
{
    const char* matt = "setboard 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1";
    // Each case from a new game in force mode, or in an analysis.
    const struct {
        const char* modus;
        std::vector<const char*> befehle;
        Zeilen ausgabe;
    } faelle[] = {
        {"force", {matt, "go", "ping 1"}, {"1-0 {White mates}", "pong 1"}},
        {"force", {"setboard 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "playother", "go"},
         {"1/2-1/2 {Stalemate}", "1/2-1/2 {Stalemate}"}},
        {"force", {"setboard 7k/8/6K1/8/8/8/8/8 w - - 0 1", "go"}, {"1/2-1/2 {Insufficient material}"}},
        {"force", {"setboard 7k/8/6K1/8/8/8/8/R7 w - - 99 80", "usermove a1b1", "go"},
         {"1/2-1/2 {Draw by 50 move rule}", "1/2-1/2 {Draw by 50 move rule}"}},
        {"force",
         {"setboard 7k/8/6K1/8/8/8/8/R7 w - - 0 1", "usermove a1b1", "usermove h8g8", "usermove b1a1",
          "usermove g8h8", "usermove a1b1", "usermove h8g8", "usermove b1a1", "usermove g8h8", "go"},
         {"1/2-1/2 {Draw by repetition}", "1/2-1/2 {Draw by repetition}"}},
        {"analyze", {matt, "ping 2", "exit"}, {"1-0 {White mates}", "pong 2"}},
    };
    for (const auto& f : faelle) {
        sagen({"new", f.modus});
        Zeilen befehle;
        for (const char* b : f.befehle) befehle = plus(befehle, sagen({b}));
        for (const std::string& b : befehle) EXPECT_NE(b.substr(0, 3), "go ") << f.befehle[0];
        EXPECT_EQ(ausgabe(), f.ausgabe) << f.befehle[0];
    }

    // The expected reply mates the engine: nothing to ponder on.
    sagen({"new", "hard", "setboard 7k/8/6K1/8/8/8/8/R7 b - - 0 1", "go"});
    zieht("h8g8", "a1a8");
    EXPECT_EQ(sagen({"ping 3"}), Zeilen{});
    EXPECT_EQ(ausgabe(), Zeilen({"move h8g8", "pong 3"}));
}
