#pragma once
// Helpers shared by the bitbase tests.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "bitbase/material.h"

// A directory of its own for one test, removed at the end.
struct TestVerzeichnis {
    std::string pfad = (std::filesystem::temp_directory_path() /
                        ("velkaris-bb-" + std::to_string(std::random_device{}()) + "-" + std::to_string(zaehler()++)))
                           .string();
    TestVerzeichnis() { std::filesystem::create_directories(pfad); }
    ~TestVerzeichnis() { std::filesystem::remove_all(pfad); }
    std::string datei(const std::string& name) const { return pfad + "/" + name; }
    static std::atomic<int>& zaehler()
    {
        static std::atomic<int> z{0};
        return z;
    }
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
    std::ostringstream s;
    s << std::ifstream(pfad, std::ios::binary).rdbuf();
    return s.str();
}

inline void dateiSchreiben(const std::string& pfad, const std::string& inhalt)
{
    std::ofstream(pfad, std::ios::binary) << inhalt;
}
