#pragma once
#include <cstdint>

#include "eval/gewichte.h"
#include "eval/packed_score.h"

// The tables the evaluation reads, derived from a weight record: square
// tables expanded to 64 entries for White (Black reads sq ^ 56), tables by
// count with every index the code may ask for, pairs packed. The element
// types are parameters: the engine uses packed scores and 32-bit numbers;
// the tuner uses numbers that carry their derivative by every weight, and
// runs the very same evaluation code on them.
template <class P, class Z>
struct Bewertungstabellen {
    using Paar = P;
    using Zahl = Z;

    // Material of a side by [piece type][count], the trade-down correction
    // (pieces, pawns), and the balance's further count in the middlegame
    // and the endgame half (1/256).
    Z material[6][11];
    Z abtausch, abtauschBauern, materialMg, materialEg;
    P turmGegenSpringer[11], turmGegenLaeufer[11], dameGegenSpringer[11], dameGegenLaeufer[11];
    P tuermeBeiDame[11], bauernBeiDame[9], laeuferpaar;

    P bauerFeld[64];
    P dreifach, isoliertRand, isoliert, isoliertDoppelt, getrennt, doppelbauer, rueckstaendig, rueckstaendigBlock;
    P kandidat, kandidat6;
    P freibauerFeld[64], freibauerVerbunden[8];

    P springerVorposten[64], laeuferVorposten[64];
    P turmAuf7, turmAuf7Bauern, turmAuf7Koenig, turmGegenRueckstaendig, laeuferEcke, laeuferBauernfarbe;
    P nackterKoenig, fesselung;
    // By i = 8 - rank of the passed pawn (1 on the 7th rank); 0 elsewhere.
    P freibauerGedeckt[8], freibauerBlockiert[8], stoppAngegriffen[8], stoppAngegriffen2[8], stoppGedeckt[8],
        stoppGedeckt2[8];
    P drohung[17];

    P springerFeld[64], springerMobilitaet[13], laeuferMobilitaet[23], turmMobilitaet[15], dameMobilitaet[28];
    Z angriffBauern, angriffSpringer, angriffLaeufer, angriffTurm, angriffDame;

    Z koenigSicherheit[64];
    Z doppelt, doppeltMehr, damenfeld, damenfeldOhneFlucht, linieTurm, linieDame, gefesselt, schild[6];
    Z rochade, kruemmung, zentrumsbauer, unentwickelt, unentwickeltDame;

    Z koenigZentrum[64], koenigRand, koenigReichweite[23];
    Z bauerZwei, bauerEins, eingesperrt, stoppDrei, stoppZwei, stoppEins, stoppFern;
    Z wettlaufFreibauer, wettlaufAusserAmZug, wettlaufAusser, wettlaufLinie, wettlaufReihe;
    P tempo;

    Z ungleicheLaeufer, ungleicheLaeuferTuerme, streuung[3], ohneBauern;
};

// Fills t from a record: paar(i) makes the pair whose middlegame value is
// number i of the record (the endgame value is i + 1), zahl(i) the plain
// value i. Entries the record does not hold are zero.
template <class T, class FP, class FZ>
constexpr void tabellenAbleiten(T& t, FP paar, FZ zahl)
{
    using P = typename T::Paar;
    using Z = typename T::Zahl;
    auto pe = [&](int e, int k = 0) { return paar(versatz(Gewicht_t(e)) + 2 * k); };
    auto ze = [&](int e, int k = 0) { return zahl(versatz(Gewicht_t(e)) + k); };
    auto reihe = [&](P* ziel, int e, int n) {
        for (int k = 0; k < n; ++k) ziel[k] = pe(e, k);
    };
    auto feldPaare = [&](P* ziel, int e) {
        for (int sq = 0; sq < 64; ++sq) ziel[sq] = pe(e + sq / 8, (sq & 7) < 4 ? (sq & 7) : 7 - (sq & 7));
    };
    auto feldZahlen = [&](Z* ziel, int e) {
        for (int sq = 0; sq < 64; ++sq) ziel[sq] = ze(e + sq / 8, (sq & 7) < 4 ? (sq & 7) : 7 - (sq & 7));
    };

    // Counts beyond a table (impossible in a legal position) repeat its last
    // entry.
    constexpr int MATERIAL_ANZAHL[6] = {0, 9, 11, 11, 11, 10};
    for (int typ = 0; typ < 6; ++typ)
        for (int n = 0; n < 11; ++n)
            t.material[typ][n] =
                typ == 0 ? Z{} : ze(G_MATERIAL_BAUER + typ - 1, n < MATERIAL_ANZAHL[typ] ? n : MATERIAL_ANZAHL[typ] - 1);
    t.abtausch = ze(G_ABTAUSCH, 0);
    t.abtauschBauern = ze(G_ABTAUSCH, 1);
    t.materialMg = ze(G_MATERIAL_ZUSATZ, 0);
    t.materialEg = ze(G_MATERIAL_ZUSATZ, 1);
    reihe(t.turmGegenSpringer, G_TURM_GEGEN_SPRINGER, 11);
    reihe(t.turmGegenLaeufer, G_TURM_GEGEN_LAEUFER, 11);
    reihe(t.dameGegenSpringer, G_DAME_GEGEN_SPRINGER, 11);
    reihe(t.dameGegenLaeufer, G_DAME_GEGEN_LAEUFER, 11);
    reihe(t.tuermeBeiDame, G_TUERME_BEI_DAME, 11);
    reihe(t.bauernBeiDame, G_BAUERN_BEI_DAME, 9);
    t.laeuferpaar = pe(G_LAEUFERPAAR);

    feldPaare(t.bauerFeld, G_BAUER_FELD);
    t.dreifach = pe(G_DREIFACH);
    t.isoliertRand = pe(G_ISOLIERT_RAND);
    t.isoliert = pe(G_ISOLIERT);
    t.isoliertDoppelt = pe(G_ISOLIERT_DOPPELT);
    t.getrennt = pe(G_GETRENNT);
    t.doppelbauer = pe(G_DOPPELBAUER);
    t.rueckstaendig = pe(G_RUECKSTAENDIG);
    t.rueckstaendigBlock = pe(G_RUECKSTAENDIG_BLOCK);
    t.kandidat = pe(G_KANDIDAT);
    t.kandidat6 = pe(G_KANDIDAT_6);
    feldPaare(t.freibauerFeld, G_FREIBAUER_FELD);
    reihe(t.freibauerVerbunden, G_FREIBAUER_VERBUNDEN, 8);

    feldPaare(t.springerVorposten, G_SPRINGER_VORPOSTEN);
    feldPaare(t.laeuferVorposten, G_LAEUFER_VORPOSTEN);
    t.turmAuf7 = pe(G_TURM_SIEBTE);
    t.turmAuf7Bauern = pe(G_TURM_SIEBTE_BAUERN);
    t.turmAuf7Koenig = pe(G_TURM_SIEBTE_KOENIG);
    t.turmGegenRueckstaendig = pe(G_TURM_RUECKSTAENDIG);
    t.laeuferEcke = pe(G_LAEUFER_ECKE);
    t.laeuferBauernfarbe = pe(G_LAEUFER_BAUERNFARBE);
    t.nackterKoenig = pe(G_NACKTER_KOENIG);
    t.fesselung = pe(G_FESSELUNG);
    P* freibauer[6] = {t.freibauerGedeckt, t.freibauerBlockiert, t.stoppAngegriffen,
                       t.stoppAngegriffen2, t.stoppGedeckt, t.stoppGedeckt2};
    for (int j = 0; j < 6; ++j) {
        for (int i = 0; i < 8; ++i) freibauer[j][i] = P{};
        reihe(freibauer[j] + 1, G_FREIBAUER_GEDECKT + j, 4);
    }
    reihe(t.drohung, G_DROHUNG, 17);

    feldPaare(t.springerFeld, G_SPRINGER_FELD);
    reihe(t.springerMobilitaet, G_SPRINGER_MOBILITAET, 13);
    reihe(t.laeuferMobilitaet, G_LAEUFER_MOBILITAET, 23);
    reihe(t.turmMobilitaet, G_TURM_MOBILITAET, 15);
    reihe(t.dameMobilitaet, G_DAME_MOBILITAET, 28);
    t.angriffBauern = ze(G_ANGRIFF_ZAEHLER, 0);
    t.angriffSpringer = ze(G_ANGRIFF_ZAEHLER, 1);
    t.angriffLaeufer = ze(G_ANGRIFF_ZAEHLER, 2);
    t.angriffTurm = ze(G_ANGRIFF_ZAEHLER, 3);
    t.angriffDame = ze(G_ANGRIFF_ZAEHLER, 4);

    feldZahlen(t.koenigSicherheit, G_KOENIG_SICHERHEIT);
    t.doppelt = ze(G_KOENIG_DOPPELT, 0);
    t.doppeltMehr = ze(G_KOENIG_DOPPELT, 1);
    t.damenfeld = ze(G_KOENIG_DAMENFELD, 0);
    t.damenfeldOhneFlucht = ze(G_KOENIG_DAMENFELD, 1);
    t.linieTurm = ze(G_KOENIG_LINIE, 0);
    t.linieDame = ze(G_KOENIG_LINIE, 1);
    t.gefesselt = ze(G_KOENIG_GEFESSELT);
    for (int i = 0; i < 6; ++i) t.schild[i] = ze(G_KOENIG_SCHILD, i);
    t.rochade = ze(G_KOENIG_ROCHADE);
    t.kruemmung = ze(G_KOENIG_KRUEMMUNG);
    t.zentrumsbauer = ze(G_ZENTRUMSBAUER);
    t.unentwickelt = ze(G_UNENTWICKELT, 0);
    t.unentwickeltDame = ze(G_UNENTWICKELT, 1);

    feldZahlen(t.koenigZentrum, G_KOENIG_ZENTRUM);
    t.koenigRand = ze(G_KOENIG_RAND);
    for (int i = 0; i < 23; ++i) t.koenigReichweite[i] = ze(G_KOENIG_REICHWEITE, i);
    t.bauerZwei = ze(G_KOENIG_BAUERN, 0);
    t.bauerEins = ze(G_KOENIG_BAUERN, 1);
    t.eingesperrt = ze(G_KOENIG_EINGESPERRT);
    t.stoppDrei = ze(G_KOENIG_STOPP, 0);
    t.stoppZwei = ze(G_KOENIG_STOPP, 1);
    t.stoppEins = ze(G_KOENIG_STOPP, 2);
    t.stoppFern = ze(G_KOENIG_STOPP_FERN);
    t.wettlaufFreibauer = ze(G_WETTLAUF, 0);
    t.wettlaufAusserAmZug = ze(G_WETTLAUF, 1);
    t.wettlaufAusser = ze(G_WETTLAUF, 2);
    t.wettlaufLinie = ze(G_WETTLAUF, 3);
    t.wettlaufReihe = ze(G_WETTLAUF_REIHE);
    t.tempo = pe(G_TEMPO);

    t.ungleicheLaeufer = ze(G_REMIS_UNGLEICHE_LAEUFER, 0);
    t.ungleicheLaeuferTuerme = ze(G_REMIS_UNGLEICHE_LAEUFER, 1);
    for (int i = 0; i < 3; ++i) t.streuung[i] = ze(G_REMIS_STREUUNG, i);
    t.ohneBauern = ze(G_REMIS_OHNE_BAUERN);
}

// The engine's tables.
using Bewertungstabellen_t = Bewertungstabellen<PackedScore, int32_t>;

constexpr Bewertungstabellen_t tabellenAus(const Gewichte_t& g)
{
    Bewertungstabellen_t t{};
    tabellenAbleiten(
        t, [&](int i) { return S(g.w[i], g.w[i + 1]); }, [&](int i) { return g.w[i]; });
    return t;
}

// The tables every evaluation reads. They change only between searches
// (gewichteSetzen), never while a search thread runs.
extern Bewertungstabellen_t BW;

// The record behind BW, and a count that grows with every change of it
// (caches built under other weights are stale).
const Gewichte_t& aktuelleGewichte();
uint32_t gewichteStand();

// Makes g the evaluation's weights. Only while no search runs.
void gewichteSetzen(const Gewichte_t& g);
