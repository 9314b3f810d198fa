#include "timenet/zeitnetz.h"

#include <cassert>
#include <sstream>

Zeitnetz_t::Zeitnetz_t()
{
    std::istringstream ein(ZEITNETZ_TEXT);
    [[maybe_unused]] bool gelesen = lesen(ein);
    assert(gelesen);
}

Zeitnetz_t::Zeitnetz_t(int innen)
{
    if (innen < 1) innen = 1;
    if (innen > MAX_INNEN) innen = MAX_INNEN;
    schichtHinzufuegen(0, ZEIT_MERKMALE);
    schichtHinzufuegen(1, innen);
    schichtHinzufuegen(2, 1);
    for (int i = 0; i < ZEIT_MERKMALE; ++i)
        for (int j = 0; j < innen; ++j) verbinden(0, i, 1, j, 0.0);
    for (int j = 0; j < innen; ++j) verbinden(1, j, 2, 0, 0.0);
    vervollstaendigen();
}

double Zeitnetz_t::bewerten(const Zeitmerkmale_t& m)
{
    return auswerten(m);
}

double Zeitnetz_t::iterationBewerten(const Iterationsdaten_t& jetzt, const Iterationsdaten_t& vorher, std::string* zeile)
{
    Zeitmerkmale_t m;
    zeitMerkmaleBerechnen(jetzt, vorher, m);
    std::string text = zeitMerkmaleText(m);
    Zeitmerkmale_t gerundet;
    if (!zeitMerkmaleLesen(text, gerundet)) gerundet = m; // cannot happen: the text is our own
    if (zeile) *zeile = std::move(text);
    return bewerten(gerundet);
}
