#pragma once
#include <cstddef>
#include <cstdint>

// CRC-32 as zip, PNG and zlib compute it (reflected polynomial 0xEDB88320,
// start and final XOR 0xFFFFFFFF), so a checksum the engine writes can be
// checked with common tools. The engine's own files carry it to recognise
// damage: any burst of up to 32 flipped bits is always found.
//
//     uint32_t c = crc32(a, na);
//     c = crc32(b, nb, c);       // the same as one call over a and b
uint32_t crc32(const void* daten, std::size_t laenge, uint32_t bisher = 0);
