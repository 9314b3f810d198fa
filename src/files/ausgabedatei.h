#pragma once
#include <cstdio>
#include <string>

// A file the program writes: it is written under a temporary name (the
// name with ".tmp" appended) and renamed to its real name only when it is
// complete, so an interrupted run never leaves half a file behind that a
// later run would trust. Dropped without abschliessen(), the temporary file
// is removed and an older file of the real name stays as it was. A name
// that stands for something other than a regular file (a directory, a
// FIFO, a device) is never opened, let alone replaced.
class Ausgabedatei_t {
public:
    // dauerhaft: the data reaches the disk before the rename (for files
    // that take long to make), so that a power cut cannot leave the name
    // on an empty or partly written file.
    explicit Ausgabedatei_t(const std::string& name, bool binaer = false, bool dauerhaft = false);
    ~Ausgabedatei_t();
    Ausgabedatei_t(const Ausgabedatei_t&) = delete;
    Ausgabedatei_t& operator=(const Ausgabedatei_t&) = delete;

    bool offen() const { return datei_ != nullptr; }
    std::FILE* datei() const { return datei_; }

    // Closes the file and gives it its real name; false (and nothing
    // renamed) when any write failed.
    bool abschliessen();

private:
    std::string name_;
    std::string tmp_;
    std::FILE* datei_ = nullptr;
    bool dauerhaft_;
};
