#include "orakel.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace orakel {
namespace {

constexpr const char* BUCHSTABEN = "-BSLTDK";
constexpr int BAUER = 1, SPRINGER = 2, LAEUFER = 3, TURM = 4, DAME = 5, KOENIG = 6;
constexpr int MAX = 5;

int reihe(int sq) { return sq >> 3; }
int linie(int sq) { return sq & 7; }
bool aufBrett(int r, int c) { return r >= 0 && r < 8 && c >= 0 && c < 8; }
int feld(int r, int c) { return r * 8 + c; }
int vorzeichen(int x) { return (x > 0) - (x < 0); }

constexpr int SPRINGER_SCHRITTE[8][2] = {{1, 2}, {2, 1}, {-1, 2}, {-2, 1}, {1, -2}, {2, -1}, {-1, -2}, {-2, -1}};
constexpr int KOENIG_SCHRITTE[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

struct Brett {
    const std::vector<Figur>& fig;
    const int* f;
    int n;

    int auf(int sq) const
    {
        for (int j = 0; j < n; ++j)
            if (f[j] == sq) return j;
        return -1;
    }
    bool greiftAn(int j, int ziel) const
    {
        const int von = f[j];
        if (von < 0 || von == ziel) return false;
        const int dr = reihe(ziel) - reihe(von), dc = linie(ziel) - linie(von);
        const int ar = std::abs(dr), ac = std::abs(dc);
        switch (fig[j].typ) {
        case BAUER: return dr == (fig[j].seite == 0 ? -1 : 1) && ac == 1;
        case SPRINGER: return (ar == 1 && ac == 2) || (ar == 2 && ac == 1);
        case KOENIG: return std::max(ar, ac) == 1;
        default: break;
        }
        const bool gerade = dr == 0 || dc == 0, schraeg = ar == ac;
        const int t = fig[j].typ;
        if (!((t != LAEUFER && gerade) || (t != TURM && schraeg))) return false;
        const int sr = vorzeichen(dr), sc = vorzeichen(dc);
        for (int r = reihe(von) + sr, c = linie(von) + sc; feld(r, c) != ziel; r += sr, c += sc)
            if (auf(feld(r, c)) >= 0) return false;
        return true;
    }
    bool angegriffen(int sq, int seite) const
    {
        for (int j = 0; j < n; ++j)
            if (fig[j].seite == seite && greiftAn(j, sq)) return true;
        return false;
    }
    int koenig(int seite) const
    {
        for (int j = 0; j < n; ++j)
            if (fig[j].seite == seite && fig[j].typ == KOENIG) return f[j];
        return -1;
    }
};

std::vector<Figur> materialLesen(const std::string& name)
{
    std::vector<Figur> r;
    int seite = -1;
    for (char ch : name) {
        int t = 0;
        while (t < 7 && BUCHSTABEN[t] != ch) ++t;
        if (t == KOENIG) ++seite;
        r.push_back({seite, t});
    }
    return r;
}

} // namespace

Loeser::Loeser(const std::string& name) : figuren_(materialLesen(name))
{
    int bauern[2] = {0, 0};
    for (const Figur& x : figuren_)
        if (x.typ == BAUER) ++bauern[x.seite];
    epVarianten_ = bauern[0] == 1 && bauern[1] == 1 ? 2 : 1;
    uint64_t n = 2 * uint64_t(epVarianten_);
    for (int j = 0; j < anzahl(); ++j) n *= 64;
    wert_.assign(n, OFFEN);
    zaehler_.assign(n, 0);
    loesen();
}

uint64_t Loeser::index(int amZug, bool ep, const int* f) const
{
    uint64_t i = uint64_t(amZug * epVarianten_ + (ep ? 1 : 0));
    for (int j = 0; j < anzahl(); ++j) i = i * 64 + uint64_t(f[j]);
    return i;
}

void Loeser::lesen(uint64_t i, int& amZug, bool& ep, int* f) const
{
    for (int j = anzahl() - 1; j >= 0; --j) {
        f[j] = int(i & 63);
        i >>= 6;
    }
    ep = epVarianten_ == 2 && (i & 1);
    amZug = int(i / uint64_t(epVarianten_));
}

int Loeser::epFeld(int amZug, bool ep, const int* f) const
{
    if (!ep) return 0;
    for (int j = 0; j < anzahl(); ++j)
        if (figuren_[j].typ == BAUER && figuren_[j].seite != amZug) return f[j] + (amZug == 1 ? 8 : -8);
    return 0;
}

bool Loeser::legal(int amZug, bool ep, const int* f) const
{
    const int n = anzahl();
    const Brett b{figuren_, f, n};
    for (int j = 0; j < n; ++j) {
        if (b.auf(f[j]) != j) return false;
        if (figuren_[j].typ == BAUER && (reihe(f[j]) == 0 || reihe(f[j]) == 7)) return false;
    }
    if (b.angegriffen(b.koenig(1 - amZug), amZug)) return false;
    if (!ep) return true;
    // The pawn of the side that just moved stands where its double step
    // ended, the two squares behind it are empty, and a pawn can take.
    for (int j = 0; j < n; ++j) {
        if (figuren_[j].typ != BAUER || figuren_[j].seite == amZug) continue;
        const int r = reihe(f[j]), c = linie(f[j]);
        const int zurueck = amZug == 1 ? 1 : -1; // towards the pawn's start row
        if (r != (amZug == 1 ? 4 : 3)) return false;
        if (b.auf(feld(r + zurueck, c)) >= 0 || b.auf(feld(r + 2 * zurueck, c)) >= 0) return false;
        for (int k = 0; k < n; ++k)
            if (figuren_[k].typ == BAUER && figuren_[k].seite == amZug && reihe(f[k]) == r &&
                std::abs(linie(f[k]) - c) == 1)
                return true;
        return false;
    }
    return false;
}

// Calls fn(h, weg, umgewandelt, neuTyp, doppelschritt) for every legal move
// of the side to move: h the squares after it (-1 for a taken piece).
template <class F>
void Loeser::zuege(int amZug, bool ep, const int* f, F fn) const
{
    const int n = anzahl();
    const Brett b{figuren_, f, n};
    for (int j = 0; j < n; ++j) {
        if (figuren_[j].seite != amZug) continue;
        const int von = f[j], r = reihe(von), c = linie(von);
        auto versuch = [&](int nach, int weg, bool umwandlung, bool doppel) {
            int h[MAX];
            std::copy(f, f + n, h);
            h[j] = nach;
            if (weg >= 0) h[weg] = -1;
            const Brett nb{figuren_, h, n};
            if (nb.angegriffen(nb.koenig(amZug), 1 - amZug)) return;
            if (!umwandlung) fn(h, weg, -1, 0, doppel);
            else
                for (int t = DAME; t >= SPRINGER; --t) fn(h, weg, j, t, false);
        };
        auto ziel = [&](int rr, int cc) { // quiet move or capture; false when blocked
            if (!aufBrett(rr, cc)) return false;
            const int x = b.auf(feld(rr, cc));
            if (x < 0) {
                versuch(feld(rr, cc), -1, false, false);
                return true;
            }
            if (figuren_[x].seite != amZug && figuren_[x].typ != KOENIG) versuch(feld(rr, cc), x, false, false);
            return false;
        };
        const int t = figuren_[j].typ;
        if (t == BAUER) {
            const int d = amZug == 0 ? -1 : 1;
            const int r1 = r + d;
            const bool letzte = r1 == 0 || r1 == 7;
            if (b.auf(feld(r1, c)) < 0) {
                versuch(feld(r1, c), -1, letzte, false);
                if (r == (amZug == 0 ? 6 : 1) && b.auf(feld(r + 2 * d, c)) < 0) versuch(feld(r + 2 * d, c), -1, false, true);
            }
            for (int dc = -1; dc <= 1; dc += 2) {
                if (!aufBrett(r1, c + dc)) continue;
                const int x = b.auf(feld(r1, c + dc));
                if (x >= 0 && figuren_[x].seite != amZug && figuren_[x].typ != KOENIG)
                    versuch(feld(r1, c + dc), x, letzte, false);
            }
            const int e = epFeld(amZug, ep, f);
            if (e && reihe(e) == r1 && std::abs(linie(e) - c) == 1) versuch(e, b.auf(feld(r, linie(e))), false, false);
        } else if (t == SPRINGER || t == KOENIG) {
            const int(*schritte)[2] = t == SPRINGER ? SPRINGER_SCHRITTE : KOENIG_SCHRITTE;
            for (int k = 0; k < 8; ++k) ziel(r + schritte[k][0], c + schritte[k][1]);
        } else {
            for (const auto& s : KOENIG_SCHRITTE) {
                const bool gerade = s[0] == 0 || s[1] == 0;
                if ((t == TURM && !gerade) || (t == LAEUFER && gerade)) continue;
                for (int rr = r + s[0], cc = c + s[1]; ziel(rr, cc); rr += s[0], cc += s[1]) {
                }
            }
        }
    }
}

// Calls fn(index) for every position from which a legal move without
// capture or promotion leads here (some may be illegal; their value says
// so).
template <class F>
void Loeser::rueckzuege(int amZug, bool ep, const int* f, F fn) const
{
    const int n = anzahl(), ich = 1 - amZug; // ich made the last move
    const Brett b{figuren_, f, n};
    int h[MAX];
    std::copy(f, f + n, h);
    auto melden = [&]() {
        fn(index(ich, false, h));
        if (epVarianten_ == 2) fn(index(ich, true, h));
    };
    const int zurueck = ich == 0 ? 1 : -1; // rows back towards ich's pawn start
    for (int j = 0; j < n; ++j) {
        if (figuren_[j].seite != ich) continue;
        const int r = reihe(f[j]), c = linie(f[j]), t = figuren_[j].typ;
        if (ep) {
            if (t != BAUER) continue;
            h[j] = feld(r + 2 * zurueck, c);
            melden();
            h[j] = f[j];
            continue;
        }
        if (t == BAUER) {
            const int r1 = r + zurueck;
            if ((ich == 0 ? r1 > 6 : r1 < 1) || b.auf(feld(r1, c)) >= 0) continue;
            h[j] = feld(r1, c);
            melden();
            const int r2 = r1 + zurueck;
            if (r == (ich == 0 ? 4 : 3) && b.auf(feld(r2, c)) < 0) {
                // After a double step next to an enemy pawn the en-passant
                // flag would be set: that is another position.
                bool nachbar = false;
                for (int k = 0; k < n; ++k)
                    if (figuren_[k].typ == BAUER && figuren_[k].seite == amZug && reihe(f[k]) == r &&
                        std::abs(linie(f[k]) - c) == 1)
                        nachbar = true;
                if (!nachbar) {
                    h[j] = feld(r2, c);
                    melden();
                }
            }
        } else if (t == SPRINGER || t == KOENIG) {
            const int(*schritte)[2] = t == SPRINGER ? SPRINGER_SCHRITTE : KOENIG_SCHRITTE;
            for (int k = 0; k < 8; ++k) {
                const int rr = r + schritte[k][0], cc = c + schritte[k][1];
                if (!aufBrett(rr, cc) || b.auf(feld(rr, cc)) >= 0) continue;
                h[j] = feld(rr, cc);
                melden();
            }
        } else {
            for (const auto& s : KOENIG_SCHRITTE) {
                const bool gerade = s[0] == 0 || s[1] == 0;
                if ((t == TURM && !gerade) || (t == LAEUFER && gerade)) continue;
                for (int rr = r + s[0], cc = c + s[1]; aufBrett(rr, cc) && b.auf(feld(rr, cc)) < 0;
                     rr += s[0], cc += s[1]) {
                    h[j] = feld(rr, cc);
                    melden();
                }
            }
        }
        h[j] = f[j];
    }
}

// The value, for the side then to move, of the position a capture or
// promotion leads to.
Wert Loeser::umwandlungsWert(int amZug, const int* h, int weg, int umgewandelt, int neuTyp) const
{
    struct Stein {
        int seite, typ, feld;
    };
    std::vector<Stein> rest;
    for (int j = 0; j < anzahl(); ++j)
        if (j != weg) rest.push_back({figuren_[j].seite, j == umgewandelt ? neuTyp : figuren_[j].typ, h[j]});
    std::stable_sort(rest.begin(), rest.end(), [](const Stein& a, const Stein& b) {
        if (a.seite != b.seite) return a.seite < b.seite;
        const int ra = a.typ == KOENIG ? 9 : a.typ, rb = b.typ == KOENIG ? 9 : b.typ;
        return ra > rb;
    });
    std::string name;
    int f[MAX];
    for (size_t j = 0; j < rest.size(); ++j) {
        name += BUCHSTABEN[rest[j].typ];
        f[j] = rest[j].feld;
    }
    const Loeser& l = *unter_.at(name);
    return l.wert(l.index(1 - amZug, false, f));
}

// Solves first every material a capture or promotion leads to.
void Loeser::unterLoesen()
{
    const int n = anzahl();
    auto name = [&](int weg, int umgewandelt, int neuTyp) {
        std::vector<std::pair<int, int>> rest; // side, type
        for (int j = 0; j < n; ++j)
            if (j != weg) rest.push_back({figuren_[j].seite, j == umgewandelt ? neuTyp : figuren_[j].typ});
        std::stable_sort(rest.begin(), rest.end(), [](auto a, auto b) {
            if (a.first != b.first) return a.first < b.first;
            return (a.second == KOENIG ? 9 : a.second) > (b.second == KOENIG ? 9 : b.second);
        });
        std::string r;
        for (const auto& x : rest) r += BUCHSTABEN[x.second];
        return r;
    };
    std::vector<std::string> namen;
    for (int j = 0; j < n; ++j) {
        if (figuren_[j].typ != KOENIG) namen.push_back(name(j, -1, 0));
        if (figuren_[j].typ != BAUER) continue;
        for (int t = SPRINGER; t <= DAME; ++t)
            for (int weg = -1; weg < n; ++weg)
                if (weg < 0 || (figuren_[weg].seite != figuren_[j].seite && figuren_[weg].typ != KOENIG))
                    namen.push_back(name(weg, j, t));
    }
    for (const std::string& x : namen) unter_[x] = &loeser(x);
}

void Loeser::loesen()
{
    unterLoesen();
    const uint64_t n = wert_.size();
    // Every position once, on two threads (each keeps its own queue).
    std::vector<uint64_t> schlangen[2];
    auto anfang = [&](int t) {
        std::vector<uint64_t>& schlange = schlangen[t];
        int f[MAX];
        for (uint64_t i = t ? n / 2 : 0; i < (t ? n : n / 2); ++i) {
            int amZug;
            bool ep;
            lesen(i, amZug, ep, f);
            if (!legal(amZug, ep, f)) {
                wert_[i] = ILLEGAL;
                continue;
            }
            int zahl = 0;
            bool remis = false, gewinn = false, zug = false;
            zuege(amZug, ep, f, [&](const int* h, int weg, int umgewandelt, int neuTyp, bool) {
                zug = true;
                if (weg < 0 && umgewandelt < 0) {
                    ++zahl;
                    return;
                }
                const Wert w = umwandlungsWert(amZug, h, weg, umgewandelt, neuTyp);
                if (w == VERLUST) gewinn = true;
                else if (w == REMIS) remis = true;
            });
            if (!zug) {
                const Brett b{figuren_, f, anzahl()};
                wert_[i] = b.angegriffen(b.koenig(amZug), 1 - amZug) ? VERLUST : REMIS;
            } else if (gewinn) {
                wert_[i] = GEWINN;
            } else if (zahl == 0) {
                wert_[i] = remis ? REMIS : VERLUST;
            } else {
                zaehler_[i] = uint8_t(zahl | (remis ? 0x80 : 0));
                continue;
            }
            if (wert_[i] != REMIS) schlange.push_back(i);
        }
    };
    std::thread zweiter(anfang, 1);
    anfang(0);
    zweiter.join();
    std::vector<uint64_t> schlange = std::move(schlangen[0]);
    schlange.insert(schlange.end(), schlangen[1].begin(), schlangen[1].end());
    int f[MAX];
    for (size_t q = 0; q < schlange.size(); ++q) {
        const uint64_t i = schlange[q];
        const Wert v = Wert(wert_[i]);
        int amZug;
        bool ep;
        lesen(i, amZug, ep, f);
        rueckzuege(amZug, ep, f, [&](uint64_t k) {
            if (wert_[k] != OFFEN) return;
            if (v == VERLUST) {
                wert_[k] = GEWINN;
                schlange.push_back(k);
                return;
            }
            const uint8_t z = uint8_t(zaehler_[k] - 1);
            zaehler_[k] = z;
            if ((z & 0x7F) != 0) return;
            if (z & 0x80) {
                wert_[k] = REMIS;
            } else {
                wert_[k] = VERLUST;
                schlange.push_back(k);
            }
        });
    }
    for (uint8_t& w : wert_)
        if (w == OFFEN) w = REMIS;
    zaehler_.clear();
    zaehler_.shrink_to_fit();
}

const Loeser& loeser(const std::string& name)
{
    static std::recursive_mutex sperre;
    static std::map<std::string, std::unique_ptr<Loeser>> fertig;
    std::lock_guard<std::recursive_mutex> g(sperre);
    auto it = fertig.find(name);
    if (it == fertig.end()) it = fertig.emplace(name, std::make_unique<Loeser>(name)).first;
    return *it->second;
}

} // namespace orakel
