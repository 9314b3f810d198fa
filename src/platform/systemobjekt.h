#pragma once
#include <cstddef>
#include <new>

// Room inside an object for a system object (a lock, a semaphore, an event)
// whose type only the system's implementation file knows, so that the
// interface headers include no system header. The implementation constructs
// its type in place and reaches it through als<T>(); the room must be large
// enough on every system, which als<T>() checks at compile time.
template <std::size_t BYTES>
struct SystemObjekt {
    template <class T>
    T& als()
    {
        static_assert(sizeof(T) <= BYTES && alignof(T) <= alignof(SystemObjekt), "room too small");
        return *std::launder(reinterpret_cast<T*>(roh));
    }

    alignas(8) unsigned char roh[BYTES];
};
