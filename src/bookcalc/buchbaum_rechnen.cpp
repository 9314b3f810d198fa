// The calculation run of the book tree: which positions are worked on, the
// pool of workers that search them, and how their results enter the tree.
#include <algorithm>
#include <atomic>
#include <memory>
#include <unordered_set>
#include <vector>

#include "bookcalc/buchbaum.h"
#include "chess/fen.h"
#include "chess/spiel.h"
#include "chess/zuggen.h"
#include "chess/zugmachen.h"
#include "platform/semaphore.h"
#include "platform/thread.h"
#include "search/suche.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"
#include "shell/testausgabe.h"

namespace {

constexpr int MAX_TIEFE = 400;
constexpr std::size_t STAPEL_BYTES = 1024000;

// One position to work on, reached by its moves from the start position.
struct Auftrag {
    uint64_t schluessel;
    std::vector<Zug> pfad;
};

struct Ergebnis {
    bool gueltig = false;      // false: the job could not be done (left alone for this run)
    bool keineZuege = false;   // mate or stalemate: wert is the node's value
    std::vector<std::pair<Zug, uint64_t>> verbindungen; // moves into positions the tree already has
    bool gesucht = false;      // a search chose zug among the moves into new positions
    Zug zug = 0;
    int32_t wert = 0;          // for the side to move, centipawns
    uint64_t kind = 0;
    uint32_t kindLegal = 0;
};

int32_t zentibauern(int wert)
{
    if (wert > MATT_SCHWELLE) return BAUM_MATT;
    if (wert < -MATT_SCHWELLE) return -BAUM_MATT;
    return int32_t(std::clamp(wert / 10, -BAUM_MATT + 1, BAUM_MATT - 1));
}

bool hatZug(const BaumKnoten_t& kn, Zug z)
{
    return std::any_of(kn.zuege.begin(), kn.zuege.end(), [&](const BaumZug_t& x) { return x.zug == z; });
}

// A searcher of its own per worker, with the options of a batch tool.
class Arbeiter {
public:
    Arbeiter(const Buchbaum_t& baum, const BaumParameter_t& p) : baum_(baum), p_(p), optionen_(OPTIONEN_NORMAL)
    {
        optionen_.setzen(OPT_HASH, p.hashMb);
        optionen_.setzen(OPT_OWNBOOK, 0);
        optionen_.setzen(OPT_PROZESSOREN, 1);
    }

    Ergebnis bearbeiten(const Auftrag& a)
    {
        Ergebnis e;
        Stellung_t st;
        Stellungsdaten_t d[2];
        int di = 0;
        stellungSetzen(st, d[0], nullptr);
        for (Zug z : a.pfad) {
            if (!zugLegal(st, d[di], z) || !zugSpielen(st, z, d[di ^ 1], d[di])) return e;
            di ^= 1;
        }
        if (d[di].schluessel != a.schluessel) return e;

        Zug legal[MAX_ZUEGE], neu[MAX_ZUEGE];
        const int n = int(legaleZuege(st, d[di], legal) - legal);
        if (n == 0) {
            e.gueltig = e.keineZuege = true;
            e.wert = imSchach(st, d[di]) ? -BAUM_MATT : 0;
            return e;
        }
        int neue = 0;
        {
            SperreHalter_t halter(baum_.sperre);
            auto it = baum_.knoten.find(a.schluessel);
            if (it == baum_.knoten.end()) return e;
            const BaumKnoten_t& kn = it->second;
            for (int i = 0; i < n; ++i) {
                const Zug z = zugOhneSchluessel(legal[i]);
                if (hatZug(kn, z)) continue;
                Stellung_t kopie = st;
                Stellungsdaten_t kd;
                Zugdaten_t zd;
                zugMachenSuche(kopie, z, kd, d[di], zd);
                if (baum_.knoten.count(kd.schluessel)) e.verbindungen.push_back({z, kd.schluessel});
                else neu[neue++] = z;
            }
        }
        if (neue == 0) {
            e.gueltig = true;
            return e;
        }

        // The same search whichever worker runs it: no memories of earlier
        // jobs, and the node count as the clock.
        Suchgrenzen_t grenzen;
        grenzen.fuellen(GoParameter_t{}, true);
        grenzen.zielZeit = p_.knotenJeSuche / 2;
        grenzen.iterationsZeit = p_.knotenJeSuche;
        grenzen.harteZeit = grenzen.harteKnoten = 2 * p_.knotenJeSuche;
        TestAusgabe_t aus;
        suche_.neuesSpiel();
        optionen_.setzen(OPT_CLEAR_HASH, 1);
        suche_.starten(st, optionen_, Sucher_t::FLAG_SYNCHRON, grenzen, aus, neu, neu + neue);
        const Zug bester = zugOhneSchluessel(aus.besterZug);
        if (!std::count(neu, neu + neue, bester)) return e;
        e.gueltig = e.gesucht = true;
        e.zug = bester;
        e.wert = aus.variantenZug == bester ? zentibauern(aus.letzterWert) : 0;
        Stellungsdaten_t kd;
        Zugdaten_t zd;
        zugMachenSuche(st, bester, kd, d[di], zd);
        e.kind = kd.schluessel;
        e.kindLegal = uint32_t(legaleZuegeZaehlen(st, kd));
        return e;
    }

private:
    const Buchbaum_t& baum_;
    const BaumParameter_t& p_;
    Optionen_t optionen_;
    Suche_t suche_;
};

// Eight workers take jobs from a queue: one semaphore counts the jobs
// waiting, one the results ready; one lock guards the queue, one the results.
class Pool {
public:
    Pool(const Buchbaum_t& baum, const BaumParameter_t& p)
    {
        const int n = std::clamp(p.arbeiter, 1, 64);
        for (int i = 0; i < n; ++i) arbeiter_.push_back(std::make_unique<Arbeiter>(baum, p));
        faeden_ = std::make_unique<Faden_t[]>(size_t(n));
        eintrag_.reserve(size_t(n)); // the threads keep the addresses
        for (int i = 0; i < n; ++i) {
            eintrag_.push_back({this, arbeiter_[size_t(i)].get()});
            if (!faeden_[size_t(i)].starten(&Pool::lauf, &eintrag_.back(), STAPEL_BYTES)) ohneFaden_ = true;
        }
    }

    ~Pool()
    {
        ende_.store(true);
        for (std::size_t i = 0; i < arbeiter_.size(); ++i) auftraegeDa_.freigeben();
        for (std::size_t i = 0; i < arbeiter_.size(); ++i) faeden_[i].warten();
    }

    // Works off the jobs (at most 100 at once) and returns the results in
    // the jobs' order.
    std::vector<Ergebnis> abarbeiten(const std::vector<Auftrag>& auftraege)
    {
        auftraege_ = &auftraege;
        ergebnisse_.assign(auftraege.size(), Ergebnis{});
        naechster_ = 0;
        if (ohneFaden_) {
            for (std::size_t i = 0; i < auftraege.size(); ++i) ergebnisse_[i] = arbeiter_[0]->bearbeiten(auftraege[i]);
            return ergebnisse_;
        }
        for (std::size_t i = 0; i < auftraege.size(); ++i) auftraegeDa_.freigeben();
        for (std::size_t i = 0; i < auftraege.size(); ++i) ergebnisseDa_.warten();
        return ergebnisse_;
    }

private:
    struct Eintrag {
        Pool* pool;
        Arbeiter* arbeiter;
    };

    static void lauf(void* p)
    {
        Eintrag* e = static_cast<Eintrag*>(p);
        Pool& pool = *e->pool;
        for (;;) {
            pool.auftraegeDa_.warten();
            if (pool.ende_.load()) return;
            std::size_t i;
            {
                SperreHalter_t h(pool.schlangeSperre_);
                i = pool.naechster_++;
            }
            Ergebnis r = e->arbeiter->bearbeiten((*pool.auftraege_)[i]);
            {
                SperreHalter_t h(pool.ergebnisSperre_);
                pool.ergebnisse_[i] = std::move(r);
            }
            pool.ergebnisseDa_.freigeben();
        }
    }

    std::vector<std::unique_ptr<Arbeiter>> arbeiter_;
    std::vector<Eintrag> eintrag_;
    std::unique_ptr<Faden_t[]> faeden_;
    bool ohneFaden_ = false;
    std::atomic<bool> ende_{false};
    Semaphor_t auftraegeDa_{0, 100};
    Semaphor_t ergebnisseDa_{0, 100};
    Sperre_t schlangeSperre_;
    Sperre_t ergebnisSperre_;
    const std::vector<Auftrag>* auftraege_ = nullptr;
    std::vector<Ergebnis> ergebnisse_;
    std::size_t naechster_ = 0;
};

// The positions to work on: depth first along the book's lines (moves
// within breite of the best, and moves whose value is not known yet).
// A position without a value is searched first; one with a value gets its
// next best move while the last move a search found was still good enough
// to be played, and while it lies no deeper than maxHalbzuege.
std::vector<Auftrag> auftraegeSammeln(Buchbaum_t& b, const BaumParameter_t& p, std::size_t max,
                                     const std::unordered_set<uint64_t>& auslassen)
{
    std::vector<Auftrag> r;
    std::unordered_set<uint64_t> besucht, linie;
    std::vector<Zug> pfad;
    auto sammeln = [&](auto& selbst, uint64_t k) -> void {
        if (r.size() >= max || int(pfad.size()) >= MAX_TIEFE || !besucht.insert(k).second) return;
        auto it = b.knoten.find(k);
        if (it == b.knoten.end()) return;
        BaumKnoten_t& kn = it->second;
        const bool bewertet = kn.flags & KNOTEN_BEWERTET;
        const bool vollstaendig = kn.flags & KNOTEN_VOLLSTAENDIG;
        const bool erlaubt = !auslassen.count(k);
        if (!bewertet && !vollstaendig) {
            if (erlaubt) r.push_back({k, pfad});
            return;
        }
        int32_t bester = -BAUM_MATT;
        bool bekannt = false;
        const BaumZug_t* letzterGesuchter = nullptr;
        for (const BaumZug_t& z : kn.zuege) {
            int32_t w;
            if (b.zugWert(z, w)) bester = bekannt ? std::max(bester, w) : w, bekannt = true;
            if (z.flags & ZUG_GESUCHT) letzterGesuchter = &z;
        }
        if (erlaubt && bewertet && !vollstaendig && int(pfad.size()) < p.maxHalbzuege) {
            int32_t w;
            if (!letzterGesuchter || !b.zugWert(*letzterGesuchter, w) || w >= bester - p.breite)
                r.push_back({k, pfad});
        }
        linie.insert(k);
        for (const BaumZug_t& z : kn.zuege) {
            int32_t w;
            if (linie.count(z.kind) || (b.zugWert(z, w) && w < bester - p.breite)) continue;
            pfad.push_back(z.zug);
            selbst(selbst, z.kind);
            pfad.pop_back();
        }
        linie.erase(k);
    };
    sammeln(sammeln, b.startSchluessel());
    return r;
}

void einarbeiten(Buchbaum_t& b, const Auftrag& a, const Ergebnis& e)
{
    auto it = b.knoten.find(a.schluessel);
    if (it == b.knoten.end()) return;
    BaumKnoten_t& kn = it->second;
    kn.flags &= ~KNOTEN_IN_ARBEIT;
    if (!e.gueltig) return;
    if (e.keineZuege) {
        kn.wert = e.wert;
        kn.legal = 0;
        kn.flags |= KNOTEN_BEWERTET | KNOTEN_VOLLSTAENDIG;
        return;
    }
    for (const auto& [z, kind] : e.verbindungen) {
        if (hatZug(kn, z)) continue;
        BaumZug_t neu;
        neu.kind = kind;
        neu.zug = z;
        kn.zuege.push_back(neu);
    }
    if (!e.gesucht) {
        kn.flags |= KNOTEN_VOLLSTAENDIG;
        return;
    }
    if (!hatZug(kn, e.zug)) {
        BaumZug_t neu;
        neu.kind = e.kind;
        neu.zug = e.zug;
        neu.wert = e.wert;
        neu.flags = ZUG_GESUCHT | ZUG_BEWERTET;
        kn.zuege.push_back(neu);
    }
    if (!(kn.flags & KNOTEN_BEWERTET)) {
        kn.wert = e.wert;
        kn.flags |= KNOTEN_BEWERTET;
    }
    if (!b.knoten.count(e.kind)) {
        BaumKnoten_t kind;
        kind.wert = -e.wert;
        kind.legal = e.kindLegal;
        kind.flags = KNOTEN_BEWERTET;
        b.knoten[e.kind] = kind;
        ++b.neueKnoten;
    }
}

} // namespace

void Buchbaum_t::rechnen(const BaumParameter_t& p)
{
    werteBerechnen();
    Pool pool(*this, p);
    std::unordered_set<uint64_t> gescheitert;
    for (;;) {
        if (neueKnoten >= p.neueKnotenMax) break;
        std::vector<Auftrag> auftraege =
            auftraegeSammeln(*this, p, std::size_t(std::clamp(p.auftraegeJeRunde, 1, 100)), gescheitert);
        if (auftraege.empty()) break;
        {
            SperreHalter_t h(sperre);
            for (const Auftrag& a : auftraege) knoten[a.schluessel].flags |= KNOTEN_IN_ARBEIT;
        }
        const std::vector<Ergebnis> ergebnisse = pool.abarbeiten(auftraege);
        {
            // One job after the other, in the order they were handed out,
            // so that a run gives the same tree however the threads ran.
            SperreHalter_t h(sperre);
            for (std::size_t i = 0; i < auftraege.size(); ++i) {
                BaumKnoten_t& kn = knoten[auftraege[i].schluessel];
                kn.flags |= KNOTEN_GESPERRT;
                if (!ergebnisse[i].gueltig) gescheitert.insert(auftraege[i].schluessel);
                einarbeiten(*this, auftraege[i], ergebnisse[i]);
                kn.flags &= ~KNOTEN_GESPERRT;
            }
            werteBerechnen();
        }
        if (!p.sicherung.empty()) speichern(p.sicherung);
    }
}
