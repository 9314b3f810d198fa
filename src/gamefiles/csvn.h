#pragma once
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "platform/lock.h"

// The results of the position-list tool, written to the output in the
// order of the input. Workers finish in any order; a result waits in an
// ordered map until every result before it is there. Whenever more than
// WARTEN_MAX results wait, up to SCHUB of them are written, the lowest
// first, but never past a result still missing, so the output keeps the
// input order however long one search takes. Thread-safe.
class CsvnErgebnisse_t {
public:
    static constexpr std::size_t WARTEN_MAX = 100;
    static constexpr std::size_t SCHUB = 60;

    explicit CsvnErgebnisse_t(std::FILE* aus) : aus_(aus) {}

    // Result number nummer (counted from 1 without gaps): the whole output
    // line without its line end.
    void eintragen(uint32_t nummer, std::string zeile);
    // After the last result: writes everything still waiting, in order.
    void alleSchreiben();

    std::size_t wartend();
    uint32_t geschrieben();

private:
    void schreiben(std::size_t hoechstens);

    Sperre_t sperre_;
    std::map<uint32_t, std::string> warten_;
    uint32_t naechste_ = 1;
    std::FILE* aus_;
};

// "--CSVN input output": searches every position of the input (one FEN per
// line, with or without move counters and EPD operations) and writes
// "TEXT bm MOVE" per line in input order, TEXT being the line's first 90
// characters, MOVE the best move in coordinates or "(not found)". Four
// workers search at once, one second each unless the settings say
// otherwise. Returns the exit code: 0, or 1 when a file could not be
// opened or written.
struct WerkzeugEinstellung_t;
int csvnWerkzeug(const char* eingabe, const char* ausgabe);
int csvnWerkzeug(const char* eingabe, const char* ausgabe, const WerkzeugEinstellung_t& e);
