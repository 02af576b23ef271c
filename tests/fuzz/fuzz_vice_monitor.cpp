// Any bytes as VICE's side of the binary-monitor conversation. With bit 0 of the first byte set, the
// rest is the whole reply stream of one capture, handed over in pieces of a size the second byte
// picks; otherwise it is split into frames and every body goes through every reply decoder.
#include "core/errors.h"
#include "core/vice_capture.h"
#include "core/vice_monitor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace mosaiqua;

namespace {

class ScriptedBytes final : public MonitorTransport {
public:
    ScriptedBytes(const std::uint8_t* data, std::size_t size, std::size_t piece)
        : m_data(data), m_size(size), m_piece(piece) {}
    bool send(std::span<const std::uint8_t>, std::chrono::milliseconds, std::string*) override {
        return true;
    }
    Received receive(std::uint8_t* dst, std::size_t capacity, std::chrono::milliseconds) override {
        if (m_at == m_size)
            return {Status::Closed, 0, {}};
        const std::size_t count = std::min({capacity, m_piece, m_size - m_at});
        std::memcpy(dst, m_data + m_at, count);
        m_at += count;
        return {Status::Ok, count, {}};
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size, m_piece, m_at = 0;
};

template <typename Decode> void Refusable(Decode decode) {
    try {
        decode();
    } catch (const UserError& e) {
        if (std::strlen(e.what()) == 0)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    if (data[0] & 1) {
        ScriptedBytes transport(data + 2, size - 2, std::size_t(data[1]) * 64 + 1);
        Refusable([&] {
            const ViceCapture capture = CaptureFromVice(transport, "fuzz:6502");
            MemoryImage image;
            const LoadedFile loaded = LoadCapture(capture, image);
            if (capture.ram.size() != 0x10000 || loaded.ramEnd != 0xFFFF || !loaded.machineState)
                std::abort();
        });
        return 0;
    }
    MonitorFrameReader reader("fuzz:6502");
    Refusable([&] {
        reader.feed(data + 1, size - 1);
        while (auto frame = reader.next()) {
            if (frame->body.size() > kMaxMonitorBody)
                std::abort();
            Refusable([&] { DecodeBanks(frame->body); });
            Refusable([&] { DecodeRegisterNames(frame->body); });
            Refusable([&] { DecodeRegisterValues(frame->body); });
            Refusable([&] {
                if (DecodeMemory(frame->body, data[0] + 1u).size() != data[0] + 1u)
                    std::abort();
            });
        }
    });
    return 0;
}
