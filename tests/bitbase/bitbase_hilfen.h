#pragma once
// Helpers shared by the bitbase tests.
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "bitbase/material.h"

// A directory of its own for one test, removed at the end.
struct TestVerzeichnis {
    std::string pfad;
    TestVerzeichnis()
    {
        static std::atomic<int> zaehler{0};
        static const unsigned lauf = std::random_device{}();
        pfad = (std::filesystem::temp_directory_path() /
                ("velkaris-bb-" + std::to_string(lauf) + "-" + std::to_string(zaehler++)))
                   .string();
        std::filesystem::create_directories(pfad);
    }
    ~TestVerzeichnis() { std::filesystem::remove_all(pfad); }
    std::string datei(const std::string& name) const { return pfad + "/" + name; }
};

// A position of a material from its name and squares in name order.
inline BbStellung_t bbStellung(const char* name, std::initializer_list<int> felder, int amZug = 0, int ep = 0)
{
    BbStellung_t b;
    materialLesen(name, b);
    int j = 0;
    for (int f : felder) b.feld[j++] = uint8_t(f);
    b.amZug = amZug;
    b.ep = ep;
    return b;
}

inline std::string dateiText(const std::string& pfad)
{
    std::string s;
    if (std::FILE* f = std::fopen(pfad.c_str(), "rb")) {
        for (int c; (c = std::fgetc(f)) != EOF;) s += char(c);
        std::fclose(f);
    }
    return s;
}

inline void dateiSchreiben(const std::string& pfad, const std::string& inhalt)
{
    std::FILE* f = std::fopen(pfad.c_str(), "wb");
    std::fwrite(inhalt.data(), 1, inhalt.size(), f);
    std::fclose(f);
}
