// The formatter and the path joins on any format, texts and buffer size: the result always fits
// its buffer, a smaller buffer holds the beginning of what a larger one holds, and a joined path
// is whole or refused.
#include <windows.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>
#include <string>
#include "core/error_status.h"
#include "core/format.h"
static void Check(bool condition) { if (!condition) abort(); }
// Formats into an exact-size block and a large one; checks the cut against the whole.
template <typename... Args>
static void FormatBoth(unsigned size, const char* format, Args... args)
{
    char whole[4096];
    FormatText(whole, sizeof whole, format, args...);
    Check(strlen(whole) < sizeof whole);
    char* cut = (char*)malloc(size ? size : 1);
    FormatText(cut, size, format, args...);
    if (size) Check(strlen(cut) < size && !memcmp(cut, whole, strlen(cut)));
    free(cut);
}
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    unsigned bufferSize = input.ConsumeIntegralInRange<unsigned>(0, 600);
    std::string a = input.ConsumeRandomLengthString(400).c_str(), b = input.ConsumeRandomLengthString(400).c_str();
    // One number conversion with any flags and width, taking one number.
    std::string number = "x%";
    if (input.ConsumeBool()) number += "0";
    number += std::to_string(input.ConsumeIntegralInRange<unsigned>(0, 999));
    if (input.ConsumeBool()) number += ".3";
    if (input.ConsumeBool()) number += "l";
    number += input.PickValueInArray({ 'd', 'i', 'u', 'x', 'X' });
    FormatBoth(bufferSize, number.c_str(), input.ConsumeIntegral<unsigned>());
    // Any other format takes only texts: number conversions become other letters, and there
    // are never more "%" than texts given.
    std::string format = input.ConsumeRemainingBytesAsString();
    int percents = 0;
    for (char& c : format) {
        if (c == 'd' || c == 'i' || c == 'u' || c == 'x' || c == 'X') c = 'q';
        if (c == '%' && ++percents > 6) c = '#';
    }
    const char *x = a.c_str(), *y = b.c_str();
    FormatBoth(bufferSize, format.c_str(), x, y, x, y, x, y);
    char* path = (char*)malloc(bufferSize ? bufferSize : 1);
    ErrorStatus status = {};
    if (JoinPathParts(path, bufferSize, &status, x, "\\", y, (const char*)NULL))
        Check(a + "\\" + b == path);
    else
        Check(status.code == ERROR_FILENAME_EXCED_RANGE && (!bufferSize || !*path));
    int at = IndexOfText(x, y);
    Check(at < 0 || !strncmp(x + at, y, strlen(y)));
    free(path);
    return 0;
}
