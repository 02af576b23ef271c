#pragma once
// A stand-in for VICE's binary monitor on 127.0.0.1, speaking the protocol as its documentation
// writes it out: requests `02 version length(4) id(4) command body`, replies and events
// `02 version length(4) type error id(4) body`, little-endian. Shared by the tests and the bench.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mosaiqua::test {

inline void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

inline std::vector<std::uint8_t> MonitorFrameBytes(std::uint8_t type, std::uint8_t error, std::uint32_t id,
                                                   const std::vector<std::uint8_t>& body,
                                                   std::uint8_t version = 2) {
    std::vector<std::uint8_t> out{0x02, version};
    PutLe(out, std::uint32_t(body.size()), 4);
    out.push_back(type);
    out.push_back(error);
    PutLe(out, id, 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

struct MonitorRequest {
    std::uint8_t version = 0;
    std::uint32_t id = 0;
    std::uint8_t command = 0;
    std::vector<std::uint8_t> body;
};

class ScriptedVice final {
public:
    enum class Action { Serve, Skip, Close };

    // The machine it pretends to be: distinct bytes in each bank, so a read from the wrong one shows.
    std::vector<std::uint8_t> ram = std::vector<std::uint8_t>(0x10000);
    std::vector<std::uint8_t> io = std::vector<std::uint8_t>(0x1000, 0xEE); // $D000-$DFFF
    std::vector<std::uint8_t> rom = std::vector<std::uint8_t>(0x1000);      // the character ROM
    std::uint16_t rasterLine = 0x123, cycle = 45;
    std::uint8_t replyVersion = 2;
    bool knowsOnlyVersion1 = false; // as VICE 3.5
    bool eventsBetweenReplies = true;
    // Runs before each request is served; may answer by itself (Skip) or hang up (Close).
    std::function<Action(int fd, const MonitorRequest&)> fault;

    // A listening socket on 127.0.0.1 at a port the system picks.
    static int ListenOnLoopback(std::uint16_t& port) {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener, 4);
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        return listener;
    }

    ScriptedVice() {
        for (std::size_t i = 0; i < ram.size(); ++i)
            ram[i] = std::uint8_t(i * 7 + (i >> 8));
        for (std::size_t i = 0; i < rom.size(); ++i)
            rom[i] = std::uint8_t(~i);
        m_listener = ListenOnLoopback(m_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~ScriptedVice() {
        m_stop = true;
        ::shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        ::close(m_listener);
    }
    ScriptedVice(const ScriptedVice&) = delete;
    ScriptedVice& operator=(const ScriptedVice&) = delete;

    std::uint16_t port() const { return m_port; }
    std::string peer() const { return "127.0.0.1:" + std::to_string(m_port); }
    std::vector<MonitorRequest> requests() {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

    static void Send(int fd, const std::vector<std::uint8_t>& bytes) {
        for (std::size_t at = 0; at < bytes.size();) {
            const ssize_t sent = ::send(fd, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
            if (sent <= 0)
                return;
            at += std::size_t(sent);
        }
    }
    // Waits until the client hangs up (or 3 s pass): a peer that never answers.
    static void WaitForHangUp(int fd) {
        pollfd entry{fd, POLLIN, 0};
        std::uint8_t byte;
        while (::poll(&entry, 1, 3000) > 0 && ::recv(fd, &byte, 1, 0) > 0) {
        }
    }

private:
    static bool ReadExactly(int fd, std::uint8_t* dst, std::size_t count) {
        while (count > 0) {
            const ssize_t got = ::recv(fd, dst, count, 0);
            if (got <= 0)
                return false;
            dst += got;
            count -= std::size_t(got);
        }
        return true;
    }

    void serve() {
        while (!m_stop) {
            const int fd = ::accept(m_listener, nullptr, nullptr);
            if (fd < 0)
                return;
            const int on = 1; // replies go out in two writes; Nagle would hold the second back
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            converse(fd);
            ::close(fd);
        }
    }

    void converse(int fd) {
        bool first = true;
        for (;;) {
            std::uint8_t header[11];
            if (!ReadExactly(fd, header, sizeof header) || header[0] != 0x02)
                return;
            MonitorRequest request;
            request.version = header[1];
            const std::uint32_t length =
                header[2] | header[3] << 8 | header[4] << 16 | std::uint32_t(header[5]) << 24;
            request.id = header[6] | header[7] << 8 | header[8] << 16 | std::uint32_t(header[9]) << 24;
            request.command = header[10];
            request.body.resize(length);
            if (!ReadExactly(fd, request.body.data(), length))
                return;
            {
                std::lock_guard lock(m_mutex);
                m_requests.push_back(request);
            }
            // Any command stops the machine: a registers event and a stopped event come first.
            std::vector<std::uint8_t> out;
            const auto event = [&](std::uint8_t type, const std::vector<std::uint8_t>& body) {
                const auto bytes = MonitorFrameBytes(type, 0, 0xFFFFFFFF, body, replyVersion);
                out.insert(out.end(), bytes.begin(), bytes.end());
            };
            if (first || eventsBetweenReplies) {
                event(0x31, {1, 0, 3, 3, 0x34, 0x12});
                event(0x62, {0x34, 0x12});
            }
            first = false;
            const Action action = fault ? fault(fd, request) : Action::Serve;
            if (action == Action::Close)
                return;
            if (action == Action::Skip)
                continue;
            const bool refused = knowsOnlyVersion1 && request.version != 1;
            const auto reply =
                MonitorFrameBytes(refused ? 0 : request.command, refused ? 0x82 : 0, request.id,
                                  refused ? std::vector<std::uint8_t>{} : answer(request), replyVersion);
            out.insert(out.end(), reply.begin(), reply.end());
            if (request.command == 0xAA && !refused)
                event(0x63, {0x34, 0x12});
            // Two writes, so the client also sees a frame arrive in pieces.
            const std::size_t half = out.size() / 2;
            Send(fd, {out.begin(), out.begin() + std::ptrdiff_t(half)});
            Send(fd, {out.begin() + std::ptrdiff_t(half), out.end()});
        }
    }

    std::vector<std::uint8_t> answer(const MonitorRequest& request) const {
        std::vector<std::uint8_t> body;
        switch (request.command) {
        case 0x82: { // count, then item size, id (2), name length, name
            const std::vector<std::pair<std::uint16_t, std::string>> banks{
                {0, "cpu"}, {0x0101, "ram"}, {0x0202, "rom"}, {0x0303, "io"}, {0x0404, "cart"}};
            PutLe(body, std::uint32_t(banks.size()), 2);
            for (const auto& [id, name] : banks) {
                body.push_back(std::uint8_t(3 + name.size()));
                PutLe(body, id, 2);
                body.push_back(std::uint8_t(name.size()));
                body.insert(body.end(), name.begin(), name.end());
            }
            break;
        }
        case 0x83: { // count, then item size, id, bits, name length, name
            const std::vector<std::pair<std::uint8_t, std::string>> names{
                {0, "A"}, {1, "X"}, {3, "PC"}, {0x35, "LIN"}, {0x36, "CYC"}};
            PutLe(body, std::uint32_t(names.size()), 2);
            for (const auto& [id, name] : names) {
                body.insert(body.end(), {std::uint8_t(3 + name.size()), id, 16, std::uint8_t(name.size())});
                body.insert(body.end(), name.begin(), name.end());
            }
            break;
        }
        case 0x31: // count, then item size 3, id, value (2)
            body = {4, 0, 3, 0, 0x41, 0, 3, 3, 0x34, 0x12, 3, 0x35};
            PutLe(body, rasterLine, 2);
            body.insert(body.end(), {3, 0x36});
            PutLe(body, cycle, 2);
            break;
        case 0x01: { // side effects, start, end (inclusive), memory space, bank -> length, bytes
            const auto& b = request.body;
            const unsigned start = b[1] | b[2] << 8, end = b[3] | b[4] << 8, bank = b[6] | b[7] << 8;
            if (b[0] != 0)
                return {}; // a peek with side effects: answer nothing a client could use
            const std::size_t count = end - start + 1;
            PutLe(body, std::uint32_t(count & 0xFFFF), 2);
            const std::vector<std::uint8_t>* from = bank == 0x0101 ? &ram : bank == 0x0303 ? &io : &rom;
            const std::size_t offset = bank == 0x0101 ? start : start - 0xD000;
            if (bank != 0x0101 && bank != 0x0303 && bank != 0x0202)
                body.resize(2 + count, 0x55);
            else
                body.insert(body.end(), from->begin() + std::ptrdiff_t(offset),
                            from->begin() + std::ptrdiff_t(offset + count));
            break;
        }
        default:
            break;
        }
        return body;
    }

    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<MonitorRequest> m_requests;
};

} // namespace mosaiqua::test
