#pragma once

// On Windows, where Debian ships no cpp-httplib, the few of its calls the
// tests use, served by a small HTTP/1.1 server of our own on RawServer: GET
// routes matched by regular expression, query parameters, keep-alive
// connections and bodies of a known length. The names are cpp-httplib's, so
// the tests read the same on both platforms.

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <regex>
#include <string>
#include <utility>
#include <vector>

class RawServer;

namespace httplib {

struct Request {
    std::string method;
    std::string target;  // as sent: path and query
    std::string path;
    std::multimap<std::string, std::string> headers;  // names in lower case
    std::multimap<std::string, std::string> params;
    std::smatch matches;
    int remote_port = 0;

    bool has_header(const std::string& name) const;
    std::string get_header_value(const std::string& name) const;
    std::string get_param_value(const std::string& name) const;
};

struct Response {
    int status = 200;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;

    void set_header(const std::string& name, const std::string& value);
    void set_content(const std::string& content, const std::string& contentType);
    void set_redirect(const std::string& location, int redirectStatus = 302);
};

class Server {
public:
    using Handler = std::function<void(const Request&, Response&)>;

    Server();
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Serves `pattern` (matched against the whole path) with `handler`.
    Server& Get(const std::string& pattern, Handler handler);

    // Starts listening on a free port of `host` (127.0.0.1 only); returns it.
    int bind_to_any_port(const std::string& host);

    // Blocks until stop(); connections are served meanwhile.
    bool listen_after_bind();
    bool is_running() const;
    void stop();

private:
    void Serve(int socket, RawServer& raw);
    void Answer(Request& request, Response& response);

    std::vector<std::pair<std::regex, Handler>> routes_;
    std::unique_ptr<RawServer> raw_;
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool running_ = false;
};

}  // namespace httplib
