#include "ProgramTitle.h"

#include <gtest/gtest.h>

TEST(ProgramTitle, CutsAtFirstDotAndLowersAllButTheFirstLetter)
{
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"/usr/bin/Quellory", "Quellory"},
        {"/opt/QUELLORY.bin", "Quellory"},
        {"/opt/quellory", "quellory"},
        {"/a.b/Tool.v2.exe", "Tool"},
        {"Quellory", "Quellory"},
        {"/opt/.hidden", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramTitle(c.path), c.title) << c.path;
}
