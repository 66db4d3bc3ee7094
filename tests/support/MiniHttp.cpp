#include "MiniHttp.h"

#include <cctype>

#include "RawServer.h"

namespace httplib {

namespace {

// Longer request lines are refused, as cpp-httplib refuses them.
constexpr std::size_t kMaxRequestLine = 8192;

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string PercentDecoded(const std::string& text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0
            && HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i] == '+' ? ' ' : text[i];
        }
    }
    return decoded;
}

void ParseQuery(const std::string& query, std::multimap<std::string, std::string>& params)
{
    std::size_t start = 0;
    while (start <= query.size() && !query.empty()) {
        std::size_t end = query.find('&', start);
        if (end == std::string::npos)
            end = query.size();
        const std::string pair = query.substr(start, end - start);
        const std::size_t equals = pair.find('=');
        if (!pair.empty())
            params.emplace(PercentDecoded(pair.substr(0, equals)),
                           equals == std::string::npos ? "" : PercentDecoded(pair.substr(equals + 1)));
        start = end + 1;
    }
}

// Parses a request head; false when it is no HTTP request.
bool ParseHead(const std::string& head, Request& request)
{
    const std::size_t lineEnd = head.find("\r\n");
    const std::string line = head.substr(0, lineEnd);
    const std::size_t space = line.find(' ');
    const std::size_t secondSpace = line.find(' ', space + 1);
    if (space == std::string::npos || secondSpace == std::string::npos)
        return false;
    request.method = line.substr(0, space);
    request.target = line.substr(space + 1, secondSpace - space - 1);
    const std::size_t question = request.target.find('?');
    request.path = PercentDecoded(request.target.substr(0, question));
    if (question != std::string::npos)
        ParseQuery(request.target.substr(question + 1), request.params);
    std::size_t start = lineEnd + 2;
    while (start < head.size()) {
        const std::size_t end = head.find("\r\n", start);
        const std::string header = head.substr(start, end - start);
        const std::size_t colon = header.find(':');
        if (colon != std::string::npos) {
            std::string value = header.substr(colon + 1);
            value.erase(0, value.find_first_not_of(' '));
            request.headers.emplace(Lower(header.substr(0, colon)), value);
        }
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return true;
}

std::string Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 414: return "URI Too Long";
    default: return "Status";
    }
}

}  // namespace

bool Request::has_header(const std::string& name) const
{
    return headers.contains(Lower(name));
}

std::string Request::get_header_value(const std::string& name) const
{
    const auto found = headers.find(Lower(name));
    return found == headers.end() ? std::string() : found->second;
}

std::string Request::get_param_value(const std::string& name) const
{
    const auto found = params.find(name);
    return found == params.end() ? std::string() : found->second;
}

void Response::set_header(const std::string& name, const std::string& value)
{
    headers.emplace_back(name, value);
}

void Response::set_content(const std::string& content, const std::string& contentType)
{
    body = content;
    set_header("Content-Type", contentType);
}

void Response::set_redirect(const std::string& location, int redirectStatus)
{
    status = redirectStatus;
    set_header("Location", location);
}

Server::Server() = default;

Server::~Server()
{
    stop();
    raw_.reset();
}

Server& Server::Get(const std::string& pattern, Handler handler)
{
    routes_.emplace_back(std::regex(pattern), std::move(handler));
    return *this;
}

int Server::bind_to_any_port(const std::string&)
{
    raw_ = std::make_unique<RawServer>([this](int socket, RawServer& raw) { Serve(socket, raw); });
    std::lock_guard lock(mutex_);
    running_ = true;
    return raw_->port();
}

bool Server::listen_after_bind()
{
    std::unique_lock lock(mutex_);
    stopped_.wait(lock, [this] { return !running_; });
    return true;
}

bool Server::is_running() const
{
    std::lock_guard lock(mutex_);
    return running_;
}

void Server::stop()
{
    std::lock_guard lock(mutex_);
    running_ = false;
    stopped_.notify_all();
}

void Server::Serve(int socket, RawServer& raw)
{
    for (;;) {
        const std::string head = raw.ReadRequestHead(socket);
        if (!head.ends_with("\r\n\r\n"))
            return;
        Request request;
        Response response;
        request.remote_port = RawServer::PeerPort(socket);
        if (!ParseHead(head, request))
            return;
        if (head.find("\r\n") > kMaxRequestLine)
            response.status = 414;
        else
            Answer(request, response);
        std::string reply = "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) + "\r\n";
        for (const auto& [name, value] : response.headers)
            reply += name + ": " + value + "\r\n";
        reply += "Content-Length: " + std::to_string(response.body.size()) + "\r\n\r\n" + response.body;
        if (!RawServer::SendAll(socket, reply))
            return;
    }
}

void Server::Answer(Request& request, Response& response)
{
    for (const auto& [pattern, handler] : routes_) {
        if (request.method == "GET" && std::regex_match(request.path, request.matches, pattern)) {
            handler(request, response);
            return;
        }
    }
    response.status = 404;
}

}  // namespace httplib
