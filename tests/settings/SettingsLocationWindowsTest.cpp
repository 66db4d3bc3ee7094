#include "SettingsLocation.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "ExecutablePath.h"
#include "JobFields.h"
#include "TempDir.h"
#include "Utf16.h"

namespace fs = std::filesystem;

namespace {

TEST(SettingsLocationWindows, IsBesideTheProgramWhenWritableElseInTheApplicationDataFolder)
{
    const std::string beside = "C:\\Program Files\\Quellory\\Trovanix.ini";
    struct Case {
        const char* name;
        SettingsSurroundings surroundings;
        SettingsLocation expected;
    };
    const Case cases[] = {
        {"writable program folder", {beside, true, "C:\\Users\\u\\AppData\\Roaming", ""}, {beside, ""}},
        {"read-only program folder",
         {beside, false, "C:\\Users\\u\\AppData\\Roaming", ""},
         {"C:\\Users\\u\\AppData\\Roaming\\Quellory\\Trovanix.ini", beside}},
        {"application data folder with a trailing separator",
         {beside, false, "C:\\Users\\u\\AppData\\Roaming\\", ""},
         {"C:\\Users\\u\\AppData\\Roaming\\Quellory\\Trovanix.ini", beside}},
        {"application data folder on the network",
         {beside, false, "\\\\server\\profiles\\u", ""},
         {"\\\\server\\profiles\\u\\Quellory\\Trovanix.ini", beside}},
        {"no application data folder", {beside, false, "", ""}, {beside, ""}},
        {"a relative one", {beside, false, "Roaming", ""}, {beside, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SettingsLocation chosen = ChooseSettingsLocation(c.surroundings);
        EXPECT_EQ(chosen.iniFile, c.expected.iniFile);
        EXPECT_EQ(chosen.shippedFile, c.expected.shippedFile);
    }
}

TEST(SettingsLocationWindows, AtStartUpInTheWritableBuildTreeIsBesideTheProgram)
{
    const std::string program = ExecutablePath();
    const std::string directory = program.substr(0, program.rfind('\\') + 1);
    const SettingsLocation location = SettingsLocationAtStartUp();
    EXPECT_EQ(location.iniFile, directory + "Trovanix.ini");
    EXPECT_EQ(location.shippedFile, "");
    // The test of the folder leaves nothing behind.
    for (const auto& entry : fs::directory_iterator(ToUtf16(directory).value()))
        EXPECT_EQ(entry.path().filename().wstring().find(L"write-test"), std::wstring::npos);
}

// A program in a folder the user can't write to keeps its settings in the
// application data folder; the file beside it is read until that one exists,
// and never written.
TEST(SettingsLocationWindows, SavesInTheApplicationDataFolderAndReadsTheShippedFileUntilThen)
{
    TempDir dir;
    fs::create_directory(dir.path() / "program");
    const std::string beside = dir.file("program\\Trovanix.ini");
    JobFields shipped;
    shipped[JobField::Edit5] = "shipped";
    SaveJobFields(shipped, beside);
    const std::string shippedBytes = ReadFileBytes(beside);

    const SettingsLocation location = ChooseSettingsLocation({beside, false, dir.file("Roaming"), ""});
    EXPECT_EQ(LoadJobFields(SettingsFileToLoad(location))[JobField::Edit5], "shipped");

    ASSERT_TRUE(CreateSettingsDirectory(location.iniFile));
    EXPECT_TRUE(fs::is_directory(dir.path() / "Roaming" / "Quellory"));
    EXPECT_FALSE(fs::exists(location.iniFile)) << "the save makes the file, not the directory";
    JobFields mine;
    mine[JobField::Edit5] = "mine";
    SaveJobFields(mine, location.iniFile);
    EXPECT_EQ(LoadJobFields(SettingsFileToLoad(location))[JobField::Edit5], "mine");
    EXPECT_EQ(ReadFileBytes(beside), shippedBytes);
    EXPECT_TRUE(CreateSettingsDirectory(location.iniFile)) << "a second time finds it there";
}

TEST(SettingsLocationWindows, CannotMakeAFolderInsideAFile)
{
    TempDir dir;
    WriteFileBytes(dir.file("file"), "x");
    EXPECT_FALSE(CreateSettingsDirectory(dir.file("file\\Quellory\\Trovanix.ini")));
}

}  // namespace
