#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The .vbb file: one 5-byte record per 512-byte block (a little-endian
// 32-bit payload offset and a size code), then the distinct payloads in the
// order the blocks first use them, then three zero bytes so that a reader
// may read two bytes beyond a payload. A record whose bytes 1 to 3 are all
// FF is a constant block: 512 copies of its byte 0.

constexpr int BB_SATZ = 5;

// Payload length of a size code, and the bytes a reader fetches for it
// (codes from 125 on stand for three lengths; the reader takes the
// longest). 0 for codes that mean nothing.
int satzLaenge(int code);
int satzLesemenge(int code);

// The file name of a material in a directory.
std::string bbDateiName(const std::string& verzeichnis, const char* name);

// Where the block of a record lies. A constant record has no payload; any
// other points at `menge` bytes to read from `offset` (the payload and up
// to two bytes after it).
struct BbSatzOrt_t {
    bool konstant = false;
    uint8_t wert = 0; // the byte of a constant block
    uint64_t offset = 0;
    int code = 0;
    int menge = 0;
};
// Reads a 5-byte record of a file of the given size whose index takes
// indexGroesse bytes; false when it points outside the file or holds a
// size code no writer produces.
bool bbSatzDeuten(const uint8_t* satz, uint64_t indexGroesse, uint64_t dateiGroesse, BbSatzOrt_t& ort);
// The block from the bytes read for a record (ort.menge of them); false
// when they do not decode to exactly one block.
bool bbBlockEntpacken(const BbSatzOrt_t& ort, const uint8_t* nutz, uint8_t* aus);

// The blocks of a whole file held in memory that cannot be read: an index
// shorter than `bloecke` records counts every block.
uint64_t bbDefekteBloecke(const std::vector<uint8_t>& datei, uint64_t bloecke);

// Collects the blocks of a file in order: constant blocks as records only,
// the others compressed (raw when that is not shorter), equal payloads
// stored once.
class BbSchreiber_t {
public:
    explicit BbSchreiber_t(uint64_t bloecke);
    void block(const uint8_t* daten); // the next 512 bytes
    // Writes the file and its checksum file (see pruefung.h), each under a
    // temporary name, through to the disk and then renamed; false (and no
    // file) when that fails.
    bool schreiben(const std::string& datei) const;
    uint64_t datenBytes() const { return daten_.size(); }

private:
    std::vector<uint8_t> index_;
    std::vector<uint8_t> daten_;
    uint64_t naechster_ = 0;
    std::vector<std::vector<uint64_t>> buckets_; // payload hash -> (offset << 16 | length)
};

// Reads block k of the file into aus (512 bytes). False when the file is
// missing or shorter than the index of `bloecke` records, when the record
// points outside the file or holds a size code no writer produces, or when
// the payload does not decode to exactly one block.
bool bbBlockLesen(const std::string& datei, uint64_t k, uint64_t bloecke, uint8_t* aus);
