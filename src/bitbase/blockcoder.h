#pragma once
#include <cstdint>
#include <cstdio>

// Compression of one 512-byte bitbase block. A payload starts with a header
// byte: its high nibble is the marker M, bit 0 chooses the two run bytes
// (R0, R1) = (00, FF) or (FF, 00). Every byte whose high nibble is not M is
// a literal; a byte with high nibble M starts a token chosen by its low
// nibble: copies from earlier in the block, runs, or bytes predicted by a
// small model that remembers, for every byte value, the four bytes that
// most recently followed it.

constexpr int BB_BLOCK = 512;
// Room an encoder output needs: the worst case is the header and every
// byte escaped.
constexpr int BB_KODIER_PUFFER = 1 + 2 * BB_BLOCK;

// The successor model: for every byte value the four bytes that most
// recently followed it, most recent first, and the byte produced last.
struct Nachfolger_t {
    uint8_t s[256][4];
    uint8_t vor;

    void starten(uint8_t r0, uint8_t r1);
    void lernen(uint8_t y)
    {
        uint8_t* l = s[vor];
        if (y != l[0]) {
            if (y != l[1]) {
                if (y != l[2]) l[3] = l[2];
                l[2] = l[1];
            }
            l[1] = l[0];
            l[0] = y;
        }
        vor = y;
    }
};

// Decodes a payload of `laenge` bytes into the 512 bytes at aus. Returns the
// number of payload bytes used, or -1 when the payload is no valid block
// (a token that reads past the payload, copies from before the block or
// writes past its end, or a payload that ends before 512 bytes). With a
// listing file, one line per token is written there.
int blockDekodieren(const uint8_t* daten, int laenge, uint8_t* aus, std::FILE* liste = nullptr);

// Compresses a block into aus (room for BB_KODIER_PUFFER bytes); returns
// the payload length.
int blockKodieren(const uint8_t* block, uint8_t* aus);
