#include "gamefiles/pgn_leser.h"

#include <cstring>

#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/spiel.h"
#include "files/eingabedatei.h"
#include "shell/zahlen.h"

namespace {

bool istLeer(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool istZiffer(int c)
{
    return c >= '0' && c <= '9';
}

// Letters and digits (ASCII only, whatever the locale), and the characters
// SAN, results and castling need.
bool gehoertZumSymbol(int c)
{
    return istZiffer(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c > 0 && std::strchr("_+#=:-/", c) != nullptr);
}

bool istErgebnis(const std::string& s)
{
    return s == "1-0" || s == "0-1" || s == "1/2-1/2";
}

// A rating tag as a decimal number, 0 when it has none.
int wertungLesen(const PgnTags_t& tags, const char* name)
{
    auto it = tags.find(name);
    if (it == tags.end()) return 0;
    int32_t v = 0;
    ganzzahlLesen(it->second.c_str(), v);
    return v;
}

} // namespace

PgnLeser_t::PgnLeser_t()
{
    grundstellung();
}

PgnLeser_t::~PgnLeser_t() = default;

void PgnLeser_t::grundstellung()
{
    stellungSetzen(st_, d_[0], nullptr);
    di_ = 0;
    start_ = st_;
}

bool PgnLeser_t::oeffnen(const std::string& datei)
{
    auto ein = std::make_unique<Eingabestrom_t>(datei, true);
    const bool offen = ein->offen();
    Eingabestrom_t* strom = ein.get();
    oeffnen(std::move(ein), datei);
    datei_ = strom;
    if (!offen) {
        ok_ = true;
        fehler("Cannot open file");
        puffer_ = nullptr;
        zeichen_ = -1;
    }
    return offen;
}

void PgnLeser_t::oeffnen(std::unique_ptr<std::istream> ein, const std::string& name)
{
    ein_ = std::move(ein);
    datei_ = nullptr;
    puffer_ = ein_->rdbuf();
    kommentarAb_ = 0;
    name_ = name;
    zeile_ = 1;
    spalte_ = 1;
    ok_ = true;
    partieOffen_ = false;
    letzterFehler_.clear();
    zeichenLesen();
    // A UTF-8 byte order mark (editors on some systems write one) is not
    // part of the games.
    if (zeichen_ == 0xEF && puffer_->sgetc() == 0xBB) {
        zeichenLesen();
        if (puffer_->sgetc() == 0xBF) {
            zeichenLesen();
            zeichenLesen();
        }
    }
}

void PgnLeser_t::zeichenLesen()
{
    zeichen_ = puffer_ ? puffer_->sbumpc() : EOF;
    if (zeichen_ == EOF) {
        zeichen_ = -1;
        return;
    }
    ++spalte_;
    if (zeichen_ == '\n') {
        ++zeile_;
        spalte_ = 0;
    }
}

void PgnLeser_t::fehler(const char* meldung, const std::string& detail)
{
    letzterFehler_ = "info string PGN-Parser: file " + name_ + " line " + std::to_string(zeile_) + " char " +
                     std::to_string(spalte_) + ": " + meldung + detail;
    if (fehlerZiel_) {
        // A NUL byte in the detail would cut the line short: write it whole.
        std::fwrite(letzterFehler_.data(), 1, letzterFehler_.size(), fehlerZiel_);
        std::fputc('\n', fehlerZiel_);
        std::fflush(fehlerZiel_);
    }
    ok_ = false;
}

void PgnLeser_t::leerUndKommentareUeberspringen()
{
    for (;;) {
        if (zeichen_ < 0) return;
        if (istLeer(zeichen_)) {
            zeichenLesen();
        } else if (zeichen_ == ';' || (zeichen_ == '%' && spalte_ == 1)) {
            while (zeichen_ >= 0 && zeichen_ != '\n' && zeichen_ != '\r') zeichenLesen();
        } else if (zeichen_ == '{') {
            const int anfang = zeile_;
            while (zeichen_ >= 0 && zeichen_ != '}') zeichenLesen();
            if (zeichen_ >= 0) zeichenLesen();
            else kommentarAb_ = anfang;
        } else {
            return;
        }
    }
}

PgnLeser_t::Token PgnLeser_t::naechstesToken()
{
    leerUndKommentareUeberspringen();
    text_.clear();
    auto anhaengen = [&](int c) {
        if (text_.size() < TEXT_GRENZE) text_ += char(c);
    };
    const int c = zeichen_;
    switch (c) {
    case -1: return ENDE;
    case '"':
        zeichenLesen();
        while (zeichen_ >= 0 && zeichen_ != '"') {
            if (zeichen_ == '\\') {
                zeichenLesen();
                if (zeichen_ < 0) break;
            }
            anhaengen(zeichen_);
            zeichenLesen();
        }
        if (zeichen_ >= 0) zeichenLesen();
        return TEXT;
    case '.': zeichenLesen(); return PUNKT;
    case '*': zeichenLesen(); return STERN;
    case '(': zeichenLesen(); return RUND_AUF;
    case ')': zeichenLesen(); return RUND_ZU;
    case '[': zeichenLesen(); return ECKIG_AUF;
    case ']': zeichenLesen(); return ECKIG_ZU;
    case '$':
        zeichenLesen();
        while (istZiffer(zeichen_)) {
            anhaengen(zeichen_);
            zeichenLesen();
        }
        return NAG;
    default: break;
    }
    anhaengen(c);
    zeichenLesen();
    bool ziffern = istZiffer(c);
    while (zeichen_ >= 0 && gehoertZumSymbol(zeichen_)) {
        ziffern &= istZiffer(zeichen_);
        anhaengen(zeichen_);
        zeichenLesen();
    }
    return ziffern ? ZAHL : SYMBOL;
}

bool PgnLeser_t::variationUeberspringen()
{
    for (int tiefe = 1; tiefe > 0;) {
        const Token t = naechstesToken();
        if (t == ENDE) {
            fehler("unexpected end of file");
            return false;
        }
        if (t == RUND_AUF) ++tiefe;
        else if (t == RUND_ZU) --tiefe;
    }
    return true;
}

bool PgnLeser_t::tagPaar(PgnTags_t& tags, std::string& erwartet, std::vector<Zug>& zuege)
{
    if (naechstesToken() != SYMBOL) {
        fehler("symbol expected");
        return false;
    }
    std::string name = text_;
    if (naechstesToken() != TEXT) {
        fehler("String erwartet");
        return false;
    }
    if (name == "Result") erwartet = text_;
    if (name == "FEN") {
        // A FEN the position rules refuse cannot start a game: its moves
        // would be replayed on a half-built board.
        if (!stellungSetzen(st_, d_[0], text_.c_str())) {
            grundstellung();
            fehler("illegal FEN ", text_);
            return false;
        }
        di_ = 0;
        start_ = st_;
        // The game starts there, whatever came before the tag.
        zuege.clear();
    }
    tags[name] = std::move(text_);
    if (naechstesToken() != ECKIG_ZU) {
        fehler("']' expected");
        return false;
    }
    return true;
}

bool PgnLeser_t::partieLesen(std::vector<Zug>& zuege, PgnTags_t& tags)
{
    zuege.clear();
    tags.clear();
    if (!ok_) return false;
    std::string erwartet = "*";
    grundstellung();
    partieOffen_ = true;
    bool begonnen = false; // a token of this game was read
    for (;;) {
        const Token t = naechstesToken();
        switch (t) {
        case ENDE:
            partieOffen_ = false;
            // The file ended in the middle of something: that is no normal
            // end, the rest of the file is lost.
            if (datei_ && datei_->lesefehler())
                fehler("read error");
            else if (kommentarAb_ > 0)
                fehler("unexpected end of file", " in the comment from line " + std::to_string(kommentarAb_));
            else if (begonnen)
                fehler("unexpected end of file", " (game without a termination marker)");
            return false;
        case TEXT: fehler("unexpected string ", text_); return false;
        case ZAHL:
        case PUNKT:
        case NAG: begonnen = true; continue;
        case RUND_AUF:
            if (!variationUeberspringen()) return false;
            begonnen = true;
            continue;
        case RUND_ZU: fehler("unexpected ')'"); return false;
        case ECKIG_AUF:
            if (!tagPaar(tags, erwartet, zuege)) return false;
            begonnen = true;
            continue;
        case ECKIG_ZU: fehler("unexpected ']'"); return false;
        case STERN:
        case SYMBOL: break;
        }
        if (t == STERN || istErgebnis(text_)) {
            partieOffen_ = false;
            if ((t == STERN ? std::string("*") : text_) != erwartet) {
                fehler("Game termination marker different from Result");
                return false;
            }
            break;
        }
        begonnen = true;
        const Zug z = sanZugLesen(st_, d_[di_], text_.c_str());
        if (!istZug(z) || !zugSpielen(st_, z, d_[di_ ^ 1], d_[di_])) {
            fehler("illegal move ", text_);
            return false;
        }
        di_ ^= 1;
        zuege.push_back(zugOhneSchluessel(z));
    }
    static const char* const PFLICHT[] = {"White", "Black", "Result"};
    for (const char* name : PFLICHT) {
        if (!tags.count(name)) {
            fehler(("'" + std::string(name) + "' missing (in game above current line)").c_str());
            return false;
        }
    }
    return true;
}

bool PgnLeser_t::gefiltertLesen(std::vector<Zug>& zuege, PgnTags_t* tags, int* ergebnis, std::string* fen,
                                int* eloWeiss, int* eloSchwarz)
{
    PgnTags_t eigene;
    PgnTags_t& t = tags ? *tags : eigene;
    int w, s;
    do {
        if (!partieLesen(zuege, t)) return false;
        w = wertungLesen(t, "WhiteElo");
        s = wertungLesen(t, "BlackElo");
    } while (w < -1 || s < -1);
    if (eloWeiss) *eloWeiss = w;
    if (eloSchwarz) *eloSchwarz = s;
    if (fen) {
        auto it = t.find("FEN");
        *fen = it == t.end() ? std::string() : it->second;
    }
    if (ergebnis) {
        const std::string& r = t["Result"];
        *ergebnis = r == "1-0" ? PGN_WEISS_GEWINNT : r == "0-1" ? PGN_SCHWARZ_GEWINNT : r == "1/2-1/2" ? PGN_REMIS : PGN_OFFEN;
    }
    return true;
}

bool PgnLeser_t::weiterNachFehler()
{
    if (ok_ || !puffer_) return false;
    ok_ = true;
    if (!partieOffen_) return zeichen_ >= 0;
    // The rest of the broken game, up to its termination marker.
    partieOffen_ = false;
    for (;;) {
        const Token t = naechstesToken();
        if (t == ENDE) return false;
        if (t == STERN || (t == SYMBOL && istErgebnis(text_))) return true;
    }
}
