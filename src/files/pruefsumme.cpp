#include "files/pruefsumme.h"

#include <array>

namespace {

// Eight tables: the eight bytes of a word are folded in one step each.
constexpr std::array<std::array<uint32_t, 256>, 8> tabellenBauen()
{
    std::array<std::array<uint32_t, 256>, 8> t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
        for (int s = 1; s < 8; ++s) t[size_t(s)][i] = (t[size_t(s - 1)][i] >> 8) ^ t[0][t[size_t(s - 1)][i] & 0xFF];
    return t;
}

constexpr auto T = tabellenBauen();

} // namespace

uint32_t crc32(const void* daten, std::size_t laenge, uint32_t bisher)
{
    const unsigned char* p = static_cast<const unsigned char*>(daten);
    uint32_t c = ~bisher;
    for (; laenge >= 8; laenge -= 8, p += 8) {
        const uint32_t a = c ^ (uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
        c = T[7][a & 0xFF] ^ T[6][(a >> 8) & 0xFF] ^ T[5][(a >> 16) & 0xFF] ^ T[4][a >> 24] ^ T[3][p[4]] ^ T[2][p[5]] ^
            T[1][p[6]] ^ T[0][p[7]];
    }
    for (; laenge > 0; --laenge, ++p) c = T[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    return ~c;
}
