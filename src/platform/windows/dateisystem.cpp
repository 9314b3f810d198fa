#include "platform/dateisystem.h"

#include "platform/windows/windows_kopf.h"

bool dateiErsetzen(const std::string& von, const std::string& nach)
{
    // The runtime's rename refuses an existing target.
    return MoveFileExA(von.c_str(), nach.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
