#include "BatchRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "DirectoryListing.h"
#include "FakeWindow.h"
#include "JobFields.h"
#include "LoopbackServer.h"
#include "MemoryPages.h"
#include "PageFetch.h"
#include "RefusingPort.h"
#include "ScopedCurrentDirectory.h"
#ifndef _WIN32
#include "ScopedFileSizeLimit.h"
#endif
#include "TempDir.h"

namespace {

using Names = std::vector<std::string>;

const std::string kDone = "文件生成完毕！";

// The body served for a page tag: a zero byte inside, so a cut at it shows.
std::string PageBody(const std::string& tag)
{
    return "<p>" + tag + std::string("</p>\0tail", 9);
}

// A server of numbered pages, a job writing into a fresh directory, and a
// window showing that job.
class BatchRunTest : public testing::Test {
protected:
    static void SetUpTestSuite() { InitPageFetch(); }

    void SetUp() override
    {
        std::filesystem::create_directory(outDir_);
        auto& http = server_.server();
        http.Get("/page", [this](const httplib::Request& req, httplib::Response& res) {
            Record(req);
            const std::string tag = req.get_param_value("run") + req.get_param_value("n");
            res.set_content(PageBody(tag), "text/html");
        });
        http.Get("/moved", [this](const httplib::Request& req, httplib::Response& res) {
            Record(req);
            res.set_redirect("/page?n=" + req.get_param_value("n"));
        });
        // Page 1 is too big, page 2 is missing, page 3 is fine.
        http.Get("/mixed", [this](const httplib::Request& req, httplib::Response& res) {
            Record(req);
            const std::string n = req.get_param_value("n");
            if (n == "1") {
                res.set_content(std::string(3 * 1024 * 1024, 'x'), "text/html");
            } else if (n == "2") {
                res.status = 404;
                res.set_content("<h1>404</h1>", "text/html");
            } else {
                res.set_content(PageBody(n), "text/html");
            }
        });
        server_.start();
    }

    // Range 5 to 7 from /page into p001.html, p002.html, p003.html.
    JobFields Job(const std::string& pageTemplate, const std::string& first = "5",
                  const std::string& last = "7")
    {
        JobFields fields;
        fields[JobField::Edit1] = pageTemplate;
        fields[JobField::Edit2] = first;
        fields[JobField::Edit3] = last;
        fields[JobField::Edit4] = outDir_;
        fields[JobField::Edit5] = "p";
        fields[JobField::Edit6] = ".html";
        fields[JobField::Edit7] = "001";
        fields.sameNameChoice = kChoiceOverwrite;
        return fields;
    }

    std::string Out(const std::string& name) const { return outDir_ + "/" + name; }

    // The request targets the server saw, in order.
    std::vector<std::string> Requests()
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }

    void ExpectSaved(const JobFields& fields)
    {
        const JobFields saved = LoadJobFields(iniFile_);
        EXPECT_EQ(saved.texts, fields.texts);
        EXPECT_EQ(saved.sameNameChoice, fields.sameNameChoice);
    }

    TempDir dir_;
    const std::string outDir_ = dir_.file("out");
    const std::string iniFile_ = dir_.file("Trovanix.ini");
    LoopbackServer server_;

private:
    void Record(const httplib::Request& req)
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(req.target);
    }

    std::mutex mutex_;
    std::vector<std::string> requests_;
};

// Pages whose body is their address, without a network.
void AddressAsBody(const std::string& address, PageSink& sink, FetchedPage& page)
{
    ServeFromMemory(address, sink, page);
}

TEST_F(BatchRunTest, WritesOneNumberedFilePerPageByteForByte)
{
    const JobFields fields = Job(server_.url("/page?n=[-A-]"));
    FakeWindow window(fields, iniFile_);

    BatchThreadProc(window);

    EXPECT_EQ(Requests(), (Names{"/page?n=5", "/page?n=6", "/page?n=7"}));
    EXPECT_EQ(window.Captions(), (Names{server_.url("/page?n=5"), server_.url("/page?n=6"),
                                       server_.url("/page?n=7"), kDone}));
    EXPECT_EQ(DirectoryListing(outDir_), (Names{"p001.html", "p002.html", "p003.html"}));
    EXPECT_EQ(ReadFileBytes(Out("p001.html")), PageBody("5"));
    EXPECT_EQ(ReadFileBytes(Out("p002.html")), PageBody("6"));
    EXPECT_EQ(ReadFileBytes(Out("p003.html")), PageBody("7"));
    EXPECT_TRUE(window.Messages().empty());
    ExpectSaved(fields);
}

TEST_F(BatchRunTest, AReversedRangeFetchesNothingButSavesAndCompletes)
{
    const JobFields fields = Job(server_.url("/page?n=[-A-]"), "10", "3");
    FakeWindow window(fields, iniFile_);

    BatchThreadProc(window);

    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(DirectoryListing(outDir_).empty());
    EXPECT_EQ(window.Captions(), Names{kDone});
    ExpectSaved(fields);
}

TEST_F(BatchRunTest, CountersArePaddedToTheFirstCountersWidth)
{
    struct Case {
        std::string firstCounter;
        std::string last;
        Names names;  // sorted
        std::string lastPageName;
    };
    const Case cases[] = {
        {"7", "5", {"p10.html", "p11.html", "p7.html", "p8.html", "p9.html"}, "p11.html"},
        {"-05", "7", {"p0-1.html", "p0-2.html", "p0-3.html", "p0-4.html", "p0-5.html",
                      "p000.html", "p001.html"},
         "p001.html"},
        {"098", "3", {"p098.html", "p099.html", "p100.html"}, "p100.html"},
    };
    for (const Case& c : cases) {
        TempDir out;
        JobFields fields = Job("http://h/[-A-]", "1", c.last);
        fields[JobField::Edit4] = out.path().string();
        fields[JobField::Edit7] = c.firstCounter;
        FakeWindow window(fields, iniFile_);

        BatchThreadProc(window, AddressAsBody);

        EXPECT_EQ(DirectoryListing(out.path()), c.names) << "first counter " << c.firstCounter;
        EXPECT_EQ(ReadFileBytes(out.file(c.lastPageName)), "http://h/" + c.last);
    }
}

TEST_F(BatchRunTest, BothSpellingsOfThePlaceholderCarryThePageNumber)
{
    FakeWindow window(Job(server_.url("/page?n=[-A-]&run=[-a-]x"), "3", "3"), iniFile_);

    BatchThreadProc(window);

    EXPECT_EQ(Requests(), Names{"/page?n=3&run=3x"});
    EXPECT_EQ(ReadFileBytes(Out("p001.html")), PageBody("3x3"));
}

TEST_F(BatchRunTest, SkipFetchesThePageButLeavesTheExistingFile)
{
    JobFields fields = Job(server_.url("/page?n=[-A-]"));
    fields.sameNameChoice = kChoiceSkip;
    WriteFileBytes(Out("p002.html"), "mine");
    FakeWindow window(fields, iniFile_);

    BatchThreadProc(window);

    EXPECT_EQ(Requests(), (Names{"/page?n=5", "/page?n=6", "/page?n=7"}));
    EXPECT_EQ(ReadFileBytes(Out("p001.html")), PageBody("5"));
    EXPECT_EQ(ReadFileBytes(Out("p002.html")), "mine");
    EXPECT_EQ(ReadFileBytes(Out("p003.html")), PageBody("7"));
    EXPECT_EQ(window.Caption(), kDone);
}

TEST_F(BatchRunTest, ADirectoryOfTheSameNameIsNeitherSkippedNorReplaced)
{
    JobFields fields = Job(server_.url("/page?n=[-A-]"));
    fields.sameNameChoice = kChoiceSkip;
    std::filesystem::create_directory(Out("p002.html"));
    FakeWindow window(fields, iniFile_);

    BatchThreadProc(window);

    EXPECT_TRUE(std::filesystem::is_directory(Out("p002.html")));
    EXPECT_EQ(ReadFileBytes(Out("p003.html")), PageBody("7"));
    EXPECT_EQ(window.Caption(), kDone + "（1 页出错：6）");
}

TEST_F(BatchRunTest, AMissingDirectoryIsNotCreatedAndEveryPageCounts)
{
    JobFields fields = Job(server_.url("/page?n=[-A-]"));
    fields[JobField::Edit4] = dir_.file("missing");
    FakeWindow window(fields, iniFile_);

    BatchThreadProc(window);

    EXPECT_EQ(Requests().size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("missing")));
    EXPECT_EQ(window.Caption(), kDone + "（3 页出错：5、6、7）");
}

TEST_F(BatchRunTest, CutAndErrorPagesAreSavedAndCounted)
{
    FakeWindow window(Job(server_.url("/mixed?n=[-A-]"), "1", "3"), iniFile_);

    BatchThreadProc(window);

    EXPECT_TRUE(ReadFileBytes(Out("p001.html")) == std::string(kMaxPageBytes, 'x'));
    EXPECT_EQ(ReadFileBytes(Out("p002.html")), "<h1>404</h1>");
    EXPECT_EQ(ReadFileBytes(Out("p003.html")), PageBody("3"));
    EXPECT_EQ(window.Caption(), kDone + "（2 页出错：1、2）");
}

TEST_F(BatchRunTest, AFailedFetchWritesNothingAndKeepsTheExistingFile)
{
    RefusingPort refusing;
    WriteFileBytes(Out("p001.html"), "good old page");
    FakeWindow window(Job(refusing.url("/page?n=[-A-]"), "1", "2"), iniFile_);

    BatchThreadProc(window);

    EXPECT_EQ(DirectoryListing(outDir_), Names{"p001.html"});
    EXPECT_EQ(ReadFileBytes(Out("p001.html")), "good old page");
    EXPECT_EQ(window.Caption(), kDone + "（2 页出错：1、2）");
}

TEST_F(BatchRunTest, AFetchThatFailsHalfwayLeavesNoFileOfItsOwn)
{
    WriteFileBytes(Out("p002.html"), "good old page");
    // Pages 6 and 7 hand over part of a body, then the connection is lost.
    const PageSource source = [](const std::string& address, PageSink& sink, FetchedPage& page) {
        if (address.ends_with("5")) {
            ServeFromMemory(address, sink, page);
            return;
        }
        ServeFromMemory(std::string(100000, 'x'), sink, page);
        page.failed = true;
    };
    FakeWindow window(Job("http://h/[-A-]"), iniFile_);

    BatchThreadProc(window, source);

    EXPECT_EQ(DirectoryListing(outDir_), (Names{"p001.html", "p002.html"}));
    EXPECT_EQ(ReadFileBytes(Out("p001.html")), "http://h/5");
    EXPECT_EQ(ReadFileBytes(Out("p002.html")), "good old page");
    EXPECT_EQ(window.Caption(), kDone + "（2 页出错：6、7）");
}

#ifndef _WIN32
// Windows has no per-process file size limit to stand for a full disk.
TEST_F(BatchRunTest, AFileThatCannotBeWrittenWholeLeavesTheOldOneAndIsCounted)
{
    WriteFileBytes(Out("p001.html"), "good old page");
    FakeWindow window(Job(server_.url("/mixed?n=[-A-]"), "1", "3"), iniFile_);

    {
        // Page 1's 2 MiB do not fit; the other pages do.
        ScopedFileSizeLimit fullDisk(1024 * 1024);
        BatchThreadProc(window);
    }

    EXPECT_EQ(DirectoryListing(outDir_), (Names{"p001.html", "p002.html", "p003.html"}));
    EXPECT_EQ(ReadFileBytes(Out("p001.html")), "good old page");
    EXPECT_EQ(ReadFileBytes(Out("p002.html")), "<h1>404</h1>");
    EXPECT_EQ(ReadFileBytes(Out("p003.html")), PageBody("3"));
    EXPECT_EQ(window.Caption(), kDone + "（2 页出错：1、2）");
}
#endif

TEST_F(BatchRunTest, FollowsARedirectToThePage)
{
    FakeWindow window(Job(server_.url("/moved?n=[-A-]"), "4", "4"), iniFile_);

    BatchThreadProc(window);

    EXPECT_EQ(Requests(), (Names{"/moved?n=4", "/page?n=4"}));
    EXPECT_EQ(ReadFileBytes(Out("p001.html")), PageBody("4"));
    EXPECT_EQ(window.Caption(), kDone);
}

TEST_F(BatchRunTest, ABadNumberEndsTheRunAfterSavingWithAMessage)
{
    struct Case {
        std::string firstCounter;
        std::string first;
        std::string last;
        std::string message;
    };
    const std::string badCounter = "起点必须是整数";
    const std::string badRange = "累加变量范围必须是整数";
    const Case cases[] = {
        {"", "1", "3", badCounter},
        {"1.5", "x", "3", badCounter},
        {"0x10", "1", "3", badCounter},
        {"001", "", "3", badRange},
        {"001", "1", "3a", badRange},
        {"001", "1e3", "3", badRange},
        {"001", "1", "2147483648", badRange},
        {"001", "-2147483649", "1", badRange},
    };
    for (const Case& c : cases) {
        const std::string label = c.firstCounter + " | " + c.first + " | " + c.last;
        JobFields fields = Job(server_.url("/page?n=[-A-]"), c.first, c.last);
        fields[JobField::Edit7] = c.firstCounter;
        FakeWindow window(fields, iniFile_);

        BatchThreadProc(window);

        EXPECT_EQ(window.Messages(), Names{c.message}) << label;
        EXPECT_TRUE(window.Captions().empty()) << label;
        ExpectSaved(fields);
    }
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(DirectoryListing(outDir_).empty());
}

TEST_F(BatchRunTest, WalksToThe32BitLimitsWithoutOverflow)
{
    struct Case {
        std::string firstCounter;
        std::string first;
        std::string last;
        Names captions;
        Names names;
    };
    const Case cases[] = {
        {"2147483647", "2147483646", "2147483647",
         {"http://h/2147483646", "http://h/2147483647", kDone},
         {"p2147483647.html", "p2147483648.html"}},
        {"-2147483648", "-2147483648", "-2147483647",
         {"http://h/-2147483648", "http://h/-2147483647", kDone},
         {"p-2147483647.html", "p-2147483648.html"}},
    };
    for (const Case& c : cases) {
        TempDir out;
        JobFields fields = Job("http://h/[-A-]", c.first, c.last);
        fields[JobField::Edit4] = out.path().string();
        fields[JobField::Edit7] = c.firstCounter;
        FakeWindow window(fields, iniFile_);

        BatchThreadProc(window, AddressAsBody);

        EXPECT_EQ(window.Captions(), c.captions);
        EXPECT_EQ(DirectoryListing(out.path()), c.names);
    }
}

TEST_F(BatchRunTest, FieldsEditedDuringARunApplyFromWhereTheyAreNextRead)
{
    FakeWindow window(Job(server_.url("/page?n=[-A-]")), iniFile_);
    const std::string pageSixAddress = server_.url("/page?n=6");
    // While page 6 is on its way: its address is fixed, its file name is not.
    window.OnCaption([&](const std::string& caption) {
        if (caption != pageSixAddress)
            return;
        window.SetField(JobField::Edit1, server_.url("/page?run=B&n=[-A-]"));
        window.SetField(JobField::Edit3, "5");
        window.SetField(JobField::Edit5, "q");
        window.SetField(JobField::Edit7, "9999");
    });

    BatchThreadProc(window);

    EXPECT_EQ(Requests(), (Names{"/page?n=5", "/page?n=6", "/page?run=B&n=7"}));
    EXPECT_EQ(DirectoryListing(outDir_), (Names{"p001.html", "q0002.html", "q0003.html"}));
    EXPECT_EQ(ReadFileBytes(Out("q0002.html")), PageBody("6"));
    EXPECT_EQ(ReadFileBytes(Out("q0003.html")), PageBody("B7"));
}

TEST_F(BatchRunTest, TheCompletionCaptionNamesTheFailedPages)
{
    struct Case {
        std::string first;
        std::string last;
        std::string caption;
    };
    // Pages whose number ends in 3 fail; counters are unlike page numbers.
    const Case cases[] = {
        {"1", "12", kDone + "（1 页出错：3）"},
        {"-20", "30", kDone + "（5 页出错：-13、-3、3、13、23）"},
        {"1", "1000", kDone + "（100 页出错：3、13、23、33、43、53、63、73、83、93、…）"},
    };
    for (const Case& c : cases) {
        TempDir out;
        JobFields fields = Job("http://h/[-A-]", c.first, c.last);
        fields[JobField::Edit4] = out.path().string();
        fields[JobField::Edit7] = "500";
        FakeWindow window(fields, iniFile_);

        BatchThreadProc(window, [](const std::string& address, PageSink& sink, FetchedPage& page) {
            ServeFromMemory(address, sink, page);
            page.failed = address.ends_with("3");
        });

        EXPECT_EQ(window.Caption(), c.caption);
    }
}

TEST_F(BatchRunTest, AChangeOfDirectoryDuringAFetchMovesNoPage)
{
    for (const int choice : {kChoiceOverwrite, kChoiceSkip}) {
        SCOPED_TRACE(choice == kChoiceOverwrite ? "overwrite" : "skip");
        TempDir place;
        for (const char* directory : {"first", "first/out", "second", "second/out"})
            std::filesystem::create_directory(place.path() / directory);
        WriteFileBytes(place.file("first/out/p002.html"), "mine");
        JobFields fields = Job("http://h/[-A-]");
        fields[JobField::Edit4] = "out";
        fields.sameNameChoice = choice;
        FakeWindow window(fields, iniFile_);
        ScopedCurrentDirectory inFirst(place.path() / "first");

        // Page 6 is named in first/out; the directory changes while it arrives.
        BatchThreadProc(window, [&](const std::string& address, PageSink& sink, FetchedPage& page) {
            ServeFromMemory(address, sink, page);
            if (address.ends_with("6")) {
                std::filesystem::current_path(place.path() / "second");
                ServeFromMemory("+rest", sink, page);
            }
        });

        EXPECT_EQ(DirectoryListing(place.file("first/out")), (Names{"p001.html", "p002.html"}));
        EXPECT_EQ(ReadFileBytes(place.file("first/out/p002.html")),
                  choice == kChoiceOverwrite ? "http://h/6+rest" : "mine");
        EXPECT_EQ(DirectoryListing(place.file("second/out")), Names{"p003.html"});
        EXPECT_EQ(window.Caption(), kDone);
    }
}

TEST_F(BatchRunTest, OverlappingRunsLeaveOnlyWholePages)
{
    // Big bodies that tell the runs apart; without a server, whose own
    // threads would only blur what this is about.
    const auto body = [](char run) { return std::string(300000, run); };
    const PageSource source = [&](const std::string& address, PageSink& sink, FetchedPage& page) {
        ServeFromMemory(body(address.back()), sink, page);
    };
    for (const int runs : {2, 5}) {
        std::vector<std::unique_ptr<FakeWindow>> windows;
        for (int i = 0; i < runs; ++i) {
            const std::string run(1, static_cast<char>('a' + i));
            windows.push_back(std::make_unique<FakeWindow>(Job("http://h/[-A-]" + run, "1", "5"),
                                                           dir_.file(run + ".ini")));
        }
        std::vector<std::thread> threads;
        for (auto& window : windows)
            threads.emplace_back([&source, &window] { BatchThreadProc(*window, source); });
        for (auto& thread : threads)
            thread.join();

        for (auto& window : windows)
            EXPECT_EQ(window->Caption(), kDone);
        EXPECT_EQ(DirectoryListing(outDir_),
                  (Names{"p001.html", "p002.html", "p003.html", "p004.html", "p005.html"}));
        for (int n = 1; n <= 5; ++n) {
            const std::string name = "p00" + std::to_string(n) + ".html";
            const std::string bytes = ReadFileBytes(Out(name));
            const bool whole = bytes.size() == 300000
                && bytes.find_first_not_of(bytes.front()) == std::string::npos
                && bytes.front() >= 'a' && bytes.front() < 'a' + runs;
            EXPECT_TRUE(whole) << runs << " runs: " << name << " is mixed or short";
        }
    }
}

}  // namespace
