#include "PageFetch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackServer.h"
#include "MemoryPages.h"
#include "RawServer.h"
#include "Platform.h"
#include "RefusingPort.h"
#include "UnderWine.h"

namespace {

using namespace std::chrono_literals;

const std::string kBodyWithZero = std::string("0123456789\0after the zero", 25);

// `size` bytes in which every 4 KiB block is marked, so a misplaced block shows.
std::string MarkedBody(std::size_t size)
{
    std::string body(size, 'b');
    for (std::size_t i = 0; i < size; i += 4096)
        body[i] = static_cast<char>('0' + (i / 4096) % 10);
    return body;
}

// Serves the pages every fetch test asks for, and remembers each request.
class PageFetchTest : public testing::Test {
protected:
    static void SetUpTestSuite() { InitPageFetch(); }

    void SetUp() override
    {
        auto& http = server_.server();
        http.Get("/zero", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kBodyWithZero, "text/html");
        });
        http.Get("/size/(\\d+)", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(MarkedBody(std::stoul(req.matches[1])), "application/octet-stream");
        });
        http.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("<h1>not here</h1>", "text/html");
        });
        http.Get("/moved", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/zero");
        });
        http.Get("/loop", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/loop");
        });
        http.Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("file:///etc/hostname");
        });
        http.Get("/gzip", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Content-Encoding", "gzip");
            res.set_content(std::string("\x1f\x8b not really gzip", 18), "text/html");
        });
        http.Get("/echo", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            requests_.push_back(req);
            res.set_content("echo", "text/plain");
        });
        server_.start();
    }

    std::vector<httplib::Request> Requests()
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }

    LoopbackServer server_;
    std::mutex mutex_;
    std::vector<httplib::Request> requests_;
};

// How a fetch ended, with the body it handed over.
struct Fetched : FetchedPage {
    std::string body;
};

Fetched FetchWith(FetchSession& session, const std::string& address)
{
    Fetched page;
    StringSink sink;
    FetchPage(session, address, sink, page);
    page.body = std::move(sink.body);
    return page;
}

Fetched Fetch(const std::string& address, FetchTimeouts timeouts = {})
{
    FetchSession session(timeouts);
    return FetchWith(session, address);
}

TEST_F(PageFetchTest, KeepsTheBodyByteForByteZerosIncluded)
{
    const Fetched page = Fetch(server_.url("/zero"));
    EXPECT_FALSE(page.failed);
    EXPECT_FALSE(page.cut);
    EXPECT_EQ(page.httpStatus, 200);
    EXPECT_EQ(page.body, kBodyWithZero);
}

TEST_F(PageFetchTest, CutsBodiesLongerThanTwoMebibytes)
{
    struct Case {
        std::size_t size;
        bool cut;
    };
    const Case cases[] = {{kMaxPageBytes - 1, false}, {kMaxPageBytes, false},
                          {kMaxPageBytes + 1, true}, {3 * 1024 * 1024, true}};
    for (const Case& c : cases) {
        const Fetched page = Fetch(server_.url("/size/" + std::to_string(c.size)));
        EXPECT_FALSE(page.failed) << c.size;
        EXPECT_EQ(page.cut, c.cut) << c.size;
        // Compared as a whole, not printed: a failure would dump megabytes.
        EXPECT_TRUE(page.body == MarkedBody(std::min(c.size, kMaxPageBytes))) << c.size;
    }
}

// Takes the first `limit` bytes of a body, then refuses, as a full disk would.
class FillingSink : public PageSink {
public:
    explicit FillingSink(std::size_t limit) : limit_(limit) {}

    bool Take(std::string_view bytes) override
    {
        if (bytes.size() > limit_ - taken_)
            return false;
        taken_ += bytes.size();
        return true;
    }

private:
    const std::size_t limit_;
    std::size_t taken_ = 0;
};

TEST_F(PageFetchTest, ASinkThatRefusesFailsThePageUnlessOnlyTheCutPartWasLeft)
{
    struct Case {
        std::size_t limit;
        bool failed;
        bool cut;
    };
    const Case cases[] = {{0, true, false}, {1024 * 1024, true, false}, {kMaxPageBytes, false, true}};
    FetchSession session;
    for (const Case& c : cases) {
        FillingSink sink(c.limit);
        FetchedPage page;
        FetchPage(session, server_.url("/size/" + std::to_string(kMaxPageBytes + 100)), sink, page);
        EXPECT_EQ(page.failed, c.failed) << c.limit;
        EXPECT_EQ(page.cut, c.cut) << c.limit;
    }
    // An ended transfer leaves the session fit for the next page.
    const Fetched page = FetchWith(session, server_.url("/zero"));
    EXPECT_FALSE(page.failed);
    EXPECT_EQ(page.body, kBodyWithZero);
}

TEST_F(PageFetchTest, ReturnsTheBodyOfAnErrorPageWithItsStatus)
{
    const Fetched page = Fetch(server_.url("/missing"));
    EXPECT_FALSE(page.failed);
    EXPECT_EQ(page.httpStatus, 404);
    EXPECT_EQ(page.body, "<h1>not here</h1>");
}

TEST_F(PageFetchTest, FollowsRedirects)
{
    const Fetched page = Fetch(server_.url("/moved"));
    EXPECT_FALSE(page.failed);
    EXPECT_EQ(page.httpStatus, 200);
    EXPECT_EQ(page.body, kBodyWithZero);
}

TEST_F(PageFetchTest, KeepsAnEncodedBodyAsSentAndAddsNoHeadersOfItsOwn)
{
    const Fetched page = Fetch(server_.url("/gzip"));
    EXPECT_FALSE(page.failed);
    EXPECT_EQ(page.body, std::string("\x1f\x8b not really gzip", 18));

    Fetch(server_.url("/echo?a=%41&b=[x]"));
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    // WinINet always sends the agent's line, here with the empty agent name.
    if (kOnWindows) {
        EXPECT_EQ(requests[0].get_header_value("User-Agent"), "");
    } else {
        EXPECT_FALSE(requests[0].has_header("User-Agent"));
    }
    EXPECT_FALSE(requests[0].has_header("Accept-Encoding"));
    EXPECT_FALSE(requests[0].has_header("Cookie"));
    EXPECT_EQ(requests[0].get_param_value("a"), "A");
}

TEST_F(PageFetchTest, FailsWithAnEmptyBodyWhenThereIsNoPageToHave)
{
    RefusingPort refusing;
    const std::string addresses[] = {
        "",
        "not an address",
        refusing.url("/p1.html"),
        "ftp://127.0.0.1:" + std::to_string(server_.port()) + "/zero",
        "file:///etc/hostname",
        "127.0.0.1:" + std::to_string(server_.port()) + "/zero",
        server_.url("/loop"),
        server_.url("/to-file"),
    };
    for (const std::string& address : addresses) {
        const Fetched page = Fetch(address);
        EXPECT_TRUE(page.failed) << address;
        EXPECT_TRUE(page.body.empty()) << address;
        EXPECT_FALSE(page.cut) << address;
    }
}

TEST_F(PageFetchTest, TakesTheSchemeInAnyCase)
{
    const Fetched page = Fetch("HTTP://127.0.0.1:" + std::to_string(server_.port()) + "/zero");
    EXPECT_FALSE(page.failed);
    EXPECT_EQ(page.body, kBodyWithZero);
}

TEST_F(PageFetchTest, ReusesTheConnectionAndStartsEachPageAfresh)
{
    FetchSession session;
    Fetched page = FetchWith(session, server_.url("/size/" + std::to_string(3 * 1024 * 1024)));
    EXPECT_TRUE(page.cut);

    page = FetchWith(session, server_.url("/echo"));
    EXPECT_FALSE(page.failed);
    EXPECT_FALSE(page.cut);
    EXPECT_EQ(page.body, "echo");

    FetchWith(session, server_.url("/echo"));
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].remote_port, requests[1].remote_port);

    page = FetchWith(session, "");
    EXPECT_TRUE(page.failed);
    EXPECT_TRUE(page.body.empty());
}

TEST(PageFetchAddress, SendsSpacesInsideAsPercentTwentyAndDropsBlanksAroundIt)
{
    InitPageFetch();
    std::mutex mutex;
    std::vector<std::string> requestLines;
    RawServer server([&](int socket, RawServer& raw) {
        const std::string head = raw.ReadRequestHead(socket);
        {
            std::lock_guard lock(mutex);
            requestLines.push_back(head.substr(0, head.find("\r\n")));
        }
        RawServer::SendAll(socket, "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
    });
    const std::string base = server.url("");
    struct Case {
        const char* name;
        std::string address;
        std::string requestLine;  // empty: the address is refused and reaches no server
    };
    const Case cases[] = {
        {"a space in the query", base + "/list.asp?name=a b&page=3",
         "GET /list.asp?name=a%20b&page=3 HTTP/1.1"},
        {"spaces in the path", base + "/my pages/p 1.html", "GET /my%20pages/p%201.html HTTP/1.1"},
        {"spaces in a row", base + "/p?q=a  b", "GET /p?q=a%20%20b HTTP/1.1"},
        {"spaces and tabs around it", " \t " + base + "/p?n=1 \t\t ", "GET /p?n=1 HTTP/1.1"},
        {"blanks around and inside", "  " + base + "/p?q=a b  ", "GET /p?q=a%20b HTTP/1.1"},
        {"an encoded space and a plus kept", base + "/p?q=a%20b+c", "GET /p?q=a%20b+c HTTP/1.1"},
        // WinINet sends them in the ANSI code page: GBK here, as the user's own system would.
        {"non-ASCII bytes kept", base + "/p?q=页",
         kOnWindows ? "GET /p?q=\xD2\xB3 HTTP/1.1" : "GET /p?q=页 HTTP/1.1"},
        {"a tab inside", base + "/p?a\tb", ""},
        {"a line break inside", base + "/p?a\nb", ""},
        {"only blanks", " \t ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            std::lock_guard lock(mutex);
            requestLines.clear();
        }

        const Fetched page = Fetch(c.address);

        std::lock_guard lock(mutex);
        if (c.requestLine.empty()) {
            EXPECT_TRUE(page.failed);
            EXPECT_TRUE(requestLines.empty());
        } else {
            EXPECT_FALSE(page.failed);
            EXPECT_EQ(page.body, "ok");
            EXPECT_EQ(requestLines, std::vector<std::string>{c.requestLine});
        }
    }
}

TEST(PageFetchTimeout, GivesUpOnAServerThatSaysNothing)
{
    if (UnderWine())
        GTEST_SKIP() << "Wine's WinINet ignores the receive time-out; Windows keeps it";
    InitPageFetch();
    RawServer silent([](int socket, RawServer& server) {
        server.ReadRequestHead(socket);
        // Holds the connection open until the client gives up and closes it.
        char byte;
        while (server.ReceiveByte(socket, byte)) {
        }
    });
    FetchSession session(FetchTimeouts{1s, 1s});

    const auto start = std::chrono::steady_clock::now();
    const Fetched page = FetchWith(session, silent.url("/p1.html"));
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_TRUE(page.failed);
    EXPECT_LT(elapsed, 10s);
}

// Sends a reply head and then `pieces` of the body with `gap` between them.
RawServer::Handler SlowReply(const std::vector<std::string>& pieces, std::chrono::milliseconds gap,
                             std::size_t announcedLength)
{
    return [=](int socket, RawServer& server) {
        server.ReadRequestHead(socket);
        std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(announcedLength)
            + "\r\n\r\n";
        if (!RawServer::SendAll(socket, head))
            return;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (i > 0)
                std::this_thread::sleep_for(gap);
            if (!RawServer::SendAll(socket, pieces[i]))
                return;
        }
    };
}

TEST(PageFetchTimeout, EndsAQuietTransferAfterTheSilencePeriodNotLater)
{
    if (UnderWine())
        GTEST_SKIP() << "Wine's WinINet ignores the receive time-out; Windows keeps it";
    InitPageFetch();
    // Half the body, then nothing more for three seconds.
    RawServer quiet(SlowReply({"first half", "second half"}, 3s, 21));
    FetchSession session(FetchTimeouts{1s, 1s});

    const auto start = std::chrono::steady_clock::now();
    const Fetched page = FetchWith(session, quiet.url("/p1.html"));

    EXPECT_TRUE(page.failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2900ms);
}

TEST(PageFetchTimeout, KeepsASlowServerThatIsNeverQuietForTheSilencePeriod)
{
    InitPageFetch();
    // Slower than a byte a second on average, but never silent for two seconds.
    RawServer slow(SlowReply({"a", "b", "c", "d"}, 1500ms, 4));
    FetchSession session(FetchTimeouts{2s, 2s});

    const Fetched page = FetchWith(session, slow.url("/p1.html"));

    EXPECT_FALSE(page.failed);
    EXPECT_EQ(page.body, "abcd");
}

}  // namespace
