#include "SettingsPath.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(SettingsPath, IsTheIniFileBesideTheRunningProgram)
{
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
    std::string directory = program.parent_path().string() + "/";
    EXPECT_EQ(ExecutableDirectory(), directory);
    EXPECT_EQ(SettingsFilePath(), directory + "Trovanix.ini");
}
