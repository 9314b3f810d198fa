#include "orakel.h"

#include <algorithm>
#include <cstdlib>
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

// Straight lines, diagonals, then the knight's jumps.
constexpr int SCHRITTE[16][2] = {{1, 0},  {-1, 0}, {0, 1},  {0, -1}, {1, 1},   {1, -1}, {-1, 1},  {-1, -1},
                                 {1, 2},  {2, 1},  {-1, 2}, {-2, 1}, {1, -2},  {2, -1}, {-1, -2}, {-2, -1}};

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
        const int ar = std::abs(dr), ac = std::abs(dc), t = fig[j].typ;
        if (t == BAUER) return dr == (fig[j].seite == 0 ? -1 : 1) && ac == 1;
        if (t == SPRINGER) return (ar == 1 && ac == 2) || (ar == 2 && ac == 1);
        if (t == KOENIG) return std::max(ar, ac) == 1;
        const bool gerade = dr == 0 || dc == 0, schraeg = ar == ac;
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
    bool imSchach(int seite) const
    {
        for (int j = 0; j < n; ++j)
            if (fig[j].seite == seite && fig[j].typ == KOENIG) return angegriffen(f[j], 1 - seite);
        return false;
    }
    // fn(square) for every square a piece of type t (not a pawn) on von
    // reaches: empty squares and the first occupied one of each line.
    template <class F>
    void ziele(int t, int von, F fn) const
    {
        const int a = t == SPRINGER ? 8 : t == LAEUFER ? 4 : 0, e = t == SPRINGER ? 16 : t == TURM ? 4 : 8;
        for (int k = a; k < e; ++k)
            for (int r = reihe(von) + SCHRITTE[k][0], c = linie(von) + SCHRITTE[k][1]; aufBrett(r, c);
                 r += SCHRITTE[k][0], c += SCHRITTE[k][1]) {
                fn(feld(r, c));
                if (t == SPRINGER || t == KOENIG || auf(feld(r, c)) >= 0) break;
            }
    }
    // A pawn of seite beside square sq on the same row.
    bool bauerDaneben(int sq, int seite) const
    {
        for (int k = 0; k < n; ++k)
            if (fig[k].typ == BAUER && fig[k].seite == seite && reihe(f[k]) == reihe(sq) &&
                std::abs(linie(f[k]) - linie(sq)) == 1)
                return true;
        return false;
    }
};

} // namespace

Loeser::Loeser(const std::string& name)
{
    int seite = -1, bauern[2] = {0, 0};
    for (char ch : name) {
        const int t = int(std::string(BUCHSTABEN).find(ch));
        if (t == KOENIG) ++seite;
        figuren_.push_back({seite, t});
        if (t == BAUER) ++bauern[seite];
    }
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
    for (int j = anzahl() - 1; j >= 0; --j, i >>= 6) f[j] = int(i & 63);
    ep = epVarianten_ == 2 && (i & 1);
    amZug = int(i / uint64_t(epVarianten_));
}

int Loeser::epFeld(int amZug, bool ep, const int* f) const
{
    for (int j = 0; ep && j < anzahl(); ++j)
        if (figuren_[j].typ == BAUER && figuren_[j].seite != amZug) return f[j] + (amZug == 1 ? 8 : -8);
    return 0;
}

std::string Loeser::rest(const int* h, int weg, int umgewandelt, int neuTyp, int* f) const
{
    struct Stein {
        int seite, typ, feld;
    };
    std::vector<Stein> r;
    for (int j = 0; j < anzahl(); ++j)
        if (j != weg) r.push_back({figuren_[j].seite, j == umgewandelt ? neuTyp : figuren_[j].typ, h ? h[j] : 0});
    std::stable_sort(r.begin(), r.end(), [](const Stein& a, const Stein& b) {
        if (a.seite != b.seite) return a.seite < b.seite;
        return (a.typ == KOENIG ? 9 : a.typ) > (b.typ == KOENIG ? 9 : b.typ);
    });
    std::string name;
    for (size_t j = 0; j < r.size(); ++j) {
        name += BUCHSTABEN[r[j].typ];
        if (f) f[j] = r[j].feld;
    }
    return name;
}

bool Loeser::legal(int amZug, bool ep, const int* f) const
{
    const Brett b{figuren_, f, anzahl()};
    for (int j = 0; j < anzahl(); ++j)
        if (b.auf(f[j]) != j || (figuren_[j].typ == BAUER && (reihe(f[j]) == 0 || reihe(f[j]) == 7))) return false;
    if (b.imSchach(1 - amZug)) return false;
    if (!ep) return true;
    // The pawn that just moved stands where its double step ended, the two
    // squares behind it are empty, and a pawn can take it.
    for (int j = 0; j < anzahl(); ++j) {
        if (figuren_[j].typ != BAUER || figuren_[j].seite == amZug) continue;
        const int r = reihe(f[j]), c = linie(f[j]), zurueck = amZug == 1 ? 1 : -1;
        return r == (amZug == 1 ? 4 : 3) && b.auf(feld(r + zurueck, c)) < 0 && b.auf(feld(r + 2 * zurueck, c)) < 0 &&
               b.bauerDaneben(f[j], amZug);
    }
    return false;
}

// fn(h, weg, umgewandelt, neuTyp) for every legal move of the side to move:
// h the squares after it (-1 for a taken piece).
template <class F>
void Loeser::zuege(int amZug, bool ep, const int* f, F fn) const
{
    const int n = anzahl();
    const Brett b{figuren_, f, n};
    for (int j = 0; j < n; ++j) {
        if (figuren_[j].seite != amZug) continue;
        const int von = f[j], r = reihe(von), c = linie(von), t = figuren_[j].typ;
        auto versuch = [&](int nach, int weg, bool umwandlung) {
            int h[MAX];
            std::copy(f, f + n, h);
            h[j] = nach;
            if (weg >= 0) h[weg] = -1;
            if (Brett{figuren_, h, n}.imSchach(amZug)) return;
            if (!umwandlung) fn(h, weg, -1, 0);
            else
                for (int u = DAME; u >= SPRINGER; --u) fn(h, weg, j, u);
        };
        auto schlagbar = [&](int x) { return x >= 0 && figuren_[x].seite != amZug && figuren_[x].typ != KOENIG; };
        if (t != BAUER) {
            b.ziele(t, von, [&](int z) {
                const int x = b.auf(z);
                if (x < 0 || schlagbar(x)) versuch(z, x, false);
            });
            continue;
        }
        const int d = amZug == 0 ? -1 : 1, r1 = r + d;
        const bool letzte = r1 == 0 || r1 == 7;
        if (b.auf(feld(r1, c)) < 0) {
            versuch(feld(r1, c), -1, letzte);
            if (r == (amZug == 0 ? 6 : 1) && b.auf(feld(r + 2 * d, c)) < 0) versuch(feld(r + 2 * d, c), -1, false);
        }
        for (int dc = -1; dc <= 1; dc += 2)
            if (aufBrett(r1, c + dc) && schlagbar(b.auf(feld(r1, c + dc)))) versuch(feld(r1, c + dc), b.auf(feld(r1, c + dc)), letzte);
        const int e = epFeld(amZug, ep, f);
        if (e && reihe(e) == r1 && std::abs(linie(e) - c) == 1) versuch(e, b.auf(feld(r, linie(e))), false);
    }
}

// fn(index) for every position from which a legal move without capture or
// promotion leads here (some may be illegal; their value says so).
template <class F>
void Loeser::rueckzuege(int amZug, bool ep, const int* f, F fn) const
{
    const int n = anzahl(), ich = 1 - amZug; // ich made the last move
    const Brett b{figuren_, f, n};
    int h[MAX];
    std::copy(f, f + n, h);
    auto melden = [&](int j, int sq) {
        h[j] = sq;
        fn(index(ich, false, h));
        if (epVarianten_ == 2) fn(index(ich, true, h));
        h[j] = f[j];
    };
    const int zurueck = ich == 0 ? 1 : -1; // towards ich's pawn start
    for (int j = 0; j < n; ++j) {
        if (figuren_[j].seite != ich) continue;
        const int r = reihe(f[j]), c = linie(f[j]), t = figuren_[j].typ;
        if (ep) { // only the double step can have led here
            if (t == BAUER) melden(j, feld(r + 2 * zurueck, c));
        } else if (t != BAUER) {
            b.ziele(t, f[j], [&](int z) {
                if (b.auf(z) < 0) melden(j, z);
            });
        } else if (!(ich == 0 ? r + zurueck > 6 : r + zurueck < 1) && b.auf(feld(r + zurueck, c)) < 0) {
            melden(j, feld(r + zurueck, c));
            // A double step next to an enemy pawn sets the en-passant flag:
            // that is another position.
            if (r == (ich == 0 ? 4 : 3) && b.auf(feld(r + 2 * zurueck, c)) < 0 && !b.bauerDaneben(f[j], amZug))
                melden(j, feld(r + 2 * zurueck, c));
        }
    }
}

void Loeser::loesen()
{
    // Every material a capture or promotion leads to first.
    for (int j = 0; j < anzahl(); ++j) {
        if (figuren_[j].typ != KOENIG) unter_[rest(nullptr, j, -1, 0, nullptr)] = nullptr;
        for (int t = SPRINGER; figuren_[j].typ == BAUER && t <= DAME; ++t)
            for (int weg = -1; weg < anzahl(); ++weg)
                if (weg < 0 || (figuren_[weg].seite != figuren_[j].seite && figuren_[weg].typ != KOENIG))
                    unter_[rest(nullptr, weg, j, t, nullptr)] = nullptr;
    }
    for (auto& [name, l] : unter_) l = &loeser(name);

    // Every position once, on two threads (each keeps its own queue): mates,
    // stalemates and conversions are decided, the rest get move counters
    // (bit 7: a move reaches a draw).
    const uint64_t n = wert_.size();
    std::vector<uint64_t> schlangen[2];
    auto anfang = [&](int t) {
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
            zuege(amZug, ep, f, [&](const int* h, int weg, int umgewandelt, int neuTyp) {
                zug = true;
                if (weg < 0 && umgewandelt < 0) {
                    ++zahl;
                    return;
                }
                int g[MAX];
                const Loeser& l = *unter_.at(rest(h, weg, umgewandelt, neuTyp, g));
                const Wert w = l.wert(l.index(1 - amZug, false, g));
                gewinn |= w == VERLUST;
                remis |= w == REMIS;
            });
            if (!zug) wert_[i] = Brett{figuren_, f, anzahl()}.imSchach(amZug) ? VERLUST : REMIS;
            else if (gewinn) wert_[i] = GEWINN;
            else if (zahl == 0) wert_[i] = remis ? REMIS : VERLUST;
            else zaehler_[i] = uint8_t(zahl | (remis ? 0x80 : 0));
            if (wert_[i] == GEWINN || wert_[i] == VERLUST) schlangen[t].push_back(i);
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
            } else if (((--zaehler_[k]) & 0x7F) == 0) {
                wert_[k] = zaehler_[k] & 0x80 ? REMIS : VERLUST;
                if (wert_[k] == VERLUST) schlange.push_back(k);
            }
        });
    }
    std::replace(wert_.begin(), wert_.end(), uint8_t(OFFEN), uint8_t(REMIS));
    std::vector<uint8_t>().swap(zaehler_);
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
