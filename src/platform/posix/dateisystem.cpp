#include "platform/dateisystem.h"

#include <cstdio>

bool dateiErsetzen(const std::string& von, const std::string& nach)
{
    return std::rename(von.c_str(), nach.c_str()) == 0;
}
