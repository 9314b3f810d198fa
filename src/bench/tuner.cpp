#include "bench/tuner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/blattsuche.h"
#include "bench/faeden.h"
#include "chess/attacks.h"
#include "chess/fen.h"
#include "eval/endspiel.h"
#include "eval/bewertungstabellen.h"
#include "eval/gewichte.h"
#include "eval/spur_bewertung.h"
#include "platform/clock.h"
#include "search/suche.h"

namespace {

constexpr double ZURUECK = 0.1; // the last tenth of every file is held back

struct Stellung {
    std::string fen;
    float ergebnis;    // 1 win, 0.5 draw, 0 loss for the side to move
    float zweite;      // the second column (search or referee score), side to move
    bool zurueck;      // held back
};

// The linearised prediction of one thread's share of the positions:
// score at the weights of the last recomputation plus the traced
// derivative times the change since.
struct Block_t {
    std::size_t von = 0, bis = 0;
    std::vector<uint32_t> anfang;
    std::vector<uint16_t> index;
    std::vector<float> faktor;
    std::vector<float> wert; // NaN: left out (a mate along the quiescence line)
    long abweichend = 0;     // quiescence score and traced score differ (16-bit wrap)
};

double sigmoid(double x) { return 1.0 / (1.0 + std::exp(-x)); }

bool lesen(const std::string& datei, std::vector<Stellung>& alle, long max)
{
    std::ifstream ein(datei);
    if (!ein) {
        std::fprintf(stderr, "tune: cannot read %s\n", datei.c_str());
        return false;
    }
    long zeile = 0, schlecht = 0;
    const std::size_t anfang = alle.size();
    for (std::string z; std::getline(ein, z) && (max <= 0 || long(alle.size()) < max);) {
        long ruhig = 0, zweite = 0;
        int ergebnis = 0, n = 0;
        ++zeile;
        if (std::sscanf(z.c_str(), "%ld %ld %d %n", &ruhig, &zweite, &ergebnis, &n) != 3 || n == 0 ||
            ergebnis < -1 || ergebnis > 1 || std::labs(zweite) >= 450000) {
            ++schlecht;
            continue;
        }
        Stellung s;
        s.fen = z.substr(std::size_t(n));
        s.ergebnis = float(ergebnis + 1) / 2.0f;
        s.zweite = float(zweite);
        s.zurueck = false;
        alle.push_back(std::move(s));
    }
    // The positions of a game stand together, and files picked from the
    // same games with other seeds follow the games in the same order: the
    // last tenth of each file holds other games than the rest of it.
    const std::size_t gelesen = alle.size() - anfang;
    for (std::size_t i = anfang + gelesen - std::size_t(double(gelesen) * ZURUECK); i < alle.size(); ++i)
        alle[i].zurueck = true;
    std::printf("tune: %s: %ld lines, %ld left out\n", datei.c_str(), zeile, schlecht);
    return true;
}

// Quiet positions and traces for one block under weights g (already the
// engine's weights, so that the quiescence search uses them too).
void auffrischen(Block_t& b, const std::vector<Stellung>& alle, const SpurTabellen_t& tab)
{
    Blattsuche_t suche;
    b.anfang.assign(1, 0);
    b.index.clear();
    b.faktor.clear();
    b.wert.clear();
    b.abweichend = 0;
    for (std::size_t i = b.von; i < b.bis; ++i) {
        Stellung_t st, blatt;
        Stellungsdaten_t d;
        int zuege = 0;
        float wert = NAN;
        if (stellungSetzen(st, d, alle[i].fen.c_str())) {
            const int q = suche.suchen(st, blatt, zuege);
            if (q > -MATT_SCHWELLE && q < MATT_SCHWELLE) {
                datenBerechnen(blatt, d);
                Spur_t s = spurBewertung(tab, blatt, d);
                const float vz = zuege % 2 ? -1.0f : 1.0f;
                if (vz * float(s.v) != float(q)) ++b.abweichend;
                wert = vz * float(s.v);
                for (const SpurGlied_t& g : s.a) {
                    b.index.push_back(g.index);
                    b.faktor.push_back(vz * g.faktor);
                }
            }
        }
        b.wert.push_back(wert);
        b.anfang.push_back(uint32_t(b.index.size()));
    }
}

struct Fehler_t {
    double training = 0, zurueck = 0;
    long nTraining = 0, nZurueck = 0;
};

} // namespace

int tunen(const TunerEinstellung_t& e)
{
    tabellenInitialisieren();
    kbkTabelleBauen();
    const int64_t beginn = jetztMs();
    auto sekunden = [&] { return double(jetztMs() - beginn) / 1000.0; };

    std::vector<Stellung> alle;
    for (const std::string& d : e.dateien)
        if (!lesen(d, alle, e.maxStellungen)) return 1;
    if (alle.size() < 100) {
        std::fprintf(stderr, "tune: too few positions (%zu)\n", alle.size());
        return 1;
    }

    Gewichte_t startGewichte = eingebauteGewichte();
    if (!e.start.empty()) {
        const GewichteLesen_t r = gewichteDateiLesen(e.start, startGewichte);
        if (!r.ok) {
            std::fprintf(stderr, "tune: %s: %s\n", e.start.c_str(), r.fehler.c_str());
            return 1;
        }
    }
    const int N = GEWICHTE_ANZAHL;
    std::vector<double> w(N), w0(N), start(N);
    for (int i = 0; i < N; ++i) w[i] = w0[i] = start[i] = startGewichte.w[i];

    const int T = std::max(1, e.faeden);
    auto bloecke = std::vector<Block_t>(std::size_t(T));
    for (int t = 0; t < T; ++t) {
        bloecke[std::size_t(t)].von = alle.size() * std::size_t(t) / std::size_t(T);
        bloecke[std::size_t(t)].bis = alle.size() * std::size_t(t + 1) / std::size_t(T);
    }

    // Recompute quiet positions and traces at the rounded weights w0.
    auto neuRechnen = [&] {
        Gewichte_t g;
        for (int i = 0; i < N; ++i) g.w[i] = int32_t(std::lround(w[i])), w0[i] = g.w[i];
        gewichteSetzen(g);
        const auto tab = spurTabellen(g);
        parallel(T, [&](int t) { auffrischen(bloecke[std::size_t(t)], alle, *tab); });
        long abweichend = 0;
        for (const Block_t& b : bloecke) abweichend += b.abweichend;
        if (abweichend) std::printf("tune: %ld traced scores differ from the quiescence score\n", abweichend);
    };
    const double vor = sekunden();
    neuRechnen();
    std::printf("tune: %zu positions resolved and traced in %.1f s\n", alle.size(), sekunden() - vor);

    // The target: the game result, blended with the second column's score.
    double kRef = 0;
    auto ziel = [&](const Stellung& s) {
        return e.schiedsrichter > 0 ? (1 - e.schiedsrichter) * s.ergebnis + e.schiedsrichter * sigmoid(kRef * s.zweite)
                                    : double(s.ergebnis);
    };

    // Errors (and, when gradient is given, the gradient of the training
    // error) at the weights w, the scale k.
    std::vector<double> delta(N);
    auto fehler = [&](double k, std::vector<double>* gradient) {
        for (int i = 0; i < N; ++i) delta[i] = w[i] - w0[i];
        auto teil = std::vector<Fehler_t>(std::size_t(T));
        auto g = std::vector<std::vector<double>>(std::size_t(T));
        parallel(T, [&](int t) {
            const Block_t& b = bloecke[std::size_t(t)];
            Fehler_t& f = teil[std::size_t(t)];
            if (gradient) g[std::size_t(t)].assign(N, 0.0);
            for (std::size_t i = b.von; i < b.bis; ++i) {
                const std::size_t j = i - b.von;
                const float w0j = b.wert[j];
                if (std::isnan(w0j)) continue;
                double x = w0j;
                for (uint32_t a = b.anfang[j]; a < b.anfang[j + 1]; ++a) x += b.faktor[a] * delta[b.index[a]];
                const double p = sigmoid(k * x);
                const double y = ziel(alle[i]);
                const double d = y - p;
                if (alle[i].zurueck) {
                    f.zurueck += d * d;
                    ++f.nZurueck;
                    continue;
                }
                f.training += d * d;
                ++f.nTraining;
                if (gradient) {
                    const double s = -2.0 * d * p * (1 - p) * k;
                    for (uint32_t a = b.anfang[j]; a < b.anfang[j + 1]; ++a) g[std::size_t(t)][b.index[a]] += s * b.faktor[a];
                }
            }
        });
        Fehler_t f;
        for (const Fehler_t& x : teil) {
            f.training += x.training, f.zurueck += x.zurueck;
            f.nTraining += x.nTraining, f.nZurueck += x.nZurueck;
        }
        if (gradient) {
            gradient->assign(N, 0.0);
            for (const auto& x : g)
                for (int i = 0; i < N; ++i) (*gradient)[i] += x[i] / double(std::max(1L, f.nTraining));
        }
        f.training /= double(std::max(1L, f.nTraining));
        f.zurueck /= double(std::max(1L, f.nZurueck));
        return f;
    };

    // The scale of the logistic, fitted to the training positions at the
    // starting weights (golden section on log k); the referee's scale the
    // same way against the results.
    auto goldenerSchnitt = [](const std::function<double(double)>& f) {
        double a = std::log(1e-6), b = std::log(1e-1);
        const double r = (std::sqrt(5.0) - 1) / 2;
        double c = b - r * (b - a), d = a + r * (b - a);
        double fc = f(std::exp(c)), fd = f(std::exp(d));
        for (int i = 0; i < 60; ++i) {
            if (fc < fd) b = d, d = c, fd = fc, c = b - r * (b - a), fc = f(std::exp(c));
            else a = c, c = d, fc = fd, d = a + r * (b - a), fd = f(std::exp(d));
        }
        return std::exp((a + b) / 2);
    };
    if (e.schiedsrichter > 0) {
        kRef = goldenerSchnitt([&](double k) {
            double s = 0;
            for (const Stellung& x : alle)
                if (!x.zurueck) s += std::pow(x.ergebnis - sigmoid(k * x.zweite), 2);
            return s;
        });
        std::printf("tune: referee scale %.6g\n", kRef);
    }
    const double K = goldenerSchnitt([&](double k) { return fehler(k, nullptr).training; });
    Fehler_t f = fehler(K, nullptr);
    std::printf("tune: scale %.6g; at the starting weights: training %.7f, held back %.7f (%ld and %ld positions)\n", K,
                f.training, f.zurueck, f.nTraining, f.nZurueck);

    // Which weights move: in play often enough, not fixed by name.
    std::vector<long> aktiv(N, 0);
    for (const Block_t& b : bloecke)
        for (std::size_t j = 0; j + b.von < b.bis; ++j) {
            if (alle[b.von + j].zurueck || std::isnan(b.wert[j])) continue;
            for (uint32_t a = b.anfang[j]; a < b.anfang[j + 1]; ++a) ++aktiv[b.index[a]];
        }
    std::vector<char> frei(N, 0);
    int freiAnzahl = 0;
    for (int i = 0; i < N; ++i) {
        const std::string name = GEWICHT_EINTRAEGE[gewichtVon(i)].name;
        auto passt = [&](const std::vector<std::string>& liste) {
            for (const std::string& p : liste)
                if (name.rfind(p, 0) == 0) return true;
            return false;
        };
        frei[i] = aktiv[i] >= e.minAktiv && !passt(e.fest) && (e.nur.empty() || passt(e.nur));
        freiAnzahl += frei[i];
    }
    std::printf("tune: %d of %d weights move\n", freiAnzahl, N);

    // Adam.
    std::vector<double> m(N, 0.0), v(N, 0.0), grad, besteW = w;
    const double startFehler = f.zurueck;
    double besterFehler = f.zurueck;
    int besterDurchgang = 0;
    const double b1 = 0.9, b2 = 0.999;
    for (int durchgang = 1; durchgang <= e.maxDurchgaenge; ++durchgang) {
        fehler(K, &grad);
        for (int i = 0; i < N; ++i) {
            if (!frei[i]) continue;
            const double gi = grad[i] + 2.0 * e.l2 * (w[i] - start[i]);
            m[i] = b1 * m[i] + (1 - b1) * gi;
            v[i] = b2 * v[i] + (1 - b2) * gi * gi;
            const double mh = m[i] / (1 - std::pow(b1, durchgang)), vh = v[i] / (1 - std::pow(b2, durchgang));
            const GewichtEintrag_t& ein = GEWICHT_EINTRAEGE[gewichtVon(i)];
            w[i] = std::clamp(w[i] - e.lernrate * mh / (std::sqrt(vh) + 1e-12), double(ein.minimum), double(ein.maximum));
        }
        const bool neu = durchgang % e.auffrischen == 0;
        if (neu) neuRechnen();
        f = fehler(K, nullptr);
        std::printf("pass %4d: training %.7f held back %.7f%s (%.0f s)\n", durchgang, f.training, f.zurueck,
                    neu ? " recomputed" : "", sekunden());
        std::fflush(stdout);
        if (f.zurueck < besterFehler - 1e-8) {
            besterFehler = f.zurueck;
            besteW = w;
            besterDurchgang = durchgang;
        } else if (durchgang - besterDurchgang >= e.geduld) {
            std::printf("tune: the held-back error has not fallen for %d passes\n", e.geduld);
            break;
        }
    }

    Gewichte_t ergebnis;
    for (int i = 0; i < N; ++i) ergebnis.w[i] = int32_t(std::lround(besteW[i]));
    char kopf[512];
    std::snprintf(kopf, sizeof kopf,
                  "# Velkaris evaluation weights, tuned by velkaris_bench tune: %zu positions, scale %.6g,\n"
                  "# held-back error %.7f at pass %d (at the start %.7f).\n"
                  "# One entry per line: its name, then its values; pairs are middlegame, endgame.\n",
                  alle.size(), K, besterFehler, besterDurchgang, startFehler);
    std::ofstream aus(e.ausgabe, std::ios::binary);
    aus << gewichteText(ergebnis, kopf);
    if (!aus) {
        std::fprintf(stderr, "tune: cannot write %s\n", e.ausgabe.c_str());
        return 1;
    }
    std::printf("tune: best held-back error %.7f at pass %d; weights written to %s (%.0f s)\n", besterFehler,
                besterDurchgang, e.ausgabe.c_str(), sekunden());
    gewichteSetzen(eingebauteGewichte());
    return 0;
}
