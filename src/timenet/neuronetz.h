#pragma once
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <vector>

class Zufallsgenerator;

// A small feed-forward network: an input layer (plus a bias node whose value
// is always 1), one or more layers of tanh nodes, and linear output nodes.
// Connections lead from a layer to any later layer. Training is batch
// resilient back-propagation whose step factors are drawn at random.
//
// Life of a net: add the layers, connect, complete once; then evaluate or
// train any number of times. Reading a text does all of that in one go.
class NeuroNetz_t {
public:
    struct Knoten_t;
    struct KnotenZiel_t;

    // An outgoing connection, kept in the source node.
    struct Verbindung_t {
        KnotenZiel_t* ziel;
        double gewicht;
    };

    // What a target keeps for one incoming connection while training.
    struct Eingang_t {
        double gradient;
        double schritt;
        int32_t richtung;     // +1 or -1
        const double* quelle; // the source's output (an input's value)
        double* quellDelta;   // the source's delta, nullptr for inputs
        double* gewicht;      // the connection's weight in the source
    };

    struct Knoten_t {
        virtual ~Knoten_t() = default;
        // Adds a value to the node's net input.
        virtual void empfangen(double x) = 0;
    };

    struct KnotenEingabe_t : Knoten_t {
        double wert = 0.0;
        std::vector<Verbindung_t> ausgaenge;
        void empfangen(double) override {}
    };

    struct KnotenZiel_t : Knoten_t {
        double ausgabe = 0.0;
        double netz = 0.0;
        double delta = 0.0;
        std::vector<Eingang_t> eingaenge;
        void empfangen(double x) override { netz += x; }
    };

    struct KnotenInnen_t : KnotenZiel_t {
        std::vector<Verbindung_t> ausgaenge;
    };

    struct KnotenAusgabe_t : KnotenZiel_t {};

    // The training constants.
    struct Lernparameter_t {
        double abnahmeMin = 0.45;  // step decrease factor, drawn from [min, max]
        double abnahmeMax = 0.55;
        double zunahmeMin = 1.16;  // step increase factor
        double zunahmeMax = 1.24;
        double schrittMin = 1e-11;
        double schrittStart = 1e-7;
        double schrittMax = 0.5;
        double gewichtGrenze = 19.9999999; // absolute limit of every weight
        double flachTerm = 0.001;          // added to the tanh derivative
    };

    // Training state of one incoming connection (for inspection).
    struct Eingangszustand_t {
        double gewicht;
        double gradient;
        double schritt;
        int32_t richtung;
    };

    // Limits that keep a malformed text from allocating without bound.
    static constexpr int64_t MAX_KNOTEN = 100000;       // all layers together
    static constexpr int64_t MAX_STRUKTUR = int64_t(1) << 24; // integers of the structure part

    // An empty net of the given number of layers (at least 3), recording its
    // structure as it is built.
    explicit NeuroNetz_t(int schichten = 3);
    virtual ~NeuroNetz_t();
    NeuroNetz_t(const NeuroNetz_t&) = delete;
    NeuroNetz_t& operator=(const NeuroNetz_t&) = delete;
    NeuroNetz_t(NeuroNetz_t&&) noexcept;
    NeuroNetz_t& operator=(NeuroNetz_t&&) noexcept;

    // Layer 0 = inputs (a bias node is added behind them), the last layer =
    // outputs, the others inner layers. Each layer is created once with
    // 1..MAX_KNOTEN nodes. False on a bad index, a repeated layer, a bad
    // count, or after completion.
    bool schichtHinzufuegen(int schicht, int anzahl);
    // Connects a node to a node of a later layer. The bias node is connected
    // by vervollstaendigen(), not here. False when a node does not exist, the
    // target layer is not later than the source layer, or after completion.
    bool verbinden(int quellSchicht, int quellKnoten, int zielSchicht, int zielKnoten, double gewicht);
    // Connects the bias node to every inner and output node (weight 0) and
    // prepares training. False when a layer is missing or already complete.
    bool vervollstaendigen();

    // Forward pass; returns the output of output node 0. Missing inputs count
    // as 0, surplus ones are ignored. An incomplete net gives 0.
    double auswerten(std::span<const double> eingaben);

    // Back-propagates one sample after auswerten(): target y, weight w.
    void rueckwaerts(double ziel, double gewicht = 1.0);
    // One resilient update of every weight from the accumulated gradients.
    void gewichteAnpassen();
    // One epoch over samples laid out as (inputs..., target) records of
    // eingabeAnzahl() + 1 reals each (a trailing partial record is ignored):
    // evaluate, back-propagate with weight 1, then one update of all weights.
    // Returns the root mean squared error measured before the update, or 0
    // (without an update) when there is no complete sample.
    double epocheLernen(std::span<const double> proben);

    // Text form. Reading replaces the net only on success; on failure the net
    // stays as it was. Writing needs a completed net.
    bool lesen(std::istream& ein);
    bool schreiben(std::ostream& aus) const;

    bool istFertig() const { return fertig_; }
    int eingabeAnzahl() const { return eingaben_.empty() ? 0 : int(eingaben_.size()) - 1; }
    int innenSchichten() const { return int(innen_.size()); }
    int ausgabeAnzahl() const { return int(ausgaben_.size()); }
    int verbindungen() const { return verbindungen_; }
    const std::vector<int32_t>& struktur() const { return struktur_; }
    double ausgabe(int i) const { return ausgaben_[size_t(i)].ausgabe; }

    // All weights in the order of the text form.
    std::vector<double> gewichte() const;
    // Sets weight number i of that order. False when there is no such weight.
    bool gewichtSetzen(size_t i, double w);
    // Training state of every incoming connection: inner layers in order,
    // then the outputs, each node's incoming connections in order.
    std::vector<Eingangszustand_t> trainingszustand() const;

    // Generator for the step factors; nullptr = the shared one.
    void zufallSetzen(Zufallsgenerator* z) { zufall_ = z; }

    Lernparameter_t parameter;

private:
    int schichtenGesamt() const { return schichten_; }
    double* quellAusgabe(int schicht, int knoten);
    std::vector<Verbindung_t>* ausgaengeVon(int schicht, int knoten);
    KnotenZiel_t* zielKnoten(int schicht, int knoten);
    void eingangAnpassen(Eingang_t& e, Zufallsgenerator& z);

    std::vector<int32_t> struktur_;
    bool aufzeichnen_ = true;
    int schichten_;
    std::vector<KnotenEingabe_t> eingaben_;             // declared inputs, bias last
    std::vector<std::vector<KnotenInnen_t>> innen_;
    std::vector<KnotenAusgabe_t> ausgaben_;
    int verbindungen_ = 0;
    int64_t knotenGesamt_ = 0;
    bool fertig_ = false;
    Zufallsgenerator* zufall_ = nullptr;
};
