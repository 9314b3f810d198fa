// Split-point parallel search: a node's remaining moves are shared by the
// thread that owns the node and helpers that join it.
#include "search/parallel.h"

#include <algorithm>
#include <cstring>

#include "chess/zuggen.h"
#include "chess/zugmachen.h"
#include "search/suche.h"
#include "search/zugwahl.h"

namespace {

constexpr int W_FAKTOR[17] = {1, 20, 13, 8, 6, 4, 3, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1};
constexpr int M_FAKTOR[15] = {1, 1, 2, 7, 12, 16, 19, 21, 23, 25, 27, 29, 31, 32, 33};

bool offen(const SplitPoint& sp)
{
    return !sp.frei.load(std::memory_order_relaxed) && sp.annehmend.load(std::memory_order_acquire) &&
           !sp.cutoff.load(std::memory_order_relaxed) &&
           sp.arbeiter.load(std::memory_order_relaxed) < sp.maxArbeiter.load(std::memory_order_relaxed);
}

void nehmen(SplitPoint& sp)
{
    sp.arbeiter.store(0, std::memory_order_relaxed);
    sp.frei.store(false, std::memory_order_relaxed);
    sp.annehmend.store(false, std::memory_order_relaxed);
    sp.cutoff.store(false, std::memory_order_relaxed);
}

} // namespace

SplitPoint* SplitPointPool::waehlen(int d)
{
    const int idle = untaetigAnzahl;
    int F = 0, S = 0, D = 0;
    SplitPoint* ersterFrei = nullptr;
    for (SplitPoint& sp : punkte) {
        if (sp.frei.load(std::memory_order_relaxed)) {
            ++F;
            if (!ersterFrei) ersterFrei = &sp;
            if (idle > 0 || S >= 5 || (F >= 15 && S >= 1)) {
                nehmen(sp);
                return &sp;
            }
        } else if (offen(sp)) {
            const int t = sp.tiefeA.load(std::memory_order_relaxed);
            if (t < d) S += 1 + (t < d - 4);
            if (t > d) D += 1 + (t > d + 4);
        }
    }
    if (!ersterFrei) return nullptr;
    // Many busy points at greater depth and few shallow ones: a split here
    // would only thin out the helpers.
    if (S <= 4 && D >= 2 && (D >= 4 || F < 5) && (S <= D || F < 10)) return nullptr;
    nehmen(*ersterFrei);
    return ersterFrei;
}

SplitPoint* SplitPointPool::bestenFinden()
{
    SplitPoint* bester = nullptr;
    long besterWert = 0;
    for (SplitPoint& sp : punkte) {
        if (!offen(sp)) continue;
        const int w = sp.arbeiter.load(std::memory_order_relaxed);
        const int rest = sp.restA.load(std::memory_order_relaxed);
        if (rest <= 0) continue;
        const long wert = long(W_FAKTOR[std::min(w, 16)]) * M_FAKTOR[std::clamp(rest - w, 0, 14)] *
                          sp.prioritaet.load(std::memory_order_relaxed);
        if (wert > besterWert) {
            besterWert = wert;
            bester = &sp;
        }
    }
    return bester;
}

void SplitPointPool::alleWecken()
{
    for (Suche_t*& h : untaetig) {
        if (!h) continue;
        h->wecken_.freigeben();
        h = nullptr;
    }
    untaetigAnzahl = 0;
}

void SplitPointPool::schlafenLegen(Suche_t* h)
{
    for (Suche_t*& platz : untaetig)
        if (!platz) {
            platz = h;
            ++untaetigAnzahl;
            return;
        }
}

void SplitPointPool::entfernen(Suche_t* h)
{
    for (Suche_t*& platz : untaetig)
        if (platz == h) {
            platz = nullptr;
            --untaetigAnzahl;
        }
}

void Suche_t::helferAnpassen(int anzahl)
{
    while (helferAnzahl_ > anzahl) {
        Suche_t* h = helferListe_[--helferAnzahl_];
        helferListe_[helferAnzahl_] = nullptr;
        delete h;
    }
    while (helferAnzahl_ < anzahl) helferListe_[helferAnzahl_++] = new Suche_t(*this);
}

void Suche_t::helferSchleife()
{
    for (;;) {
        SplitPoint* sp = nullptr;
        {
            SperreHalter_t g(pool_->sperre);
            if (terminate.load(std::memory_order_relaxed)) break;
            sp = pool_->bestenFinden();
            if (!sp) pool_->schlafenLegen(this);
        }
        if (!sp) {
            wecken_.warten();
            SperreHalter_t g(pool_->sperre);
            if (terminate.load(std::memory_order_relaxed)) {
                // Woken by the destructor, not by a split: the idle list
                // still names this helper, and must not once it is gone.
                pool_->entfernen(this);
                break;
            }
            sp = pool_->bestenFinden();
        }
        if (sp && beitreten(sp, -1)) splitSchleife(sp, false, nullptr);
    }
}

// Joins a split point: the point's position, the owner's ply records below
// the split ply (the line that led there), and the node's own facts. A
// master that helps while it waits keeps its records up to its own split
// ply (schutz), which are the same anyway, and there only takes the fields
// that belong to the move being searched.
bool Suche_t::beitreten(SplitPoint* sp, int schutz)
{
    SperreHalter_t g(sp->sperre);
    if (sp->arbeiter.load(std::memory_order_relaxed) <= 0 || sp->cutoff.load(std::memory_order_relaxed) ||
        !sp->annehmend.load(std::memory_order_relaxed) || sp->ply->aktuell == sp->ply->ende ||
        sp->arbeiter.load(std::memory_order_relaxed) >= sp->maxArbeiter.load(std::memory_order_relaxed))
        return false;
    int slot = 1;
    while (slot < MAX_TEILNEHMER && sp->teilnehmer[slot]) ++slot;
    if (slot == MAX_TEILNEHMER) return false;
    sp->teilnehmer[slot] = this;
    sp->arbeiter.fetch_add(1, std::memory_order_relaxed);

    st_ = sp->stellung;
    const Ply_t* quelle = sp->meister->stapel_;
    for (int i = std::max(schutz, 0); i < sp->plyIndex; ++i) {
        if (i == schutz) {
            stapel_[i].zug = quelle[i].zug;
            stapel_[i].daten = quelle[i].daten;
            stapel_[i].zd = quelle[i].zd;
        } else {
            std::memcpy(static_cast<void*>(&stapel_[i]), &quelle[i], sizeof(Ply_t));
        }
    }
    Ply_t& q = stapel_[sp->plyIndex];
    q.ply = sp->plyNummer;
    q.statisch = sp->statisch;
    q.drohFeld = sp->drohFeld;
    q.drohung = sp->drohung;
    q.bbGefunden = sp->ply->bbGefunden;
    q.bbWert = sp->ply->bbWert;
    q.killer[0] = sp->ply->killer[0];
    q.killer[1] = sp->ply->killer[1];
    q.zug = 0;
    return true;
}

// Searches moves of the split point until none is left, the point is cut
// off, or (for a master helping elsewhere) its own point has no workers.
void Suche_t::splitSchleife(SplitPoint* sp, bool helfenderMeister, SplitPoint* eigener)
{
    Ply_t* const mp = sp->ply;
    Ply_t* const q = &stapel_[sp->plyIndex];
    const Stellungsdaten_t& d = (q - 1)->daten;
    const Zug vorZug = (q - 1)->zug;
    const bool schach = imSchach(st_, d);
    const int s = st_.amZug;
    const uint64_t knotenStart = knoten_;
    SplitPoint* const vorher = aktuellerSplit_;
    aktuellerSplit_ = sp;
    const int tiefe = sp->tiefe, z = sp->z;

    for (;;) {
        if (helfenderMeister && eigener->arbeiter.load(std::memory_order_relaxed) == 0) break;
        Zug m = 0;
        int alpha, scout, beta;
        // The extension and the reduction are decided under the lock: for
        // the point's owner q is the shared record itself, whose move
        // counters and killers the helpers keep changing under the lock.
        int e, r;
        {
            SperreHalter_t g(sp->sperre);
            if (sp->cutoff.load(std::memory_order_relaxed)) break;
            const ZugwahlKontext_t k{&st_, &d, &historie_[s], vorZug};
            while ((m = naechsterZug(mp, k)) != 0)
                if (zugMachenSuche(st_, m, q->daten, d, q->zd)) break;
            sp->restA.store(int(mp->ende - mp->aktuell), std::memory_order_relaxed);
            if (!m) {
                sp->annehmend.store(false, std::memory_order_relaxed);
                break;
            }
            alpha = sp->alpha;
            scout = sp->nullFenster;
            beta = sp->beta;
            ++mp->gesucht;
            if (q->zd.geschlagen) ++mp->schlaege;
            q->gesucht = mp->gesucht;
            q->schlaege = mp->schlaege;
            q->killer[0] = mp->killer[0];
            q->killer[1] = mp->killer[1];
            q->zug = m;
            e = erweiterung(q, m, schach, tiefe);
            r = reduktion(q, m, e, tiefe, z, alpha, scout, false);
        }
        ++knoten_;

        if (r == BESCHNEIDEN) {
            zugZuruecknehmen(q->zd);
            continue;
        }
        const int w = zugDurchsuchen(q, alpha, beta, scout, tiefe, e, r, z);
        zugZuruecknehmen(q->zd);
        if (stoppenAngefragt() || abgebrochen()) break;

        if (w > alpha) {
            SperreHalter_t g(sp->sperre);
            if (!sp->cutoff.load(std::memory_order_relaxed) && w > sp->best) {
                sp->best = w;
                mp->besterZug = m;
                if (w > sp->alpha) {
                    sp->alpha = w;
                    mp->grenze = TT_EXAKT;
                    if (w >= sp->beta) {
                        sp->cutoff.store(true, std::memory_order_relaxed);
                        sp->annehmend.store(false, std::memory_order_relaxed);
                        mp->grenze = TT_UNTERGRENZE;
                        killerEintragen(mp, m, vorZug);
                    }
                }
                sp->nullFenster = sp->alpha + 1;
            }
        }
    }

    SperreHalter_t g(sp->sperre);
    if (sp->meister != this) sp->knoten += knoten_ - knotenStart;
    sp->selTiefe = std::max(sp->selTiefe, selTiefe_);
    for (Suche_t*& t : sp->teilnehmer)
        if (t == this) {
            t = nullptr;
            break;
        }
    if (sp->arbeiter.fetch_sub(1, std::memory_order_acq_rel) == 1) sp->fertig.freigeben();
    aktuellerSplit_ = vorher;
}

// Offers node p to the helpers. True when the node was searched in parallel
// (its results are in alpha, best and the ply record).
bool Suche_t::splitAnbieten(Ply_t* p, int& alpha, int beta, int& best, int tiefe, int z, int knotenTyp)
{
    if ((helferAnzahl_ == 0 && !helfer_) || stoppenAngefragt() || abgebrochen()) return false;
    SplitPoint* sp;
    {
        SperreHalter_t g(pool_->sperre);
        sp = pool_->waehlen(tiefe);
    }
    if (!sp) return false;

    const int index = int(p - stapel_);
    {
        SperreHalter_t g(sp->sperre);
        sp->fertig.warten();
        sp->arbeiter.store(1, std::memory_order_relaxed);
        sp->cutoff.store(false, std::memory_order_relaxed);
        sp->stellung = st_;
        sp->ply = p;
        sp->plyIndex = index;
        sp->meister = this;
        sp->eltern = aktuellerSplit_;
        sp->alpha = alpha;
        sp->beta = beta;
        sp->best = best;
        sp->nullFenster = alpha + 1;
        sp->tiefe = tiefe;
        sp->tiefeA.store(tiefe, std::memory_order_relaxed);
        sp->knotenTyp = knotenTyp;
        sp->z = z;
        sp->statisch = p->statisch;
        sp->drohFeld = p->drohFeld;
        sp->drohung = p->drohung;
        sp->plyNummer = p->ply;
        int faktor = knotenTyp == 0 ? 8 : (knotenTyp & 1) ? 2 : 14;
        if (!sp->eltern) faktor = faktor * 5 / 2;
        else if (!sp->eltern->eltern) faktor = faktor * 3 / 2;
        sp->prioritaet.store(faktor, std::memory_order_relaxed);
        sp->maxArbeiter.store(tiefe <= 8 ? 24 : tiefe <= 12 ? 4 : 3, std::memory_order_relaxed);
        sp->knoten = 0;
        sp->selTiefe = 0;
        for (Suche_t*& t : sp->teilnehmer) t = nullptr;
        sp->teilnehmer[0] = this;
        sp->restA.store(int(p->ende - p->aktuell), std::memory_order_relaxed);
        sp->annehmend.store(true, std::memory_order_release);
    }
    {
        SperreHalter_t g(pool_->sperre);
        pool_->alleWecken();
    }

    SplitPoint* const vorher = aktuellerSplit_;
    splitSchleife(sp, false, nullptr);
    aktuellerSplit_ = sp;

    // While helpers still work here, help them below this point.
    while (sp->arbeiter.load(std::memory_order_acquire) >= 1 && !stoppenAngefragt()) {
        SplitPoint* x = nullptr;
        {
            SperreHalter_t g(pool_->sperre);
            long besterWert = -1;
            for (SplitPoint& k : pool_->punkte) {
                if (&k == sp || !offen(k) || k.restA.load(std::memory_order_relaxed) <= 0) continue;
                bool nachfahre = false;
                for (SplitPoint* a = k.eltern; a; a = a->eltern)
                    if (a == sp) nachfahre = true;
                if (!nachfahre) continue;
                if (k.eltern == sp) {
                    x = &k;
                    break;
                }
                const long w = k.arbeiter.load(std::memory_order_relaxed) + 3 + (k.restA.load(std::memory_order_relaxed) <= 3);
                const long wert = 1000000 - std::min(w * k.tiefeA.load(std::memory_order_relaxed), 999999L);
                if (wert > besterWert) {
                    besterWert = wert;
                    x = &k;
                }
            }
        }
        if (x && beitreten(x, index)) {
            const uint64_t k0 = knoten_;
            splitSchleife(x, true, sp);
            knoten_ = k0; // counted by x's owner
            st_ = sp->stellung;
            aktuellerSplit_ = sp;
        } else if (sp->fertig.wartenMs(1)) {
            sp->fertig.freigeben();
        }
    }
    if (stoppenAngefragt()) {
        sp->cutoff.store(true, std::memory_order_relaxed);
        sp->annehmend.store(false, std::memory_order_relaxed);
    }
    sp->fertig.warten();
    sp->fertig.freigeben();

    {
        SperreHalter_t g(sp->sperre);
        knoten_ += sp->knoten;
        best = sp->best;
        alpha = sp->alpha;
        selTiefe_ = std::max(selTiefe_, sp->selTiefe);
    }
    aktuellerSplit_ = vorher;
    sp->frei.store(true, std::memory_order_release);
    return true;
}
