#include "tcp_connection.h"

#include "errors.h"

#if defined(__unix__) || defined(__APPLE__)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#define MOSAIQUA_POSIX_SOCKETS 1
#endif

namespace mosaiqua {

namespace {

[[noreturn]] void CannotConnect(const MonitorAddress& address, const std::string& why) {
    throw UserError(UserError::Kind::ViceMonitor,
                    "Cannot connect to VICE at " + address.text() + ": " + why +
                        ". Start VICE with its binary monitor on, for example `x64sc -binarymonitor` (it "
                        "listens on 127.0.0.1:6502; `-binarymonitoraddress ip4://HOST:PORT` picks another "
                        "address), then capture again.");
}

} // namespace

#ifdef MOSAIQUA_POSIX_SOCKETS

namespace {

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0
#endif

int PollOnce(int fd, short events, std::chrono::milliseconds wait) {
    pollfd entry{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, int(wait.count()));
        if (ready >= 0 || errno != EINTR)
            return ready;
    }
}

class TcpTransport final : public MonitorTransport {
public:
    explicit TcpTransport(int fd) : m_fd(fd) {}
    TcpTransport(const TcpTransport&) = delete;
    TcpTransport& operator=(const TcpTransport&) = delete;
    ~TcpTransport() override { ::close(m_fd); }

    bool send(std::span<const std::uint8_t> bytes, std::chrono::milliseconds wait,
              std::string* why) override {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (!bytes.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || PollOnce(m_fd, POLLOUT, left) <= 0) {
                *why = "it took no more bytes in time";
                return false;
            }
            const ssize_t sent = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
                continue;
            if (sent <= 0) {
                *why = std::strerror(errno);
                return false;
            }
            bytes = bytes.subspan(std::size_t(sent));
        }
        return true;
    }

    Received receive(std::uint8_t* dst, std::size_t capacity, std::chrono::milliseconds wait) override {
        const int ready = PollOnce(m_fd, POLLIN, wait);
        if (ready == 0)
            return {Status::TimedOut, 0, {}};
        if (ready < 0)
            return {Status::Failed, 0, std::strerror(errno)};
        for (;;) {
            const ssize_t got = ::recv(m_fd, dst, capacity, 0);
            if (got > 0)
                return {Status::Ok, std::size_t(got), {}};
            if (got == 0)
                return {Status::Closed, 0, {}};
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return {Status::TimedOut, 0, {}};
            if (errno == ECONNRESET)
                return {Status::Closed, 0, {}};
            return {Status::Failed, 0, std::strerror(errno)};
        }
    }

private:
    int m_fd;
};

// Non-blocking connect so that a host that never answers costs only the time-out.
int ConnectOne(const addrinfo& candidate, std::chrono::milliseconds timeout, int& error) {
    const int fd = ::socket(candidate.ai_family, candidate.ai_socktype | SOCK_CLOEXEC, candidate.ai_protocol);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    if (::connect(fd, candidate.ai_addr, candidate.ai_addrlen) != 0) {
        if (errno != EINPROGRESS) {
            error = errno;
            ::close(fd);
            return -1;
        }
        const int ready = PollOnce(fd, POLLOUT, timeout);
        socklen_t length = sizeof error;
        if (ready <= 0) {
            error = ready == 0 ? ETIMEDOUT : errno;
        } else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
            error = errno;
        }
        if (error != 0) {
            ::close(fd);
            return -1;
        }
    }
    // Requests are small and each waits for its reply.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

} // namespace

std::unique_ptr<MonitorTransport> ConnectTcp(const MonitorAddress& address,
                                             std::chrono::milliseconds timeout) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(address.port);
    const int lookup = ::getaddrinfo(address.host.c_str(), port.c_str(), &hints, &found);
    if (lookup != 0)
        CannotConnect(address, std::string("the host name is not known (") + ::gai_strerror(lookup) + ")");
    int error = 0;
    int fd = -1;
    for (const addrinfo* candidate = found; candidate && fd < 0; candidate = candidate->ai_next)
        fd = ConnectOne(*candidate, timeout, error);
    ::freeaddrinfo(found);
    if (fd >= 0)
        return std::make_unique<TcpTransport>(fd);
    if (error == ECONNREFUSED)
        CannotConnect(address, "nothing listens there (the connection was refused)");
    if (error == ETIMEDOUT)
        CannotConnect(address, "no answer within " + (timeout.count() % 1000 == 0
                                                          ? std::to_string(timeout.count() / 1000) + " s"
                                                          : std::to_string(timeout.count()) + " ms"));
    CannotConnect(address, std::strerror(error));
}

#else

std::unique_ptr<MonitorTransport> ConnectTcp(const MonitorAddress& address, std::chrono::milliseconds) {
    CannotConnect(address, "this build of Mosaiqua has no network connection to VICE");
}

#endif

} // namespace mosaiqua
