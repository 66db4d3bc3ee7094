#include "JobFields.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include "Platform.h"

namespace {

// "C:\MyPath" on Windows; a folder in the home directory where that means nothing.
std::string ExpectedDefaultSavePath()
{
#ifdef _WIN32
    return "C:\\MyPath";
#else
    const passwd* entry = getpwuid(getuid());
    return std::string(entry != nullptr ? entry->pw_dir : "") + "/MyPath";
#endif
}

// "页面" as the settings file holds it: UTF-8 on Linux, GBK on Windows.
const std::string kStoredPage = kOnWindows ? "\xD2\xB3\xC3\xE6" : "页面";

JobFields SampleFields()
{
    JobFields fields;
    fields.texts = {"http://127.0.0.1/page.php?id=[-A-]", "7", "0012", "/srv/out", "页面", ".htm", "0001"};
    fields.sameNameChoice = kChoiceSkip;
    return fields;
}

class JobFieldsTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string file = dir.file("Trovanix.ini");
};

TEST_F(JobFieldsTest, FirstStartLoadsTheDefaultsAndCreatesNoFile)
{
    JobFields fields = LoadJobFields(file);
    EXPECT_EQ(fields[JobField::Edit1], "");
    EXPECT_EQ(fields[JobField::Edit2], "1");
    EXPECT_EQ(fields[JobField::Edit3], "100");
    EXPECT_EQ(fields[JobField::Edit4], ExpectedDefaultSavePath());
    EXPECT_EQ(fields[JobField::Edit5], "");
    EXPECT_EQ(fields[JobField::Edit6], ".html");
    EXPECT_EQ(fields[JobField::Edit7], "001");
    EXPECT_EQ(fields.sameNameChoice, kChoiceOverwrite);
    EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(file)));
}

TEST_F(JobFieldsTest, SavesEveryKeyInTableOrderAndLoadsThemBack)
{
    JobFields saved = SampleFields();
    SaveJobFields(saved, file);
    EXPECT_EQ(ReadFileBytes(file),
              "[Setting]\n"
              "TargetPage=http://127.0.0.1/page.php?id=[-A-]\n"
              "BeginPoint=7\n"
              "EndPoint=0012\n"
              "SavePath=/srv/out\n"
              "FileName=" + kStoredPage + "\n"
              "FileBack=.htm\n"
              "FilePoint=0001\n"
              "SameNameCover=False\n");

    JobFields loaded = LoadJobFields(file);
    EXPECT_EQ(loaded.texts, saved.texts);
    EXPECT_EQ(loaded.sameNameChoice, kChoiceSkip);

    saved.sameNameChoice = kChoiceOverwrite;
    SaveJobFields(saved, file);
    EXPECT_NE(ReadFileBytes(file).find("\nSameNameCover=True\n"), std::string::npos);
    EXPECT_EQ(LoadJobFields(file).sameNameChoice, kChoiceOverwrite);
}

TEST_F(JobFieldsTest, OnlyTheExactTextTrueMeansOverwrite)
{
    struct Case {
        const char* line;
        int expected;
    };
    const Case cases[] = {
        {"SameNameCover=True", kChoiceOverwrite},
        {"samenamecover = True ", kChoiceOverwrite},  // the profile trims the value
        {"SameNameCover=\"True\"", kChoiceOverwrite},  // and drops its quotes
        {"SameNameCover=true", kChoiceSkip},
        {"SameNameCover=TRUE", kChoiceSkip},
        {"SameNameCover=False", kChoiceSkip},
        {"SameNameCover=1", kChoiceSkip},
        {"SameNameCover=", kChoiceSkip},
        {"SameNameCover=True!", kChoiceSkip},
        {"; no such key", kChoiceOverwrite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        WriteFileBytes(file, std::string("[Setting]\n") + c.line + "\n");
        EXPECT_EQ(LoadJobFields(file).sameNameChoice, c.expected);
    }
}

TEST_F(JobFieldsTest, AMissingKeyLoadsItsDefaultAndLeavesTheRest)
{
    WriteFileBytes(file,
                   "[Setting]\r\n"
                   "TargetPage=http://x/[-A-]\r\n"
                   "BeginPoint=5\r\n"
                   "SavePath=/data\r\n"
                   "FileName=p\r\n"
                   "FileBack=.txt\r\n"
                   "FilePoint=9\r\n"
                   "SameNameCover=False\r\n");
    JobFields fields = LoadJobFields(file);
    EXPECT_EQ(fields[JobField::Edit1], "http://x/[-A-]");
    EXPECT_EQ(fields[JobField::Edit2], "5");
    EXPECT_EQ(fields[JobField::Edit3], "100");
    EXPECT_EQ(fields[JobField::Edit4], "/data");
    EXPECT_EQ(fields[JobField::Edit5], "p");
    EXPECT_EQ(fields[JobField::Edit6], ".txt");
    EXPECT_EQ(fields[JobField::Edit7], "9");
    EXPECT_EQ(fields.sameNameChoice, kChoiceSkip);
}

TEST_F(JobFieldsTest, SavingKeepsAHandEditedFileAroundTheKeys)
{
    WriteFileBytes(file,
                   "; my settings\r\n"
                   "[Setting]\r\n"
                   "BeginPoint=5\r\n"
                   "\r\n"
                   "[Mine]\r\n"
                   "x=1\r\n");
    SaveJobFields(SampleFields(), file);
    EXPECT_EQ(ReadFileBytes(file),
              "; my settings\r\n"
              "[Setting]\r\n"
              "BeginPoint=7\r\n"
              "TargetPage=http://127.0.0.1/page.php?id=[-A-]\r\n"
              "EndPoint=0012\r\n"
              "SavePath=/srv/out\r\n"
              "FileName=" + kStoredPage + "\r\n"
              "FileBack=.htm\r\n"
              "FilePoint=0001\r\n"
              "SameNameCover=False\r\n"
              "\r\n"
              "[Mine]\r\n"
              "x=1\r\n");
}

TEST_F(JobFieldsTest, SavingIntoAMissingDirectoryWritesNothing)
{
    std::string missing = dir.file("gone/Trovanix.ini");
    SaveJobFields(SampleFields(), missing);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

} // namespace
