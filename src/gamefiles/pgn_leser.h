#pragma once
#include <cstdint>
#include <cstdio>
#include <istream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chess/stellung.h"
#include "chess/zug.h"

class Eingabestrom_t;

// Tag pairs of one game, ordered by name.
using PgnTags_t = std::map<std::string, std::string>;

// Result codes of the filtered read.
constexpr int PGN_WEISS_GEWINNT = 0;
constexpr int PGN_SCHWARZ_GEWINNT = 1;
constexpr int PGN_REMIS = 2;
constexpr int PGN_OFFEN = 3;

// Reads the games of a PGN file one at a time: the tag pairs, and the moves
// of the main line replayed on a board (from the start position or from
// the "FEN" tag; comments, numeric annotation glyphs and side variations,
// however deeply nested, are skipped). Moves are SAN with English or German
// piece letters.
//
// The reader is strict: the first problem ends the read with one line on
// the error stream,
//     info string PGN-Parser: file NAME line L char C: MESSAGE
// (L, C: where reading stood; the first character of a line is char 1,
// except on the first line, where it is char 2). A caller that wants to go
// on after an error calls weiterNachFehler(), which skips to the end of the
// broken game.
//
//     PgnLeser_t pgn;
//     if (!pgn.oeffnen("games.pgn")) return;
//     std::vector<Zug> zuege;
//     PgnTags_t tags;
//     while (pgn.partieLesen(zuege, tags)) { ... pgn.start() ... }
class PgnLeser_t {
public:
    // Token kinds in the order of their codes.
    enum Token { TEXT, ZAHL, PUNKT, STERN, RUND_AUF, RUND_ZU, ECKIG_AUF, ECKIG_ZU, NAG, SYMBOL, ENDE };

    PgnLeser_t();
    ~PgnLeser_t();
    PgnLeser_t(const PgnLeser_t&) = delete;
    PgnLeser_t& operator=(const PgnLeser_t&) = delete;

    // Opens a file; false after reporting "Cannot open file".
    bool oeffnen(const std::string& datei);
    // Reads from a stream instead (tests, fuzzing); name is for messages.
    void oeffnen(std::unique_ptr<std::istream> ein, const std::string& name);

    // Where error lines go (standard error unless changed; null: nowhere).
    void fehlerZiel(std::FILE* ziel) { fehlerZiel_ = ziel; }

    // The next game. False at the end of the file (no message) or on an
    // error (one message); both outputs are cleared first.
    bool partieLesen(std::vector<Zug>& zuege, PgnTags_t& tags);

    // The next game whose ratings are both at least -1, with its ratings
    // ("WhiteElo", "BlackElo"; 0 when absent), its "FEN" tag (empty when
    // absent) and its result code. Every output but the moves is optional.
    bool gefiltertLesen(std::vector<Zug>& zuege, PgnTags_t* tags, int* ergebnis, std::string* fen,
                        int* eloWeiss, int* eloSchwarz);

    // After a false read that reported an error: skips to the end of that
    // game. False when the file ended (or nothing was wrong).
    bool weiterNachFehler();

    // The board the last game started from, and where it ended.
    const Stellung_t& start() const { return start_; }
    const Stellung_t& stellung() const { return st_; }

    bool ok() const { return ok_; }
    // The text of the last error line (without the line end), empty if none.
    const std::string& letzterFehler() const { return letzterFehler_; }
    int zeile() const { return zeile_; }
    int spalte() const { return spalte_; }
    const std::string& dateiName() const { return name_; }

    // The tokenizer on its own (tests): the next token and its text.
    Token naechstesToken();
    const std::string& tokenText() const { return text_; }

    // Longest token text kept; the rest of a longer token is read and dropped.
    static constexpr std::size_t TEXT_GRENZE = 65536;

private:
    void zeichenLesen();
    void leerUndKommentareUeberspringen();
    void fehler(const char* meldung, const std::string& detail = std::string());
    bool variationUeberspringen();
    bool tagPaar(PgnTags_t& tags, std::string& erwartet, std::vector<Zug>& zuege);
    void grundstellung();

    std::unique_ptr<std::istream> ein_;
    Eingabestrom_t* datei_ = nullptr; // ein_ when it reads a file (it knows read errors)
    std::streambuf* puffer_ = nullptr;
    int kommentarAb_ = 0;     // line where a comment began that the file's end cut off
    int zeile_ = 1;
    int spalte_ = 1;
    std::string name_;
    std::string text_;
    int zeichen_ = -1;        // current character, -1 at the end
    bool ok_ = false;
    bool partieOffen_ = false; // an error left a game unfinished
    std::FILE* fehlerZiel_ = stderr;
    std::string letzterFehler_;

    Stellung_t st_;
    Stellungsdaten_t d_[2];
    int di_ = 0;
    Stellung_t start_;
};
