#pragma once
#include <string>

#include "timenet/neuronetz.h"
#include "timenet/zeitmerkmale.h"

// The built-in time network in the text form of NeuroNetz_t: 16 inputs (the
// iteration features in order), 5 tanh nodes, one linear output, every input
// connected to every inner node and every inner node to the output.
inline constexpr const char ZEITNETZ_TEXT[] =
    "347\n"
    "3 0 16 1 5 2 1 0 0 1 0 0 0 1 1 0 0 1 2 0 0 1 3 0 0 1 4 0 1 1\n"
    "0 0 1 1 1 0 1 1 2 0 1 1 3 0 1 1 4 0 2 1 0 0 2 1 1 0 2 1 2 0\n"
    "2 1 3 0 2 1 4 0 3 1 0 0 3 1 1 0 3 1 2 0 3 1 3 0 3 1 4 0 4 1\n"
    "0 0 4 1 1 0 4 1 2 0 4 1 3 0 4 1 4 0 5 1 0 0 5 1 1 0 5 1 2 0\n"
    "5 1 3 0 5 1 4 0 6 1 0 0 6 1 1 0 6 1 2 0 6 1 3 0 6 1 4 0 7 1\n"
    "0 0 7 1 1 0 7 1 2 0 7 1 3 0 7 1 4 0 8 1 0 0 8 1 1 0 8 1 2 0\n"
    "8 1 3 0 8 1 4 0 9 1 0 0 9 1 1 0 9 1 2 0 9 1 3 0 9 1 4 0 10 1\n"
    "0 0 10 1 1 0 10 1 2 0 10 1 3 0 10 1 4 0 11 1 0 0 11 1 1 0 11 1 2 0\n"
    "11 1 3 0 11 1 4 0 12 1 0 0 12 1 1 0 12 1 2 0 12 1 3 0 12 1 4 0 13 1\n"
    "0 0 13 1 1 0 13 1 2 0 13 1 3 0 13 1 4 0 14 1 0 0 14 1 1 0 14 1 2 0\n"
    "14 1 3 0 14 1 4 0 15 1 0 0 15 1 1 0 15 1 2 0 15 1 3 0 15 1 4 1 0 2\n"
    "0 1 1 2 0 1 2 2 0 1 3 2 0 1 4 2 0\n"
    "0.6275836333 -19.9999999 -0.06253105923 -0.3596320257 -19.9999999\n"
    "0.06278561951 -19.9999999 -0.2112403939 0.6793484627 0.1183560699\n"
    "-0.09292266371 -1.019498095 -0.1202933758 1.002051817 -0.5531408118\n"
    "-0.2221900195 -0.004265942641 0.1231033914 0.4824774848 -0.7481742957\n"
    "-0.2226497031 0.06008965641 0.1410587495 -1.098301066 1.364427184\n"
    "-0.1381748152 -0.06547544066 0.1712910475 0.01164627651 -2.435462881\n"
    "-0.4153831943 -0.4209207458 0.2483441281 0.2665671449 1.100473094\n"
    "-0.2477733206 -0.353823439 0.2963732792 -1.178037474 1.17724237\n"
    "-0.1107771975 -0.05985023601 0.1682390036 -1.181033505 1.631218473\n"
    "0.2133896946 -0.2661337463 -0.02348280633 -1.436029735 0.6870926396\n"
    "-0.1616738614 -0.05762153231 0.1382989887 -1.747358655 2.289928079\n"
    "-0.4449287887 -0.2108336523 0.3289296576 -0.04253281253 -1.312139489\n"
    "1.527321521 -0.3084476567 0.1979119986 -1.886759747 2.922405041\n"
    "1.936030688 0.2005538985 -0.4337328556 0.5349696547 1.784540245\n"
    "0.3580909435 0.6250239354 -0.3257086194 1.683590574 7.10233402\n"
    "-0.3270687619 -0.1687356685 0.2147139257 10.97684069 -13.22039679\n"
    "-2.229986814 -0.4655993964 0.4488665032 1.47863138 -1.707457195 0.02515350503\n"
    "-0.2688509211\n"
    "-0.2129239249\n"
    "-0.5034767092\n"
    "-0.05195119445\n"
    "-0.04761059726\n";

// The time network: predicts from an iteration's features whether the best
// move will change in the next iteration.
class Zeitnetz_t : public NeuroNetz_t {
public:
    static constexpr int MAX_INNEN = 1000;

    // The built-in network.
    Zeitnetz_t();
    // The trainable empty form: 16 inputs, `innen` inner nodes (clamped to
    // 1..MAX_INNEN), one output, full connections, all weights 0.
    explicit Zeitnetz_t(int innen);

    // Network output for a feature vector.
    double bewerten(const Zeitmerkmale_t& m);

    // The output for an iteration: computes the features, writes them as
    // text (returned through zeile when given) and evaluates the values read
    // back from that text, so that logging and playing see the same inputs.
    double iterationBewerten(const Iterationsdaten_t& jetzt, const Iterationsdaten_t& vorher,
                             std::string* zeile = nullptr);
};
