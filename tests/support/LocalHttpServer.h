// A tiny HTTP server on 127.0.0.1 for the tests that download: it answers its connections in turn
// with the prepared raw responses, or, for a silent one, accepts and never answers. It keeps
// the requests it read. Stopping it (the destructor) wakes its thread through a pipe.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace net_test {

class LocalServer {
 public:
  // One response per connection, in order; std::nullopt accepts and stays silent.
  explicit LocalServer(std::vector<std::optional<std::string>> responses)
      : m_responses(std::move(responses)) {
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(m_listener, 4);
    socklen_t size = sizeof address;
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
    if (pipe2(m_stop, O_CLOEXEC) != 0) m_stop[0] = m_stop[1] = -1;
    m_thread = std::thread([this] { Serve(); });
  }
  ~LocalServer() {
    const char byte = 0;
    [[maybe_unused]] const ssize_t ignored = write(m_stop[1], &byte, 1);
    m_thread.join();
    for (int fd : {m_listener, m_stop[0], m_stop[1]}) close(fd);
  }
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  int Port() const { return m_port; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
  }
  std::vector<std::string> Requests() const {
    std::lock_guard lock(m_lock);
    return m_requests;
  }

  // A port nothing listens on (a connection there is refused).
  static int ClosedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
  }

 private:
  // Waits until `fd` is readable; false when told to stop.
  bool WaitFor(int fd) const {
    pollfd fds[2] = {{fd, POLLIN, 0}, {m_stop[0], POLLIN, 0}};
    while (poll(fds, 2, -1) < 0) {
    }
    return !(fds[1].revents & POLLIN) && (fds[0].revents & (POLLIN | POLLHUP | POLLERR));
  }

  void Serve() {
    for (const std::optional<std::string>& response : m_responses) {
      if (!WaitFor(m_listener)) return;
      const int client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) return;
      std::string request;
      char chunk[4096];
      while (request.find("\r\n\r\n") == std::string::npos && WaitFor(client)) {
        const ssize_t got = recv(client, chunk, sizeof chunk, 0);
        if (got <= 0) break;
        request.append(chunk, got);
      }
      {
        std::lock_guard lock(m_lock);
        m_requests.push_back(request);
      }
      if (!response) {
        WaitFor(m_stop[0]);  // silent until the test ends
        close(client);
        return;
      }
      for (size_t sent = 0; sent < response->size();) {
        // The client may give up early (an oversize answer): no SIGPIPE for that.
        const ssize_t n = send(client, response->data() + sent, response->size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += n;
      }
      close(client);
    }
  }

  std::vector<std::optional<std::string>> m_responses;
  int m_listener = -1;
  int m_port = 0;
  int m_stop[2] = {-1, -1};
  mutable std::mutex m_lock;
  std::vector<std::string> m_requests;  // guarded by m_lock
  std::thread m_thread;
};

inline std::string Answer(const std::string& status, const std::string& body, const std::string& extra = {}) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nContent-Type: text/plain\r\nConnection: close\r\n" + extra + "\r\n" + body;
}

}  // namespace net_test
