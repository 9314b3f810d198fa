// The search controller: one "go" from the copied position to the reported
// best move.
#include <algorithm>
#include <cstring>
#include <string>

#include "book/buch.h"
#include "chess/spiel.h"
#include "chess/zuggen.h"
#include "chess/zugmachen.h"
#include "eval/bewertungstabellen.h"
#include "eval/statisch.h"
#include "platform/clock.h"
#include "platform/dateisystem.h"
#include "search/parallel.h"
#include "search/suche.h"
#include "shell/ausgabe.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"

namespace {

constexpr int UNENDLICH = MATT_WERT + 1;

// Exact entries first; among them the higher score; then the deeper search,
// more nodes, and finally the smaller move, so that the order is total.
bool wurzelVor(const WurzelEintrag_t& a, const WurzelEintrag_t& b)
{
    const bool ea = a.grenze == WURZEL_EXAKT, eb = b.grenze == WURZEL_EXAKT;
    if (ea != eb) return ea;
    if (ea && a.wert != b.wert) return a.wert > b.wert;
    if (a.tiefe != b.tiefe) return a.tiefe > b.tiefe;
    if (a.knoten != b.knoten) return a.knoten > b.knoten;
    return a.zug < b.zug;
}

bool istMattWert(int w)
{
    return w > MATT_SCHWELLE || w < -MATT_SCHWELLE;
}

// The weights file last asked for ("" for the built-in weights), whether
// reading it worked or not: a broken file is reported once, not at every
// search. Weights are the program's, shared by every searcher; only a
// search started by the interface changes them.
std::string gewichteDatei;

// Names of left-out entries in a message: the first eight.
std::string fehlendKurz(const std::string& liste)
{
    std::size_t p = 0;
    for (int n = 0; n < 8; ++n) {
        p = liste.find(", ", p);
        if (p == std::string::npos) return liste;
        p += 2;
    }
    return liste.substr(0, p) + "...";
}

} // namespace

int64_t Suche_t::verstrichen() const
{
    return grenzen->verstrichen(int64_t(knoten_));
}

// The two records before the root describe the root position; the root's
// record starts the ply count and the killers of every ply are forgotten.
void Suche_t::wurzelVorbereiten(const Stellung_t& st)
{
    st_ = st;
    for (int i = 0; i < PLY_BASIS; ++i) {
        Ply_t& b = stapel_[i];
        b.zug = 0;
        b.besterZug = 0;
        b.ply = i - PLY_BASIS;
        b.zd.geschlagen = 0;
        b.bbGefunden = 0;
        datenBerechnen(st_, b.daten);
    }
    stapel_[PLY_BASIS].ply = 0;
    stapel_[PLY_BASIS].bbGefunden = 0;
    for (int i = PLY_BASIS; i < PLY_STAPEL; ++i) stapel_[i].killer[0] = stapel_[i].killer[1] = 0;
}

int Suche_t::ruhewert(const Stellung_t& st, int alpha, int beta)
{
    wurzelVorbereiten(st);
    stop.store(false, std::memory_order_relaxed);
    return ruhesuche(alpha, beta, &stapel_[PLY_BASIS], -1);
}

void Suche_t::wurzelSortieren()
{
    std::stable_sort(wurzel_, wurzel_ + wurzelN_, wurzelVor);
}

// The principal variation from the table: the first move, then the stored
// move of every following position as long as it is legal.
int Suche_t::hauptvarianteHolen(Zug erster, Zug* pv, int max, uint64_t* schluessel)
{
    Stellung_t kopie = st_;
    Stellungsdaten_t d[2];
    d[0] = stapel_[PLY_BASIS - 1].daten;
    int n = 0;
    Zug z = erster & 0xFFFF;
    while (n < max && istZug(z)) {
        if (!zugLegal(kopie, d[n & 1], z)) break;
        Zugdaten_t zd;
        zugMachenSuche(kopie, z, d[(n + 1) & 1], d[n & 1], zd);
        if (schluessel) schluessel[n] = d[(n + 1) & 1].schluessel;
        pv[n++] = z;
        TTDaten_t e;
        z = tt_->lesen(d[n & 1].schluessel, n, e) ? e.zug : 0;
    }
    return n;
}

Zug Suche_t::ponderZug(Zug bester)
{
    Zug pv[2];
    return hauptvarianteHolen(bester, pv, 2) == 2 ? pv[1] : 0;
}

// Past a position that was there before, the table's moves only go round
// in circles (the search scored the repetition there and looked no
// further).
int Suche_t::varianteZumZeigen(Zug erster, Zug* pv)
{
    uint64_t schluessel[PV_LAENGE];
    const int n = hauptvarianteHolen(erster, pv, PV_LAENGE, schluessel);
    return varianteBisWiederholung(st_, stapel_[PLY_BASIS - 1].daten.schluessel, schluessel, n);
}

void Suche_t::zeileFesthalten(int wert, int tiefe, int64_t zeit, bool ausTabelle)
{
    Zurueckgehalten_t& z = zurueckLaufend_;
    z.ausTabelle = ausTabelle;
    z.wert = wert;
    z.tiefe = tiefe;
    z.selTiefe = selTiefe_;
    z.zeit = zeit;
    z.knoten = knoten_;
    z.hashPromille = tt_->hashfull();
}

void Suche_t::zeileMelden(const Zurueckgehalten_t& z, bool still)
{
    ausgabe->Hauptvariante(st_, z.pv, z.n, z.wert, -MATT_WERT, MATT_WERT, z.tiefe / 2, z.selTiefe, z.zeit,
                           int64_t(z.knoten), z.hashPromille, still);
}

void Suche_t::hauptvarianteBerichten(Zug bester, int wert, int tiefe, int64_t zeit, bool still)
{
    Zurueckgehalten_t& z = zurueckLaufend_;
    z.n = varianteZumZeigen(bester, z.pv);
    zeileFesthalten(wert, tiefe, zeit, false);
    zeileMelden(z, still);
    // A line printed now supersedes whatever was kept back.
    z.da = still;
    if (!still) {
        zurueckFertig_.da = false;
        letzterWert_ = wert;
        letzterBester_ = bester;
        letzterPonder_ = z.n > 1 ? z.pv[1] : 0;
    }
}

void Suche_t::zurueckgehalteneZeigen()
{
    Zurueckgehalten_t& z = zurueckFertig_;
    // A channel that prints nothing has recorded the line already.
    if (!z.da || ausgabe->IstStumm()) return;
    z.da = false;
    if (z.ausTabelle) z.n = varianteZumZeigen(z.pv[0], z.pv);
    zeileMelden(z, false);
}

void Suche_t::multiPvBerichten(int tiefe)
{
    if (tiefe < 9) return;
    int rang = 0;
    for (int i = 0; i < wurzelN_ && rang < multiPv_; ++i) {
        if (wurzel_[i].grenze != WURZEL_EXAKT) continue;
        Zug pv[PV_LAENGE];
        const int n = varianteZumZeigen(wurzel_[i].zug, pv);
        ausgabe->MultiPv(st_, pv, n, ++rang, wurzel_[i].wert, tiefe / 2);
    }
}

// MultiPV: the window for the remaining moves is the score of the last line
// still shown, or the margin below the best line.
int Suche_t::wurzelAlphaNeu(int tiefe, int besterWert)
{
    int gesucht = 0;
    for (int i = 0; i < wurzelN_; ++i)
        if (wurzel_[i].tiefe == tiefe) ++gesucht;
    int alpha = -UNENDLICH;
    if (gesucht >= multiPv_) alpha = wurzel_[multiPv_ - 1].wert;
    if (multiPvRand_ > 0) alpha = std::max(alpha, besterWert - multiPvRand_);
    return alpha;
}

// MultiPV, after the score of the root move zug changed the ranking: sorts
// the list (reporting the lines when berichten) and returns the index to go
// on with: the first move not yet searched at this depth, or the move after
// zug when that comes earlier.
int Suche_t::multiPvNeuOrdnen(uint32_t zug, int tiefe, bool berichten)
{
    wurzelSortieren();
    if (berichten) multiPvBerichten(tiefe);
    int j = 0;
    while (j < wurzelN_ && wurzel_[j].tiefe == tiefe) ++j;
    int position = 0;
    while (wurzel_[position].zug != zug) ++position;
    return j <= position ? j : position + 1;
}

int Suche_t::wurzelSuche(int tiefe, int vorher)
{
    Stellung_t& st = st_;
    Ply_t* const w = &stapel_[PLY_BASIS];
    const Stellungsdaten_t& d = (w - 1)->daten;

    // 1. A deep enough exact entry for the root answers the iteration.
    TTDaten_t e;
    if (multiPv_ == 1 && tt_->lesen(d.schluessel, 0, e) && e.grenze == TT_EXAKT && e.tiefe >= tiefe) {
        for (int i = 0; i < wurzelN_; ++i) {
            if ((wurzel_[i].zug & 0xFFFF) != e.zug) continue;
            wurzel_[i].grenze = WURZEL_EXAKT;
            wurzel_[i].tiefe = tiefe;
            wurzel_[i].wert = e.wert;
            besterWurzelZug_ = wurzel_[i].zug;
            if (!(e.tiefe >= tiefe + 2 && wurzelN_ > 1)) {
                hauptvarianteBerichten(e.zug, e.wert, tiefe, verstrichen(), false);
            } else {
                // Not reported: the line is read when it is shown.
                zurueckLaufend_.pv[0] = e.zug;
                zurueckLaufend_.n = 1;
                zeileFesthalten(e.wert, tiefe, verstrichen(), true);
                zurueckLaufend_.da = true;
            }
            return e.wert;
        }
    }

    // 2.
    w->statisch = statischeBewertung(st, d, material_, bauern_);
    const bool schach = imSchach(st, d);

    // 3. Aspiration window.
    int alpha = -MATT_WERT, beta = MATT_WERT;
    if (tiefe >= 3 && multiPv_ == 1) {
        alpha = vorher - 500;
        beta = vorher + 500;
    }
    int delta = 500;
    int best = -UNENDLICH;
    const bool flags = analyse || debug;

    // 4. Root moves in list order.
    for (int idx = 0; idx < wurzelN_;) {
        if (stoppenAngefragt()) break;
        WurzelEintrag_t& ein = wurzel_[idx];
        const int k = idx + 1;
        const int64_t zeit = verstrichen();
        if (zeit > 4000 || debug) ausgabe->AktuellerZug(st, ein.zug, k, tt_->hashfull());
        if (ein.tiefe == tiefe && ein.grenze == WURZEL_EXAKT) {
            ++idx;
            continue;
        }
        const Zug m = ein.zug & 0xFFFF;
        w->zug = m;
        if (!zugMachenSuche(st, m, w->daten, d, w->zd)) {
            ++idx;
            continue;
        }
        ++knoten_;
        const uint64_t knotenVorher = knoten_;
        const int ext = erweiterung(w, m, schach, tiefe);
        int r = 0;
        if (k > multiPv_ && ext == 0 && ruhigerZug(w, m, st.amZug ^ 1)) r = 2;
        int wert = -suchen(-beta, -alpha, w + 1, tiefe - 2 + ext - r, alpha + 1 == beta ? 1 : 0);
        if (multiPv_ == 1) {
            while (!stoppenAngefragt()) {
                if (wert <= alpha && best == -UNENDLICH && alpha > -MATT_WERT) {
                    alpha = std::max(wert - delta, -MATT_WERT);
                } else if (wert >= beta && beta < MATT_WERT) {
                    beta = std::min(wert + delta, MATT_WERT);
                } else {
                    break;
                }
                r = 0;
                delta += delta * 192 / 1024;
                wert = -suchen(-beta, -alpha, w + 1, tiefe - 2 + ext, alpha + 1 == beta ? 1 : 0);
            }
        } else if (wert >= beta && !stoppenAngefragt()) {
            wert = -suchen(-MATT_WERT, -alpha, w + 1, tiefe - 2 + ext - r, 0);
        }
        zugZuruecknehmen(w->zd);
        if (stoppenAngefragt()) break;

        const bool warExakt = ein.grenze == WURZEL_EXAKT;
        ein.tiefe = tiefe;
        ein.grenze = 0;
        ein.wert = wert;
        ein.knoten = knoten_ - knotenVorher;
        int naechster = idx + 1;

        if (wert > best) {
            const bool ersterZug = k == 1;
            best = wert;
            besterWurzelZug_ = m;
            ein.grenze = WURZEL_EXAKT;
            const int64_t t = verstrichen();
            bool laut;
            if (tiefe < 3) laut = t >= 1001 || flags || istMattWert(wert);
            else if (ersterZug)
                laut = std::abs(wert - letzterWert_) > 100 || m != (letzterBester_ & 0xFFFF) || t >= 1001 || flags;
            else laut = true;
            hauptvarianteBerichten(m, wert, tiefe, t, !laut);
        }
        if (wert > alpha) {
            ein.grenze = WURZEL_EXAKT;
            if (multiPv_ == 1) {
                alpha = wert;
                beta = alpha + 1;
            } else {
                naechster = multiPvNeuOrdnen(ein.zug, tiefe, true);
                alpha = wurzelAlphaNeu(tiefe, best);
                beta = alpha + 1;
            }
        } else if (multiPv_ > 1 && warExakt) {
            naechster = multiPvNeuOrdnen(ein.zug, tiefe, false);
            alpha = wurzelAlphaNeu(tiefe, best);
            beta = alpha + 1;
        }

        // Out of time: the rest of this iteration is given up.
        if (!ponderAktiv() && naechster < wurzelN_ && verstrichen() >= grenzen->iterationsZeit) {
            for (int i = 0; i < wurzelN_; ++i)
                if (wurzel_[i].zug == (uint32_t)besterWurzelZug_ && wurzel_[i].grenze == WURZEL_EXAKT)
                    wurzel_[i].grenze = WURZEL_UNTERBROCHEN;
            break;
        }
        idx = naechster;
    }
    return best == -UNENDLICH ? -MATT_WERT : best;
}

void Suche_t::iterationAuswerten(int iteration, int wert, Zug vorherBester, Iterationsdaten_t& jetzt,
                                 const Iterationsdaten_t& vorher, double& y)
{
    const Stellungsdaten_t& d = stapel_[PLY_BASIS - 1].daten;
    const Zug bester = wurzel_[0].zug & 0xFFFF;
    const bool gewechselt = iteration >= 2 && bester != (vorherBester & 0xFFFF);
    jetzt.gewechselt[2] = vorher.gewechselt[1];
    jetzt.gewechselt[1] = vorher.gewechselt[0];
    jetzt.gewechselt[0] = gewechselt ? 1 : 0;
    jetzt.imSchach = imSchach(st_, d) ? 1 : 0;
    jetzt.taktisch = zugIstTaktisch(st_, bester) ? 1 : 0;
    jetzt.wurzelZuege = wurzelN_;
    jetzt.bedroht = bedrohteFiguren(st_, d);
    uint64_t gesamt = 0, andere1 = 0, andere2 = 0;
    for (int i = 0; i < wurzelN_; ++i) {
        gesamt += wurzel_[i].knoten;
        if (i == 0) continue;
        if (wurzel_[i].knoten > andere1) {
            andere2 = andere1;
            andere1 = wurzel_[i].knoten;
        } else if (wurzel_[i].knoten > andere2) {
            andere2 = wurzel_[i].knoten;
        }
    }
    jetzt.knotenBester = wurzel_[0].knoten;
    jetzt.knotenAndere1 = andere1;
    jetzt.knotenAndere2 = andere2;
    jetzt.knotenGesamt = gesamt;
    Zug pv[4] = {0, 0, 0, 0};
    hauptvarianteHolen(bester, pv, 4);
    std::memcpy(jetzt.hauptvariante, pv, sizeof(pv));
    jetzt.bewertung = wert;

    std::string zeile;
    bool gebaut = false;
    if (iteration >= 2 && knoten_ > 5000) {
        y = zeitnetz_->iterationBewerten(jetzt, vorher, protokoll_.aktiv() ? &zeile : nullptr);
        gebaut = protokoll_.aktiv();
    } else {
        y = 0.08;
    }
    if (protokoll_.aktiv()) protokoll_.iteration(gewechselt, gebaut ? &zeile : nullptr, y, knoten_);
}

bool Suche_t::buchZugMelden(Optionen_t& opt)
{
    if (helfer_ || analyse || rootMovesGiven || !opt.wahr(OPT_OWNBOOK)) return false;
    char datei[OPTION_TEXT_LAENGE + 4];
    opt.textKopieren(OPT_BOOKFILE, datei, int(sizeof(datei)));
    if (!buch_) buch_ = std::make_unique<Buch_t>();
    Zug zug = 0, ponder = 0;
    if (!buch_->probe(datei, st_, zug, &ponder)) return false;
    // A ponder search answers only after "ponderhit" or "stop".
    while (ponderAktiv()) schlafeMs(20);
    eroeffnung_ = false;
    ausgabe->BesterZug(st_, zug, ponder);
    return true;
}

void Suche_t::gewichteLaden(Optionen_t& opt)
{
    if (opt.anzahl() > OPT_EVALFILE) {
        char text[OPTION_TEXT_LAENGE + 4];
        opt.textKopieren(OPT_EVALFILE, text, int(sizeof(text)));
        std::string name = text;
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\r')) name.pop_back();
        if (name == "<empty>") name.clear(); // how some interfaces send an empty text
        if (name != gewichteDatei) {
            gewichteDatei = name;
            Gewichte_t g = eingebauteGewichte();
            if (!name.empty()) {
                // A relative name is looked for in the working directory,
                // then next to the program.
                const GewichteLesen_t r = gewichteDateiLesen(dateiSuchen(name), g);
                if (!r.ok)
                    ausgabe->Zustand("EvalFile", name + ": " + r.fehler + "; the built-in weights stay");
                else if (r.fehlendAnzahl)
                    ausgabe->Zustand("EvalFile",
                                     name + ": " + std::to_string(r.fehlendAnzahl) +
                                         " entries not in the file keep their built-in values: " + fehlendKurz(r.fehlend));
            }
            gewichteSetzen(g);
        }
    }
    if (gewichteStand_ == gewichteStand()) return;
    gewichteStand_ = gewichteStand();
    tt_->leeren();
    for (int i = -1; i < helferAnzahl_; ++i) {
        Suche_t& s = i < 0 ? *this : *helferListe_[i];
        s.material_.leeren();
        s.bauern_.leeren();
    }
}

void Suche_t::search()
{
    Optionen_t& opt = *optionen;

    // 1. The game position and its data.
    wurzelVorbereiten(*stellung);
    besterWurzelZug_ = 0;
    const Bitboard randReihen = rowMask(0) | rowMask(1) | rowMask(6) | rowMask(7);
    eroeffnung_ = popcount(st_.belegt() & randReihen) >= 31;

    // 2., 3. The table.
    if (opt.wahr(OPT_CLEAR_HASH)) {
        opt.knopfLoesen(OPT_CLEAR_HASH);
        tt_->leeren();
    }
    tt_->groesseSetzen(uint64_t(opt.wert(OPT_HASH)) * 1048576ull);

    // 4.
    multiPv_ = std::max(1, opt.wert(OPT_MULTIPV));
    multiPvRand_ = opt.wert(OPT_MULTIPV_SCORE) * 10;

    // 4b. The evaluation's weights, before anything else may report.
    if (!helfer_) gewichteLaden(opt);

    // 5. The opening book: a move it knows is played without a search. Not
    // in analysis, and not when the interface restricted the root moves
    // (the book knows nothing of the restriction).
    if (buchZugMelden(opt)) return;
    // 6. The bitbase cache: a new size empties it, 0 switches probing off.
    bb_->setSize(uint64_t(opt.wert(OPT_BITBASE_CACHE)) * 1048576ull);
    {
        char pfad[OPTION_TEXT_LAENGE + 4];
        opt.textKopieren(OPT_BITBASE_PATH, pfad, int(sizeof(pfad)));
        bb_->setPath(pfad);
    }

    // 7. Helpers.
    helferAnpassen(std::clamp(opt.wert(OPT_PROZESSOREN), 1, 24) - 1);

    // A new game starts from a clean slate, so that a fixed-node search
    // after "ucinewgame" always follows the same tree. (The helpers sleep
    // until the first split point wakes them.)
    if (neuesSpiel_.exchange(false, std::memory_order_relaxed)) {
        tt_->leeren();
        for (int i = -1; i < helferAnzahl_; ++i) {
            Suche_t& s = i < 0 ? *this : *helferListe_[i];
            s.historie_[0].leeren();
            s.historie_[1].leeren();
        }
    }

    // 8. Root entries.
    wurzelN_ = int(wurzelEnde() - wurzelAnfang());
    for (int i = 0; i < wurzelN_; ++i) wurzel_[i] = {wurzelAnfang()[i] & 0xFFFF, 0, 0, 0, 0};
    wurzelBeschraenkt_ = rootMovesGiven;

    // 9.
    knoten_ = 0;
    selTiefe_ = 0;
    uhrZaehler_ = 256;
    letzterWert_ = 0;
    letzterBester_ = 0;
    letzterPonder_ = 0;
    zurueckLaufend_.da = zurueckFertig_.da = false;
    weiter_ = true;
    tt_->neueSuche();
    {
        char datei[OPTION_TEXT_LAENGE + 4];
        opt.textKopieren(OPT_TIME_LOGFILE, datei, int(sizeof(datei)));
        protokoll_.beginnen(datei);
    }

    // 10. Iterative deepening.
    double y = 0.08;
    int wert = 0;
    Iterationsdaten_t daten[2];
    Zug vorherBester = 0;
    for (int i = 0; i < 100 && wurzelN_ > 0; ++i) {
        if (i > 0) {
            if (wurzelN_ < 2 && !analyse && !wurzelBeschraenkt_) break;
            weiter_ = grenzen->weiterIterieren(int64_t(knoten_), i, y * 100.0);
            if (!weiter_ && !ponderAktiv()) break;
        }
        const int s = wurzel_[0].wert;
        if (s - i + 2 < -MATT_WERT || s + i - 2 > MATT_WERT) break;
        wert = wurzelSuche(2 * i + 1, wert);
        if (stoppenAngefragt()) break;
        if (zurueckLaufend_.da) {
            zurueckFertig_ = zurueckLaufend_;
            zurueckLaufend_.da = false;
        }
        if (i > 0 && (verstrichen() >= 2001 || analyse || debug))
            ausgabe->Fortschritt(i, selTiefe_, verstrichen(), int64_t(knoten_), tt_->hashfull());
        bitbaseMeldungen();
        wurzelSortieren();
        iterationAuswerten(i, wert, vorherBester, daten[i & 1], daten[(i + 1) & 1], y);
        vorherBester = wurzel_[0].zug;
        if (eroeffnung_) y += 0.07;
        y = std::max(y, 0.02);
    }
    if (!protokoll_.beenden()) ausgabe->Zeile(("info string error writing the time log " + protokoll_.datei()).c_str());

    // 11. Report, after the opponent has answered a ponder search.
    eroeffnung_ = false;
    while (ponderAktiv()) schlafeMs(20);
    Zug bester = besterWurzelZug_;
    // A search stopped before any root move was finished still plays a
    // legal move.
    if (!bester && wurzelN_ > 0) bester = wurzel_[0].zug & 0xFFFF;
    bitbaseMeldungen();
    // The client takes the last line it saw for the result of the search.
    zurueckgehalteneZeigen();
    ausgabe->BesterZug(st_, bester, bester ? ponderZug(bester) : 0);
}

void Suche_t::bitbaseMeldungen()
{
    // A damaged bitbase file is named once; the search treats it as missing.
    for (const std::string& m : bb_->meldungenAbholen()) ausgabe->Zeile(("info string " + m).c_str());
}
