#pragma once
#include <string>

// The host's path separator.
constexpr char PFAD_TRENNER = '/';

// Directory of the running program (without a trailing separator), or "."
// when it cannot be found.
std::string programmVerzeichnis();

// Joins a directory and a file name with the host's separator.
std::string pfadVerbinden(const std::string& verzeichnis, const std::string& name);
