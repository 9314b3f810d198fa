#pragma once
#include <cstdio>
#include <istream>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

// A file the program reads. Every reader of outside files opens them here:
// only regular files open (a directory, a FIFO, a device such as /dev/zero
// is "cannot open", like a missing file), opening never blocks, and a read
// error ends the data like the end of the file without throwing; the
// reader asks lesefehler() to tell the two apart.
class Eingabedatei_t {
public:
    explicit Eingabedatei_t(const std::string& name, bool binaer = false);
    ~Eingabedatei_t();
    Eingabedatei_t(const Eingabedatei_t&) = delete;
    Eingabedatei_t& operator=(const Eingabedatei_t&) = delete;

    bool offen() const { return datei_ != nullptr; }
    std::FILE* datei() const { return datei_; }
    bool lesefehler() const { return datei_ && std::ferror(datei_); }

private:
    std::FILE* datei_ = nullptr;
};

// The same as a stream, for readers that take one.
class Eingabestrom_t : public std::istream {
public:
    explicit Eingabestrom_t(const std::string& name, bool binaer = false);
    ~Eingabestrom_t() override;

    bool offen() const { return datei_.offen(); }
    bool lesefehler() const { return datei_.lesefehler(); }

private:
    class Puffer;
    Eingabedatei_t datei_;
    std::unique_ptr<Puffer> puffer_;
};

// The whole file; false when it cannot be opened or read.
bool dateiEinlesen(const std::string& name, std::vector<unsigned char>& daten);
