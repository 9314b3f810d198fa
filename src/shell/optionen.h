#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/lock.h"

class Ausgabe_t;

// Option types.
constexpr uint32_t OPTION_CHECK = 0;
constexpr uint32_t OPTION_SPIN = 1;
constexpr uint32_t OPTION_LISTE = 2;
constexpr uint32_t OPTION_BUTTON = 3;
constexpr uint32_t OPTION_STRING = 4;

// One static, read-only option description. A table ends with an entry
// without a name.
struct OptionEintrag_t {
    uint32_t typ;
    uint32_t sichtbar;       // listed to the interface
    const char* name;
    const char* standard;    // default, written like a value
    int32_t minimum;         // spin only
    int32_t maximum;
    const char* werteListe;  // list only: the words separated by " var "
};

// Fixed indices of the normal table; the search reads values by index.
constexpr int OPT_HASH = 0;
constexpr int OPT_PONDER = 1;
constexpr int OPT_OWNBOOK = 2;
constexpr int OPT_CLEAR_HASH = 3;
constexpr int OPT_MULTIPV = 4;
constexpr int OPT_MULTIPV_SCORE = 5;
constexpr int OPT_CHESS960 = 6;
constexpr int OPT_BOOKFILE = 7;
constexpr int OPT_OPPONENT = 8;
constexpr int OPT_BITBASE_CACHE = 9;
constexpr int OPT_BITBASE_PATH = 10;
constexpr int OPT_PROZESSOREN = 11;
constexpr int OPT_TIME_LOGFILE = 12;
constexpr int OPT_NOOUTPUT = 13;
constexpr int OPT_RESIGN = 14;
constexpr int OPT_EVALFILE = 15;

// The engine's options, and the empty table used by the random mover.
extern const OptionEintrag_t OPTIONEN_NORMAL[];
extern const OptionEintrag_t OPTIONEN_LEER[];

constexpr int OPTION_TEXT_LAENGE = 256;

// Current value of one option.
struct OptionWert_t {
    std::atomic<int32_t> wert{0};
    char text[260] = {};
};

// The run-time option table.
//
// Threads: values are written by the interpreter's thread (also while a
// search runs; the search reads them when it starts, so a change takes
// effect with the next search) and by the search thread (resetting
// "Clear Hash"). The numeric value is an atomic; texts are written under a
// lock. The search thread must read texts with textKopieren, never through
// text(), which is only for the interpreter's own thread.
class Optionen_t {
public:
    explicit Optionen_t(const OptionEintrag_t* tabelle);
    Optionen_t(const Optionen_t&) = delete;
    Optionen_t& operator=(const Optionen_t&) = delete;

    int anzahl() const { return anzahl_; }
    const OptionEintrag_t& eintrag(int i) const { return eintraege_[i]; }

    // Index of the option with exactly this name, or -1.
    int finden(const char* name) const;

    int32_t wert(int i) const { return werte_[i].wert.load(std::memory_order_relaxed); }
    bool wahr(int i) const { return wert(i) != 0; }
    const char* text(int i) const { return werte_[i].text; }
    // Copies the text under the lock (n includes the terminating zero).
    void textKopieren(int i, char* ziel, int n) const;

    // Sets a value directly (batch tools, the search's "Clear Hash" reset):
    // spin values are clamped, a list value is the index of its word; the
    // text follows the value. False when a list index is out of range.
    bool setzen(int i, int32_t wert);

    // Releases a pressed button (value 0, text "false"); the search calls it
    // for "Clear Hash" when it has cleared the table.
    void knopfLoesen(int i);

    // A whole "setoption name <name> [value <value>]" line. True when an
    // option was changed; malformed lines change nothing. A text longer
    // than OPTION_TEXT_LAENGE is refused as well (cut short, a file name
    // could name another file); *grund then says so.
    bool setoption(const char* zeile, const char** grund = nullptr);

    // The option a "setoption" line names (the longest name that starts
    // its name part), or -1.
    int zielOption(const char* zeile) const;

private:
    void textSetzen(int i, const char* text, int laenge);

    const OptionEintrag_t* eintraege_;
    std::unique_ptr<OptionWert_t[]> werte_;
    int anzahl_ = 0;
    mutable Sperre_t sperre_;
};

// Prints the "option name ..." line of every visible entry, in table order.
void optionenAuflisten(const OptionEintrag_t* tabelle, Ausgabe_t& aus);

// Position (from 0) of the word in a " var " separated list, or -1. Leading
// blanks of the list words are skipped; words compare whole.
int listenPosition(const char* liste, const char* wort, int wortLaenge);
