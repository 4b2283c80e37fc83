// The native build's stand-in for the platform header: the platform-neutral core includes
// <windows.h>, and on other platforms it finds this file, which brings the few Win32 types and
// calls that core uses (win32_compat.h). The Windows build never sees this folder.
#pragma once
#include "win32_compat.h"
