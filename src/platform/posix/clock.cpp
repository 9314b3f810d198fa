#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

int64_t jetztMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

uint32_t kalenderSekunden()
{
    return static_cast<uint32_t>(std::time(nullptr));
}

void schlafeMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
