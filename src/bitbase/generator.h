#pragma once
#include <cstdio>
#include <string>
#include <vector>

// Builds the bitbase of one material by retrograde analysis and writes
// name.vbb into the directory. Captures and promotions are answered by the
// bitbases of the smaller materials in the same directory, so materials
// are generated from few pieces to many, both colour orders of every
// smaller material first. Progress lines go to `fortschritt`, messages to
// `fehler` (either may be null). True when the file was written.
bool bitbaseErzeugen(const char* name, const std::string& verzeichnis, std::FILE* fortschritt, std::FILE* fehler);

// The materials whose bitbases the generation of `name` reads: those its
// captures and promotions lead to (with the first side named first, as in
// name), except those where the first side keeps only its king. With
// `umwandlung`, each entry is marked true when a promotion leads there.
std::vector<std::string> bitbaseBenoetigt(const char* name, std::vector<bool>* umwandlung = nullptr);

// The material with the sides exchanged (KDKT -> KTKD).
std::string bitbaseUmgekehrt(const char* name);

// The --CreateBitbase tool: the current directory, standard output and
// standard error; returns the exit code.
int bitbaseWerkzeug(const char* name);
