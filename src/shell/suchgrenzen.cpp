#include "shell/suchgrenzen.h"

#include <algorithm>
#include <cmath>

namespace {
// Clock values are clamped far beyond any real game (about 35,000 years) so
// that no arithmetic below can overflow.
constexpr int64_t UHR_GRENZE = int64_t(1) << 50;

int64_t uhrKlemmen(int64_t v)
{
    return std::clamp(v, -UHR_GRENZE, UHR_GRENZE);
}
} // namespace

void Suchgrenzen_t::fuellen(const GoParameter_t& p, bool virtuell)
{
    fuellen(p, virtuell, jetztMs());
}

void Suchgrenzen_t::fuellen(const GoParameter_t& p, bool virtuell, int64_t jetzt)
{
    start = jetzt;
    virtuelleUhr = virtuell;
    zielZeit = iterationsZeit = harteZeit = ZEIT_UNBEGRENZT;
    iterationsKnoten = harteKnoten = KNOTEN_UNBEGRENZT;
    maxTiefe = TIEFE_UNBEGRENZT;

    if (p.unendlich) return;

    if (p.tiefe >= 1 || p.matt >= 1) {
        if (p.tiefe >= 1) maxTiefe = p.tiefe - 1;
        // A mate in K moves needs 2K - 1 plies; a few more iterations let
        // the search confirm it.
        if (p.matt >= 1) maxTiefe = int32_t(std::min<int64_t>(2 * int64_t(p.matt) + 3, INT32_MAX));
        return;
    }

    if (p.zugzeit > 0) {
        harteZeit = p.zugzeit;
        return;
    }

    if (p.knoten >= 1) {
        iterationsKnoten = std::max<int64_t>(p.knoten, 200);
        harteKnoten = iterationsKnoten > KNOTEN_UNBEGRENZT / 10 ? KNOTEN_UNBEGRENZT : 10 * iterationsKnoten;
        return;
    }

    // Clock. Keep 200 ms for the interface's overhead, and plan as if the
    // remaining time had to last for e more moves: e grows with the moves to
    // go but levels off near 55, so with few moves to go most of the time is
    // spent, with many a slice of it.
    int64_t m = p.zuegeBisKontrolle;
    if (m < 1 || m > 99) m = 99;
    int64_t verfuegbar = std::max<int64_t>(uhrKlemmen(p.zeit) - 200, 50);
    int64_t reserve = std::max<int64_t>(uhrKlemmen(p.inkrement) - 100, 0);

    double e = 55.0 * std::tanh(1.05 * double(m) / 55.0) + 0.5;
    int64_t ziel = int64_t(double(verfuegbar) / e) + reserve;
    double q = std::pow(1.6, 1.0 - e);
    int64_t iteration = int64_t(((1.0 - q) / 10.0 + q) * double(verfuegbar)) + 3 * reserve;
    int64_t hart = std::min<int64_t>(int64_t(((1.0 - q) / 7.0 + q) * double(verfuegbar)) + 4 * reserve, verfuegbar);
    if (double(iteration) * 1.2 > double(hart)) iteration = int64_t(double(hart) / 1.2);
    if (ziel * 2 > iteration) ziel = iteration / 2;
    iteration = std::min(ziel * 4, iteration);

    zielZeit = ziel;
    iterationsZeit = iteration;
    harteZeit = hart;
}

bool Suchgrenzen_t::weiterIterierenBei(int64_t knoten, int tiefe, double instabil, int64_t e) const
{
    if (tiefe > maxTiefe || knoten >= iterationsKnoten || e >= iterationsZeit) return false;
    if (2.2 * double(e) > double(iterationsZeit)) return false;
    // Another iteration costs about as much again as everything so far;
    // it is worth it while the elapsed time is small against the target,
    // and more so when the search looks unstable.
    if (zielZeit <= 0) return false;
    return (std::max(instabil, 0.0) + 17.0) / (1.2 * double(e) + 0.001) > 25.0 / double(zielZeit);
}
