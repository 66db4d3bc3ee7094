#include "ProgramTitle.h"

#include <gtest/gtest.h>

namespace {

struct TitleCase {
    const char* path;
    const char* title;
};

void ExpectTitles(std::initializer_list<TitleCase> cases)
{
    for (const auto& c : cases)
        EXPECT_EQ(ProgramTitle(c.path), c.title) << c.path;
}

}  // namespace

TEST(ProgramTitle, CutsAtFirstDotAndLowersAllButTheFirstLetter)
{
    ExpectTitles({
        {"/usr/bin/Quellory", "Quellory"},
        {"/opt/QUELLORY.bin", "Quellory"},
        {"/opt/quellory", "quellory"},
        {"/a.b/Tool.v2.exe", "Tool"},
        {"Quellory", "Quellory"},
        {"/opt/.hidden", ""},
    });
}

#ifdef _WIN32
TEST(ProgramTitle, TakesEitherSlashAsTheEndOfTheDirectoryOnWindows)
{
    ExpectTitles({
        {"C:\\Program Files\\Quellory\\QUELLORY.EXE", "Quellory"},
        {"C:\\a.b\\Tool.v2.exe", "Tool"},
        {"\\\\server\\share\\Quellory.exe", "Quellory"},
        {"C:/tools/Quellory.exe", "Quellory"},
    });
}
#else
TEST(ProgramTitle, KeepsABackslashInAFileNameOnLinux)
{
    ExpectTitles({{"/opt/Tool\\QUELLORY", "Tool\\quellory"}});
}
#endif
