#pragma once
// The Windows API, without the parts and the min/max macros the engine does
// not want. Included only by the Windows implementation files.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
