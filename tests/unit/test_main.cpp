#include <gtest/gtest.h>
#include "core/globals.h"
int main(int argc, char** argv)
{
    AppInstance = GetModuleHandleA(NULL);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
