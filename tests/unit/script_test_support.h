// Texts for the setup-script tests: a read-only view checked for reads past its end, and
// GlobalAlloc'ed copies for the writer.
#pragma once
#include <windows.h>
#include <string>
#include "core/error_status.h"

// The bytes and a NUL placed so that the NUL is the last byte before a page that cannot be
// touched: reading one byte past the text's end crashes the test.
class GuardedText {
public:
    explicit GuardedText(const std::string& bytes)
    {
        SIZE_T page = 4096, used = bytes.size() + 1, pages = (used + page - 1) / page;
        region_ = (BYTE*)VirtualAlloc(NULL, (pages + 1) * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        DWORD old;
        VirtualProtect(region_ + pages * page, page, PAGE_NOACCESS, &old);
        text_ = (char*)region_ + pages * page - used;
        memcpy(text_, bytes.data(), bytes.size());
        text_[bytes.size()] = 0;
        length_ = used;
    }
    ~GuardedText() { VirtualFree(region_, 0, MEM_RELEASE); }
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    char* text() { return text_; }
    // Everything up to and including the NUL, as it is now.
    std::string bytes() const { return std::string(text_, length_); }

private:
    BYTE* region_;
    char* text_;
    SIZE_T length_;
};

// A text in a GlobalAlloc block, as ReadWholeFile gives it.
inline char* GlobalText(const std::string& text)
{
    char* block = (char*)GlobalAlloc(GMEM_FIXED, text.size() + 1);
    memcpy(block, text.c_str(), text.size() + 1);
    return block;
}

inline ErrorStatus ClearStatus()
{
    ErrorStatus status;
    status.code = 0;
    status.text[0] = 0;
    return status;
}
