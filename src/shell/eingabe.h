#pragma once

// An interpreter of console lines. The start-up hands every line after the
// protocol word to Zeile, with trailing white space already removed and
// leading blanks kept.
class Eingabe_t {
public:
    virtual ~Eingabe_t() = default;
    virtual void Zeile(const char* zeile) = 0;
};
