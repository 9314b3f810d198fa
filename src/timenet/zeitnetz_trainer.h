#pragma once
#include <cstddef>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "timenet/zeitnetz.h"

// Trains a time network of its own from the records of the TimeLogfile.
// The network the engine plays with is never touched: it is always the
// built-in one.
//
// A sample is a line of the time log: the 16 features, the network output
// of that iteration (not used here) and the target, 1 or 0 (did the next
// iteration change the best move).
class ZeitnetzTrainer_t {
public:
    static constexpr int INNEN_STANDARD = 5;
    static constexpr int ZAHLEN_JE_PROBE = ZEIT_MERKMALE + 2;

    ZeitnetzTrainer_t();
    virtual ~ZeitnetzTrainer_t();

    // Replaces the net by an empty one (all weights 0) with `innen` inner
    // nodes; the samples stay.
    void netzNeu(int innen);

    // Appends the samples of a log. A line holds one or more complete
    // records; a line with anything else (a cut record, a word, a number
    // that is not finite) is skipped and counted in schlecht. False when
    // the stream is bad from the start.
    void probenLesen(std::istream& ein, std::size_t& schlecht);
    // The same from a file: OFFEN_FEHLER when it cannot be opened (or is no
    // regular file), LESE_FEHLER when reading it failed; the samples are
    // then as before.
    enum Lesen { GELESEN, OFFEN_FEHLER, LESE_FEHLER };
    Lesen probenHinzufuegen(const std::string& datei, std::size_t& schlecht);

    // Trains for the given number of epochs (full passes over the samples,
    // one resilient weight update each); returns the root mean squared
    // error of the last epoch, measured before its update, or 9.9 when no
    // epoch ran. Without samples it returns a negative value.
    double lernen(long epochen);

    // The net as text. Reading accepts only a net with the time network's
    // 16 inputs and one output and keeps the old net otherwise.
    bool netzLesen(const std::string& datei);
    bool netzSchreiben(const std::string& datei) const;

    std::size_t probenAnzahl() const { return proben_.size() / (ZEIT_MERKMALE + 1); }
    Zeitnetz_t& netz() { return *netz_; }

private:
    std::unique_ptr<Zeitnetz_t> netz_;
    std::vector<double> proben_; // 16 features and the target per sample
};
