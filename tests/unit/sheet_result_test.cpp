// The end of a property sheet: a sheet that failed is a failure even when the system gave no
// reason, never the silent cancel and never a Finish.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "wizard/sheets.h"

TEST(StoreSheetResult, OnlyFinishLeavesTheStatusClear)
{
    const struct { INT_PTR result; DWORD lastError, code; bool failureText; } cases[] = {
        { 1, 0, 0, false },
        { 0, 0, ERROR_CANCELLED, false },
        { -1, 0, ERROR_CAN_NOT_COMPLETE, true },
        { -1, ERROR_NOT_ENOUGH_MEMORY, ERROR_NOT_ENOUGH_MEMORY, true },
    };
    for (const auto& c : cases) {
        ErrorStatus status = { 0, "" };
        SetLastError(c.lastError);
        StoreSheetResult(c.result, 4, &status);
        EXPECT_EQ(c.code, status.code) << c.result << " " << c.lastError;
        EXPECT_EQ(c.failureText, std::string(status.text).find("Unable to display dialog box (4)") != std::string::npos)
            << status.text;
    }
}
