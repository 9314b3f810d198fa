#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "bitbase/cache.h"
#include "eval/bauern_tabelle.h"
#include "eval/material_tabelle.h"
#include "search/historie.h"
#include "search/ply.h"
#include "search/sucher.h"
#include "search/tt.h"
#include "timenet/zeitmerkmale.h"
#include "timenet/zeitnetz.h"
#include "timenet/zeitprotokoll.h"

class Buch_t;
struct SplitPoint;
class SplitPointPool;

// One root move and what the current search knows about it.
struct WurzelEintrag_t {
    uint32_t zug;
    int32_t wert;
    int32_t tiefe;     // half plies of the last search of this move
    uint32_t grenze;   // WURZEL_EXAKT, WURZEL_UNTERBROCHEN or 0
    uint64_t knoten;   // nodes spent on it in that search
};
constexpr uint32_t WURZEL_EXAKT = 0x4000;
constexpr uint32_t WURZEL_UNTERBROCHEN = 0x2000;

constexpr int32_t MATT_WERT = 500000;
constexpr int PV_LAENGE = 100; // longest line reported
constexpr int32_t MATT_SCHWELLE = 450000;

inline bool istBauernzugAufSiebte(Zug z, int seite)
{
    return zugArt(z) == BAUER && rowOf(zugNach(z)) == (seite == WEISS ? 1 : 6);
}

// A quiet move of kind 1..6 just made at p by seite that leaves nothing to
// tactics: the tree may prune or reduce it, the root reduces late ones.
inline bool ruhigerZug(const Ply_t* p, Zug z, int seite)
{
    const int art = zugArt(z);
    return art >= BAUER && art <= KOENIG && !p->zd.geschlagen && !istBauernzugAufSiebte(z, seite);
}

// The search controller: carries out one "go" on its own thread (iterative
// deepening, aspiration windows, MultiPV, time decisions) and reports the
// best move. Helpers are further Suche_t objects that join split points of
// the master's tree.
class Suche_t : public Sucher_t {
public:
    Suche_t();
    ~Suche_t() override;

    void threadLoop() override;
    void ponderHit() override;
    void search() override;
    void neuesSpiel() override { neuesSpiel_.store(true, std::memory_order_relaxed); }

    // Totals of the last search (for tools and tests).
    uint64_t knotenGesamt() const { return knoten_; }
    Transpositionstabelle_t& tabelle() { return *tt_; }

    // Alpha-beta search of the node whose record is p (its position is the
    // one after the parent's move). z counts the zero-window plies above.
    int suchen(int alpha, int beta, Ply_t* p, int tiefe, int z);
    int ruhesuche(int alpha, int beta, Ply_t* p, int qtiefe);

    // Quiescence value of a position on its own, within the window (alpha,
    // beta), outside any "go" (for tools and tests of the search's
    // consistency).
    int ruhewert(const Stellung_t& st, int alpha, int beta);

private:
    friend class SplitPointPool;
    friend struct SplitPoint;

    // A helper shares the master's table and pool.
    explicit Suche_t(Suche_t& master);

    // Controller parts.
    void wurzelVorbereiten(const Stellung_t& st);
    int wurzelSuche(int tiefe, int vorher);
    void hauptvarianteBerichten(Zug bester, int wert, int tiefe, int64_t zeit, bool still);
    // The line from the table; schluessel (optional) gets the key after
    // each move.
    int hauptvarianteHolen(Zug erster, Zug* pv, int max, uint64_t* schluessel = nullptr);
    // The line of a root move as it is shown: it ends where a position of
    // the game or of the line itself comes back.
    int varianteZumZeigen(Zug erster, Zug* pv);
    // The line of the last finished iteration, when it was kept back, just
    // before the best move is reported.
    void zurueckgehalteneZeigen();
    struct Zurueckgehalten_t;
    // Everything of the current line but its moves, into zurueckLaufend_.
    void zeileFesthalten(int wert, int tiefe, int64_t zeit, bool ausTabelle);
    void zeileMelden(const Zurueckgehalten_t& z, bool still);
    Zug ponderZug(Zug bester);
    void wurzelSortieren();
    void multiPvBerichten(int tiefe);
    int multiPvNeuOrdnen(uint32_t zug, int tiefe, bool berichten);
    int wurzelAlphaNeu(int tiefe, int besterWert);
    void iterationAuswerten(int iteration, int wert, Zug vorherBester, Iterationsdaten_t& jetzt,
                            const Iterationsdaten_t& vorher, double& y);
    void helferAnpassen(int anzahl);
    // The book's move for the root, reported as the search's result; false
    // when the book is off, not asked, or has no move.
    bool buchZugMelden(Optionen_t& opt);
    // Prints what the bitbase cache found wrong with its files.
    void bitbaseMeldungen();
    // The weights the option EvalFile names, read when the option changed
    // (errors and left-out entries reported); caches of this searcher and
    // its helpers, and the table, emptied when the weights changed.
    void gewichteLaden(Optionen_t& opt);
    int64_t verstrichen() const;
    void stopSetzen() { stop.store(true, std::memory_order_relaxed); }

    // Shared by the serial move loop and the split-point loop.
    static constexpr int BESCHNEIDEN = -1;
    int reduktion(const Ply_t* p, Zug m, int e, int tiefe, int z, int alpha, int scout, bool nochKeinZug) const;
    int zugDurchsuchen(Ply_t* p, int alpha, int beta, int scout, int tiefe, int e, int r, int z);
    int erweiterung(const Ply_t* p, Zug z, bool schach, int tiefe) const;
    bool entschaerftDrohung(const Ply_t* p) const;
    bool abgebrochen() const;
    bool bitbaseFragen(Ply_t* p, int alpha, int beta, int tiefe, int z, int& wert);

    // Parallel search.
    bool splitAnbieten(Ply_t* p, int& alpha, int beta, int& best, int tiefe, int z, int knotenTyp);
    void splitSchleife(SplitPoint* sp, bool helfenderMeister, SplitPoint* eigener);
    bool beitreten(SplitPoint* sp, int schutz);
    void helferSchleife();

    // A helper also stops when its master was told to.
    bool stoppenAngefragt() const
    {
        return stop.load(std::memory_order_relaxed) || meister_->stop.load(std::memory_order_relaxed);
    }

    // --- state ----------------------------------------------------------
    Stellung_t st_;
    Ply_t stapel_[PLY_STAPEL];
    Historie_t historie_[2];
    MaterialTable material_;
    PawnTable bauern_;
    uint32_t gewichteStand_ = 0; // the weights the caches and the table were filled under
    WurzelEintrag_t wurzel_[MAX_ZUEGE];
    int wurzelN_ = 0;
    int multiPv_ = 1;
    int multiPvRand_ = 0;

    int letzterWert_ = 0;
    Zug letzterBester_ = 0;
    Zug letzterPonder_ = 0;

    // A line reported quietly (or an iteration answered by the table
    // without a report): the client has not seen it. The one of the
    // iteration under way, and the one of the last finished iteration,
    // which is shown before the best move unless a line was printed since.
    struct Zurueckgehalten_t {
        bool da = false;
        bool ausTabelle = false; // the line is read from the table when shown
        Zug pv[PV_LAENGE];
        int n = 0;
        int wert = 0;
        int tiefe = 0;
        int selTiefe = 0;
        int64_t zeit = 0;
        uint64_t knoten = 0;
        int hashPromille = 0;
    };
    Zurueckgehalten_t zurueckLaufend_, zurueckFertig_;
    std::atomic<Zug> besterWurzelZug_{0}; // read by "ponderhit" on the interpreter's thread

    uint64_t knoten_ = 0;
    int selTiefe_ = 0;
    int uhrZaehler_ = 0;

    bool eroeffnung_ = false;
    std::atomic<bool> weiter_{true};
    std::atomic<bool> neuesSpiel_{false}; // "ucinewgame" came: forget table and history
    bool helfer_ = false;
    bool wurzelBeschraenkt_ = false;

    Transpositionstabelle_t* tt_ = nullptr;
    std::unique_ptr<Transpositionstabelle_t> ttEigen_;
    BitbaseCache_t* bb_ = nullptr; // the master's, shared by its helpers
    std::unique_ptr<BitbaseCache_t> bbEigen_;
    std::unique_ptr<Zeitnetz_t> zeitnetz_;
    std::unique_ptr<Buch_t> buch_; // read on the first search that asks it
    Zeitprotokoll_t protokoll_;

    // Parallel search: the master owns the pool and its helpers.
    Suche_t* meister_ = this;
    SplitPointPool* pool_ = nullptr;
    std::unique_ptr<SplitPointPool> poolEigen_;
    Suche_t* helferListe_[24] = {};
    int helferAnzahl_ = 0;
    SplitPoint* aktuellerSplit_ = nullptr;
    Semaphor_t wecken_{0, 100};
};
