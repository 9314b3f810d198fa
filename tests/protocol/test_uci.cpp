#include "../test_hilfen.h"
#include "kanal_datei.h"
#include "protocol/uci.h"
#include "protocol/uci_ausgabe.h"
#include "../search/probe_sucher.h"
#include "shell/beenden.h"

namespace {
// Records every line, error and best move in text form.
struct Protokoll : Mitschrift<StummeAusgabe> {
    std::vector<std::string> fehler;
    void Fehler(const char* t, const char* d) override { fehler.push_back(std::string(t) + (d ? d : "")); }
    void BesterZug(const Stellung_t& st, Zug z, Zug) override { Zeile(("bestmove " + zugText(st, z)).c_str()); }
};

struct Uci : ::testing::Test {
    void SetUp() override { programmBeenden.store(false); }
    void TearDown() override { programmBeenden.store(false); }

    // Target and hard time limit of the last "go".
    using Paar = std::pair<int64_t, int64_t>;
    Paar zeiten() const { return {grenzen.zielZeit, grenzen.harteZeit}; }
    std::vector<std::string> zuegeText(const std::vector<Zug>& zuege)
    {
        std::vector<std::string> r;
        for (Zug z : zuege) r.push_back(zugText(uci.stellung(), z));
        return r;
    }
    void sagen(const char* zeile)
    {
        uci.Zeile(zeile);
        sucher.warteBisUntaetig();
    }
    const Suchgrenzen_t& grenzenNach(const char* zeile) { sagen(zeile); return grenzen; }

    ProbeSucher sucher;
    Protokoll aus;
    Suchgrenzen_t grenzen;
    UciInterface_t uci{sucher, OPTIONEN_NORMAL, grenzen, aus};
};
} // namespace

// The commands one after the other through the real channel: the position
// each one leaves, and what it prints: nothing, or for a refused command
// one "info string" line. An illegal FEN leaves the start position, an
// illegal move the moves before it.
TEST(UciPosition, EachCommandLeavesItsPositionAndRefusesWithOneInfoString)
{
    const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
    const std::string mitte = "/pppppppp/8/8/8/8/PPPPPPPP/";
    const std::string nachE5 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -";
    const std::string bauer = "position fen 4k3/P7/8/8/8/8/8/4K3 w - - 0 1 moves ";
    const std::string roch = "position fen r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1 moves ";
    const std::string kd8 = "3k4/8/8/8/8/8/8/4K3 w - -";
    const std::string zug = "info string position: illegal move, the moves before it stand: ";
    const std::string fen = "info string position: illegal FEN, the start position is set instead: ";
    const std::string ohne = "info string 'position' without 'startpos' and without 'fen'";
    const std::string ohneZahl = "info string 'position Chess960' without number";
    const std::string perft = "info string perft without depth (perft depth N [divide] [Hash MB])";
    const std::string kaputteFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w KQkq - 0 1";
    const struct {
        std::string zeile, fen;
        std::vector<std::string> gedruckt;
    } faelle[] = {
        {"position startpos moves e2e4 e7e5 e1e1 g1f3", nachE5, {zug + "e1e1"}},
        {"  position   startpos   moves   g1f3   b8c6",
         "r1bqkbnr/pppppppp/2n5/8/8/5N2/PPPPPPPP/RNBQKB1R w KQkq -", {}},
        // "moves" at the very end of the line: nothing to play, nothing read
        // beyond the line.
        {"position startpos moves", start, {}},
        {"perft 3", start, {perft}},
        {"perft", start, {perft}},
        {"perft depth", start, {perft}},
        {"book entropy keine/solche/datei.opn", start,
         {"info string book entropy: cannot read the book keine/solche/datei.opn"}},
        // Promotions need their letter; tokens are cut to five characters.
        {bauer + "a7a8nqueen", "N3k3/8/8/8/8/8/8/4K3 b - -", {}},
        {bauer + "a7a8", "4k3/P7/8/8/8/8/8/4K3 w - -", {zug + "a7a8"}},
        {bauer + "a7a8x", "4k3/P7/8/8/8/8/8/4K3 w - -", {zug + "a7a8x"}},
        // The moves after an illegal FEN are not played either.
        {"position fen " + kaputteFen + " moves e2e4", start, {fen + kaputteFen}},
        {"position fen 8/8/8/8/8/8/8/K6k w - - 0 1", "8/8/8/8/8/8/8/K6k w - -", {}},
        {"position fen", start, {fen}},
        {"position", start, {ohne}},
        {"position something", start, {ohne}},
        // The side not to move stands in check.
        {"position fen 4k3/8/8/8/8/8/8/4R1K1 w - - 0 1 moves g1h1", start,
         {fen + "4k3/8/8/8/8/8/8/4R1K1 w - - 0 1"}},
        {"position startpos moves e2e4 e7e5", nachE5, {}},
        {roch + "0-0-0 O-O", "r4rk1/8/8/8/8/8/8/2KR3R w - -", {}},
        {roch + "O-O o-o-o", "2kr3r/8/8/8/8/8/8/R4RK1 w - -", {}},
        {roch + "e1g1", "r3k2r/8/8/8/8/8/8/R4RK1 b kq -", {}},
        {"position Chess960 518", start, {}},
        {"position Chess960", start, {ohneZahl}},
        {"position Chess960 0 moves b2b3", "bbqnnrkr/pppppppp/8/8/8/1P6/P1PPPPPP/BBQNNRKR b KQkq -", {}},
        // Other numbers count modulo 960: a huge one saturates (to 2^63 - 1,
        // which is 127), -1 is 959.
        {"position Chess960 99999999999999999999999", "nqrnkrbb" + mitte + "NQRNKRBB w KQkq -", {}},
        {"position Chess960 -1", "rkrnnqbb" + mitte + "RKRNNQBB w KQkq -", {}},
        // A refusal keeps a position reached by moves.
        {"position fen 4k3/8/8/8/8/8/8/4K3 b - - 0 1 moves e8d8 a1a1", kd8, {zug + "a1a1"}},
        {"position Chess960", kd8, {ohneZahl}},
    };

    KanalDatei datei;
    ProbeSucher sucher;
    Suchgrenzen_t grenzen;
    UciAusgabe_t aus(OPTIONEN_NORMAL, datei.f);
    UciInterface_t uci{sucher, OPTIONEN_NORMAL, grenzen, aus};
    datei.neue();
    EXPECT_EQ(fenText(uci.stellung()), start);
    for (const auto& fall : faelle) {
        uci.Zeile(fall.zeile.c_str());
        sucher.warteBisUntaetig();
        EXPECT_EQ(datei.neue(), fall.gedruckt) << fall.zeile;
        EXPECT_EQ(fenText(uci.stellung()), fall.fen) << fall.zeile;
    }
}

TEST_F(Uci, GoReadsOnlyTheOwnClock)
{
    sagen("go wtime 60000 btime 1000");
    EXPECT_EQ(zeiten(), Paar(1127, 8542));
    EXPECT_EQ(aus.zeilen.back().substr(0, 9), "bestmove ");
    sagen("position startpos moves e2e4");
    sagen("go wtime 60000 btime 1000 winc 5000");
    // Black: A = 800, target 800 / 53.05 = 15.
    EXPECT_EQ(zeiten(), Paar(15, 114));
    EXPECT_EQ(grenzenNach("go btime 10000 binc 5000 movestogo 0").harteZeit, 9800);
    // Missing values and values without digits are 0; huge ones saturate.
    EXPECT_EQ(grenzenNach("go btime").harteZeit, 7);
    EXPECT_LT(grenzenNach("go btime 999999999999999999999999999999").harteZeit, ZEIT_UNBEGRENZT);
    EXPECT_GT(grenzen.harteZeit, 0);
}

TEST_F(Uci, GoLimits)
{
    EXPECT_EQ(grenzenNach("go depth 1").maxTiefe, 0);
    EXPECT_EQ(grenzenNach("go mate 2").maxTiefe, 7);
    EXPECT_EQ(grenzenNach("go movetime 300").harteZeit, 300);
    sagen("go nodes 50");
    EXPECT_EQ(std::pair(grenzen.iterationsKnoten, grenzen.harteKnoten), Paar(200, 2000));
    EXPECT_FALSE(uci.sucheOhneEnde());

    uci.Zeile("go infinite");
    EXPECT_TRUE(uci.sucheOhneEnde());
    sagen("stop");
    EXPECT_FALSE(uci.sucheOhneEnde());
    EXPECT_EQ(std::tuple(grenzen.harteKnoten, grenzen.harteZeit, grenzen.maxTiefe),
              std::tuple(KNOTEN_UNBEGRENZT, ZEIT_UNBEGRENZT, 1000));
    EXPECT_GE(grenzen.start, jetztMs() - 10000);
}

TEST_F(Uci, PonderAndDebugFlags)
{
    uci.Zeile("go ponder wtime 1000 btime 1000");
    EXPECT_TRUE(uci.sucheOhneEnde());
    EXPECT_TRUE(sucher.ponderAktiv());
    std::size_t vorher = aus.anzahl();
    schlafeMs(20);
    EXPECT_EQ(aus.anzahl(), vorher); // no best move while pondering
    uci.Zeile("ponderhit");
    EXPECT_FALSE(uci.sucheOhneEnde());
    sucher.warteBisUntaetig();
    EXPECT_EQ(aus.zeilen.size(), vorher + 1);
    EXPECT_EQ(std::pair(sucher.warPonder, sucher.warDebug), std::pair(true, false));

    sagen("debug on");
    EXPECT_TRUE(uci.debugAn());
    sagen("go depth 2");
    EXPECT_EQ(std::pair(sucher.warPonder, sucher.warDebug), std::pair(false, true));
    sagen("debug off");
    EXPECT_FALSE(uci.debugAn());
}

TEST_F(Uci, SearchMovesAndExcludeMoves)
{
    sagen("go depth 3 searchmoves e2e4 d2d4 e2e4 e7e5 g1f3");
    EXPECT_TRUE(sucher.gegeben);
    EXPECT_EQ(zuegeText(sucher.zuege), (std::vector<std::string>{"e2e4", "d2d4"}));

    sagen("go excludemoves a2a3 h2h4 zz");
    EXPECT_TRUE(sucher.gegeben);
    ASSERT_EQ(sucher.zuege.size(), 18u);
    for (const std::string& z : zuegeText(sucher.zuege)) {
        EXPECT_NE(z, "a2a3");
        EXPECT_NE(z, "h2h4");
    }

    // Nothing usable listed: every move is searched.
    sagen("go searchmoves e2e5");
    EXPECT_EQ(std::pair(sucher.gegeben, sucher.zuege.size()), std::pair(false, std::size_t(20)));
}

// Only "isready" answers; a value the option cannot hold whole is refused
// aloud.
TEST_F(Uci, PlainCommands)
{
    const std::string lang = "setoption name BookFile value " + std::string(300, 'b');
    for (const char* zeile : {"isready", "   isready   ", "ucinewgame", "uci", "xyzzy 1 2 3", "isreadyisreadyisready",
                              "book something", "time something", "setoption name Hash value 64",
                              "  setoption name MultiPV value 3", lang.c_str()})
        sagen(zeile);
    EXPECT_EQ(std::pair(uci.optionen().wert(OPT_HASH), uci.optionen().wert(OPT_MULTIPV)), std::pair(64, 3));
    EXPECT_STREQ(uci.optionen().text(OPT_BOOKFILE), "Velkaris.opn");
    EXPECT_EQ(aus.zeilen, (std::vector<std::string>{
                              "readyok", "readyok",
                              "info string option BookFile not set: value longer than 256 characters"}));
}

TEST_F(Uci, QuitSilencesAndEnds)
{
    uci.Zeile("go ponder");
    sagen("quit");
    EXPECT_TRUE(programmBeenden.load());
    EXPECT_TRUE(aus.IstStumm());
    sagen("isready");
    // The ponder search was released by "quit", but its move went nowhere.
    EXPECT_TRUE(aus.zeilen.empty());
}

// (Line formats and counts of "perft", divided or not, with and without
// its table: the scripted perft session. Without a depth: the table above.)
TEST_F(Uci, PerftWithoutUsableDepth)
{
    for (const char* zeile : {"perft depth -5", "perft depth -2147483648 divide"}) sagen(zeile);
    ASSERT_EQ(aus.zeilen.size(), 22u); // the divided one lists its 20 moves and their sum
    EXPECT_EQ(aus.zeilen[0].substr(aus.zeilen[0].size() - 8), " nodes 0");
    EXPECT_TRUE(aus.fehler.empty());
}

// A rejected "position" keeps the position it found, with its own derived
// data, even when that position was reached by moves (the data of the move
// before sat in the other record).
TEST_F(Uci, RejectedPositionKeepsAConsistentPosition)
{
    for (const char* kaputt : {"position", "position Chess960", "position moves e2e4"}) {
        aus.zeilen.clear();
        sagen("position startpos moves e2e4");
        sagen(kaputt);
        sagen("perft depth 3");
        ASSERT_EQ(aus.zeilen.size(), 1u) << kaputt;
        EXPECT_NE(aus.zeilen[0].find(" nodes 13160"), std::string::npos) << kaputt << ": " << aus.zeilen[0];
    }
}
