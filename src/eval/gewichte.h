#pragma once
#include <cstdint>
#include <string>

// Every weight of the evaluation as named data: one record of whole
// numbers, described entry by entry. An entry is a (middlegame, endgame)
// pair or a plain value, alone or as a row (a table by count, or one rank
// of a square table written for files a to d, mirrored for e to h). The
// record is what a weights file holds and what the tuner changes; the
// evaluation reads tables derived from it (eval/bewertungstabellen.h).
//
// The built-in record holds the engine's hand-set values. Entries that are
// not weights (phase limits, the king-danger cap, thresholds) stay in the
// code.

enum GewichtArt_t : uint8_t {
    PAAR, // middlegame and endgame value
    WERT, // one plain value
};

struct GewichtEintrag_t {
    const char* name;
    GewichtArt_t art;
    uint8_t anzahl;  // pairs or values in the row
    int32_t minimum; // every value of the entry within these bounds
    int32_t maximum;
};

// The entries in the order of the record (and of a written file).
enum Gewicht_t : int {
    G_MATERIAL_BAUER, G_MATERIAL_SPRINGER, G_MATERIAL_LAEUFER, G_MATERIAL_TURM, G_MATERIAL_DAME, G_ABTAUSCH,
    G_MATERIAL_ZUSATZ,
    G_TURM_GEGEN_SPRINGER, G_TURM_GEGEN_LAEUFER, G_DAME_GEGEN_SPRINGER, G_DAME_GEGEN_LAEUFER, G_TUERME_BEI_DAME,
    G_BAUERN_BEI_DAME, G_LAEUFERPAAR,
    G_BAUER_FELD, // eight rows, rank 8 first
    G_DREIFACH = G_BAUER_FELD + 8, G_ISOLIERT_RAND, G_ISOLIERT, G_ISOLIERT_DOPPELT, G_GETRENNT, G_DOPPELBAUER,
    G_RUECKSTAENDIG, G_RUECKSTAENDIG_BLOCK, G_KANDIDAT, G_KANDIDAT_6,
    G_FREIBAUER_FELD,
    G_FREIBAUER_VERBUNDEN = G_FREIBAUER_FELD + 8,
    G_SPRINGER_VORPOSTEN,
    G_LAEUFER_VORPOSTEN = G_SPRINGER_VORPOSTEN + 8,
    G_TURM_SIEBTE = G_LAEUFER_VORPOSTEN + 8, G_TURM_SIEBTE_BAUERN, G_TURM_SIEBTE_KOENIG, G_TURM_RUECKSTAENDIG,
    G_LAEUFER_ECKE, G_LAEUFER_BAUERNFARBE, G_NACKTER_KOENIG, G_FESSELUNG,
    G_FREIBAUER_GEDECKT, G_FREIBAUER_BLOCKIERT, G_STOPP_ANGEGRIFFEN, G_STOPP_ANGEGRIFFEN2, G_STOPP_GEDECKT,
    G_STOPP_GEDECKT2, G_DROHUNG,
    G_SPRINGER_FELD,
    G_SPRINGER_MOBILITAET = G_SPRINGER_FELD + 8, G_LAEUFER_MOBILITAET, G_TURM_MOBILITAET, G_DAME_MOBILITAET,
    G_ANGRIFF_ZAEHLER,
    G_KOENIG_SICHERHEIT,
    G_KOENIG_DOPPELT = G_KOENIG_SICHERHEIT + 8, G_KOENIG_DAMENFELD, G_KOENIG_LINIE, G_KOENIG_GEFESSELT,
    G_KOENIG_SCHILD, G_KOENIG_ROCHADE, G_KOENIG_KRUEMMUNG, G_ZENTRUMSBAUER, G_UNENTWICKELT,
    G_KOENIG_ZENTRUM,
    G_KOENIG_RAND = G_KOENIG_ZENTRUM + 8, G_KOENIG_REICHWEITE, G_KOENIG_BAUERN, G_KOENIG_EINGESPERRT,
    G_KOENIG_STOPP, G_KOENIG_STOPP_FERN, G_WETTLAUF, G_WETTLAUF_REIHE,
    G_TEMPO,
    G_REMIS_UNGLEICHE_LAEUFER, G_REMIS_STREUUNG, G_REMIS_OHNE_BAUERN,
    G_ANZAHL
};

// Bounds: pairs stay well inside the 16 bits of a packed half; plain
// values stay small enough that no sum or product of the evaluation leaves
// 32 bits, whatever the position.
constexpr int32_t GEWICHT_PAAR_MAX = 10000;
constexpr int32_t GEWICHT_WERT_MAX = 2000;

constexpr GewichtEintrag_t paarEintrag(const char* name, int anzahl = 1) { return {name, PAAR, uint8_t(anzahl), -GEWICHT_PAAR_MAX, GEWICHT_PAAR_MAX}; }
constexpr GewichtEintrag_t wertEintrag(const char* name, int anzahl = 1, int32_t mi = -GEWICHT_WERT_MAX,
                                       int32_t ma = GEWICHT_WERT_MAX)
{
    return {name, WERT, uint8_t(anzahl), mi, ma};
}

inline constexpr GewichtEintrag_t GEWICHT_EINTRAEGE[G_ANZAHL] = {
    // Material of a side by the count of each piece type (cumulative),
    // and the trade-down correction of the balance (pieces, pawns).
    wertEintrag("Material.Bauer", 9, 0, 100000),
    wertEintrag("Material.Springer", 11, 0, 100000),
    wertEintrag("Material.Laeufer", 11, 0, 100000),
    wertEintrag("Material.Turm", 11, 0, 100000),
    wertEintrag("Material.Dame", 10, 0, 100000),
    wertEintrag("Abtausch", 2, 0, 1000),
    // How much more the balance counts in the middlegame and in the endgame
    // half of the blend, in 1/256, besides its count in the whole score.
    wertEintrag("Material.Zusatz", 2, 0, 1024),
    // Imbalance by the count of the pieces named.
    paarEintrag("Turm.gegen.Springer", 11),
    paarEintrag("Turm.gegen.Laeufer", 11),
    paarEintrag("Dame.gegen.Springer", 11),
    paarEintrag("Dame.gegen.Laeufer", 11),
    paarEintrag("Tuerme.bei.Dame", 11),
    paarEintrag("Bauern.bei.Dame", 9),
    paarEintrag("Laeuferpaar"),
    // Pawns.
    paarEintrag("Bauer.Feld.8", 4), paarEintrag("Bauer.Feld.7", 4), paarEintrag("Bauer.Feld.6", 4), paarEintrag("Bauer.Feld.5", 4),
    paarEintrag("Bauer.Feld.4", 4), paarEintrag("Bauer.Feld.3", 4), paarEintrag("Bauer.Feld.2", 4), paarEintrag("Bauer.Feld.1", 4),
    paarEintrag("Bauer.Dreifach"),
    paarEintrag("Bauer.Isoliert.Rand"),
    paarEintrag("Bauer.Isoliert"),
    paarEintrag("Bauer.Isoliert.Doppelt"),
    paarEintrag("Bauer.Getrennt"),
    paarEintrag("Bauer.Doppelt"),
    paarEintrag("Bauer.Rueckstaendig"),
    paarEintrag("Bauer.Rueckstaendig.Block"),
    paarEintrag("Bauer.Kandidat"),
    paarEintrag("Bauer.Kandidat.6"),
    paarEintrag("Freibauer.Feld.8", 4), paarEintrag("Freibauer.Feld.7", 4), paarEintrag("Freibauer.Feld.6", 4),
    paarEintrag("Freibauer.Feld.5", 4), paarEintrag("Freibauer.Feld.4", 4), paarEintrag("Freibauer.Feld.3", 4),
    paarEintrag("Freibauer.Feld.2", 4), paarEintrag("Freibauer.Feld.1", 4),
    paarEintrag("Freibauer.Verbunden", 8),
    // Pieces and pawns.
    paarEintrag("Springer.Vorposten.8", 4), paarEintrag("Springer.Vorposten.7", 4), paarEintrag("Springer.Vorposten.6", 4),
    paarEintrag("Springer.Vorposten.5", 4), paarEintrag("Springer.Vorposten.4", 4), paarEintrag("Springer.Vorposten.3", 4),
    paarEintrag("Springer.Vorposten.2", 4), paarEintrag("Springer.Vorposten.1", 4),
    paarEintrag("Laeufer.Vorposten.8", 4), paarEintrag("Laeufer.Vorposten.7", 4), paarEintrag("Laeufer.Vorposten.6", 4),
    paarEintrag("Laeufer.Vorposten.5", 4), paarEintrag("Laeufer.Vorposten.4", 4), paarEintrag("Laeufer.Vorposten.3", 4),
    paarEintrag("Laeufer.Vorposten.2", 4), paarEintrag("Laeufer.Vorposten.1", 4),
    paarEintrag("Turm.Siebte"),
    paarEintrag("Turm.Siebte.Bauern"),
    paarEintrag("Turm.Siebte.Koenig"),
    paarEintrag("Turm.Rueckstaendig"),
    paarEintrag("Laeufer.Ecke"),
    paarEintrag("Laeufer.Bauernfarbe"),
    paarEintrag("Koenig.Nackt"),
    paarEintrag("Fesselung"),
    // Advanced passed pawns by i = 1 (7th rank) .. 4.
    paarEintrag("Freibauer.Gedeckt", 4),
    paarEintrag("Freibauer.Blockiert", 4),
    paarEintrag("Stopp.Angegriffen", 4),
    paarEintrag("Stopp.Angegriffen2", 4),
    paarEintrag("Stopp.Gedeckt", 4),
    paarEintrag("Stopp.Gedeckt2", 4),
    paarEintrag("Drohung", 17),
    // Mobility.
    paarEintrag("Springer.Feld.8", 4), paarEintrag("Springer.Feld.7", 4), paarEintrag("Springer.Feld.6", 4), paarEintrag("Springer.Feld.5", 4),
    paarEintrag("Springer.Feld.4", 4), paarEintrag("Springer.Feld.3", 4), paarEintrag("Springer.Feld.2", 4), paarEintrag("Springer.Feld.1", 4),
    paarEintrag("Springer.Mobilitaet", 13),
    paarEintrag("Laeufer.Mobilitaet", 23),
    paarEintrag("Turm.Mobilitaet", 15),
    paarEintrag("Dame.Mobilitaet", 28),
    wertEintrag("Angriff.Zaehler", 5, -500, 500),
    // King safety in the middlegame.
    wertEintrag("Koenig.Sicherheit.8", 4), wertEintrag("Koenig.Sicherheit.7", 4), wertEintrag("Koenig.Sicherheit.6", 4),
    wertEintrag("Koenig.Sicherheit.5", 4), wertEintrag("Koenig.Sicherheit.4", 4), wertEintrag("Koenig.Sicherheit.3", 4),
    wertEintrag("Koenig.Sicherheit.2", 4), wertEintrag("Koenig.Sicherheit.1", 4),
    wertEintrag("Koenig.Doppelt", 2),
    wertEintrag("Koenig.Damenfeld", 2),
    wertEintrag("Koenig.Linie", 2),
    wertEintrag("Koenig.Gefesselt"),
    wertEintrag("Koenig.Schild", 6),
    wertEintrag("Koenig.Rochade"),
    wertEintrag("Koenig.Kruemmung", 1, 0, 256),
    wertEintrag("Zentrumsbauer"),
    wertEintrag("Unentwickelt", 2),
    // The king in the endgame.
    wertEintrag("Koenig.Zentrum.8", 4), wertEintrag("Koenig.Zentrum.7", 4), wertEintrag("Koenig.Zentrum.6", 4),
    wertEintrag("Koenig.Zentrum.5", 4), wertEintrag("Koenig.Zentrum.4", 4), wertEintrag("Koenig.Zentrum.3", 4),
    wertEintrag("Koenig.Zentrum.2", 4), wertEintrag("Koenig.Zentrum.1", 4),
    wertEintrag("Koenig.Rand"),
    wertEintrag("Koenig.Reichweite", 23),
    wertEintrag("Koenig.Bauern", 2),
    wertEintrag("Koenig.Eingesperrt"),
    wertEintrag("Koenig.Stopp", 3),
    wertEintrag("Koenig.Stopp.Fern"),
    wertEintrag("Wettlauf", 4),
    wertEintrag("Wettlauf.Reihe"),
    paarEintrag("Tempo"),
    // Drawish endings, factors in 1/256.
    wertEintrag("Remis.Ungleiche.Laeufer", 2, 0, 256),
    wertEintrag("Remis.Streuung", 3, 0, 256),
    wertEintrag("Remis.Ohne.Bauern", 1, 0, 10000),
};

// Whole numbers of one entry.
constexpr int gewichtBreite(const GewichtEintrag_t& e) { return e.art == PAAR ? 2 * e.anzahl : e.anzahl; }

// Where each entry starts in the record; the last element is the record's
// length.
struct GewichtVersatz_t {
    int anfang[G_ANZAHL + 1];
};

constexpr GewichtVersatz_t versatzBerechnen()
{
    GewichtVersatz_t v{};
    int n = 0;
    for (int i = 0; i < G_ANZAHL; ++i) {
        v.anfang[i] = n;
        n += gewichtBreite(GEWICHT_EINTRAEGE[i]);
    }
    v.anfang[G_ANZAHL] = n;
    return v;
}
inline constexpr GewichtVersatz_t GEWICHT_VERSATZ = versatzBerechnen();
constexpr int GEWICHTE_ANZAHL = GEWICHT_VERSATZ.anfang[G_ANZAHL];
constexpr int versatz(Gewicht_t g) { return GEWICHT_VERSATZ.anfang[g]; }

constexpr bool zeilenPassen()
{
    for (const GewichtEintrag_t& e : GEWICHT_EINTRAEGE)
        if (gewichtBreite(e) > 64) return false;
    return true;
}
static_assert(zeilenPassen(), "a row holds at most 64 numbers");

struct Gewichte_t {
    int32_t w[GEWICHTE_ANZAHL];

    constexpr int32_t* von(Gewicht_t g) { return w + versatz(g); }
    constexpr const int32_t* von(Gewicht_t g) const { return w + versatz(g); }
    friend bool operator==(const Gewichte_t&, const Gewichte_t&) = default;
};

// The hand-set weights.
const Gewichte_t& eingebauteGewichte();

// The entry and its line text (name, then the values) for a whole number
// of the record, for messages: "Tempo[1]" names the endgame half of the
// tempo, "Bauer.Feld.6[3]" the fourth number of that row.
Gewicht_t gewichtVon(int index);
std::string gewichtName(int index);

// The record as a text file: a comment header, then one line per entry.
std::string gewichteText(const Gewichte_t& g, const char* kopf);

// What reading a weights text found.
struct GewichteLesen_t {
    bool ok = false;
    std::string fehler;   // when not ok: "line N: ..." or what else is wrong
    int gelesen = 0;      // entries read
    std::string fehlend;  // entries not in the text, separated by ", "
    int fehlendAnzahl = 0;
};

// Reads a weights text into g. g starts from the built-in record; every
// entry the text names replaces its built-in values. A line with an
// unknown or repeated name, a value that is no whole number or lies
// outside its entry's bounds, too few or too many values, an overlong line
// or a text without any entry makes the whole text invalid (g is then
// left as the built-in record).
GewichteLesen_t gewichteLesen(const char* text, std::size_t laenge, Gewichte_t& g);

// Reads a weights file (at most 1 MB); a file that cannot be read is an
// error like a damaged one.
GewichteLesen_t gewichteDateiLesen(const std::string& datei, Gewichte_t& g);
