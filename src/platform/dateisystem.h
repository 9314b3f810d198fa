#pragma once
#include <cstdio>
#include <string>

// Files on disk, as far as the standard library cannot say it: what kind
// of thing a name stands for, opening only regular files, and writes that
// survive a power cut.

// How dateiOeffnen opens a file. On POSIX systems text and binary are the
// same; on Windows a text file's lines end in CR LF on disk.
enum class Dateimodus {
    LESEN,            // read, text
    LESEN_BINAER,     // read, binary
    SCHREIBEN,        // create or truncate, text
    SCHREIBEN_BINAER, // create or truncate, binary
    ANHAENGEN,        // create or append, text
};

// What a name stands for (links followed).
enum class Dateiart {
    FEHLT,    // nothing, or a dangling link
    REGULAER, // a regular file
    ANDERE,   // a directory, FIFO, device or socket
};

Dateiart dateiArt(const std::string& name);

// Opens a regular file and nothing else: a directory, a FIFO, a device or
// a socket is refused like a missing file (null), and the call never
// blocks (opening a FIFO without a partner would wait forever). Reading
// such a file afterwards never blocks either.
std::FILE* dateiOeffnen(const std::string& name, Dateimodus modus);

// Writes the stream's buffer and then the file's data through to the
// disk; false when either fails.
bool dateiSichern(std::FILE* f);

// Renames von to nach (an existing nach is replaced in one step) and
// writes the directory entry through to the disk, so that after a power
// cut the name holds either the old or the new file, complete. False when
// it failed (von then still exists).
bool dateiErsetzen(const std::string& von, const std::string& nach);

// The same rename without waiting for the disk.
bool dateiUmbenennen(const std::string& von, const std::string& nach);

// Where a file a user names is read from: a relative name that is no
// regular file in the working directory is looked for next to the program.
std::string dateiSuchen(const std::string& name);
