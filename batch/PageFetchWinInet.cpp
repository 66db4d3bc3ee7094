#include "PageFetch.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string_view>

#include "Utf16.h"
#include "WebAddress.h"

namespace {

// Bigger reads than WinINet's usual few kilobytes take far fewer calls for big pages.
constexpr DWORD kReadBytes = 512 * 1024;

// As many redirects as the Linux client follows before it calls it a loop.
constexpr int kMaxRedirects = 20;

// Every request goes to the server: a cached copy of a dynamic page would be
// saved as if it were fresh. Redirects are followed here, so that only http
// and https are ever followed.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE
    | INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_UI;

// Closes a WinINet handle when it goes.
struct InternetHandleCloser {
    void operator()(void* handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

bool StartsWithNoCase(std::wstring_view text, std::wstring_view start)
{
    return text.size() >= start.size()
        && CompareStringOrdinal(text.data(), static_cast<int>(start.size()), start.data(),
                                static_cast<int>(start.size()), TRUE) == CSTR_EQUAL;
}

// A redirect may lead to any scheme; only http and https are followed.
bool NamesWebScheme(std::wstring_view address)
{
    return StartsWithNoCase(address, L"http://") || StartsWithNoCase(address, L"https://");
}

// WinINet would send a tab or a line break inside an address as it is, into
// the request line; the Linux client refuses them, and so does this one.
bool HasControlCharacter(std::string_view address)
{
    return std::any_of(address.begin(), address.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// A number from the response head, or nothing when the server sent none.
std::optional<DWORD> QueryNumber(HINTERNET request, DWORD what)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!HttpQueryInfoW(request, what | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr))
        return std::nullopt;
    return value;
}

// A text from the response head, or nothing when the server sent none.
std::optional<std::wstring> QueryText(HINTERNET request, DWORD what)
{
    DWORD size = 0;
    HttpQueryInfoW(request, what, nullptr, &size, nullptr);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (!HttpQueryInfoW(request, what, text.data(), &size, nullptr))
        return std::nullopt;
    text.resize(size / sizeof(wchar_t));
    return text;
}

// Where a redirect leads, made whole against the address that was asked for.
std::optional<std::wstring> RedirectTarget(HINTERNET request, const std::wstring& from)
{
    const auto location = QueryText(request, HTTP_QUERY_LOCATION);
    if (!location)
        return std::nullopt;
    std::wstring combined(INTERNET_MAX_URL_LENGTH, L'\0');
    DWORD length = static_cast<DWORD>(combined.size());
    if (!InternetCombineUrlW(from.c_str(), location->c_str(), combined.data(), &length, ICU_NO_ENCODE))
        return std::nullopt;
    combined.resize(length);
    return combined;
}

bool IsRedirect(DWORD status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Opens `address` and follows its redirects over http and https; the final
// response's request handle, or none when there is no page to have.
InternetHandle OpenFinalResponse(HINTERNET session, std::wstring address, FetchedPage& page)
{
    for (int redirects = 0; redirects <= kMaxRedirects; ++redirects) {
        if (!NamesWebScheme(address))
            return nullptr;
        InternetHandle request(InternetOpenUrlW(session, address.c_str(), nullptr, 0, kRequestFlags, 0));
        if (!request)
            return nullptr;
        const auto status = QueryNumber(request.get(), HTTP_QUERY_STATUS_CODE);
        if (!status)
            return nullptr;
        page.httpStatus = static_cast<long>(*status);
        if (!IsRedirect(*status))
            return request;
        const auto target = RedirectTarget(request.get(), address);
        if (!target)
            return request;  // a redirect that leads nowhere is an ordinary page
        address = *target;
    }
    return nullptr;
}

// Reads the body into `sink` up to kMaxPageBytes; returns whether it was read
// whole (or up to the cut).
bool ReadBody(HINTERNET request, PageSink& sink, FetchedPage& page)
{
    const auto announced = QueryNumber(request, HTTP_QUERY_CONTENT_LENGTH);
    auto buffer = std::make_unique<char[]>(kReadBytes);
    std::size_t bodyBytes = 0;
    for (;;) {
        // One byte past the limit tells a body of exactly kMaxPageBytes from a longer one.
        const std::size_t room = kMaxPageBytes - bodyBytes;
        const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(kReadBytes, std::max<std::size_t>(room, 1)));
        DWORD got = 0;
        if (!InternetReadFile(request, buffer.get(), asked, &got))
            return false;
        if (got == 0)
            break;
        if (room == 0) {
            page.cut = true;
            return true;
        }
        const std::size_t kept = std::min<std::size_t>(got, room);
        if (!sink.Take(std::string_view(buffer.get(), kept)))
            return false;
        bodyBytes += kept;
        if (kept < got) {
            page.cut = true;
            return true;
        }
    }
    // WinINet ends a body quietly when the server closes early; the length
    // the server announced tells.
    return !announced || bodyBytes == *announced;
}

void SetTimeout(HINTERNET session, DWORD option, std::chrono::milliseconds timeout)
{
    DWORD milliseconds = static_cast<DWORD>(timeout.count());
    InternetSetOptionW(session, option, &milliseconds, sizeof milliseconds);
}

}  // namespace

void InitPageFetch()
{
}

FetchSession::FetchSession(FetchTimeouts timeouts)
    // The empty agent name and the system's proxy settings.
    : handle_(InternetOpenW(L"", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)),
      timeouts_(timeouts)
{
    if (handle_ == nullptr)
        return;
    // Requests take these from the handle they are opened on.
    SetTimeout(handle_, INTERNET_OPTION_CONNECT_TIMEOUT, timeouts_.connect);
    SetTimeout(handle_, INTERNET_OPTION_RECEIVE_TIMEOUT, timeouts_.silence);
    SetTimeout(handle_, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, timeouts_.silence);
}

FetchSession::~FetchSession()
{
    if (handle_ != nullptr)
        InternetCloseHandle(handle_);
}

void FetchPage(FetchSession& session, const std::string& typedAddress, PageSink& sink,
               FetchedPage& page)
{
    page = FetchedPage{};
    page.failed = true;
    const std::string address = AddressToSend(typedAddress);
    const auto wideAddress = ToUtf16(address);
    if (session.handle() == nullptr || !wideAddress || HasControlCharacter(address))
        return;
    const InternetHandle request = OpenFinalResponse(session.handle(), *wideAddress, page);
    if (!request)
        return;
    page.failed = !ReadBody(request.get(), sink, page);
    if (page.failed)
        page.cut = false;
}
