#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// Beside every bitbase file NAME.vbb the generator writes the checksum file
// NAME.crc, one line with the file's name, its size in bytes and its
// CRC-32 (as zip and zlib compute it) in eight hex digits:
//     KDKT.vbb 94783 1c2f5a07
// Each material has its own checksum file, so generators that run side by
// side in one directory never write the same file. The .vbb format itself
// is unchanged; a file without a checksum file (made before they came) is
// used as before, unverified.

enum class BbPruefung {
    GUT,         // size and checksum fit
    UNGEPRUEFT,  // no checksum file
    FEHLT,       // no bitbase file (or no regular file)
    BESCHAEDIGT, // size or checksum differ, the file cannot be read, or its checksum file is no such line
};

// "DIR/KDKT.vbb" -> "DIR/KDKT.crc".
std::string bbSummenDatei(const std::string& vbbDatei);
// The line of the checksum file, line end included.
std::string bbSummenZeile(const std::string& vbbDatei, uint64_t groesse, uint32_t crc);

// Reads the whole file and compares it with its checksum file; grund (when
// given) says what does not fit.
BbPruefung bbDateiPruefen(const std::string& vbbDatei, std::string* grund = nullptr);

// The --VerifyBitbase tool: every bitbase file of the directory against
// its checksum (files without one: every block must decode), one line per
// file on `aus`, and a summary. Returns the exit code: 0 when no file is
// damaged or missing.
int bitbaseVerzeichnisPruefen(const char* verzeichnis, std::FILE* aus);
