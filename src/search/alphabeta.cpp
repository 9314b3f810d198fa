#include <algorithm>

#include "bitbase/cache.h"
#include "bitbase/material.h"
#include "chess/attacks.h"
#include "chess/spiel.h"
#include "chess/zuggen.h"
#include "chess/zugmachen.h"
#include "eval/bewertungstabellen.h"
#include "eval/statisch.h"
#include "search/parallel.h"
#include "search/suche.h"
#include "shell/suchgrenzen.h"
#include "search/zugwahl.h"

namespace {

constexpr int UNENDLICH = MATT_WERT + 1;
constexpr int EINFACHER_WERT[7] = {0, 1, 3, 3, 5, 10, 99};
constexpr int MIN_SPLIT_TIEFE = 6; // half plies

// After discounting pinned pieces, does the side keep a piece other than
// king and pawns (a single knight does not count)?
inline bool nullzugMaterial(const Stellung_t& st, const Stellungsdaten_t& d)
{
    const int s = st.amZug;
    const Seite_t& ss = st.seite[s];
    Bitboard figuren = ss.bb[0] & ~ss.bb[BAUER] & ~ss.bb[KOENIG] & ~d.angriffe[s].gefesselt;
    if (!figuren) return false;
    return mehrAlsEins(figuren) || !(figuren & ss.bb[SPRINGER]);
}

// Did every move from the root down to node p leave the fifty-move count
// running (no capture, no pawn move)? The record p - j holds the move made
// j plies above p; the root's record is p - ply.
inline bool zaehlerLaeuftSeitWurzel(const Ply_t* p)
{
    for (int j = 1; j <= p->ply; ++j) {
        const Ply_t* q = p - j;
        if (!istZug(q->zug)) continue; // a null move
        const int art = zugArt(q->zug);
        if (q->zd.geschlagen || art == BAUER || art == ART_EP || istPromotion(q->zug)) return false;
    }
    return true;
}

} // namespace

bool Suche_t::abgebrochen() const
{
    for (const SplitPoint* sp = aktuellerSplit_; sp; sp = sp->eltern)
        if (sp->cutoff.load(std::memory_order_relaxed)) return true;
    return false;
}

// Extension in half plies of the move just made at node p (schach: the side
// that made it was in check).
int Suche_t::erweiterung(const Ply_t* p, Zug z, bool schach, int tiefe) const
{
    const Stellung_t& st = st_;
    const int ich = st.amZug ^ 1; // the side that made the move
    const int nach = zugNach(z);
    const Stellungsdaten_t& nd = p->daten;
    const Bitboard ziel = bit(nach);
    const bool geschlagen = p->zd.geschlagen != 0;
    // A safe square: the opponent does not attack it, or we defend it, and
    // the piece that moved there is not under threat.
    const bool sicher = (!(nd.angriffe[ich].angegriffen & ziel) || (nd.angriffe[ich ^ 1].angegriffen & ziel)) &&
                        !(nd.angriffe[ich].bedroht & ziel);
    int e = 0;
    if (schach && (zugArt(z) == KOENIG || geschlagen || sicher)) e += 1;
    if (imSchach(st, nd) && (geschlagen || sicher)) e += 1;
    const Ply_t* eltern = p - 1;
    if (p->zd.geschlagen == DAME && eltern->zd.geschlagen == DAME && istZug(eltern->zug)) e += 1;
    // Trading down into a pawn ending deserves a closer look.
    if (geschlagen && p->zd.geschlagen != BAUER && istZug(eltern->zug) && eltern->zd.geschlagen &&
        nurKoenigeUndBauern(st))
        e += (tiefe + 4) / 4;
    return e;
}

// Does the move just made at p take away the square the null move's
// refutation went to?
bool Suche_t::entschaerftDrohung(const Ply_t* p) const
{
    const Bitboard t = p->drohFeld;
    if (!t) return false;
    const int ich = st_.amZug ^ 1;
    const Angriffe_t& vor = (p - 1)->daten.angriffe[ich];
    const Angriffe_t& nach = p->daten.angriffe[ich];
    auto weg = [&](Bitboard a, Bitboard b) { return (a & t) && !(b & t); };
    return weg(vor.angegriffen, nach.angegriffen) || weg(vor.doppelt, nach.doppelt) || weg(vor.bauern, nach.bauern) ||
           weg(vor.bedroht, nach.bedroht);
}

// Reduction in half plies for the quiet move just made at p, or BESCHNEIDEN
// when it is not worth searching at all.
int Suche_t::reduktion(const Ply_t* p, Zug m, int e, int tiefe, int z, int alpha, int scout, bool nochKeinZug) const
{
    if (e != 0 || !ruhigerZug(p, m, st_.amZug ^ 1)) return 0;
    // Futility: far below alpha near the horizon, a quiet move will not help.
    if (tiefe < 4 && alpha >= -(MATT_SCHWELLE - 1) && scout < MATT_SCHWELLE && !(p->statisch == 0 && nochKeinZug) &&
        ((tiefe < 2 && p->statisch + 1000 < alpha) || p->statisch + 5000 < alpha))
        return BESCHNEIDEN;
    // Late moves are searched less deeply, unless they answer the threat the
    // null move revealed.
    if (p->gesucht < 2 || m == (p->killer[0] & 0xFFFF) || m == (p->killer[1] & 0xFFFF) || entschaerftDrohung(p))
        return 0;
    const int c = (z & 1) + (z >= 5) + p->gesucht + p->schlaege + (p->schlaege >= 3 ? 3 : 0);
    if (c < 6) return 2;
    int r = std::max(((tiefe + 6) / 8) * 2, 2);
    if (c > 12) r = std::max(tiefe * 5 / 16, r);
    return r;
}

// Searches the move just made at p: with the scout window (and the
// reduction) first, again with the full window when it may be better.
int Suche_t::zugDurchsuchen(Ply_t* p, int alpha, int beta, int scout, int tiefe, int e, int r, int z)
{
    int w = -suchen(-scout, -alpha, p + 1, tiefe - 2 + e - r, alpha + 1 < scout ? 0 : z + 1);
    if (w >= scout && (r > 0 || w < beta) && !stoppenAngefragt() && !abgebrochen())
        w = -suchen(-beta, -alpha, p + 1, tiefe - 2 + e, alpha + 1 < beta ? 0 : z + 1);
    return w;
}

// Asks the bitbases about the node p. True when the answer settles the
// node (its score in wert): the move that led here changed the theoretical
// result the parent found (it is refuted), or the known result lies outside
// the window. Zero-window nodes probe less: only from depth 20, and below
// depth 26 only from the cache and only after a capture or under a parent
// that found a result.
bool Suche_t::bitbaseFragen(Ply_t* p, int alpha, int beta, int tiefe, int z, int& wert)
{
    const Ply_t* const eltern = p - 1;
    const Stellung_t& st = st_;
    bool nurCache = false;
    if (z > 0 && tiefe < 26) {
        if (!eltern->bbGefunden && !(istZug(eltern->zug) && eltern->zd.geschlagen)) return false;
        nurCache = true;
    }
    if (st.rochade || popcount(eltern->daten.belegt) > BB_MAX_FIGUREN) return false;
    BbSeite_t seiten[2];
    for (int s = 0; s < 2; ++s) {
        const Seite_t& ss = st.seite[s];
        BbSeite_t& b = seiten[s];
        b.typ[0] = KOENIG;
        b.feld[0] = ss.koenig;
        b.anzahl = 1;
        for (int t = BAUER; t <= DAME; ++t)
            for (int i = 0; i < ss.anzahl[t]; ++i) {
                b.typ[b.anzahl] = uint8_t(t);
                b.feld[b.anzahl++] = ss.liste[t - 1][i];
            }
    }
    int ergebnis;
    if (!bitbaseProbe(*bb_, seiten[0], seiten[1], st.amZug, st.ep, nurCache, ergebnis)) return false;
    p->bbGefunden = 1;
    p->bbWert = ergebnis;
    if (eltern->bbGefunden && eltern->bbWert != ergebnis) {
        wert = beta;
        return true;
    }
    const int s = st.amZug == WEISS ? ergebnis : -ergebnis;
    if ((s < 0 && s < alpha) || (s == 0 && (alpha > 0 || beta < 0)) || (s > 0 && s > beta)) {
        wert = s;
        return true;
    }
    return false;
}

int Suche_t::suchen(int alpha, int beta, Ply_t* p, int tiefe, int z)
{
    Ply_t* const eltern = p - 1;
    Stellung_t& st = st_;
    const Stellungsdaten_t& d = eltern->daten;
    const Zug vorZug = eltern->zug;

    // 1. Ply.
    p->ply = eltern->ply + 1;
    if (p->ply >= MAX_PLY) return 0;
    p->besterZug = 0;

    // 2. Draws by repetition inside the search line, by the game before the
    // root, or by insufficient material.
    if (istZug(vorZug)) {
        const int art = zugArt(vorZug);
        const bool umkehrbar = !eltern->zd.geschlagen && art != BAUER && art != ART_EP && !istPromotion(vorZug);
        if (umkehrbar && p->ply >= 5) {
            for (int j = 4; j <= p->ply; j += 2)
                if ((p - j - 1)->daten.schluessel == d.schluessel) return 0;
        }
        if (remisTest(st, d.schluessel, false) != REMIS_KEINS) return 0;
        // Fifty moves without capture or pawn move: the game's count at the
        // root plus this line's plies, when none of them reset it. A mate
        // given with the hundredth half move still counts as a mate.
        if (umkehrbar && int(st.historieLaenge) - 1 + p->ply >= 100 && zaehlerLaeuftSeitWurzel(p) &&
            !(imSchach(st, d) && partieEnde(st, d)))
            return 0;
    }

    // 3. Horizon.
    if (tiefe < 0) return ruhesuche(alpha, beta, p, -1);

    // 4. Transposition table.
    Zug hashZug = 0;
    p->drohung = 0;
    p->drohFeld = 0;
    if (tt_->lesen(d.schluessel, p->ply, p->tt)) {
        const TTDaten_t& e = p->tt;
        if (e.tiefe >= tiefe && alpha + 1 == beta) {
            if (e.grenze == TT_EXAKT || (e.grenze == TT_OBERGRENZE && e.wert <= alpha) ||
                (e.grenze != TT_OBERGRENZE && e.wert >= beta)) {
                p->besterZug = e.zug;
                return e.wert;
            }
        }
        hashZug = e.zug;
        p->drohung = e.drohung ? 1 : 0;
    }

    // 5. Aborted split point, time and node budget.
    if (abgebrochen()) return 0;
    if (besterWurzelZug_ && !helfer_) {
        if (knoten_ >= uint64_t(grenzen->harteKnoten) ||
            (--uhrZaehler_ <= 0 && (uhrZaehler_ = 256, grenzen->jetztStoppen(int64_t(knoten_))))) {
            stopSetzen();
            return 0;
        }
    }

    // 6., 7.
    const bool schach = imSchach(st, d);
    bool nullErlaubt = tiefe >= 2 && !schach && !p->drohung;

    // 8. Endgame bitbases, when loaded, for nodes deep enough to be worth
    // the probe.
    p->bbGefunden = 0;
    if (bb_->aktiv() && tiefe >= (z == 0 ? 12 : 20)) {
        int w;
        if (bitbaseFragen(p, alpha, beta, tiefe, z, w)) return w;
        if (p->bbGefunden && eltern->bbGefunden) nullErlaubt = false;
    }

    // 9. Static evaluation.
    p->statisch = statischeBewertung(st, d, material_, bauern_);

    // 10. Null move: give the opponent a free move; if we still fail high,
    // this node is not worth a full search. Two null moves in a row are
    // allowed (they verify zugzwang-prone positions), three are not.
    if (nullErlaubt &&
        ((istZug(vorZug) && p->statisch > beta && nullzugMaterial(st, d)) ||
         (!istZug(vorZug) && istZug((p - 2)->zug)))) {
        const int r = 2 * (4 + (tiefe >= 20) + (tiefe >= 36));
        const uint8_t altesEp = st.ep;
        p->zug = 0;
        nullzugMachen(st, p->daten, d);
        int w = -suchen(-beta, -alpha, p + 1, tiefe - r, z + 1);
        nullzugZuruecknehmen(st, altesEp);
        if (stoppenAngefragt() || abgebrochen()) return 0;
        if (w >= beta && z > 0) return w;
        if (w < -MATT_SCHWELLE && alpha >= -(MATT_SCHWELLE - 1)) p->drohung = 1;
        const Zug widerlegung = (p + 1)->besterZug;
        p->drohFeld = istZug(widerlegung) ? bit(zugNach(widerlegung)) : 0;
    }

    // 11. Moves.
    Zug* ende = alleZuege(st, d, p->liste);
    zugwahlStarten(p, ende, hashZug);
    p->gesucht = 0;
    p->schlaege = 0;

    // 12. First-move selection.
    if (tiefe < 10) {
        if (!hashZug && !schach) {
            // A queen contact mate: the queen lands next to the enemy king,
            // covered, on a square the king cannot take back, and leaves it
            // no flight square.
            const int s = st.amZug, g = s ^ 1;
            const Bitboard zone = AT.koenig[st.seite[g].koenig];
            for (Zug* q = p->liste; q != ende; ++q) {
                const Zug m = *q;
                if (zugArt(m) != DAME) continue;
                const Bitboard ziel = bit(zugNach(m));
                if (!(zone & ziel) || !(d.angriffe[g].doppelt & ziel) || (d.angriffe[s].doppelt & ziel)) continue;
                Stellungsdaten_t nd;
                Zugdaten_t zd;
                if (!zugMachenSuche(st, m, nd, d, zd)) continue;
                const int ek = st.seite[g].koenig;
                const Bitboard flucht = AT.koenig[ek] & ~nd.angriffe[g].angegriffen & ~st.seite[g].bb[0];
                const bool matt = !flucht && !(nd.angriffe[s].doppelt & ziel);
                zugZuruecknehmen(zd);
                if (matt) {
                    p->hashZug = m;
                    break;
                }
            }
        }
    } else {
        // Deep nodes ask the table about every child.
        int besterWert = -UNENDLICH;
        Zug* gewaehlt = nullptr;
        for (Zug* q = p->liste; q != ende; ++q) {
            Stellungsdaten_t nd;
            Zugdaten_t zd;
            if (!zugMachenSuche(st, *q, nd, d, zd)) continue;
            int wert = 0;
            bool kandidat = false, sofort = false;
            int ergebnis = 0;
            TTDaten_t kind;
            if (partieEnde(st, nd, &ergebnis)) {
                if (ergebnis != 0) sofort = true;
                else wert = 0, kandidat = true;
            } else if (p->ply >= 3 && (p - 4)->daten.schluessel == nd.schluessel) {
                wert = 0;
                kandidat = true;
            } else if (tt_->lesen(nd.schluessel, p->ply + 1, kind) && kind.grenze != TT_UNTERGRENZE &&
                       (kind.tiefe >= tiefe - 2 || std::abs(kind.wert) >= MATT_SCHWELLE)) {
                wert = -kind.wert;
                kandidat = true;
            }
            zugZuruecknehmen(zd);
            if (sofort) {
                gewaehlt = q;
                break;
            }
            if (kandidat && wert >= beta && wert > besterWert) {
                besterWert = wert;
                gewaehlt = q;
            }
        }
        if (gewaehlt) {
            std::swap(*gewaehlt, *p->liste);
            p->phase = WAHL_ERSTER;
        }
    }

    // 13. Move loop.
    const int s = st.amZug;
    const ZugwahlKontext_t kontext{&st, &d, &historie_[s], vorZug};
    int best = -UNENDLICH;
    int scout = beta;
    int grenze = TT_OBERGRENZE;
    int durchsucht = 0;
    bool beschnitten = false;
    bool teilbar = false;
    uint64_t knotenErster = 0;
    Zug m;
    while ((m = naechsterZug(p, kontext)) != 0) {
        if (stoppenAngefragt() || abgebrochen()) break;
        p->zug = m;
        const uint64_t knotenVorher = knoten_;
        if (!zugMachenSuche(st, m, p->daten, d, p->zd)) continue;
        ++knoten_;
        ++p->gesucht;
        if (p->zd.geschlagen) ++p->schlaege;

        const int e = erweiterung(p, m, schach, tiefe);
        const int r = reduktion(p, m, e, tiefe, z, alpha, scout, durchsucht == 0);
        if (r == BESCHNEIDEN) {
            zugZuruecknehmen(p->zd);
            beschnitten = true;
            continue;
        }
        const int w = zugDurchsuchen(p, alpha, beta, scout, tiefe, e, r, z);
        zugZuruecknehmen(p->zd);
        if (stoppenAngefragt() || abgebrochen()) break;
        ++durchsucht;

        if (w > best) {
            best = w;
            p->besterZug = m;
            if (w > alpha) {
                alpha = w;
                if (alpha >= beta) {
                    grenze = TT_UNTERGRENZE;
                    break;
                }
                grenze = TT_EXAKT;
                if (tiefe >= 2) scout = alpha + 1;
            }
        }

        // Parallel search: a node whose first move was cheap never splits,
        // and neither does one within three plies of the horizon, where
        // handing moves to another thread costs more than it saves.
        if (durchsucht == 1) {
            knotenErster = knoten_ - knotenVorher;
            teilbar = knotenErster >= 18;
        }
        if (teilbar && tiefe >= MIN_SPLIT_TIEFE && (helferAnzahl_ > 0 || helfer_)) {
            int knotenTyp = alpha + 1 == beta ? 1 : 0;
            p->grenze = grenze;
            if (splitAnbieten(p, alpha, beta, best, tiefe, z, knotenTyp)) {
                grenze = p->grenze;
                durchsucht = std::max(durchsucht, p->gesucht);
                break;
            }
        }
    }

    // 14. Killers and history after a cutoff.
    if (grenze == TT_UNTERGRENZE) {
        const Zug bm = p->besterZug & 0xFFFF;
        killerEintragen(p, bm, vorZug);
        if (p->gesucht > 1) historie_[s].belohnen(bm, uint32_t(tiefe / 2 + 2));
    }

    // 15. No move searched: mate, stalemate, or everything was pruned.
    if (durchsucht == 0 && !stoppenAngefragt() && !abgebrochen()) {
        if (p->gesucht == 0) best = schach ? -MATT_WERT + p->ply : 0;
        else best = beschnitten ? p->statisch : best;
        if (best == -UNENDLICH) best = p->statisch;
    }

    // 16. Store, unless the search was interrupted.
    if (stoppenAngefragt() || abgebrochen()) return best == -UNENDLICH ? 0 : best;
    TTDaten_t eintrag;
    eintrag.wert = best;
    eintrag.tiefe = tiefe;
    eintrag.nullfenster = z;
    eintrag.grenze = grenze;
    eintrag.zug = p->besterZug & 0xFFFF;
    eintrag.drohung = p->drohung ? TT_DROHUNG : 0;
    tt_->schreiben(d.schluessel, p->ply, eintrag);
    return best;
}

int Suche_t::ruhesuche(int alpha, int beta, Ply_t* p, int qtiefe)
{
    Ply_t* const eltern = p - 1;
    Stellung_t& st = st_;
    const Stellungsdaten_t& d = eltern->daten;

    // 1.
    p->ply = eltern->ply + 1;
    if (p->ply >= MAX_PLY) return 0;
    if (p->ply > selTiefe_) selTiefe_ = p->ply;
    p->besterZug = 0;

    // 2. Stand pat.
    const bool schach = imSchach(st, d);
    int standPat;
    if (!schach) {
        if (istZug(eltern->zug) && materialUngenuegend(st)) return 0;
        standPat = statischeBewertung(st, d, material_, bauern_);
    } else {
        if (p->ply >= 4 && (p - 5)->daten.schluessel == d.schluessel) return 0;
        if (materialUngenuegend(st)) return 0;
        standPat = -MATT_WERT + p->ply;
    }
    p->statisch = standPat;

    // 3.
    if (standPat > alpha) {
        if (standPat >= beta) return standPat;
        alpha = standPat;
    }

    // 4. Which enemy pieces are worth capturing: the further the material
    // gain would lift us towards alpha, the more targets qualify. The gain
    // is weighed as the evaluation weighs material: with the built-in
    // weights once in the endgame and twice in the middlegame, blended by
    // the phase. With the bare table value a recapture looked hopeless in
    // narrow windows and was pruned, so that an ordinary exchange passed for
    // winning a piece. Material and weighing are the evaluation's own (from
    // the weights in use), so gains and margins stay on its scale.
    const int s = st.amZug, g = s ^ 1;
    Bitboard maske = 0;
    if (!schach) {
        const Seite_t& gs = st.seite[g];
        const int phase = materialEintrag(material_, st, d.materialSchluessel).phase;
        const int gewicht = 256 + (BW.materialMg * phase + BW.materialEg * (256 - phase)) / 256;
        const int extra = gs.anzahl[BAUER] == 1 ? 500 : 0;
        const int m1 = (qtiefe + 15) * 70 + extra;
        const int m2 = qtiefe * 70 + 690 + extra;
        const int m3 = qtiefe * 70 + 600 + extra;
        const Bitboard schwach = (gs.bb[0] & d.angriffe[g].angegriffen & ~d.angriffe[s].angegriffen) |
                                 d.angriffe[g].bedroht;
        auto gewinn = [&](int typ) {
            int n = gs.anzahl[typ];
            return (BW.material[typ][n] - BW.material[typ][n - 1]) * gewicht / 256 + standPat - alpha;
        };
        if (gs.anzahl[BAUER]) {
            const Bitboard bauern = gs.bb[BAUER];
            // The enemy's advanced pawns first: those a step or two from
            // promotion.
            const Bitboard siebte = rowMask(s == WEISS ? 6 : 1);
            const Bitboard sechste = rowMask(s == WEISS ? 5 : 2);
            const int gp = gewinn(BAUER);
            if (gp + m1 > 0) {
                maske |= bauern & siebte & (gp + m1 > 330 ? ~Bitboard(0) : schwach);
                if (gp + m2 > 0) {
                    maske |= bauern & sechste & (gp + m2 > 330 ? ~Bitboard(0) : schwach);
                    if (gp + m3 > 0) {
                        if (st.ep) maske |= bit(st.ep);
                        maske |= bauern & (gp + m3 > 330 ? ~Bitboard(0) : schwach);
                    }
                }
            }
        }
        for (int typ = SPRINGER; typ <= DAME; ++typ) {
            if (!gs.anzahl[typ]) continue;
            const int gt = gewinn(typ);
            if (gt + m3 > 0) maske |= gs.bb[typ] & (gt + m3 > 330 ? ~Bitboard(0) : schwach);
        }
    }

    // 5. Quiet checks only at the first quiescence ply.
    const int modus = qtiefe == -1 ? (standPat + 520 > alpha ? 2 : 1) : 0;
    Zug* ende = ruheZuege(st, d, maske, modus, p->liste);
    if (ende == p->liste) return standPat;
    zugwahlStarten(p, ende, 0);

    // 6.
    const ZugwahlKontext_t kontext{&st, &d, &historie_[s], eltern->zug};
    int best = standPat;
    Zug m;
    while ((m = naechsterZug(p, kontext, false)) != 0) {
        if (stoppenAngefragt() || abgebrochen()) break;
        p->zug = m;
        if (!zugMachenSuche(st, m, p->daten, d, p->zd)) continue;
        ++knoten_;
        // A capture onto a defended square by a more valuable piece is
        // skipped unless it checks.
        const int t = ziehendeFigur(m);
        if (!schach && p->zd.geschlagen && t != KOENIG) {
            const Bitboard ziel = bit(zugNach(m));
            if ((d.angriffe[s].angegriffen & ziel) && !(d.angriffe[g].doppelt & ziel) &&
                EINFACHER_WERT[t] > EINFACHER_WERT[p->zd.geschlagen] && !imSchach(st, p->daten)) {
                zugZuruecknehmen(p->zd);
                continue;
            }
        }
        const int w = -ruhesuche(-beta, -alpha, p + 1, qtiefe - 1);
        zugZuruecknehmen(p->zd);
        if (stoppenAngefragt()) break;
        if (w > best) {
            best = w;
            p->besterZug = m;
            if (w > alpha) {
                alpha = w;
                if (alpha >= beta) break;
            }
        }
    }
    return best;
}
