#include "SettingsLocation.h"

#include "JobFields.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

TEST(SettingsLocation, IsBesideTheProgramWhenWritableElsePerUser)
{
    const std::string beside = "/opt/q/Trovanix.ini";
    struct Case {
        const char* name;
        SettingsSurroundings surroundings;
        SettingsLocation expected;
    };
    const Case cases[] = {
        {"writable program directory",
         {beside, true, "/x/config", "/home/u"},
         {beside, ""}},
        {"read-only, XDG_CONFIG_HOME set",
         {beside, false, "/x/config", "/home/u"},
         {"/x/config/Quellory/Trovanix.ini", beside}},
        {"read-only, XDG_CONFIG_HOME with a trailing slash",
         {beside, false, "/x/config/", "/home/u"},
         {"/x/config/Quellory/Trovanix.ini", beside}},
        {"read-only, XDG_CONFIG_HOME unset",
         {beside, false, "", "/home/u"},
         {"/home/u/.config/Quellory/Trovanix.ini", beside}},
        {"read-only, XDG_CONFIG_HOME relative",
         {beside, false, "config", "/home/u"},
         {"/home/u/.config/Quellory/Trovanix.ini", beside}},
        {"read-only, home is the root directory",
         {beside, false, "", "/"},
         {"/.config/Quellory/Trovanix.ini", beside}},
        {"read-only, no home but XDG_CONFIG_HOME set",
         {beside, false, "/x/config", ""},
         {"/x/config/Quellory/Trovanix.ini", beside}},
        {"read-only, no home and no XDG_CONFIG_HOME",
         {beside, false, "", ""},
         {beside, ""}},
        {"read-only, relative home and relative XDG_CONFIG_HOME",
         {beside, false, "config", "home"},
         {beside, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SettingsLocation chosen = ChooseSettingsLocation(c.surroundings);
        EXPECT_EQ(chosen.iniFile, c.expected.iniFile);
        EXPECT_EQ(chosen.shippedFile, c.expected.shippedFile);
    }
}

TEST(SettingsLocation, AtStartUpInTheWritableBuildTreeIsBesideTheProgram)
{
    const fs::path program = fs::read_symlink("/proc/self/exe");
    const SettingsLocation location = SettingsLocationAtStartUp();
    EXPECT_EQ(location.iniFile, (program.parent_path() / "Trovanix.ini").string());
    EXPECT_EQ(location.shippedFile, "");
}

JobFields Typed(const std::string& stem)
{
    JobFields fields;
    fields.texts = {"http://127.0.0.1/p[-A-]", "2", "9", "/srv/out", stem, ".htm", "01"};
    return fields;
}

// One start, a run, and the next start, the way the window uses the location:
// load, make the directory, save, load again.
TEST(SettingsLocation, SavesAndLoadsWhereTheLocationSays)
{
    struct Case {
        const char* name;
        bool programDirectoryWritable;
        const char* shippedStem;     // the file beside the program, or null for none
        const char* xdgConfigHome;   // relative to the test's directory, or absolute
        const char* savedTo;         // relative to the test's directory, or null when no save can land
        const char* firstLoadStem;   // FileName the first start shows
    };
    const Case cases[] = {
        {"writable directory", true, "shipped", "config", "program/Trovanix.ini", "shipped"},
        {"read-only directory with a shipped file", false, "shipped", "config",
         "config/Quellory/Trovanix.ini", "shipped"},
        {"read-only directory without one", false, nullptr, "config",
         "config/Quellory/Trovanix.ini", ""},
        {"config home inside a regular file", false, "shipped", "program/Trovanix.ini/config",
         nullptr, "shipped"},
        {"config home in /proc", false, nullptr, "/proc/quellory-test", nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directory(dir.path() / "program");
        const std::string beside = dir.file("program/Trovanix.ini");
        if (c.shippedStem != nullptr)
            SaveJobFields(Typed(c.shippedStem), beside);
        const std::string shippedBytes = ReadFileBytes(beside);
        const std::string xdg = c.xdgConfigHome[0] == '/' ? c.xdgConfigHome : dir.file(c.xdgConfigHome);

        const SettingsLocation location =
            ChooseSettingsLocation({beside, c.programDirectoryWritable, xdg, dir.file("home")});
        EXPECT_EQ(LoadJobFields(SettingsFileToLoad(location))[JobField::Edit5], c.firstLoadStem);

        EXPECT_EQ(CreateSettingsDirectory(location.iniFile), c.savedTo != nullptr);
        SaveJobFields(Typed("mine"), location.iniFile);
        const std::string nextStem = c.savedTo != nullptr ? "mine" : c.firstLoadStem;
        EXPECT_EQ(LoadJobFields(SettingsFileToLoad(location))[JobField::Edit5], nextStem);

        if (c.savedTo != nullptr) {
            EXPECT_EQ(location.iniFile, dir.file(c.savedTo));
            EXPECT_EQ(LoadJobFields(dir.file(c.savedTo))[JobField::Edit5], "mine");
        }
        if (!c.programDirectoryWritable) {
            EXPECT_EQ(ReadFileBytes(beside), shippedBytes) << "shipped defaults are never written";
        }
        EXPECT_FALSE(fs::exists(dir.path() / "home")) << "XDG_CONFIG_HOME was set";
    }
}

TEST(SettingsLocation, MakesOnlyTheMissingDirectoriesAndOpensThemToTheUserAlone)
{
    TempDir dir;
    fs::create_directory(dir.path() / "home");
    fs::permissions(dir.path() / "home", fs::perms(0755));
    const std::string iniFile = dir.file("home/.config/Quellory/Trovanix.ini");

    ASSERT_TRUE(CreateSettingsDirectory(iniFile));
    for (const char* made : {"home/.config", "home/.config/Quellory"})
        EXPECT_EQ(fs::status(dir.path() / made).permissions(), fs::perms::owner_all) << made;
    EXPECT_EQ(fs::status(dir.path() / "home").permissions(), fs::perms(0755));
    EXPECT_FALSE(fs::exists(iniFile)) << "the save makes the file, not the directory";
    EXPECT_TRUE(CreateSettingsDirectory(iniFile)) << "a second time finds it there";
}

}  // namespace
