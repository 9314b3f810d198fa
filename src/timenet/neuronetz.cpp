#include "timenet/neuronetz.h"

#include <charconv>
#include <cmath>
#include <istream>
#include <locale>
#include <ostream>
#include <string>

#include "shell/zufall.h"

namespace {

// tanh, exactly +-1 beyond 20 in magnitude.
double tanh20(double x)
{
    if (x > 20.0) return 1.0;
    if (x < -20.0) return -1.0;
    return std::tanh(x);
}

// A weight with 10 significant digits, or with as many more as it takes to
// read back the very same value, so that a saved net is the net.
void gewichtSchreiben(std::ostream& aus, double w)
{
    char puffer[40];
    for (int stellen = 10;; ++stellen) {
        auto [ende, fehler] = std::to_chars(puffer, puffer + sizeof puffer, w, std::chars_format::general, stellen);
        if (fehler != std::errc{}) return;
        double zurueck = 0.0;
        std::from_chars(puffer, ende, zurueck);
        if (zurueck == w || stellen >= 17) {
            aus.write(puffer, ende - puffer);
            return;
        }
    }
}

} // namespace

NeuroNetz_t::NeuroNetz_t(int schichten) : schichten_(schichten < 3 ? 3 : schichten)
{
    struktur_.push_back(schichten_);
    innen_.resize(size_t(schichten_ - 2));
}

NeuroNetz_t::~NeuroNetz_t() = default;
NeuroNetz_t::NeuroNetz_t(NeuroNetz_t&&) noexcept = default;
NeuroNetz_t& NeuroNetz_t::operator=(NeuroNetz_t&&) noexcept = default;

bool NeuroNetz_t::schichtHinzufuegen(int schicht, int anzahl)
{
    if (fertig_ || schicht < 0 || schicht >= schichten_) return false;
    if (anzahl < 1 || anzahl > MAX_KNOTEN - knotenGesamt_) return false;
    if (schicht == 0) {
        if (!eingaben_.empty()) return false;
        eingaben_.resize(size_t(anzahl) + 1);
        eingaben_.back().wert = 1.0; // the bias node
    } else if (schicht == schichten_ - 1) {
        if (!ausgaben_.empty()) return false;
        ausgaben_.resize(size_t(anzahl));
    } else {
        auto& lage = innen_[size_t(schicht - 1)];
        if (!lage.empty()) return false;
        lage.resize(size_t(anzahl));
    }
    knotenGesamt_ += anzahl;
    if (aufzeichnen_) {
        struktur_.push_back(schicht);
        struktur_.push_back(anzahl);
    }
    return true;
}

std::vector<NeuroNetz_t::Verbindung_t>* NeuroNetz_t::ausgaengeVon(int schicht, int knoten)
{
    if (knoten < 0) return nullptr;
    if (schicht == 0) {
        // The bias node (the last input) is not addressable from outside.
        if (knoten >= eingabeAnzahl()) return nullptr;
        return &eingaben_[size_t(knoten)].ausgaenge;
    }
    if (schicht < 1 || schicht > int(innen_.size())) return nullptr;
    auto& lage = innen_[size_t(schicht - 1)];
    if (knoten >= int(lage.size())) return nullptr;
    return &lage[size_t(knoten)].ausgaenge;
}

NeuroNetz_t::KnotenZiel_t* NeuroNetz_t::zielKnoten(int schicht, int knoten)
{
    if (knoten < 0) return nullptr;
    if (schicht == schichten_ - 1) {
        if (knoten >= int(ausgaben_.size())) return nullptr;
        return &ausgaben_[size_t(knoten)];
    }
    if (schicht < 1 || schicht > int(innen_.size())) return nullptr;
    auto& lage = innen_[size_t(schicht - 1)];
    if (knoten >= int(lage.size())) return nullptr;
    return &lage[size_t(knoten)];
}

bool NeuroNetz_t::verbinden(int quellSchicht, int quellKnoten, int zielSchicht, int zielKnoten, double gewicht)
{
    if (fertig_ || zielSchicht <= quellSchicht) return false;
    auto* aus = ausgaengeVon(quellSchicht, quellKnoten);
    KnotenZiel_t* ziel = this->zielKnoten(zielSchicht, zielKnoten);
    if (!aus || !ziel) return false;
    aus->push_back({ziel, gewicht});
    if (aufzeichnen_) {
        struktur_.push_back(quellSchicht);
        struktur_.push_back(quellKnoten);
        struktur_.push_back(zielSchicht);
        struktur_.push_back(zielKnoten);
    }
    return true;
}

bool NeuroNetz_t::vervollstaendigen()
{
    if (fertig_ || eingaben_.empty() || ausgaben_.empty()) return false;
    for (const auto& lage : innen_)
        if (lage.empty()) return false;

    // The bias node feeds every inner node, then every output.
    KnotenEingabe_t& bias = eingaben_.back();
    for (auto& lage : innen_)
        for (auto& k : lage) bias.ausgaenge.push_back({&k, 0.0});
    for (auto& k : ausgaben_) bias.ausgaenge.push_back({&k, 0.0});

    // From here on no connection is added, so the addresses below are stable.
    auto anmelden = [this](const double* quelle, double* quellDelta, std::vector<Verbindung_t>& aus) {
        for (auto& v : aus) {
            v.ziel->eingaenge.push_back({0.0, parameter.schrittStart, 1, quelle, quellDelta, &v.gewicht});
            ++verbindungen_;
        }
    };
    for (auto& k : eingaben_) anmelden(&k.wert, nullptr, k.ausgaenge);
    for (auto& lage : innen_)
        for (auto& k : lage) anmelden(&k.ausgabe, &k.delta, k.ausgaenge);
    fertig_ = true;
    return true;
}

double NeuroNetz_t::auswerten(std::span<const double> eingaben)
{
    if (!fertig_) return 0.0;
    for (auto& lage : innen_)
        for (auto& k : lage) k.netz = 0.0;
    for (auto& k : ausgaben_) k.netz = 0.0;

    const size_t n = eingaben_.size() - 1;
    for (size_t i = 0; i < n; ++i) {
        KnotenEingabe_t& k = eingaben_[i];
        k.wert = i < eingaben.size() ? eingaben[i] : 0.0;
        for (const auto& v : k.ausgaenge) v.ziel->empfangen(k.wert * v.gewicht);
    }
    for (const auto& v : eingaben_.back().ausgaenge) v.ziel->empfangen(1.0 * v.gewicht);
    for (auto& lage : innen_)
        for (auto& k : lage) {
            k.ausgabe = tanh20(k.netz);
            for (const auto& v : k.ausgaenge) v.ziel->empfangen(k.ausgabe * v.gewicht);
        }
    for (auto& k : ausgaben_) k.ausgabe = k.netz;
    return ausgaben_[0].ausgabe;
}

void NeuroNetz_t::rueckwaerts(double ziel, double gewicht)
{
    if (!fertig_) return;
    for (auto& lage : innen_)
        for (auto& k : lage) k.delta = 0.0;
    for (auto& k : ausgaben_) k.delta = 0.0;

    // Only output 0 has a target.
    KnotenAusgabe_t& aus = ausgaben_[0];
    aus.delta = (ziel - aus.ausgabe) * 2.0 * gewicht / verbindungen_;
    for (auto& e : aus.eingaenge) {
        e.gradient += aus.delta * *e.quelle;
        if (e.quellDelta) *e.quellDelta += aus.delta * *e.gewicht;
    }
    for (size_t s = innen_.size(); s-- > 0;)
        for (auto& k : innen_[s]) {
            double d = (1.0 - k.ausgabe * k.ausgabe + parameter.flachTerm) * k.delta;
            for (auto& e : k.eingaenge) {
                e.gradient += d * *e.quelle;
                if (e.quellDelta) *e.quellDelta += d * *e.gewicht;
            }
        }
}

void NeuroNetz_t::eingangAnpassen(Eingang_t& e, Zufallsgenerator& z)
{
    const Lernparameter_t& p = parameter;
    if (e.richtung * e.gradient <= 0.0) {
        e.richtung = -e.richtung;
        e.schritt *= z.reell(p.abnahmeMin, p.abnahmeMax);
        if (e.schritt < p.schrittMin) e.schritt = p.schrittMin;
    } else {
        e.schritt *= z.reell(p.zunahmeMin, p.zunahmeMax);
        if (e.schritt > p.schrittMax) e.schritt = p.schrittMax;
    }
    e.gradient = 0.0;
    double& w = *e.gewicht;
    w += e.richtung * e.schritt;
    if (w > p.gewichtGrenze) {
        w = p.gewichtGrenze;
        e.schritt = p.schrittMin;
    } else if (w < -p.gewichtGrenze) {
        w = -p.gewichtGrenze;
        e.schritt = p.schrittMin;
    }
}

void NeuroNetz_t::gewichteAnpassen()
{
    if (!fertig_) return;
    Zufallsgenerator& z = zufall_ ? *zufall_ : Zufallsgenerator::gemeinsam();
    for (auto& k : ausgaben_)
        for (auto& e : k.eingaenge) eingangAnpassen(e, z);
    for (size_t s = innen_.size(); s-- > 0;)
        for (auto& k : innen_[s])
            for (auto& e : k.eingaenge) eingangAnpassen(e, z);
}

double NeuroNetz_t::epocheLernen(std::span<const double> proben)
{
    if (!fertig_) return 0.0;
    const size_t breite = size_t(eingabeAnzahl()) + 1;
    const size_t anzahl = proben.size() / breite;
    if (anzahl == 0) return 0.0;
    double summe = 0.0;
    for (size_t i = 0; i < anzahl; ++i) {
        std::span<const double> probe = proben.subspan(i * breite, breite);
        double ziel = probe[breite - 1];
        double y = auswerten(probe.first(breite - 1));
        summe += (y - ziel) * (y - ziel);
        rueckwaerts(ziel, 1.0);
    }
    gewichteAnpassen();
    return std::sqrt(summe / double(anzahl));
}

std::vector<double> NeuroNetz_t::gewichte() const
{
    std::vector<double> w;
    for (const auto& k : eingaben_)
        for (const auto& v : k.ausgaenge) w.push_back(v.gewicht);
    for (const auto& lage : innen_)
        for (const auto& k : lage)
            for (const auto& v : k.ausgaenge) w.push_back(v.gewicht);
    return w;
}

bool NeuroNetz_t::gewichtSetzen(size_t i, double w)
{
    auto setzen = [&i, w](std::vector<Verbindung_t>& aus) {
        if (i < aus.size()) {
            aus[i].gewicht = w;
            return true;
        }
        i -= aus.size();
        return false;
    };
    for (auto& k : eingaben_)
        if (setzen(k.ausgaenge)) return true;
    for (auto& lage : innen_)
        for (auto& k : lage)
            if (setzen(k.ausgaenge)) return true;
    return false;
}

std::vector<NeuroNetz_t::Eingangszustand_t> NeuroNetz_t::trainingszustand() const
{
    std::vector<Eingangszustand_t> z;
    auto sammeln = [&z](const KnotenZiel_t& k) {
        for (const auto& e : k.eingaenge) z.push_back({*e.gewicht, e.gradient, e.schritt, e.richtung});
    };
    for (const auto& lage : innen_)
        for (const auto& k : lage) sammeln(k);
    for (const auto& k : ausgaben_) sammeln(k);
    return z;
}

bool NeuroNetz_t::lesen(std::istream& ein)
{
    const std::locale alt = ein.imbue(std::locale::classic());
    struct Zurueck {
        std::istream& s;
        const std::locale& l;
        ~Zurueck() { s.imbue(l); }
    } zurueck{ein, alt};

    int64_t n = 0;
    if (!(ein >> n) || n < 1 || n > MAX_STRUKTUR) return false;
    std::vector<int32_t> zahlen;
    for (int64_t i = 0; i < n; ++i) { // grows only as far as the text really goes
        int32_t x;
        if (!(ein >> x)) return false;
        zahlen.push_back(x);
    }
    const int32_t schichten = zahlen[0];
    if (schichten < 3 || 1 + 2 * int64_t(schichten) > n) return false;

    NeuroNetz_t netz(schichten);
    netz.aufzeichnen_ = false;
    netz.parameter = parameter;
    netz.zufall_ = zufall_;
    size_t pos = 1;
    for (int32_t i = 0; i < schichten; ++i, pos += 2)
        if (!netz.schichtHinzufuegen(zahlen[pos], zahlen[pos + 1])) return false;
    for (; pos + 4 <= zahlen.size(); pos += 4)
        if (!netz.verbinden(zahlen[pos], zahlen[pos + 1], zahlen[pos + 2], zahlen[pos + 3], 0.0)) return false;
    if (pos != zahlen.size()) return false;
    if (!netz.vervollstaendigen()) return false;

    auto gewichteLesen = [&ein](std::vector<Verbindung_t>& aus) {
        for (auto& v : aus)
            if (!(ein >> v.gewicht) || !std::isfinite(v.gewicht)) return false;
        return true;
    };
    for (auto& k : netz.eingaben_)
        if (!gewichteLesen(k.ausgaenge)) return false;
    for (auto& lage : netz.innen_)
        for (auto& k : lage)
            if (!gewichteLesen(k.ausgaenge)) return false;

    // Optional: a separator word, then direction and step of every incoming
    // connection. A shorter list keeps the defaults for the rest.
    std::string trenner;
    if (ein >> trenner) {
        const Lernparameter_t& p = netz.parameter;
        auto zustandLesen = [&](KnotenZiel_t& k) {
            for (auto& e : k.eingaenge) {
                int32_t r;
                double s;
                if (!(ein >> r >> s)) return false;
                e.richtung = r < 0 ? -1 : 1;
                e.schritt = !std::isfinite(s) ? p.schrittStart : s < p.schrittMin ? p.schrittMin : s > p.schrittMax ? p.schrittMax : s;
            }
            return true;
        };
        bool weiter = true;
        for (auto& lage : netz.innen_)
            for (auto& k : lage)
                if (weiter) weiter = zustandLesen(k);
        for (auto& k : netz.ausgaben_)
            if (weiter) weiter = zustandLesen(k);
    }

    netz.struktur_ = std::move(zahlen);
    *this = std::move(netz);
    return true;
}

bool NeuroNetz_t::schreiben(std::ostream& aus) const
{
    if (!fertig_) return false;
    const std::locale alt = aus.imbue(std::locale::classic());
    const std::ios_base::fmtflags altFlags = aus.flags(std::ios_base::dec | std::ios_base::skipws);

    aus << struktur_.size() << '\n';
    for (size_t i = 0; i < struktur_.size(); ++i)
        aus << struktur_[i] << ((i + 1) % 30 == 0 || i + 1 == struktur_.size() ? '\n' : ' ');
    auto zeile = [&aus](const std::vector<Verbindung_t>& v) {
        for (size_t i = 0; i < v.size(); ++i) {
            if (i) aus << ' ';
            gewichtSchreiben(aus, v[i].gewicht);
        }
        aus << '\n';
    };
    for (const auto& k : eingaben_) zeile(k.ausgaenge);
    for (const auto& lage : innen_)
        for (const auto& k : lage) zeile(k.ausgaenge);

    const bool gut = !aus.fail();
    aus.flags(altFlags);
    aus.imbue(alt);
    return gut;
}
