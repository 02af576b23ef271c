// One whole capture from a binary monitor on 127.0.0.1 (the scripted one the tests use: ten
// requests, events before each reply) beside the least it could cost: connecting and reading the
// 64 KB of RAM from a local socket in one piece. Real time, since waiting for the other side is the
// cost here.
#include "ratio_reporter.h"

#include "core/tcp_connection.h"
#include "core/vice_monitor.h"
#include "tests/core/scripted_vice.h"

#include <array>

using namespace mosaiqua;

namespace {

// Sends 64 KB to each client that connects, then hangs up.
class RamSender final {
public:
    RamSender() {
        m_listener = test::ScriptedVice::ListenOnLoopback(m_port);
        m_thread = std::thread([this] {
            const std::vector<std::uint8_t> ram(0x10000, 0x42);
            for (int fd; (fd = ::accept(m_listener, nullptr, nullptr)) >= 0; ::close(fd))
                test::ScriptedVice::Send(fd, ram);
        });
    }
    ~RamSender() {
        ::shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        ::close(m_listener);
    }
    std::uint16_t port() const { return m_port; }

private:
    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::thread m_thread;
};

void ViceCaptureWhole(benchmark::State& state) {
    test::ScriptedVice vice;
    for (auto _ : state) {
        const ViceCapture capture = CaptureFromVice(MonitorAddress{"127.0.0.1", vice.port()});
        if (capture.ram != vice.ram)
            state.SkipWithError("the capture differs");
        benchmark::DoNotOptimize(capture.ram.data());
    }
}
BENCHMARK(ViceCaptureWhole)->Name("ViceCapture")->Unit(benchmark::kMicrosecond)->UseRealTime();

void ReadRamInOnePiece(benchmark::State& state) {
    RamSender sender;
    std::vector<std::uint8_t> ram(0x10000);
    for (auto _ : state) {
        const auto connection =
            ConnectTcp(MonitorAddress{"127.0.0.1", sender.port()}, std::chrono::seconds(2));
        std::size_t got = 0;
        while (got < ram.size()) {
            const auto received =
                connection->receive(ram.data() + got, ram.size() - got, std::chrono::seconds(5));
            if (received.status != MonitorTransport::Status::Ok)
                break;
            got += received.count;
        }
        if (got != ram.size())
            state.SkipWithError("the 64 KB did not arrive");
        benchmark::DoNotOptimize(ram.data());
    }
}
BENCHMARK(ReadRamInOnePiece)->Name("ViceCapture/limit")->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
