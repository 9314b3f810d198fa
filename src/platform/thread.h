#pragma once
#include <cstddef>
#include <cstdint>

// A thread started with an explicit stack size. The entry function receives
// the given argument; warten() joins the thread.
class Faden_t {
public:
    using Eintrag = void (*)(void*);

    Faden_t() = default;
    ~Faden_t();
    Faden_t(const Faden_t&) = delete;
    Faden_t& operator=(const Faden_t&) = delete;

    // Returns false when the thread could not be created.
    bool starten(Eintrag eintrag, void* argument, std::size_t stapelBytes);
    bool laeuft() const { return gestartet_; }
    void warten();

private:
    std::uintptr_t handle_ = 0; // the system's thread handle
    bool gestartet_ = false;
};
