// Texts for the setup-script tests: a read-only view checked for reads past its end, and
// GlobalAlloc'ed copies for the writer.
#pragma once
#include <windows.h>
#include <string>
#include "core/error_status.h"

// The bytes and a NUL placed so that the NUL is the last byte before a page that cannot be
// touched: reading one byte past the text's end crashes the test.
struct GuardedText {
    SIZE_T length, pages = (length + 4095) / 4096;
    BYTE* region = (BYTE*)VirtualAlloc(NULL, (pages + 1) * 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    char* text_;
    explicit GuardedText(const std::string& bytes) : length(bytes.size() + 1)
    {
        DWORD old;
        VirtualProtect(region + pages * 4096, 4096, PAGE_NOACCESS, &old);
        text_ = (char*)memcpy(region + pages * 4096 - length, bytes.c_str(), length);
    }
    ~GuardedText() { VirtualFree(region, 0, MEM_RELEASE); }
    GuardedText(const GuardedText&) = delete;
    char* text() { return text_; }
    std::string bytes() const { return std::string(text_, length); }  // up to and including the NUL
};

// A text in a GlobalAlloc block, as ReadWholeFile gives it.
inline char* GlobalText(const std::string& text) { return (char*)memcpy(GlobalAlloc(GMEM_FIXED, text.size() + 1), text.c_str(), text.size() + 1); }
