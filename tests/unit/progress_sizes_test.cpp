// Installs past 4 GiB: the bar follows the bytes copied in 64 bits, through the same
// percentages as an install 1024 times smaller, which keeps MulDiv's rounding.
#include <gtest/gtest.h>
#include <vector>
#include "controls/progress_window.h"

// The percentages sent to the bar, in order, while the counts of bytes come in.
static std::vector<int> PercentagesSent(ULONGLONG total, const std::vector<DWORD>& counts, DWORD scale)
{
    ProgressRecord record = {};
    record.total = total * scale;
    std::vector<int> sent;
    for (DWORD count : counts) {
        BYTE before = record.lastPercentage;
        AdvanceProgress(count * scale, &record);
        if (record.lastPercentage != before) sent.push_back(record.lastPercentage);
    }
    return sent;
}

// The same, as the 32-bit arithmetic gave it for totals it could hold.
static std::vector<int> MulDivPercentages(ULONGLONG total, const std::vector<DWORD>& counts)
{
    std::vector<int> sent;
    int last = 0;
    ULONGLONG done = 0;
    for (DWORD count : counts) {
        done = done + count > total ? total : done + count;
        int percentage = MulDiv(100, (int)done, (int)total);
        if (percentage != last) sent.push_back(last = percentage);
    }
    return sent;
}

TEST(ProgressSizes, GibibytesMoveTheBarAsMebibytesDo)
{
    std::vector<DWORD> blocks(2600, 2048);  // the copy's blocks, a little more than 5 MiB
    struct Case {
        ULONGLONG total;
        std::vector<DWORD> counts;
    } cases[] = {
        { 5ull << 20, blocks },
        { 5ull << 20, { 1, 52428, 52429, 1048576, 10, 2621440, 1520000, 4000000 } },
        { 3ull << 20, { 31457, 1, 1572864, 1572864 } },  // 3 GiB: past a signed 32-bit number
        { (4ull << 20) + 7, { 2097152, 2097152, 3, 4 } },  // just past 4 GiB
    };
    for (const Case& c : cases) {
        std::vector<int> small = PercentagesSent(c.total, c.counts, 1);
        EXPECT_EQ(MulDivPercentages(c.total, c.counts), small) << c.total;
        EXPECT_EQ(100, small.back()) << c.total;
        EXPECT_EQ(small, PercentagesSent(c.total, c.counts, 1024)) << c.total << " KiB";
    }
}
