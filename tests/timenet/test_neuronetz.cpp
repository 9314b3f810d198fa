#include "../test_hilfen.h"

#include <chrono>

#include "shell/zufall.h"
#include "timenet/neuronetz.h"
#include "timenet/zeitnetz.h"

namespace {

bool lies(NeuroNetz_t& netz, const std::string& text)
{
    std::istringstream ein(text);
    return netz.lesen(ein);
}

std::string schreib(const NeuroNetz_t& netz)
{
    std::ostringstream aus;
    EXPECT_TRUE(netz.schreiben(aus));
    return aus.str();
}

// 1 input, 1 inner node, 1 output. Weights in text order: input -> inner,
// bias -> inner, bias -> output, inner -> output.
std::string kleinesNetz(double eingang, double biasInnen, double biasAus, double innenAus, const std::string& rest = "")
{
    std::ostringstream s;
    s.precision(17);
    s << "15\n3 0 1 1 1 2 1 0 0 1 0 1 0 2 0\n"
      << eingang << "\n" << biasInnen << " " << biasAus << "\n" << innenAus << "\n" << rest;
    return s.str();
}

} // namespace

TEST(NeuroNetz, WritingBreaksTheIntegersEveryThirtiethAndUsesTenDigitsOrWhatIsNeeded)
{
    Zeitnetz_t netz; // the built-in one: writing it gives back the built-in text
    EXPECT_EQ(schreib(netz), std::string(ZEITNETZ_TEXT));

    NeuroNetz_t klein;
    ASSERT_TRUE(lies(klein, kleinesNetz(0.1, -19.9999999, 1e-12, 12345.6789)));
    EXPECT_EQ(schreib(klein), "15\n3 0 1 1 1 2 1 0 0 1 0 1 0 2 0\n0.1\n-19.9999999 1e-12\n12345.6789\n");
    // More digits only where ten would not give the same weight back.
    ASSERT_TRUE(lies(klein, kleinesNetz(1.0 / 3.0, -2.0 / 3.0, 0.25, 12345.678901234)));
    EXPECT_EQ(schreib(klein),
              "15\n3 0 1 1 1 2 1 0 0 1 0 1 0 2 0\n0.3333333333333333\n-0.6666666666666666 0.25\n12345.678901234\n");
}

TEST(NeuroNetz, RoundTripKeepsTheOutputsToTenSignificantDigits)
{
    Zeitnetz_t netz(5);
    Zufallsgenerator z(99);
    for (size_t i = 0; i < 91; ++i) ASSERT_TRUE(netz.gewichtSetzen(i, z.reell(-3.0, 3.0)));
    EXPECT_FALSE(netz.gewichtSetzen(91, 1.0));

    NeuroNetz_t kopie;
    ASSERT_TRUE(lies(kopie, schreib(netz)));
    EXPECT_EQ(std::tuple(kopie.verbindungen(), kopie.eingabeAnzahl(), kopie.struktur().size()), std::tuple(91, 16, size_t(347)));
    EXPECT_EQ(kopie.struktur(), netz.struktur());
    for (int probe = 0; probe < 20; ++probe) {
        std::vector<double> x(16);
        for (double& v : x) v = z.reell(-1.0, 1.0);
        double a = netz.auswerten(x), b = kopie.auswerten(x);
        EXPECT_NEAR(a, b, 1e-9 * std::max(1.0, std::fabs(a)));
    }
    // A second round trip changes nothing at all.
    const std::string einmal = schreib(kopie);
    NeuroNetz_t zweite;
    ASSERT_TRUE(lies(zweite, einmal));
    EXPECT_EQ(schreib(zweite), einmal);
}

TEST(NeuroNetz, ForwardPassAndMalformedTextsThatLeaveTheNetAsItWas)
{
    const char* schlecht[] = {
        "",
        "abc",
        "-5 3",
        "3 3 0 1",                               // N too large for the text
        "3 2 0 1",                               // fewer than three layers
        "7 3 0 1 1 1 1 1",                       // inner layer twice, no output layer
        "7 3 0 1 1 1 3 1",                       // layer index out of range
        "7 3 0 -4 1 1 2 1",                      // negative count
        "7 3 0 2000000000 1 2000000000 2 1",     // absurd counts: no allocation
        "9 3 0 1 1 1 2 1 0 0",                   // integers left over
        "11 3 0 1 1 1 2 1 1 0 0 0",              // connection backwards
        "11 3 0 1 1 1 2 1 0 1 1 0",              // the bias node is not listed
        "11 3 0 1 1 1 2 1 0 0 1 5",              // target node out of range
        "11 3 0 1 1 1 2 1 2 0 2 0",              // from the output layer
        "11 3 0 1 1 1 2 1 0 0 1 0\n0.5\n0.1",    // weights missing
        "11 3 0 1 1 1 2 1 0 0 1 0\n0.5\n0.1 1e999 1 2",
        "99999999999 3 0 1 1 1 2 1",             // counted beyond any sane structure
    };
    // The forward pass: tanh inner nodes (exactly +-1 far beyond 20), a
    // linear output, the bias.
    NeuroNetz_t netz;
    ASSERT_TRUE(lies(netz, kleinesNetz(0.5, 0.1, 0.2, 0.3)));
    const double vorher = netz.auswerten(std::vector<double>{0.7});
    EXPECT_DOUBLE_EQ(vorher, 0.2 + 0.3 * std::tanh(0.5 * 0.7 + 0.1));
    EXPECT_EQ(netz.auswerten(std::vector<double>{100.0}), 0.2 + 0.3);
    EXPECT_EQ(netz.auswerten(std::vector<double>{-100.0}), 0.2 - 0.3);
    const auto start = std::chrono::steady_clock::now();
    for (const char* text : schlecht) {
        EXPECT_FALSE(lies(netz, text)) << text;
        EXPECT_EQ(netz.auswerten(std::vector<double>{0.7}), vorher) << text;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    // Unfinished, a net evaluates to 0 instead of crashing.
    NeuroNetz_t leer;
    EXPECT_FALSE(leer.vervollstaendigen());
    EXPECT_EQ(leer.auswerten(std::vector<double>{1, 2}), 0.0);
}

TEST(NeuroNetz, OptionalStepPartIsReadAndATruncatedOneKeepsTheDefaults)
{
    NeuroNetz_t netz;
    // Records: inner <- input, inner <- bias, output <- bias, output <- inner.
    ASSERT_TRUE(lies(netz, kleinesNetz(0.5, 0.1, 0.2, 0.3, "schritte -1 0.01 1 0.02 -1 0.03 1 0.04\n")));
    auto z = netz.trainingszustand();
    ASSERT_EQ(z.size(), 4u);
    // Weight, direction and step of each record.
    const std::tuple<double, int, double> erwartet[] = {
        {0.5, -1, 0.01}, {0.1, 1, 0.02}, {0.2, -1, 0.03}, {0.3, 1, 0.04}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(std::tuple(z[i].gewicht, z[i].richtung, z[i].schritt), erwartet[i]) << i;

    ASSERT_TRUE(lies(netz, kleinesNetz(0.5, 0.1, 0.2, 0.3, "x -1 0.01 1\n")));
    z = netz.trainingszustand();
    EXPECT_EQ(std::tuple(z[0].richtung, z[0].schritt, z[1].richtung, z[1].schritt), std::tuple(-1, 0.01, 1, 1e-7));
}

TEST(NeuroNetz, BackPropagationGivesTheNegativeErrorGradient)
{
    // 2 inputs, 2 inner nodes, 1 output, fully connected.
    NeuroNetz_t netz;
    for (auto [schicht, knoten] : {std::pair{0, 2}, {1, 2}, {2, 1}}) netz.schichtHinzufuegen(schicht, knoten);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) netz.verbinden(0, i, 1, j, 0.0);
    for (int j = 0; j < 2; ++j) netz.verbinden(1, j, 2, 0, 0.0);
    ASSERT_TRUE(netz.vervollstaendigen());
    ASSERT_EQ(netz.verbindungen(), 9);
    const double w[9] = {0.3, -0.7, 0.5, 0.2, -0.1, 0.4, 0.05, 0.9, -0.6};
    for (size_t i = 0; i < 9; ++i) netz.gewichtSetzen(i, w[i]);
    netz.parameter.flachTerm = 0.0; // the plain derivative, for comparison

    // Text order of the weights -> order of the training records.
    const size_t satz[9] = {0, 3, 1, 4, 2, 5, 6, 7, 8};
    const std::vector<double> x = {0.8, -0.4};
    const double y = 0.25;
    // The error with weight i moved by dw.
    auto fehler = [&](size_t i, double dw) {
        netz.gewichtSetzen(i, w[i] + dw);
        const double o = netz.auswerten(x);
        netz.gewichtSetzen(i, w[i]);
        return (y - o) * (y - o) / 9.0;
    };
    netz.auswerten(x);
    netz.rueckwaerts(y, 1.0);
    const auto z = netz.trainingszustand();
    const double h = 1e-6;
    for (size_t i = 0; i < 9; ++i)
        EXPECT_NEAR(z[satz[i]].gradient, -(fehler(i, h) - fehler(i, -h)) / (2 * h), 1e-8) << i;
}

TEST(NeuroNetz, UpdateClampsWeightsAtTheLimitAndKeepsTheStepFloor)
{
    // Input -> inner: 0.25 with step 1e-11 (gets no gradient at input 0).
    // Bias -> inner: -19.9 moving down by 0.5; bias -> output: 19.9 moving
    // up by 0.5; inner -> output -1.
    NeuroNetz_t netz;
    ASSERT_TRUE(lies(netz, kleinesNetz(0.25, -19.9, 19.9, -1.0, "s 1 1e-11 -1 0.5 1 0.5 1 0.1\n")));
    Zufallsgenerator z(4711);
    netz.zufallSetzen(&z);
    netz.auswerten(std::vector<double>{0.0});
    netz.rueckwaerts(100.0, 1.0); // far above the output: every gradient points up
    netz.gewichteAnpassen();
    auto s = netz.trainingszustand();

    // No gradient: the direction turns and the step stays at its floor.
    EXPECT_EQ(std::tuple(s[0].richtung, s[0].schritt, s[0].gewicht), std::tuple(-1, 1e-11, 0.25 - 1e-11));
    EXPECT_EQ(std::tuple(s[1].gewicht, s[1].schritt, s[2].gewicht, s[2].schritt),
              std::tuple(-19.9999999, 1e-11, 19.9999999, 1e-11));
    // The inner node puts out -1, so the gradient of inner -> output is
    // negative: a change of sign against direction +1.
    EXPECT_NEAR(s[3].schritt, 0.05, 0.005);
    EXPECT_EQ(std::tuple(s[3].richtung, s[3].gewicht), std::tuple(-1, -1.0 - s[3].schritt));
    for (const auto& e : s) EXPECT_EQ(e.gradient, 0.0);
}

// (That training lowers the error: the trainer's commands.)
