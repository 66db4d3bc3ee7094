#include "SettingsPath.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "Platform.h"
#include "TempDir.h"

TEST(SettingsPath, IsTheIniFileBesideTheRunningProgram)
{
    const std::string directory = ExecutableDirectory();
    const std::string program = kOnWindows ? "SettingsPathTest.exe" : "SettingsPathTest";
    EXPECT_TRUE(directory.ends_with(kOnWindows ? "\\" : "/")) << directory;
    EXPECT_TRUE(std::filesystem::is_regular_file(PathFromUtf8(directory + program))) << directory;
    EXPECT_EQ(SettingsFilePath(), directory + "Trovanix.ini");
}
