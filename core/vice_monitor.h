#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mosaiqua {

// Where VICE's binary monitor listens (`-binarymonitoraddress ip4://HOST:PORT`).
struct MonitorAddress {
    std::string host = "127.0.0.1";
    std::uint16_t port = 6502;
    std::string text() const { return host + ":" + std::to_string(port); }
};

// "vice:", "vice:HOST" and "vice:HOST:PORT"; nothing when the text does not start with "vice:".
// Throws UserError for a port that is not a number from 1 to 65535.
std::optional<MonitorAddress> ParseMonitorAddress(const std::string& text);

struct MonitorTimeouts {
    std::chrono::milliseconds connect{2000};
    std::chrono::milliseconds reply{5000}; // from sending a request until its whole reply is in
};

// The byte stream to VICE; the socket lives in tcp_connection.*, tests and fuzzing give bytes.
class MonitorTransport {
public:
    enum class Status { Ok, Closed, TimedOut, Failed };
    struct Received {
        Status status = Status::Ok;
        std::size_t count = 0; // bytes stored, at least 1 when Ok
        std::string error;     // the system's words when Failed
    };
    virtual ~MonitorTransport() = default;
    // False (with the system's words in `why`) when not every byte could be sent in time.
    virtual bool send(std::span<const std::uint8_t> bytes, std::chrono::milliseconds wait,
                      std::string* why) = 0;
    // Waits up to `wait` for at least one byte.
    virtual Received receive(std::uint8_t* dst, std::size_t capacity, std::chrono::milliseconds wait) = 0;
};

// Connects or throws UserError (refused, no answer in time, unknown host).
using MonitorConnector =
    std::function<std::unique_ptr<MonitorTransport>(const MonitorAddress&, std::chrono::milliseconds)>;

// One frame VICE sent: a reply (its request id) or an event (id 0xFFFFFFFF).
struct MonitorFrame {
    std::uint8_t apiVersion = 0;
    std::uint8_t type = 0;
    std::uint8_t error = 0;
    std::uint32_t requestId = 0;
    std::vector<std::uint8_t> body;
};

inline constexpr std::uint32_t kMonitorEventId = 0xFFFFFFFF;
// The largest reply the commands used can have: a 64 KB memory read with its length field.
inline constexpr std::size_t kMaxMonitorBody = 2 + 0x10000;

// Splits a byte stream into frames. Throws UserError on a frame that is not the protocol's (a wrong
// start byte, an API version other than 1 or 2, a body above kMaxMonitorBody) before its body.
class MonitorFrameReader final {
public:
    explicit MonitorFrameReader(std::string peer) : m_peer(std::move(peer)) {}
    void feed(const std::uint8_t* bytes, std::size_t count);
    std::optional<MonitorFrame> next();
    bool midFrame() const { return !m_pending.empty(); }

private:
    std::string m_peer;
    std::vector<std::uint8_t> m_pending;
};

// The reply bodies; each throws UserError when the body does not hold what it says.
struct MonitorBank {
    std::uint16_t id = 0;
    std::string name;
};
struct MonitorRegisterName {
    std::uint8_t id = 0;
    std::uint8_t bits = 0;
    std::string name;
};
struct MonitorRegisterValue {
    std::uint8_t id = 0;
    std::uint16_t value = 0;
};
std::vector<MonitorBank> DecodeBanks(std::span<const std::uint8_t> body);
std::vector<MonitorRegisterName> DecodeRegisterNames(std::span<const std::uint8_t> body);
std::vector<MonitorRegisterValue> DecodeRegisterValues(std::span<const std::uint8_t> body);
// The bytes of a memory read of `asked` bytes (a length field of 0 stands for 65536).
std::span<const std::uint8_t> DecodeMemory(std::span<const std::uint8_t> body, std::size_t asked);

// "error $81 (invalid parameter)".
std::string MonitorErrorText(std::uint8_t code);

// Everything one capture read, as VICE answered (nothing masked yet).
struct ViceCapture {
    std::string peer;                       // "127.0.0.1:6502"
    std::vector<std::uint8_t> ram;          // $0000-$FFFF from bank `ram`
    std::vector<std::uint8_t> vic;          // $D000-$D03F from bank `io`
    std::vector<std::uint8_t> colourRam;    // $D800-$DBFF from `io`
    std::vector<std::uint8_t> cia2;         // $DD00-$DD0F from `io`
    std::vector<std::uint8_t> characterRom; // $D000-$DFFF from bank `rom`
    struct Register {
        std::string name;
        std::uint16_t value = 0;
    };
    std::vector<Register> registers;
    std::optional<int> rasterLine; // register LIN
    std::optional<int> cycle;      // register CYC
};

// Stops the machine, reads, lets it run on (Exit). Throws UserError naming what went wrong; a
// capture is either whole or not returned.
ViceCapture CaptureFromVice(MonitorTransport& transport, const std::string& peer,
                            const MonitorTimeouts& timeouts = {});
// Connects first (through `connector`, the TCP one when empty).
ViceCapture CaptureFromVice(const MonitorAddress& address, const MonitorTimeouts& timeouts = {},
                            const MonitorConnector& connector = {});

} // namespace mosaiqua
