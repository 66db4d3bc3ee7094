#include "DirectoryTree.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"

namespace fs = std::filesystem;

TEST(DirectoryTree, TakesPathsApartAtTheirRoot)
{
    const struct {
        const wchar_t* path;
        const wchar_t* root;
        std::vector<std::wstring> levels;
    } cases[] = {
        {L"C:\\", L"C:\\", {}},
        {L"C:\\MyPath", L"C:\\", {L"MyPath"}},
        {L"D:\\a\\b c\\页", L"D:\\", {L"a", L"b c", L"页"}},
        {L"\\\\server\\share", L"\\\\server\\share\\", {}},
        {L"\\\\server\\share\\dir\\sub", L"\\\\server\\share\\", {L"dir", L"sub"}},
        {L"relative\\dir", L"", {L"relative", L"dir"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathRoot(c.path), c.root) << c.path;
        EXPECT_EQ(PathLevels(c.path), c.levels) << c.path;
    }
}

TEST(DirectoryTree, JoinsANameOnceWithOneSeparator)
{
    EXPECT_EQ(ChildPath(L"C:\\", L"a"), L"C:\\a");
    EXPECT_EQ(ChildPath(L"C:\\a", L"b"), L"C:\\a\\b");
}

class DirectoryTreeOnDisk : public testing::Test {
protected:
    DirectoryTreeOnDisk()
    {
        for (const wchar_t* name : {L"beta", L"Alpha", L"gamma\u9875", L".hidden"})
            fs::create_directories(root / name);
        // Hidden by its attribute on Windows, and by its dot under Wine too.
        SetFileAttributesW((root / ".hidden").wstring().c_str(), FILE_ATTRIBUTE_HIDDEN);
        std::FILE* file = _wfopen((root / "file.txt").wstring().c_str(), L"w");
        std::fclose(file);
    }

    TempDir temp;
    const fs::path root = fs::path(temp.path());
};

TEST_F(DirectoryTreeOnDisk, ListsVisibleSubdirectoriesSortedWithoutCase)
{
    const std::vector<std::wstring> expected = {L"Alpha", L"beta", L"gamma\u9875"};
    EXPECT_EQ(SubdirectoryNames(root.wstring()), expected);
    EXPECT_TRUE(SubdirectoryNames((root / "missing").wstring()).empty());
}

TEST_F(DirectoryTreeOnDisk, FallsBackToTheNearestLevelThatExists)
{
    const std::wstring beta = (root / "beta").wstring();
    EXPECT_EQ(NearestExistingDirectory(beta), beta);
    EXPECT_EQ(NearestExistingDirectory(beta + L"\\gone\\deeper"), beta);
    // A file is no directory to open.
    EXPECT_EQ(NearestExistingDirectory((root / "file.txt").wstring()), root.wstring());
}

TEST_F(DirectoryTreeOnDisk, CurrentDirectoryHasNoTrailingSeparatorBelowTheRoot)
{
    const std::wstring start = CurrentDirectory();
    ASSERT_TRUE(SetCurrentDirectoryW((root.wstring() + L"\\beta\\").c_str()));
    EXPECT_EQ(CurrentDirectory(), root.wstring() + L"\\beta");
    ASSERT_TRUE(SetCurrentDirectoryW(PathRoot(start).c_str()));
    EXPECT_EQ(CurrentDirectory(), PathRoot(start));
    SetCurrentDirectoryW(start.c_str());
}
