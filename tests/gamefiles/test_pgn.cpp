// The PGN reader: tokens, every error message with its place, the games it
// replays (variations, comments, German letters, FEN and Chess960 starts)
// and the filtered read.

#include "../test_hilfen.h"
#include "gamefiles/pgn_leser.h"

namespace {

const std::string KOPF = "[White \"w\"]\n[Black \"b\"]\n[Result \"1-0\"]\n";

void oeffnen(PgnLeser_t& pgn, const std::string& text)
{
    pgn.fehlerZiel(nullptr);
    pgn.oeffnen(std::make_unique<std::istringstream>(text), "t.pgn");
}

// Every game of a text, one line each: the moves, the result code and the
// final FEN; an error ends the list with its message.
std::vector<std::string> lesen(const std::string& text)
{
    PgnLeser_t pgn;
    oeffnen(pgn, text);
    std::vector<std::string> r;
    std::vector<Zug> zuege;
    int ergebnis;
    while (pgn.gefiltertLesen(zuege, nullptr, &ergebnis, nullptr, nullptr, nullptr)) {
        Stellung_t st = pgn.start();
        std::string zeile;
        for (Zug z : zuege) {
            zeile += zugText(st, z) + " ";
            Stellungsdaten_t d, neu;
            datenBerechnen(st, d);
            zugSpielen(st, z, neu, d);
        }
        r.push_back(zeile + std::to_string(ergebnis) + " " + fenText(pgn.stellung()));
    }
    const std::string praefix = "info string PGN-Parser: file t.pgn ";
    if (!pgn.letzterFehler().empty()) r.push_back(pgn.letzterFehler().substr(praefix.size()));
    return r;
}

using Liste = std::vector<std::string>;
} // namespace

TEST(Pgn, Tokens)
{
    PgnLeser_t pgn;
    oeffnen(pgn, "\"a\\\"b\\\\\" 12 . * ( ) [ ] $17 Nf3+ 1-0 e8=Q# O-O-O ; x\n{ y } !? % z");
    const std::pair<PgnLeser_t::Token, const char*> erwartet[] = {
        {PgnLeser_t::TEXT, "a\"b\\"}, {PgnLeser_t::ZAHL, "12"}, {PgnLeser_t::PUNKT, ""}, {PgnLeser_t::STERN, ""},
        {PgnLeser_t::RUND_AUF, ""}, {PgnLeser_t::RUND_ZU, ""}, {PgnLeser_t::ECKIG_AUF, ""}, {PgnLeser_t::ECKIG_ZU, ""},
        {PgnLeser_t::NAG, "17"}, {PgnLeser_t::SYMBOL, "Nf3+"}, {PgnLeser_t::SYMBOL, "1-0"}, {PgnLeser_t::SYMBOL, "e8=Q#"},
        {PgnLeser_t::SYMBOL, "O-O-O"}, {PgnLeser_t::SYMBOL, "!"}, {PgnLeser_t::SYMBOL, "?"},
        // "%" starts a comment only as the first character of a line.
        {PgnLeser_t::SYMBOL, "%"}, {PgnLeser_t::SYMBOL, "z"}, {PgnLeser_t::ENDE, ""}, {PgnLeser_t::ENDE, ""},
    };
    for (const auto& [token, text] : erwartet) {
        EXPECT_EQ(pgn.naechstesToken(), token) << text;
        EXPECT_EQ(pgn.tokenText(), text);
    }
}

// The games of a text, replayed; an error ends the list with one line
// that names the line and character where reading stood (the first
// character of the file counts as character 2). A file that ends inside a
// comment or inside a game has lost its rest: that is an error, like a
// file that ends inside a variation. Games before it count; white space,
// closed comments and ";" comments at the end do not matter.
TEST(Pgn, GamesAreReplayedErrorsNamedWithTheirPlaces)
{
    const std::string spiel = KOPF + "1. e4 e5 2. Nf3 1-0\n";
    const std::string eins = "e2e4 e7e5 g1f3 0 rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -";
    const struct {
        std::string text;
        Liste spiele;
    } faelle[] = {
        // No game: no message.
        {"", {}},
        {"  \n; only a comment\n", {}},
        // Comments, numeric glyphs, "%" lines, and nested variations whose
        // moves are never tried.
        {"\n% escape line 1. Qxf7\n[Event \"{x}\"]\n" + KOPF + "{before} 1. e4 $1 {a\n comment} (1. d4 (1. Zz9 ?? ) d5) 1... e5 ;x\n" +
             "%Qh5\n2. Nf3 (2. Qh5 (2. Bc4)) 1-0\n",
         {eins}},
        // German letters (the same game with English ones is checked below).
        {KOPF + "1. e4 e5 2. Sf3 Sc6 3. Lb5 a6 4. La4 Sf6 5. O-O Le7 6. Te1 b5 7. Lb3 d6 8. c3 O-O 9. h3 Dd7 1-0",
         {"e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 b7b5 a4b3 d7d6 c2c3 e8g8 h2h3 d8d7 0 "
          "r1b2rk1/2pqbppp/p1np1n2/1p2p3/4P3/1BP2N1P/PP1P1PP1/RNBQR1K1 w - -"}},
        // A start from the FEN tag, Black to move first; then a game
        // without moves.
        {"[White \"w\"]\n[Black \"b\"]\n[Result \"0-1\"]\n[SetUp \"1\"]\n[FEN \"r5k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1\"]\n"
         "1... Ra1# 0-1\n\n" +
             KOPF + "1-0",
         {"a8a1 1 6k1/5ppp/8/8/8/8/5PPP/r5K1 w - -", "0 rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"}},
        // Chess960 with rook files in the FEN, castling in SAN.
        {"[White \"w\"]\n[Black \"b\"]\n[Result \"1/2-1/2\"]\n[FEN \"rk5r/8/8/8/8/8/8/RK5R w HAha - 0 1\"]\n"
         "1. O-O O-O-O 1/2-1/2",
         {"b1h1 b8a8 2 2kr3r/8/8/8/8/8/8/R4RK1 w - -"}},
        {spiel + "\n  { closed } ; last words", {eins}},
        {spiel + "{ never closed\n" + spiel + spiel, {eins, "line 14 char 0: unexpected end of file in the comment from line 5"}},
        {spiel + KOPF + "1. e4 {cut e5 1-0\n" + spiel, {eins, "line 13 char 0: unexpected end of file in the comment from line 8"}},
        {spiel + KOPF + "1. e4 e5", {eins, "line 8 char 8: unexpected end of file (game without a termination marker)"}},
        {spiel + KOPF, {eins, "line 8 char 0: unexpected end of file (game without a termination marker)"}},
        {spiel + KOPF + "1. e4 (1. d4 d5 e5 1-0\n", {eins, "line 9 char 0: unexpected end of file"}},
        {"\"x\"", {"line 1 char 4: unexpected string x"}},
        {KOPF + "1. e4 )", {"line 4 char 7: unexpected ')'"}},
        {KOPF + "1. e4 ]", {"line 4 char 7: unexpected ']'"}},
        {"[\"White\" \"w\"]", {"line 1 char 10: symbol expected"}},
        {"[White w]", {"line 1 char 10: String erwartet"}},
        {"[White \"w\" x", {"line 1 char 13: ']' expected"}},
        {KOPF + "1. e4 (e5 (d5) 2. Nf3", {"line 4 char 21: unexpected end of file"}},
        {KOPF + "1. e4 e5 2. Ke3 1-0", {"line 4 char 16: illegal move Ke3"}},
        {KOPF + "1. e4!", {"line 4 char 6: illegal move !"}},
        {KOPF + "1. e4 e5 *", {"line 4 char 10: Game termination marker different from Result"}},
        {KOPF + "1. e4 e5 0-1", {"line 4 char 12: Game termination marker different from Result"}},
        {"[White \"w\"]\n[Result \"*\"]\n1. e4 *\n", {"line 4 char 0: 'Black' missing (in game above current line)"}},
        {"[Black \"b\"]\n[Result \"*\"]\n1. e4 *", {"line 3 char 7: 'White' missing (in game above current line)"}},
        {"[White \"w\"]\n[Black \"b\"]\n1. e4 *", {"line 3 char 7: 'Result' missing (in game above current line)"}},
        {"[FEN \"8/8/8/8/8/8/8/8 w - - 0 1\"]", {"line 1 char 34: illegal FEN 8/8/8/8/8/8/8/8 w - - 0 1"}},
        // The first character of the file is character 2: no comment. (The
        // place is that of the line end read after the token.)
        {"%x\n" + KOPF + "1. e4 1-0", {"line 2 char 0: illegal move %x"}},
        {std::string("[White \"w\"]\n1. e4 \0 e5", 20), {std::string("line 2 char 8: illegal move ") + '\0'}},
    };
    for (const auto& f : faelle) EXPECT_EQ(lesen(f.text), f.spiele) << f.text;
    EXPECT_EQ(lesen(KOPF + "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 7. Bb3 d6 8. c3 O-O 9. h3 Qd7 1-0"),
              lesen(faelle[3].text));
    PgnLeser_t pgn;
    pgn.fehlerZiel(nullptr);
    EXPECT_FALSE(pgn.oeffnen("/nonexistent/x.pgn"));
    EXPECT_EQ(pgn.letzterFehler(), "info string PGN-Parser: file /nonexistent/x.pgn line 1 char 1: Cannot open file");
}

TEST(Pgn, FilteredReadSkipsBadRatingsAndCodesResults)
{
    auto spiel = [](const char* elo, const char* ergebnis) {
        return std::string("[White \"w\"]\n[Black \"b\"]\n") + elo + "[Result \"" + ergebnis + "\"]\n1. d4 " + ergebnis + "\n";
    };
    PgnLeser_t pgn;
    oeffnen(pgn, spiel("[WhiteElo \"-5\"]\n", "1-0") + spiel("[WhiteElo \"2400\"]\n[BlackElo \"-1\"]\n", "0-1") +
                     spiel("", "1/2-1/2") + spiel("[BlackElo \"-2\"]\n", "1-0") + spiel("[WhiteElo \"x\"]\n", "*"));
    std::vector<std::tuple<int, int, int, size_t>> gelesen;
    std::vector<Zug> zuege;
    int w, s, e;
    std::string fen = "x";
    while (pgn.gefiltertLesen(zuege, nullptr, &e, &fen, &w, &s)) gelesen.emplace_back(w, s, e, zuege.size() + fen.size());
    EXPECT_TRUE(pgn.ok());
    EXPECT_EQ(gelesen, (std::vector<std::tuple<int, int, int, size_t>>{{2400, -1, 1, 1}, {0, 0, 2, 1}, {0, 0, 3, 1}}));
}

// Huge comments and tokens, and going on after an error.
TEST(Pgn, HugeInputAndRecovery)
{
    const std::string riesig(10 * 1024 * 1024, 'x');
    EXPECT_EQ(lesen(KOPF + "{" + riesig + "} 1. e4 1-0").size(), 1u);
    const Liste r = lesen(KOPF + "1. " + riesig + " 1-0");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].size(), std::string("line 4 char 10485764: illegal move ").size() + PgnLeser_t::TEXT_GRENZE);

    // An illegal move, a wrong result and a missing tag, each followed by a
    // good game: the reader goes on after each broken game.
    PgnLeser_t pgn;
    oeffnen(pgn, KOPF + "1. e4 e4 2. d4 1-0\n" + KOPF + "1. d4 1-0\n" + KOPF + "1. c4 *\n" + KOPF + "1. Nf3 1-0\n" +
                     "[White \"w\"]\n1. b3 1-0\n" + KOPF + "1. g3 1-0\n" + KOPF + "1. e4 (");
    std::vector<Zug> zuege;
    PgnTags_t tags;
    std::string protokoll;
    for (int i = 0; i < 20; ++i) {
        if (pgn.partieLesen(zuege, tags)) {
            protokoll += zugText(pgn.start(), zuege[0]) + " ";
        } else {
            if (pgn.ok()) break;
            protokoll += "E ";
            if (!pgn.weiterNachFehler()) break;
        }
    }
    EXPECT_EQ(protokoll, "E d2d4 E g1f3 E g2g3 E ");
}
