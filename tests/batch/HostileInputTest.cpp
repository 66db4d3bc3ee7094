#include "BatchRun.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "FakeWindow.h"
#include "JobFields.h"
#include "LoopbackServer.h"
#include "MemoryPages.h"
#include "PageFetch.h"
#include "TempDir.h"
#include "UnprivilegedUser.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const std::string kDone = "文件生成完毕！";
const std::string kBadCounter = "起点必须是整数";
const std::string kBadRange = "累加变量范围必须是整数";
const std::string kPage = "<p>page</p>";

// The completion caption of a job of pages 1 and 2 whose first `failedPages` pages failed.
std::string Done(int failedPages)
{
    const char* const captions[] = {"", "（1 页出错：1）", "（2 页出错：1、2）"};
    return kDone + captions[failedPages];
}

std::string Repeat(const std::string& piece, std::size_t times)
{
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

// Every file and directory under `root`, relative to it and sorted, without
// following links: temporary files and anything written astray show up here.
Names Tree(const fs::path& root)
{
    Names names;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        names.push_back(fs::relative(entry.path(), root).string());
    std::sort(names.begin(), names.end());
    return names;
}

// The lines of a settings file; a key injected by a line break shows as an extra line.
Names Lines(const std::string& text)
{
    Names lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

// What one run did: the addresses it asked for, and what the window showed.
struct RunOutcome {
    Names addresses;
    Names captions;
    Names messages;
};

// A job of pages 1 and 2 into `outDir`, as p001.html and p002.html.
JobFields Job(const std::string& outDir)
{
    JobFields fields;
    fields.texts = {"http://h/[-A-]", "1", "2", outDir, "p", ".html", "001"};
    fields.sameNameChoice = kChoiceOverwrite;
    return fields;
}

class HostileInputTest : public testing::Test {
protected:
    void SetUp() override { fs::create_directory(outDir_); }

    // Runs `fields` with every page answered from memory.
    RunOutcome Run(const JobFields& fields)
    {
        RunOutcome outcome;
        FakeWindow window(fields, iniFile_);
        BatchThreadProc(window, [&](const std::string& address, PageSink& sink, FetchedPage& page) {
            outcome.addresses.push_back(address);
            ServeFromMemory(kPage, sink, page);
        });
        outcome.captions = window.Captions();
        outcome.messages = window.Messages();
        return outcome;
    }

    // The job's keys as a save writes them, for the settings file to hold.
    void ExpectSettingsHold(const JobFields& fields)
    {
        const JobFields loaded = LoadJobFields(iniFile_);
        EXPECT_EQ(loaded.texts, fields.texts);
        EXPECT_EQ(loaded.sameNameChoice, fields.sameNameChoice);
    }

    // The settings file is the header and the eight keys, one line each, in order.
    void ExpectSettingsWellFormed()
    {
        const Names lines = Lines(ReadFileBytes(iniFile_));
        const Names keys = {"[Setting]", "TargetPage=", "BeginPoint=", "EndPoint=", "SavePath=",
                            "FileName=", "FileBack=", "FilePoint=", "SameNameCover="};
        ASSERT_EQ(lines.size(), keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i)
            EXPECT_TRUE(lines[i].starts_with(keys[i])) << lines[i];
    }

    TempDir dir_;
    const std::string outDir_ = dir_.file("out");
    const std::string iniFile_ = dir_.file("Trovanix.ini");
};

TEST_F(HostileInputTest, EmptyFieldsEitherStopTheRunOrAreUsedAsTheyAre)
{
    struct Case {
        JobField field;
        std::string message;  // empty: the run goes through
        Names files;
    };
    const Case cases[] = {
        {JobField::Edit2, kBadRange, {}},
        {JobField::Edit3, kBadRange, {}},
        {JobField::Edit7, kBadCounter, {}},
        {JobField::Edit5, "", {"001.html", "002.html"}},
        {JobField::Edit6, "", {"p001", "p002"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.field) + 1);
        TempDir out;
        JobFields fields = Job(out.path().string());
        fields[c.field] = "";

        const RunOutcome outcome = Run(fields);

        ExpectSettingsHold(fields);  // an empty key reads as empty, not as its default
        EXPECT_EQ(Tree(out.path()), c.files);
        if (c.message.empty()) {
            EXPECT_EQ(outcome.captions, (Names{"http://h/1", "http://h/2", kDone}));
        } else {
            EXPECT_EQ(outcome.messages, Names{c.message});
            EXPECT_TRUE(outcome.captions.empty());
            EXPECT_TRUE(outcome.addresses.empty());
        }
    }
}

TEST_F(HostileInputTest, EveryFieldEmptyEndsTheRunAtTheCounterAfterSaving)
{
    JobFields fields;
    fields.sameNameChoice = kChoiceSkip;

    const RunOutcome outcome = Run(fields);

    EXPECT_EQ(outcome.messages, Names{kBadCounter});
    EXPECT_TRUE(outcome.captions.empty());
    EXPECT_TRUE(outcome.addresses.empty());
    ExpectSettingsHold(fields);
    EXPECT_TRUE(Tree(outDir_).empty());
}

TEST_F(HostileInputTest, AnEmptyDirectoryFieldMeansThePathStartsAtTheRoot)
{
    // "" + "/" + stem: a stem that is a path from the root lands there.
    JobFields fields = Job("");
    fields[JobField::Edit5] = outDir_.substr(1) + "/p";

    const RunOutcome outcome = Run(fields);

    EXPECT_EQ(outcome.captions.back(), kDone);
    EXPECT_EQ(Tree(outDir_), (Names{"p001.html", "p002.html"}));
}

TEST_F(HostileInputTest, TenThousandCharacterTextsAreCutInTheSettingsAndRefusedByTheFileSystem)
{
    const std::string ascii(10000, 'a');
    const std::string chinese = Repeat("页", 10000);  // three bytes each
    const std::string zerosThenOne = std::string(9999, '0') + "1";
    struct Case {
        const char* name;
        JobField field;
        std::string text;
        std::string loaded;   // what the settings file gives back: at most 1,022 bytes, whole characters
        std::string message;  // empty: the run goes through
        int failedPages;
        Names files;
    };
    const Case cases[] = {
        {"template", JobField::Edit1, ascii, std::string(1022, 'a'), "", 0, {"p001.html", "p002.html"}},
        {"template, multi-byte", JobField::Edit1, chinese, Repeat("页", 340), "", 0,
         {"p001.html", "p002.html"}},
        {"first page, too big", JobField::Edit2, std::string(10000, '1'), std::string(1022, '1'),
         kBadRange, 0, {}},
        {"first page, leading zeros", JobField::Edit2, zerosThenOne, std::string(1022, '0'), "", 0,
         {"p001.html", "p002.html"}},
        {"last page, multi-byte", JobField::Edit3, chinese, Repeat("页", 340), kBadRange, 0, {}},
        {"directory", JobField::Edit4, "/" + ascii, "/" + std::string(1021, 'a'), "", 2, {}},
        {"directory, multi-byte", JobField::Edit4, chinese, Repeat("页", 340), "", 2, {}},
        {"stem", JobField::Edit5, ascii, std::string(1022, 'a'), "", 2, {}},
        {"stem, multi-byte", JobField::Edit5, chinese, Repeat("页", 340), "", 2, {}},
        {"suffix", JobField::Edit6, ascii, std::string(1022, 'a'), "", 2, {}},
        {"suffix, multi-byte", JobField::Edit6, chinese, Repeat("页", 340), "", 2, {}},
        {"counter, multi-byte", JobField::Edit7, chinese, Repeat("页", 340), kBadCounter, 0, {}},
        // Value 1, but ten thousand digits wide: a name no file system takes.
        {"counter, leading zeros", JobField::Edit7, zerosThenOne, std::string(1022, '0'), "", 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir out;
        JobFields fields = Job(out.path().string());
        fields[c.field] = c.text;

        const RunOutcome outcome = Run(fields);

        JobFields stored = fields;
        stored[c.field] = c.loaded;
        ExpectSettingsHold(stored);
        ExpectSettingsWellFormed();
        EXPECT_EQ(outcome.messages, (c.message.empty() ? Names{} : Names{c.message}));
        EXPECT_EQ(outcome.captions.empty() ? "" : outcome.captions.back(),
                  c.message.empty() ? Done(c.failedPages) : "");
        // The template reaches the fetch whole; only the settings file cuts it.
        if (c.field == JobField::Edit1) {
            EXPECT_EQ(outcome.addresses.front().size(), c.text.size());
        }
        EXPECT_EQ(Tree(out.path()), c.files);
    }
}

TEST_F(HostileInputTest, ControlCharactersNeverInjectASettingsKey)
{
    struct Case {
        const char* name;
        std::string text;
        std::optional<std::string> loaded;  // nothing: the write is refused and the old value stays
    };
    const Case cases[] = {
        {"tab inside", "a\tb", "a\tb"},
        {"tabs around", "\ta b\t", "a b"},  // the profile's own trimming
        {"escape and delete", "a\x1B[31mb\x7F", "a\x1B[31mb\x7F"},
        {"vertical tab and form feed", "a\x0B\x0C b", "a\x0B\x0C b"},
        {"pasted newline", "x\nEndPoint=999", std::nullopt},
        {"pasted CRLF and header", "x\r\n[Setting]\r\nBeginPoint=999", std::nullopt},
        {"lone CR", "x\rFilePoint=9", std::nullopt},
        {"zero byte", std::string("a\0b", 3), "a"},
    };
    const JobField fields[] = {JobField::Edit1, JobField::Edit2, JobField::Edit3, JobField::Edit4,
                               JobField::Edit5, JobField::Edit6, JobField::Edit7};
    for (const Case& c : cases) {
        for (JobField field : fields) {
            SCOPED_TRACE(testing::Message() << c.name << ", Edit" << static_cast<int>(field) + 1);
            TempDir out;
            const JobFields before = Job(out.path().string());
            SaveJobFields(before, iniFile_);
            JobFields job = before;
            job[field] = c.text;

            const RunOutcome outcome = Run(job);

            JobFields stored = before;
            stored[field] = c.loaded.value_or(before[field]);
            ExpectSettingsHold(stored);
            ExpectSettingsWellFormed();
            EXPECT_TRUE(outcome.captions.empty() || outcome.captions.back().starts_with(kDone));
            for (const std::string& name : Tree(out.path()))
                EXPECT_FALSE(name.starts_with(".")) << "left behind: " << name;
        }
    }
}

TEST_F(HostileInputTest, ControlCharactersInFileNamesAreWrittenButAZeroByteIsRefused)
{
    struct Case {
        const char* name;
        std::string stem;
        int failedPages;
        Names files;
    };
    const Case cases[] = {
        {"newline", "x\nEndPoint=999", 0, {"x\nEndPoint=999001.html", "x\nEndPoint=999002.html"}},
        {"tab and escape", "\t\x1B", 0, {"\t\x1B" "001.html", "\t\x1B" "002.html"}},
        // The file system would stop at the zero byte and write both pages to "a".
        {"zero byte", std::string("a\0b", 3), 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir out;
        JobFields fields = Job(out.path().string());
        fields[JobField::Edit5] = c.stem;

        const RunOutcome outcome = Run(fields);

        EXPECT_EQ(outcome.captions.back(), Done(c.failedPages));
        EXPECT_EQ(Tree(out.path()), c.files);
        for (const std::string& name : c.files)
            EXPECT_EQ(ReadFileBytes(out.file(name)), kPage);
    }
}

TEST_F(HostileInputTest, NumbersAreDecimalIntegersOfThirtyTwoBitsAndNothingElse)
{
    struct Case {
        std::string text;
        std::optional<std::int64_t> value;  // nothing: refused
    };
    const Case cases[] = {
        {"+5", 5},
        {"-0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483648LL},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"\t5", std::nullopt},
        {"5\n", std::nullopt},
        {"0x10", std::nullopt},
        {"1e3", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"--5", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"٣", std::nullopt},   // ARABIC-INDIC DIGIT THREE
        {"５", std::nullopt},  // FULLWIDTH DIGIT FIVE
    };
    const JobField fields[] = {JobField::Edit2, JobField::Edit3, JobField::Edit7};
    for (const Case& c : cases) {
        for (JobField field : fields) {
            SCOPED_TRACE(testing::Message() << "\"" << c.text << "\" in Edit" << static_cast<int>(field) + 1);
            TempDir out;
            SaveJobFields(Job(out.path().string()), iniFile_);
            JobFields job = Job(out.path().string());
            job[field] = c.text;
            // An accepted first or last page is made the whole range: one page.
            if (c.value && field == JobField::Edit2)
                job[JobField::Edit3] = std::to_string(*c.value);
            if (c.value && field == JobField::Edit3)
                job[JobField::Edit2] = std::to_string(*c.value);

            const RunOutcome outcome = Run(job);

            // Saved first, whatever the text; blanks at either end do not read back.
            JobFields stored = job;
            stored[field] = c.text == " 5" || c.text == "5 " || c.text == "\t5" ? "5" : c.text;
            if (c.text == "5\n")
                stored[field] = Job("")[field];  // a line break is never stored: the old value stays
            ExpectSettingsHold(stored);

            if (!c.value) {
                EXPECT_EQ(outcome.messages, Names{field == JobField::Edit7 ? kBadCounter : kBadRange});
                EXPECT_TRUE(outcome.captions.empty());
                EXPECT_TRUE(outcome.addresses.empty());
                EXPECT_TRUE(Tree(out.path()).empty());
            } else if (field == JobField::Edit7) {
                const std::string first = std::to_string(*c.value);
                const std::string second = std::to_string(*c.value + 1);
                // Padded to the typed width, sign and all: "+5" is two wide.
                const auto name = [&](std::string number) {
                    if (number.size() < c.text.size())
                        number.insert(0, c.text.size() - number.size(), '0');
                    return "p" + number + ".html";
                };
                Names expected = {name(first), name(second)};
                std::sort(expected.begin(), expected.end());
                EXPECT_EQ(Tree(out.path()), expected);
                EXPECT_EQ(outcome.captions.back(), kDone);
            } else {
                const std::string address = "http://h/" + std::to_string(*c.value);
                EXPECT_EQ(outcome.addresses, Names{address});
                EXPECT_EQ(outcome.captions, (Names{address, kDone}));
            }
        }
    }
}

TEST_F(HostileInputTest, OutputPlacesThatCannotTakeAFileAreCountedAndWriteNothingAstray)
{
    struct Case {
        const char* name;
        Names makeDirectories;  // under the fixture's root, made before the run
        Names makeFiles;        // likewise, each holding "mine"
        std::string directory;  // "{root}" stands for the fixture's root
        std::string stem;
        std::string suffix;
        int failedPages;
        Names tree;             // everything under the root afterwards, settings file aside
    };
    const Case cases[] = {
        {"directory is a regular file", {}, {"file"}, "{root}/file", "p", ".html", 2, {"file"}},
        {"a directory no one can create files in", {}, {}, "/proc", "p", ".html", 2, {}},
        {"stem into a missing subdirectory", {"out"}, {}, "{root}/out", "sub/p", ".html", 2, {"out"}},
        {"stem into an existing subdirectory", {"out", "out/sub"}, {}, "{root}/out", "sub/p", ".html", 0,
         {"out", "out/sub", "out/sub/p001.html", "out/sub/p002.html"}},
        {"stem out of the directory", {"out"}, {}, "{root}/out", "../p", ".html", 0,
         {"out", "p001.html", "p002.html"}},
        {"suffix ending in a slash", {"out"}, {}, "{root}/out", "p", ".html/", 2, {"out"}},
        {"suffix ending in a slash, directory there", {"out", "out/p001.html"}, {}, "{root}/out", "p",
         ".html/", 2, {"out", "out/p001.html"}},
        {"suffix ending in a slash, file there", {"out"}, {"out/p001.html"}, "{root}/out", "p", ".html/", 2,
         {"out", "out/p001.html"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir root;
        for (const std::string& directory : c.makeDirectories)
            fs::create_directory(root.file(directory));
        for (const std::string& file : c.makeFiles)
            WriteFileBytes(root.file(file), "mine");
        JobFields fields = Job("");
        fields[JobField::Edit4] = c.directory.starts_with("{root}")
                                      ? root.path().string() + c.directory.substr(6)
                                      : c.directory;
        fields[JobField::Edit5] = c.stem;
        fields[JobField::Edit6] = c.suffix;

        const RunOutcome outcome = Run(fields);

        EXPECT_EQ(outcome.addresses.size(), 2u);
        EXPECT_EQ(outcome.captions.back(), Done(c.failedPages));
        EXPECT_EQ(Tree(root.path()), c.tree);
        for (const std::string& file : c.makeFiles)
            EXPECT_EQ(ReadFileBytes(root.file(file)), "mine");
    }
}

TEST_F(HostileInputTest, AReadOnlyPageFileIsLeftAsItIsAndCountedUnlessSkipped)
{
    for (const int choice : {kChoiceOverwrite, kChoiceSkip}) {
        SCOPED_TRACE(choice == kChoiceOverwrite ? "overwrite" : "skip");
        TempDir out;
        WriteFileBytes(out.file("p001.html"), "mine");
        chmod(out.file("p001.html").c_str(), 0444);
        JobFields fields = Job(out.path().string());
        fields.sameNameChoice = choice;

        const RunOutcome outcome = Run(fields);

        EXPECT_EQ(outcome.captions.back(), Done(choice == kChoiceOverwrite ? 1 : 0));
        EXPECT_EQ(Tree(out.path()), (Names{"p001.html", "p002.html"}));
        EXPECT_EQ(ReadFileBytes(out.file("p001.html")), "mine");
        struct stat info {};
        stat(out.file("p001.html").c_str(), &info);
        EXPECT_EQ(info.st_mode & 07777, 0444u);
        EXPECT_EQ(ReadFileBytes(out.file("p002.html")), kPage);
    }
}

// In a child that is no root, as a user who honours every permission.
TEST_F(HostileInputTest, AnUnprivilegedUserCountsWhatItMayNotWriteAndLeavesItAsItIs)
{
    struct Case {
        const char* name;
        mode_t directoryMode;
        bool directoryIsTheUsers;
        bool pageFileIsRoots;  // p001.html is there, root's and writable only by root
        int failedPages;
        Names tree;
    };
    std::vector<Case> cases = {
        {"a read-only directory", 0555, true, false, 2, {}},
    };
    if (geteuid() == 0) {
        cases.push_back({"another user's directory", 0755, false, false, 2, {}});
        cases.push_back({"another user's page file", 0755, true, true, 1, {"p001.html", "p002.html"}});
    }
    // Everything the child needs lies under this fixture's root.
    GiveToUnprivilegedUser(dir_.path().string());
    chmod(dir_.path().c_str(), 0755);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir out;
        chmod(out.path().c_str(), 0755);
        if (c.pageFileIsRoots)
            WriteFileBytes(out.file("p001.html"), "mine");
        if (c.directoryIsTheUsers)
            GiveToUnprivilegedUser(out.path().string());
        chmod(out.path().c_str(), c.directoryMode);
        EXPECT_EXIT(
            {
                if (!BecomeUnprivilegedUser())
                    _exit(2);
                const RunOutcome outcome = Run(Job(out.path().string()));
                const bool counted = outcome.captions.back() == Done(c.failedPages);
                const bool left = Tree(out.path()) == c.tree
                    && (!c.pageFileIsRoots || ReadFileBytes(out.file("p001.html")) == "mine");
                // _exit: a leak check at exit cannot inspect a process that dropped root.
                _exit(counted && left ? 0 : 1);
            },
            testing::ExitedWithCode(0), "");
    }
}

// The same hostile templates through the real network client, against a
// server on this machine that records what reaches it.
class HostileAddressTest : public HostileInputTest {
protected:
    static void SetUpTestSuite() { InitPageFetch(); }

    void SetUp() override
    {
        HostileInputTest::SetUp();
        server_.server().Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            targets_.push_back(req.target);
            if (req.has_header("X-Injected"))
                injected_ = true;
            res.set_content(kPage, "text/html");
        });
        server_.start();
    }

    Names Targets()
    {
        std::lock_guard lock(mutex_);
        return targets_;
    }

    void ForgetTargets()
    {
        std::lock_guard lock(mutex_);
        targets_.clear();
    }

    bool Injected()
    {
        std::lock_guard lock(mutex_);
        return injected_;
    }

    LoopbackServer server_;
    std::mutex mutex_;
    Names targets_;
    bool injected_ = false;
};

TEST_F(HostileAddressTest, AddressesTheClientRefusesAreCountedAndReachNoServer)
{
    struct Case {
        const char* name;
        std::string pageTemplate;
        int failedPages;
        Names targets;
        Names files;
    };
    const std::string base = server_.url("/p[-A-]");
    const std::string longPath(10000, 'a');
    const Case cases[] = {
        {"empty", "", 2, {}, {}},
        {"blanks", " \t ", 2, {}, {}},
        {"another scheme", "file:///etc/hostname?[-A-]", 2, {}, {}},
        {"space inside, sent as %20", base + "?a b", 0, {"/p1?a%20b", "/p2?a%20b"},
         {"p001.html", "p002.html"}},
        {"tab inside", base + "\tx", 2, {}, {}},
        {"header smuggled by CRLF", base + "\r\nX-Injected: 1", 2, {}, {}},
        {"escape", base + "\x1B[31m", 2, {}, {}},
        // The client would stop at the zero byte and fetch another address.
        {"zero byte", base + std::string("\0x", 2), 2, {}, {}},
        // The server refuses so long a request line; its error page is kept and counted.
        {"ten thousand characters", base + "/" + longPath, 2, {}, {"p001.html", "p002.html"}},
        {"multi-byte query", base + "?q=页", 0, {"/p1?q=页", "/p2?q=页"}, {"p001.html", "p002.html"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ForgetTargets();
        TempDir out;
        JobFields fields = Job(out.path().string());
        fields[JobField::Edit1] = c.pageTemplate;
        FakeWindow window(fields, iniFile_);

        BatchThreadProc(window);

        EXPECT_EQ(window.Caption(), Done(c.failedPages));
        EXPECT_EQ(Targets(), c.targets);
        EXPECT_EQ(Tree(out.path()), c.files);
    }
    EXPECT_FALSE(Injected());
}

}  // namespace
