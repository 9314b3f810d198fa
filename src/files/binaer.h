#pragma once
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "files/pruefsumme.h"

// Fields of the engine's binary files: little-endian, no padding,
// written and read byte by byte whatever the host's order.
//
// Files written since checksums came end in a trailer of twelve bytes: the
// eight letters of PRUEF_MARKE and the CRC-32 of every byte before the
// trailer. Files without the trailer (older ones) are read as they always
// were.
constexpr char PRUEF_MARKE[8] = {'V', 'L', 'K', 'C', 'R', 'C', '3', '2'};
constexpr std::size_t PRUEF_ANHANG = sizeof PRUEF_MARKE + 4;

// Writes fields to a file through a buffer, keeping the checksum.
class BinaerSchreiber {
public:
    explicit BinaerSchreiber(std::FILE* f) : f_(f) {}

    template <class T>
    void schreiben(T wert)
    {
        static_assert(sizeof(T) <= 8);
        uint64_t bits = 0;
        std::memcpy(&bits, &wert, sizeof(T));
        for (std::size_t i = 0; i < sizeof(T); ++i) puffer_.push_back((unsigned char)(bits >> (8 * i)));
        if (puffer_.size() >= 65536) leeren();
    }

    // Writes the trailer and whatever is buffered; false when any write
    // failed.
    bool abschliessen()
    {
        leeren();
        const uint32_t crc = crc_;
        for (char c : PRUEF_MARKE) puffer_.push_back((unsigned char)c);
        for (int i = 0; i < 4; ++i) puffer_.push_back((unsigned char)(crc >> (8 * i)));
        leeren();
        return ok_;
    }

private:
    void leeren()
    {
        crc_ = crc32(puffer_.data(), puffer_.size(), crc_);
        ok_ = ok_ && std::fwrite(puffer_.data(), 1, puffer_.size(), f_) == puffer_.size();
        puffer_.clear();
    }

    std::FILE* f_;
    std::vector<unsigned char> puffer_;
    uint32_t crc_ = 0;
    bool ok_ = true;
};

enum class PruefAnhang { OHNE, GUT, FALSCH };

// Looks for the trailer at the end of a file's bytes. A trailer whose
// checksum fits is cut off (GUT); a trailer whose checksum does not fit
// means a damaged file (FALSCH); OHNE: no trailer, the bytes stay as they
// are.
inline PruefAnhang pruefAnhangAbtrennen(std::vector<unsigned char>& daten)
{
    if (daten.size() < PRUEF_ANHANG) return PruefAnhang::OHNE;
    const std::size_t rumpf = daten.size() - PRUEF_ANHANG;
    if (std::memcmp(&daten[rumpf], PRUEF_MARKE, sizeof PRUEF_MARKE) != 0) return PruefAnhang::OHNE;
    uint32_t gespeichert = 0;
    for (int i = 0; i < 4; ++i) gespeichert |= uint32_t(daten[rumpf + sizeof PRUEF_MARKE + std::size_t(i)]) << (8 * i);
    if (crc32(daten.data(), rumpf, 0) != gespeichert) return PruefAnhang::FALSCH;
    daten.resize(rumpf);
    return PruefAnhang::GUT;
}

// Reads fields from a file held in memory; every read checks the length
// left, so a truncated or foreign file ends in a false result, never in a
// read past its end.
class BinaerLeser {
public:
    explicit BinaerLeser(std::vector<unsigned char> daten) : d_(std::move(daten)) {}

    template <class T>
    bool lesen(T& wert)
    {
        static_assert(sizeof(T) <= 8);
        if (rest() < sizeof(T)) return false;
        uint64_t bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) bits |= uint64_t(d_[pos_ + i]) << (8 * i);
        pos_ += sizeof(T);
        std::memcpy(&wert, &bits, sizeof(T));
        return true;
    }
    std::size_t rest() const { return d_.size() - pos_; }

private:
    std::vector<unsigned char> d_;
    std::size_t pos_ = 0;
};
