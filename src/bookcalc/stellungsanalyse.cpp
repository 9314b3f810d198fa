#include "bookcalc/stellungsanalyse.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/spiel.h"
#include "files/ausgabedatei.h"
#include "files/eingabedatei.h"
#include "search/suche.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"
#include "shell/testausgabe.h"
#include "shell/worttext.h"

bool stellungenAnalysieren(const char* eingabe, const char* ausgabe, int64_t knoten, int hashMb)
{
    Eingabestrom_t ein(eingabe);
    if (!ein) {
        std::fprintf(stderr, "Fehler beim Öffnen von %s\n", eingabe);
        return false;
    }
    Ausgabedatei_t aus(ausgabe);
    if (!aus.offen()) {
        std::fprintf(stderr, "Fehler beim Öffnen von %s\n", ausgabe);
        return false;
    }
    Optionen_t optionen(OPTIONEN_NORMAL);
    optionen.setzen(OPT_HASH, hashMb);
    optionen.setzen(OPT_OWNBOOK, 0);
    Suche_t suche;
    std::string zeile;
    while (std::getline(ein, zeile)) {
        double p = 0;
        int gelesen = 0;
        if (std::sscanf(zeile.c_str(), " %lf %n", &p, &gelesen) < 1 || !(p >= 0.001)) continue;
        std::string fen = zeile.substr(std::size_t(gelesen), 98);
        while (!fen.empty() && weiss(fen.back())) fen.pop_back();
        Stellung_t st;
        Stellungsdaten_t d;
        if (!stellungSetzen(st, d, fen.c_str()) || partieEnde(st, d)) continue;
        // A node budget and nothing else: an empty clock would stop the
        // search within a few milliseconds on a busy machine.
        GoParameter_t go;
        go.knoten = std::max<int64_t>(knoten, 1);
        Suchgrenzen_t grenzen;
        grenzen.fuellen(go, false);
        grenzen.iterationsKnoten = grenzen.harteKnoten = go.knoten;
        TestAusgabe_t ergebnis;
        optionen.setzen(OPT_CLEAR_HASH, 1);
        suche.starten(st, optionen, Sucher_t::FLAG_SYNCHRON, grenzen, ergebnis);
        // A position without mating material is a draw whatever the search saw.
        const int wert = materialUngenuegend(st) ? 0 : ergebnis.letzterWert;
        char text[8];
        zugSchreiben(st, ergebnis.besterZug, text);
        std::fprintf(aus.datei(), "%s %d %s\n", text, wert, fen.c_str());
    }
    if (ein.lesefehler()) {
        std::fprintf(stderr, "Fehler beim Lesen von %s\n", eingabe);
        return false;
    }
    if (aus.abschliessen()) return true;
    std::fprintf(stderr, "Fehler beim Schreiben von %s\n", ausgabe);
    return false;
}
