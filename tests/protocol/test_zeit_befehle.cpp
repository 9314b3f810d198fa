// The "time" commands: their messages, what they leave in the trainer, the
// sample reader on damaged logs, and a trained net that is written, read
// back and evaluates the same.

#include "../test_hilfen.h"
#include "protocol/zeit_befehle.h"
#include "timenet/zeitnetz_trainer.h"

namespace {

struct Trainer : ::testing::Test {
    TestVerzeichnis v;
    std::unique_ptr<ZeitnetzTrainer_t> trainer;
    Mitschrift<StummeAusgabe> aus;

    std::vector<std::string> befehl(const std::string& zeile)
    {
        zeitBefehl(zeile.c_str(), trainer, aus);
        return aus.neue();
    }

    // A log of n records: 16 features, the old output, the target, which
    // depends on the first two features so that there is something to learn.
    std::string logSchreiben(int n, const std::string& anhang = "") const
    {
        const std::string name = v.datei("log.txt");
        std::ofstream f(name);
        Xorshift x;
        for (int i = 0; i < n; ++i) {
            double a = 0;
            for (int k = 0; k < ZEIT_MERKMALE; ++k) {
                const double w = double(x() % 2001) / 1000.0 - 1.0;
                if (k < 2) a += w;
                f << w << ' ';
            }
            f << "0.25 " << (a > 0 ? 1 : 0) << '\n';
        }
        f << anhang;
        return name;
    }
};

TEST_F(Trainer, befehleUndMeldungen)
{
    const std::string log = logSchreiben(40);
    struct Schritt {
        std::string zeile;
        std::vector<std::string> meldungen;
        bool trainerDa;
        std::size_t proben;
    };
    const std::string fehlt = v.datei("fehlt.txt");
    const Schritt schritte[] = {
        {"time learn", {}, false, 0},                       // no trainer: silent
        {"time write " + v.datei("n.txt"), {}, false, 0},
        {"time init", {}, true, 0},
        {"time learn 3", {"info string nothing to learn"}, true, 0},
        {"time add " + fehlt, {"info string file not found: " + fehlt}, true, 0},
        {"time add   " + log + "  ", {}, true, 40},         // blanks around the name
        {"time add " + log, {}, true, 80},                  // samples accumulate
        {"time init 3 learn 0", {"info string Mittlerer Fehler 9.9"}, true, 80},
        {"time read " + fehlt, {"info string error reading file: " + fehlt}, true, 80},
        {"time read " + log, {"info string error reading file: " + log}, true, 80},
        {"time write " + v.datei("kein/ordner/n.txt"),
         {"info string error writing file: " + v.datei("kein/ordner/n.txt")}, true, 80},
        {"time add " + std::string(1100, 'a'), {}, true, 80}, // name too long: nothing
        {"time deleted", {}, true, 80},                        // not the word "delete"
        {"time delete", {}, false, 0},
        {"time add " + log, {}, true, 40},
    };
    for (const Schritt& s : schritte) {
        EXPECT_EQ(befehl(s.zeile), s.meldungen) << s.zeile;
        ASSERT_EQ(trainer != nullptr, s.trainerDa) << s.zeile;
        EXPECT_EQ(trainer ? trainer->probenAnzahl() : 0, s.proben) << s.zeile;
    }
    // "init" without a number: five inner nodes, every weight 0 (16 inputs
    // and the bias node to 5 inner nodes and the output, 5 to the output).
    befehl("time init write " + v.datei("n.txt"));
    ZeitnetzTrainer_t t;
    ASSERT_TRUE(t.netzLesen(v.datei("n.txt")));
    EXPECT_EQ(t.netz().gewichte(), std::vector<double>(91, 0.0));
}

TEST_F(Trainer, beschaedigteProben)
{
    // A record cut short, a word in a line, an infinite number, two records
    // on one line, an empty line: the bad lines are skipped and counted.
    const std::string gut = "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0.5 1\n";
    std::istringstream ein(gut + "1 2 3\n" + "0 0 x 0 0 0 0 0 0 0 0 0 0 0 0 0 0.5 1\n" +
                           "inf 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0.5 1\n" + "\n" + gut.substr(0, gut.size() - 1) + " " + gut +
                           "+1e-3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0.5 0");
    ZeitnetzTrainer_t t;
    std::size_t schlecht = 0;
    t.probenLesen(ein, schlecht);
    EXPECT_EQ(t.probenAnzahl(), 4u);
    EXPECT_EQ(schlecht, 3u);

    const std::string log = logSchreiben(5, "1 2 3 4\n");
    EXPECT_EQ(befehl("time add " + log),
              std::vector<std::string>{"info string skipped 1 malformed lines in " + log});
    EXPECT_EQ(trainer->probenAnzahl(), 5u);
}

TEST_F(Trainer, gelerntesNetzUeberstehtSchreibenUndLesen)
{
    befehl("time init 4");
    befehl("time add " + logSchreiben(200));
    // An untrained net (all weights 0) outputs 0 for every target of 0 or
    // 1: its error is the root of the share of ones.
    const auto vorher = befehl("time learn 1");
    ASSERT_EQ(vorher.size(), 1u);
    const auto nachher = befehl("time learn 200");
    ASSERT_EQ(nachher.size(), 1u);
    ASSERT_EQ(nachher[0].rfind("info string Mittlerer Fehler ", 0), 0u);
    const double f0 = std::stod(vorher[0].substr(29)), f1 = std::stod(nachher[0].substr(29));
    EXPECT_GT(f0, 0.5);
    EXPECT_LT(f1, f0 * 0.8);

    const std::string netzDatei = v.datei("netz.txt");
    EXPECT_TRUE(befehl("time write " + netzDatei).empty());
    EXPECT_FALSE(std::filesystem::exists(netzDatei + ".tmp"));
    std::unique_ptr<ZeitnetzTrainer_t> zweiter;
    zeitBefehl(("time read " + netzDatei).c_str(), zweiter, aus);
    EXPECT_TRUE(aus.neue().empty());
    ASSERT_TRUE(zweiter);
    EXPECT_EQ(zweiter->probenAnzahl(), 0u);

    Xorshift x;
    for (int i = 0; i < 20; ++i) {
        Zeitmerkmale_t m;
        for (double& v : m) v = double(x() % 4001) / 1000.0 - 2.0;
        const double a = trainer->netz().bewerten(m), b = zweiter->netz().bewerten(m);
        EXPECT_NEAR(a, b, 1e-10 * std::max(1.0, std::abs(a)));
    }
}

} // namespace
