#include "vice_monitor.h"

#include "errors.h"
#include "tcp_connection.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace mosaiqua {

namespace {

constexpr std::uint8_t kStx = 0x02;
constexpr std::size_t kReplyHeader = 12;
constexpr std::size_t kRequestHeader = 11;

constexpr std::uint8_t kMemoryGet = 0x01;
constexpr std::uint8_t kRegistersGet = 0x31;
constexpr std::uint8_t kBanksAvailable = 0x82;
constexpr std::uint8_t kRegistersAvailable = 0x83;
constexpr std::uint8_t kExit = 0xAA;
constexpr std::uint8_t kApiVersionNotUnderstood = 0x82;

[[noreturn]] void Throw(const std::string& message) {
    throw UserError(UserError::Kind::ViceMonitor, message);
}

std::string Hex(unsigned value, int digits) {
    char text[12];
    std::snprintf(text, sizeof text, "$%0*X", digits, value);
    return text;
}

std::uint16_t Word(const std::uint8_t* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}

std::uint32_t Dword(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void PutWord(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void PutDword(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

// Walks the items of a list reply: count (2), then items that start with their own size (1).
template <typename Item>
std::vector<Item> DecodeList(std::span<const std::uint8_t> body, std::size_t fixed,
                             const std::function<Item(const std::uint8_t*, std::size_t)>& decode) {
    if (body.size() < 2)
        Throw("the list ends before its count");
    const std::size_t count = Word(body.data());
    std::vector<Item> items;
    std::size_t at = 2;
    for (std::size_t i = 0; i < count; ++i) {
        if (at >= body.size())
            Throw("the list ends after " + std::to_string(i) + " of its " + std::to_string(count) + " items");
        const std::size_t size = body[at];
        if (size < fixed || size > body.size() - at - 1)
            Throw("item " + std::to_string(i) + " has a size of " + std::to_string(size) +
                  " that does not fit the reply");
        items.push_back(decode(body.data() + at + 1, size));
        at += 1 + size;
    }
    return items;
}

std::string Name(const std::uint8_t* item, std::size_t size, std::size_t lengthAt) {
    const std::size_t length = item[lengthAt];
    if (length > size - lengthAt - 1)
        Throw("a name runs past the end of its item");
    return std::string(reinterpret_cast<const char*>(item + lengthAt + 1), length);
}

std::chrono::milliseconds Remaining(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return std::max(left, std::chrono::milliseconds(0));
}

std::string Seconds(std::chrono::milliseconds duration) {
    const auto ms = duration.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

// One conversation: requests numbered from 1, each answered before the next is sent.
class MonitorSession final {
public:
    MonitorSession(MonitorTransport& transport, std::string peer, const MonitorTimeouts& timeouts)
        : m_transport(transport), m_peer(std::move(peer)), m_timeouts(timeouts), m_reader(m_peer) {}

    std::vector<std::uint8_t> request(std::uint8_t command, const std::vector<std::uint8_t>& body,
                                      const std::string& what);
    std::vector<std::uint8_t> readMemory(std::uint16_t bank, unsigned start, unsigned end,
                                         const std::string& what);
    // After a refusal VICE still listens: let the machine run on rather than leave it stopped.
    void exitQuietly();

private:
    MonitorFrame awaitReply(std::uint32_t id, std::chrono::steady_clock::time_point deadline,
                            const std::string& what);

    MonitorTransport& m_transport;
    std::string m_peer;
    MonitorTimeouts m_timeouts;
    MonitorFrameReader m_reader;
    std::uint32_t m_nextId = 1;
    std::uint8_t m_apiVersion = 2;
    bool m_inStep = true; // false once the stream broke off inside a frame or timed out
};

std::vector<std::uint8_t> MonitorSession::request(std::uint8_t command, const std::vector<std::uint8_t>& body,
                                                  const std::string& what) {
    for (;;) {
        const std::uint32_t id = m_nextId++;
        std::vector<std::uint8_t> frame{kStx, m_apiVersion};
        PutDword(frame, std::uint32_t(body.size()));
        PutDword(frame, id);
        frame.push_back(command);
        frame.insert(frame.end(), body.begin(), body.end());
        const auto deadline = std::chrono::steady_clock::now() + m_timeouts.reply;
        std::string why;
        if (!m_transport.send(frame, Remaining(deadline), &why)) {
            m_inStep = false;
            Throw("Cannot send the request for " + what + " to VICE at " + m_peer + ": " + why + ".");
        }
        MonitorFrame reply = awaitReply(id, deadline, what);
        // VICE 3.5 understands only version 1 of the protocol; 3.6 and later both.
        if (reply.error == kApiVersionNotUnderstood && m_apiVersion == 2) {
            m_apiVersion = 1;
            continue;
        }
        if (reply.error != 0)
            Throw("VICE at " + m_peer + " refused the request for " + what + ": " +
                  MonitorErrorText(reply.error) + ". Nothing was captured.");
        return std::move(reply.body);
    }
}

MonitorFrame MonitorSession::awaitReply(std::uint32_t id, std::chrono::steady_clock::time_point deadline,
                                        const std::string& what) {
    std::array<std::uint8_t, 16384> buffer;
    for (;;) {
        try {
            while (auto frame = m_reader.next())
                if (frame->requestId == id)
                    return std::move(*frame);
            // Events (registers, stopped, resumed) and stray replies are dropped.
        } catch (const UserError&) {
            m_inStep = false;
            throw;
        }
        const auto timedOut = [&] {
            m_inStep = false;
            Throw("VICE at " + m_peer + " did not answer the request for " + what + " within " +
                  Seconds(m_timeouts.reply) +
                  ". Its monitor serves one client at a time: is another one connected, or is VICE paused "
                  "in a dialog? Nothing was captured.");
        };
        const auto wait = Remaining(deadline);
        if (wait.count() == 0)
            timedOut();
        const auto got = m_transport.receive(buffer.data(), buffer.size(), wait);
        switch (got.status) {
        case MonitorTransport::Status::Ok:
            m_reader.feed(buffer.data(), got.count);
            break;
        case MonitorTransport::Status::TimedOut:
            timedOut();
            break;
        case MonitorTransport::Status::Closed:
            m_inStep = false;
            Throw("VICE at " + m_peer + " closed the connection " +
                  (m_reader.midFrame() ? "in the middle of its reply to " : "before it answered ") +
                  "the request for " + what + ". Nothing was captured.");
        case MonitorTransport::Status::Failed:
            m_inStep = false;
            Throw("The connection to VICE at " + m_peer + " failed while waiting for " + what + ": " +
                  got.error + ". Nothing was captured.");
        }
    }
}

std::vector<std::uint8_t> MonitorSession::readMemory(std::uint16_t bank, unsigned start, unsigned end,
                                                     const std::string& what) {
    std::vector<std::uint8_t> body{0}; // side effects off: peeking must not clear latches
    PutWord(body, start);
    PutWord(body, end);
    body.push_back(0); // the computer's memory, not a drive's
    PutWord(body, bank);
    const std::vector<std::uint8_t> reply = request(kMemoryGet, body, what);
    try {
        const auto bytes = DecodeMemory(reply, end - start + 1);
        return {bytes.begin(), bytes.end()};
    } catch (const UserError& e) {
        Throw("VICE at " + m_peer + " answered the request for " + what + " wrongly: " + e.what() +
              ". Nothing was captured.");
    }
}

void MonitorSession::exitQuietly() {
    if (!m_inStep)
        return;
    std::vector<std::uint8_t> frame{kStx, m_apiVersion};
    PutDword(frame, 0);
    PutDword(frame, m_nextId++);
    frame.push_back(kExit);
    std::string ignored;
    m_transport.send(frame, std::chrono::milliseconds(200), &ignored);
}

std::uint16_t BankId(const std::vector<MonitorBank>& banks, const char* name, const std::string& peer) {
    for (const MonitorBank& bank : banks)
        if (bank.name == name)
            return bank.id;
    Throw("VICE at " + peer + " offers no memory bank named \"" + name +
          "\": it does not seem to emulate a C64 (start x64sc or x64). Nothing was captured.");
}

template <typename Decoded>
Decoded Decode(const std::string& peer, const std::string& what, const std::function<Decoded()>& decode) {
    try {
        return decode();
    } catch (const UserError& e) {
        Throw("VICE at " + peer + " answered the request for " + what + " wrongly: " + e.what() +
              ". Nothing was captured.");
    }
}

} // namespace

std::optional<MonitorAddress> ParseMonitorAddress(const std::string& text) {
    const std::string prefix = "vice:";
    if (text.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    MonitorAddress address;
    std::string rest = text.substr(prefix.size());
    const auto colon = rest.rfind(':');
    if (colon != std::string::npos) {
        const std::string port = rest.substr(colon + 1);
        unsigned long value = 0;
        const bool digits =
            !port.empty() && port.size() <= 5 &&
            std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (digits)
            value = std::stoul(port);
        if (!digits || value == 0 || value > 65535)
            Throw("'" + port + "' in '" + text + "' is not a port number (1 to 65535).");
        address.port = std::uint16_t(value);
        rest.resize(colon);
    }
    if (!rest.empty())
        address.host = rest;
    return address;
}

void MonitorFrameReader::feed(const std::uint8_t* bytes, std::size_t count) {
    m_pending.insert(m_pending.end(), bytes, bytes + count);
}

std::optional<MonitorFrame> MonitorFrameReader::next() {
    // The header is checked as soon as its bytes are in, so garbage fails without waiting for more.
    if (!m_pending.empty() && m_pending[0] != kStx)
        Throw("VICE at " + m_peer + " sent something that is not a binary-monitor reply (it starts with " +
              Hex(m_pending[0], 2) +
              ", not $02). Is this VICE's text monitor (-remotemonitor)? Nothing was captured.");
    if (m_pending.size() >= 2 && m_pending[1] != 1 && m_pending[1] != 2)
        Throw("VICE at " + m_peer + " speaks version " + std::to_string(m_pending[1]) +
              " of the binary-monitor protocol; Mosaiqua knows versions 1 and 2. Nothing was captured.");
    if (m_pending.size() < kReplyHeader)
        return std::nullopt;
    const std::uint32_t length = Dword(m_pending.data() + 2);
    if (length > kMaxMonitorBody)
        Throw("VICE at " + m_peer + " announced a reply of " + std::to_string(length) +
              " bytes, more than the protocol allows (" + std::to_string(kMaxMonitorBody) +
              "). Nothing was captured.");
    if (m_pending.size() - kReplyHeader < length)
        return std::nullopt;
    MonitorFrame frame;
    frame.apiVersion = m_pending[1];
    frame.type = m_pending[6];
    frame.error = m_pending[7];
    frame.requestId = Dword(m_pending.data() + 8);
    frame.body.assign(m_pending.begin() + kReplyHeader,
                      m_pending.begin() + std::ptrdiff_t(kReplyHeader + length));
    m_pending.erase(m_pending.begin(), m_pending.begin() + std::ptrdiff_t(kReplyHeader + length));
    return frame;
}

std::vector<MonitorBank> DecodeBanks(std::span<const std::uint8_t> body) {
    return DecodeList<MonitorBank>(body, 3, [](const std::uint8_t* item, std::size_t size) {
        return MonitorBank{Word(item), Name(item, size, 2)};
    });
}

std::vector<MonitorRegisterName> DecodeRegisterNames(std::span<const std::uint8_t> body) {
    return DecodeList<MonitorRegisterName>(body, 3, [](const std::uint8_t* item, std::size_t size) {
        return MonitorRegisterName{item[0], item[1], Name(item, size, 2)};
    });
}

std::vector<MonitorRegisterValue> DecodeRegisterValues(std::span<const std::uint8_t> body) {
    return DecodeList<MonitorRegisterValue>(body, 3, [](const std::uint8_t* item, std::size_t) {
        return MonitorRegisterValue{item[0], Word(item + 1)};
    });
}

std::span<const std::uint8_t> DecodeMemory(std::span<const std::uint8_t> body, std::size_t asked) {
    if (body.size() < 2)
        Throw("the reply ends before its length");
    const std::size_t sent = body.size() - 2;
    if (sent > asked)
        Throw("it holds " + std::to_string(sent) + " bytes where " + std::to_string(asked) + " were asked");
    if (sent < asked)
        Throw("it holds only " + std::to_string(sent) + " of the " + std::to_string(asked) + " bytes asked");
    // 65536 does not fit the length field: VICE then writes 0.
    if (Word(body.data()) != (asked & 0xFFFF))
        Throw("its length field says " + std::to_string(Word(body.data())) + " bytes where " +
              std::to_string(asked) + " were sent");
    return body.subspan(2);
}

std::string MonitorErrorText(std::uint8_t code) {
    const char* name = "an error the protocol does not name";
    switch (code) {
    case 0x01:
        name = "object missing";
        break;
    case 0x02:
        name = "invalid memory space";
        break;
    case 0x80:
        name = "wrong command length";
        break;
    case 0x81:
        name = "invalid parameter";
        break;
    case 0x82:
        name = "API version not understood";
        break;
    case 0x83:
        name = "unknown command";
        break;
    case 0x8F:
        name = "general failure";
        break;
    }
    return "error " + Hex(code, 2) + " (" + name + ")";
}

ViceCapture CaptureFromVice(MonitorTransport& transport, const std::string& peer,
                            const MonitorTimeouts& timeouts) {
    MonitorSession session(transport, peer, timeouts);
    ViceCapture capture;
    capture.peer = peer;
    try {
        // The first request stops the machine.
        const auto bankList = session.request(kBanksAvailable, {}, "the list of memory banks");
        const auto banks = Decode<std::vector<MonitorBank>>(peer, "the list of memory banks",
                                                            [&] { return DecodeBanks(bankList); });
        const std::uint16_t ram = BankId(banks, "ram", peer), io = BankId(banks, "io", peer),
                            rom = BankId(banks, "rom", peer);
        const auto nameList = session.request(kRegistersAvailable, {0}, "the register names");
        const auto names = Decode<std::vector<MonitorRegisterName>>(
            peer, "the register names", [&] { return DecodeRegisterNames(nameList); });
        // Two halves: VICE 3.5 overran a buffer answering 64 KB at once.
        capture.ram = session.readMemory(ram, 0x0000, 0x7FFF, "the RAM $0000-$7FFF");
        const auto high = session.readMemory(ram, 0x8000, 0xFFFF, "the RAM $8000-$FFFF");
        capture.ram.insert(capture.ram.end(), high.begin(), high.end());
        capture.vic = session.readMemory(io, 0xD000, 0xD03F, "the VIC-II registers $D000-$D03F");
        capture.colourRam = session.readMemory(io, 0xD800, 0xDBFF, "the colour RAM $D800-$DBFF");
        capture.cia2 = session.readMemory(io, 0xDD00, 0xDD0F, "CIA 2 at $DD00-$DD0F");
        capture.characterRom = session.readMemory(rom, 0xD000, 0xDFFF, "the character ROM $D000-$DFFF");
        const auto valueList = session.request(kRegistersGet, {0}, "the CPU registers");
        const auto values = Decode<std::vector<MonitorRegisterValue>>(
            peer, "the CPU registers", [&] { return DecodeRegisterValues(valueList); });
        for (const MonitorRegisterValue& value : values) {
            const auto named =
                std::find_if(names.begin(), names.end(), [&](const auto& n) { return n.id == value.id; });
            const std::string name = named != names.end() ? named->name : "R" + std::to_string(value.id);
            capture.registers.push_back({name, value.value});
            if (name == "LIN")
                capture.rasterLine = value.value;
            else if (name == "CYC")
                capture.cycle = value.value;
        }
        session.request(kExit, {}, "the machine to run on (Exit)");
    } catch (const UserError&) {
        session.exitQuietly();
        throw;
    }
    return capture;
}

ViceCapture CaptureFromVice(const MonitorAddress& address, const MonitorTimeouts& timeouts,
                            const MonitorConnector& connector) {
    const std::unique_ptr<MonitorTransport> transport =
        connector ? connector(address, timeouts.connect) : ConnectTcp(address, timeouts.connect);
    return CaptureFromVice(*transport, address.text(), timeouts);
}

} // namespace mosaiqua
