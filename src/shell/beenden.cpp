#include "shell/beenden.h"

std::atomic<bool> programmBeenden{false};
