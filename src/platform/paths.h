#pragma once
#include <string>

// The host's path separator, written between a directory and a file name.
extern const char PFAD_TRENNER;

// True for a character that separates the parts of a path on this host
// (Windows takes '/' as well as its own '\').
bool istPfadTrenner(char c);

// True for a path that names the same file whatever the working directory.
bool pfadIstAbsolut(const std::string& pfad);

// Directory of the running program (without a trailing separator unless it
// is a root), or "." when it cannot be found.
std::string programmVerzeichnis();

// The directory part of a program's full path, by the rule above.
std::string verzeichnisVon(const std::string& programm);

// Joins a directory and a file name with the host's separator.
std::string pfadVerbinden(const std::string& verzeichnis, const std::string& name);
