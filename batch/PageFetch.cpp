#include "PageFetch.h"

#include "WebAddress.h"

#include <curl/curl.h>

#include <algorithm>
#include <string_view>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long kReceiveBufferBytes = 512 * 1024;

// One transfer in progress: where its body goes, how much of it went there,
// and when a byte last came.
struct Transfer {
    PageSink& sink;
    FetchedPage& page;
    std::chrono::seconds silence;
    std::size_t bodyBytes = 0;
    Clock::time_point lastByte = Clock::now();
};

// Passes the body on up to kMaxPageBytes; past that it stops the transfer, so
// nothing beyond the kept bytes is ever taken. A sink that refuses stops it too.
std::size_t PassBody(char* data, std::size_t size, std::size_t count, void* userdata)
{
    auto& transfer = *static_cast<Transfer*>(userdata);
    transfer.lastByte = Clock::now();
    const std::size_t bytes = size * count;
    const std::size_t kept = std::min(bytes, kMaxPageBytes - transfer.bodyBytes);
    if (!transfer.sink.Take(std::string_view(data, kept)))
        return 0;
    transfer.bodyBytes += kept;
    if (kept < bytes) {
        transfer.page.cut = true;
        return 0;
    }
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
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, PassBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
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

void FetchPage(FetchSession& session, const std::string& typedAddress, PageSink& sink,
               FetchedPage& page)
{
    page = FetchedPage{};
    page.failed = true;
    const std::string address = AddressToSend(typedAddress);
    if (session.handle() == nullptr || !NamesWebScheme(address))
        return;

    Transfer transfer{sink, page, session.timeouts().silence};
    SetPageOptions(session, address, transfer);
    const CURLcode result = curl_easy_perform(session.handle());
    curl_easy_getinfo(session.handle(), CURLINFO_RESPONSE_CODE, &page.httpStatus);

    // Stopping the transfer at the size limit is the one error that still
    // leaves a body to keep.
    page.failed = result != CURLE_OK && !(result == CURLE_WRITE_ERROR && page.cut);
    if (page.failed)
        page.cut = false;
}
