#include "PageFetch.h"

#include <strings.h>

#include <string_view>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long kReceiveBufferBytes = 512 * 1024;

// One transfer in progress: where its body goes and when a byte last came.
struct Transfer {
    FetchedPage& page;
    std::chrono::seconds silence;
    Clock::time_point lastByte = Clock::now();
};

// Keeps the body up to kMaxPageBytes; past that it stops the transfer, so
// nothing beyond the kept bytes is ever held.
std::size_t KeepBody(char* data, std::size_t size, std::size_t count, void* userdata)
{
    auto& transfer = *static_cast<Transfer*>(userdata);
    transfer.lastByte = Clock::now();
    FetchedPage& page = transfer.page;
    const std::size_t bytes = size * count;
    const std::size_t room = kMaxPageBytes - page.body.size();
    if (bytes > room) {
        page.body.append(data, room);
        page.cut = true;
        return 0;
    }
    page.body.append(data, bytes);
    return bytes;
}

std::size_t NoteHeader(char*, std::size_t size, std::size_t count, void* userdata)
{
    static_cast<Transfer*>(userdata)->lastByte = Clock::now();
    return size * count;
}

// Called by the library every so often, also while nothing arrives; ends a
// transfer that has received nothing for the whole silence period. (The
// library's own low-speed check averages over seconds, so it would drop a
// slow but steady server and keep a silent one longer than asked.)
int EndSilentTransfer(void* userdata, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto& transfer = *static_cast<const Transfer*>(userdata);
    return Clock::now() - transfer.lastByte > transfer.silence ? 1 : 0;
}

void SetPageOptions(FetchSession& session, const std::string& address, Transfer& transfer)
{
    CURL* handle = session.handle();
    // Starting from the defaults every time keeps one page's settings from
    // leaking into the next; only the connection cache stays.
    curl_easy_reset(handle);
    curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 20L);
    // Signals are process-wide; time-outs must not use them while other runs go on.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(session.timeouts().connect.count()));
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, EndSilentTransfer);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, NoteHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
    // Larger reads than the default 16 KiB take far fewer calls for big pages.
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, KeepBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
}

// The library would guess http for an address without a scheme; only an
// address that names http or https itself is fetched.
bool NamesWebScheme(const std::string& address)
{
    const auto startsWith = [&address](std::string_view scheme) {
        return address.size() >= scheme.size()
            && strncasecmp(address.data(), scheme.data(), scheme.size()) == 0;
    };
    return startsWith("http://") || startsWith("https://");
}

}  // namespace

void InitPageFetch()
{
    // Never cleaned up: a run still going when the program ends may be using it.
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

FetchSession::FetchSession(FetchTimeouts timeouts)
    : handle_(curl_easy_init()), timeouts_(timeouts)
{
}

FetchSession::~FetchSession()
{
    curl_easy_cleanup(handle_);
}

void FetchPage(FetchSession& session, const std::string& address, FetchedPage& page)
{
    // clear() keeps the capacity, so a run allocates its body buffer only once.
    page.body.clear();
    page.cut = false;
    page.httpStatus = 0;
    page.failed = true;
    if (session.handle() == nullptr || !NamesWebScheme(address))
        return;

    Transfer transfer{page, session.timeouts().silence};
    SetPageOptions(session, address, transfer);
    const CURLcode result = curl_easy_perform(session.handle());
    curl_easy_getinfo(session.handle(), CURLINFO_RESPONSE_CODE, &page.httpStatus);

    // Stopping the transfer at the size limit is the one error that still
    // leaves a body to keep.
    page.failed = result != CURLE_OK && !(result == CURLE_WRITE_ERROR && page.cut);
    if (page.failed) {
        page.body.clear();
        page.cut = false;
    }
}
