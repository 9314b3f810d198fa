#include "shell/zufall.h"

#include "platform/clock.h"

Zufallsgenerator::Zufallsgenerator() : Zufallsgenerator(kalenderSekunden()) {}

Zufallsgenerator::Zufallsgenerator(uint32_t fuenftesWort)
    : zustand_{76543210u, 123456789u, 101112131u, 415161718u, fuenftesWort}
{
}

Zufallsgenerator& Zufallsgenerator::gemeinsam()
{
    static Zufallsgenerator generator; // thread-safe initialisation
    return generator;
}

uint32_t Zufallsgenerator::ziehen()
{
    SperreHalter_t halter(sperre_);
    uint32_t* s = zustand_;
    s[0] = s[0] * 56789u + 33333u;
    uint32_t t = s[1] ^ (s[1] << 11);
    s[1] = s[2];
    s[2] = s[3];
    s[3] = s[4];
    s[4] = s[4] ^ (s[4] >> 19) ^ t ^ (t >> 8);
    return s[4] + s[0];
}

double Zufallsgenerator::reell(double a, double b)
{
    return ziehen() / 4294967295.0 * (b - a) + a;
}

int32_t Zufallsgenerator::ganz(int32_t a, int32_t b)
{
    if (b <= a) return a;
    uint64_t spanne = uint64_t(int64_t(b) - int64_t(a)) + 1; // up to 2^32
    return int32_t(int64_t(a) + int64_t(ziehen() % spanne));
}
