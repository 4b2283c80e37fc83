// The file-types page (template 11): the types that the product is associated with.
#pragma once
#include <windows.h>

INT_PTR CALLBACK FileTypesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
