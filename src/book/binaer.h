#pragma once
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

// Fields of the engine's binary files: little-endian, no padding,
// written and read byte by byte whatever the host's order.

template <class T>
void binaerSchreiben(std::FILE* f, T wert)
{
    static_assert(sizeof(T) <= 8);
    uint64_t bits = 0;
    std::memcpy(&bits, &wert, sizeof(T));
    unsigned char b[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i) b[i] = (unsigned char)(bits >> (8 * i));
    std::fwrite(b, 1, sizeof(T), f);
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
