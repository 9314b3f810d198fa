#pragma once
#include <cstdio>

// Reads console lines the way the interface sends them: at most 39,999
// characters per read (a longer line arrives as several lines), trailing
// white space removed, leading blanks kept. Lines without a word are skipped.
// A NUL byte ends the line's text (the rest of that line is dropped).
class KonsolenLeser_t {
public:
    static constexpr int PUFFER_GROESSE = 40000;
    static constexpr int WORT_LAENGE = 15;

    explicit KonsolenLeser_t(std::FILE* ein) : ein_(ein) {}

    // Makes the stream unbuffered, so the engine never holds back input it
    // has not seen yet, and has it deliver the bytes as sent (a CR before
    // the newline is then trimmed like any trailing white space). Call once,
    // before the first read.
    void ungepuffert();

    // Next line that holds a word; false at the end of input.
    bool naechsteZeile();

    const char* zeile() const { return puffer_; }
    // The line's first word, at most WORT_LAENGE characters.
    const char* wort() const { return wort_; }

private:
    std::FILE* ein_;
    char puffer_[PUFFER_GROESSE] = {};
    char wort_[WORT_LAENGE + 1] = {};
};

// Removes trailing white space in place; returns the new length.
int rechtsTrimmen(char* text);

// Copies the first white-space delimited word of text (leading white space
// skipped) into wort, cut to at most maxLaenge characters. Returns the text
// after the whole word (also when it was cut), or nullptr when there is no
// word.
const char* erstesWort(const char* text, char* wort, int maxLaenge);
