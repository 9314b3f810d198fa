#pragma once
// The built-in weight record, made at compile time from the hand-set
// tables, so that the evaluation's tables are ready before any code runs.
#include "eval/eval_tabellen.h"
#include "eval/gewichte.h"
#include "eval/material_werte.h"

namespace gewichteEingebaut {

using namespace evaltab;

// Fills an entry from pairs or from plain values, and the eight rows of a
// square table from its half (files a to d).
struct Fueller_t {
    Gewichte_t& g;

    constexpr void paare(Gewicht_t e, const PackedScore* p, int n)
    {
        int32_t* z = g.von(e);
        for (int i = 0; i < n; ++i) z[2 * i] = p[i].mg(), z[2 * i + 1] = p[i].eg();
    }
    constexpr void paar(Gewicht_t e, PackedScore p) { paare(e, &p, 1); }
    constexpr void werte(Gewicht_t e, const int32_t* v, int n)
    {
        for (int i = 0; i < n; ++i) g.von(e)[i] = v[i];
    }
    constexpr void wert(Gewicht_t e, int32_t v) { *g.von(e) = v; }
    constexpr void halbPaare(Gewicht_t e, const PackedScore (&h)[8][4])
    {
        for (int r = 0; r < 8; ++r) paare(Gewicht_t(e + r), h[r], 4);
    }
    constexpr void halbWerte(Gewicht_t e, const int32_t (&h)[8][4])
    {
        for (int r = 0; r < 8; ++r) werte(Gewicht_t(e + r), h[r], 4);
    }
};

constexpr Gewichte_t eingebautBauen()
{
    Gewichte_t g{};
    Fueller_t f{g};
    f.werte(G_MATERIAL_BAUER, MATERIAL_BAUER, 9);
    f.werte(G_MATERIAL_SPRINGER, MATERIAL_SPRINGER, 11);
    f.werte(G_MATERIAL_LAEUFER, MATERIAL_LAEUFER, 11);
    f.werte(G_MATERIAL_TURM, MATERIAL_TURM, 11);
    f.werte(G_MATERIAL_DAME, MATERIAL_DAME, 10);
    f.werte(G_ABTAUSCH, ABTAUSCH, 2);
    f.werte(G_MATERIAL_ZUSATZ, MATERIAL_ZUSATZ, 2);
    f.paare(G_TURM_GEGEN_SPRINGER, TURM_GEGEN_SPRINGER, 11);
    f.paare(G_TURM_GEGEN_LAEUFER, TURM_GEGEN_LAEUFER, 11);
    f.paare(G_DAME_GEGEN_SPRINGER, DAME_GEGEN_SPRINGER, 11);
    f.paare(G_DAME_GEGEN_LAEUFER, DAME_GEGEN_LAEUFER, 11);
    f.paare(G_TUERME_BEI_DAME, TUERME_BEI_DAME, 11);
    f.paare(G_BAUERN_BEI_DAME, BAUERN_BEI_DAME, 9);
    f.paar(G_LAEUFERPAAR, LAEUFERPAAR);

    f.halbPaare(G_BAUER_FELD, BAUER_HALB);
    f.paar(G_DREIFACH, DREIFACH);
    f.paar(G_ISOLIERT_RAND, ISOLIERT_RAND);
    f.paar(G_ISOLIERT, ISOLIERT);
    f.paar(G_ISOLIERT_DOPPELT, ISOLIERT_DOPPELT);
    f.paar(G_GETRENNT, GETRENNT);
    f.paar(G_DOPPELBAUER, DOPPELBAUER);
    f.paar(G_RUECKSTAENDIG, RUECKSTAENDIG);
    f.paar(G_RUECKSTAENDIG_BLOCK, RUECKSTAENDIG_HINTER_BLOCK);
    f.paar(G_KANDIDAT, KANDIDAT);
    f.paar(G_KANDIDAT_6, KANDIDAT_6);
    f.halbPaare(G_FREIBAUER_FELD, FREIBAUER_HALB);
    f.paare(G_FREIBAUER_VERBUNDEN, VERBUNDENE_FREIBAUERN, 8);

    f.halbPaare(G_SPRINGER_VORPOSTEN, SPRINGER_VORPOSTEN_HALB);
    f.halbPaare(G_LAEUFER_VORPOSTEN, LAEUFER_VORPOSTEN_HALB);
    f.paar(G_TURM_SIEBTE, TURM_AUF_7);
    f.paar(G_TURM_SIEBTE_BAUERN, TURM_AUF_7_BAUERN);
    f.paar(G_TURM_SIEBTE_KOENIG, TURM_AUF_7_KOENIG);
    f.paar(G_TURM_RUECKSTAENDIG, TURM_GEGEN_RUECKSTAENDIG);
    f.paar(G_LAEUFER_ECKE, LAEUFER_ECKE);
    f.paar(G_LAEUFER_BAUERNFARBE, LAEUFER_BAUERNFARBE);
    f.paar(G_NACKTER_KOENIG, NACKTER_KOENIG);
    f.paar(G_FESSELUNG, FESSELUNG);
    // The passed-pawn tables hold i = 1..4 (index 0 is unused).
    f.paare(G_FREIBAUER_GEDECKT, FREIBAUER_GEDECKT + 1, 4);
    f.paare(G_FREIBAUER_BLOCKIERT, FREIBAUER_BLOCKIERT + 1, 4);
    f.paare(G_STOPP_ANGEGRIFFEN, STOPP_ANGEGRIFFEN + 1, 4);
    f.paare(G_STOPP_ANGEGRIFFEN2, STOPP_ANGEGRIFFEN2 + 1, 4);
    f.paare(G_STOPP_GEDECKT, STOPP_GEDECKT + 1, 4);
    f.paare(G_STOPP_GEDECKT2, STOPP_GEDECKT2 + 1, 4);
    f.paare(G_DROHUNG, DROHUNG, 17);

    f.halbPaare(G_SPRINGER_FELD, SPRINGER_HALB);
    f.paare(G_SPRINGER_MOBILITAET, SPRINGER_MOBILITAET, 13);
    f.paare(G_LAEUFER_MOBILITAET, LAEUFER_MOBILITAET, 23);
    f.paare(G_TURM_MOBILITAET, TURM_MOBILITAET, 15);
    f.paare(G_DAME_MOBILITAET, DAME_MOBILITAET, 28);
    f.werte(G_ANGRIFF_ZAEHLER, ANGRIFF_ZAEHLER, 5);

    f.halbWerte(G_KOENIG_SICHERHEIT, KOENIG_SICHERHEIT_HALB);
    f.werte(G_KOENIG_DOPPELT, KOENIG_DOPPELT, 2);
    f.werte(G_KOENIG_DAMENFELD, KOENIG_DAMENFELD, 2);
    f.werte(G_KOENIG_LINIE, KOENIG_LINIE, 2);
    f.wert(G_KOENIG_GEFESSELT, KOENIG_GEFESSELT);
    f.werte(G_KOENIG_SCHILD, SCHILD, 6);
    f.wert(G_KOENIG_ROCHADE, KOENIG_ROCHADE);
    f.wert(G_KOENIG_KRUEMMUNG, KOENIG_KRUEMMUNG);
    f.wert(G_ZENTRUMSBAUER, ZENTRUMSBAUER);
    f.werte(G_UNENTWICKELT, UNENTWICKELT, 2);

    for (int r = 0; r < 8; ++r) f.werte(Gewicht_t(G_KOENIG_ZENTRUM + r), KOENIG_ZENTRUM + 8 * r, 4);
    f.wert(G_KOENIG_RAND, KOENIG_RAND);
    f.werte(G_KOENIG_REICHWEITE, KOENIG_REICHWEITE, 23);
    f.werte(G_KOENIG_BAUERN, KOENIG_BAUERN, 2);
    f.wert(G_KOENIG_EINGESPERRT, KOENIG_EINGESPERRT);
    f.werte(G_KOENIG_STOPP, KOENIG_STOPP, 3);
    f.wert(G_KOENIG_STOPP_FERN, KOENIG_STOPP_FERN);
    f.werte(G_WETTLAUF, WETTLAUF, 4);
    f.wert(G_WETTLAUF_REIHE, WETTLAUF_REIHE);
    f.paar(G_TEMPO, TEMPO);

    f.werte(G_REMIS_UNGLEICHE_LAEUFER, REMIS_UNGLEICHE_LAEUFER, 2);
    f.werte(G_REMIS_STREUUNG, STREUUNG, 3);
    f.wert(G_REMIS_OHNE_BAUERN, REMIS_OHNE_BAUERN);
    return g;
}

} // namespace gewichteEingebaut

inline constexpr Gewichte_t GEWICHTE_EINGEBAUT = gewichteEingebaut::eingebautBauen();
