#include "core/errors.h"
#include "core/file_formats.h"
#include "core/vice_capture.h"
#include "core/vice_monitor.h"
#include "core/vsf_writer.h"

#include "scripted_vice.h"
#include "snapshot_fixture.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cstring>

namespace mosaiqua {
namespace {

using test::Bytes;
using test::MonitorFrameBytes;
using test::MonitorRequest;
using test::ScriptedVice;
using Action = ScriptedVice::Action;

std::string CaptureFails(ScriptedVice& vice, MonitorTimeouts timeouts = {}) {
    try {
        CaptureFromVice(MonitorAddress{"127.0.0.1", vice.port()}, timeouts);
    } catch (const UserError& e) {
        EXPECT_EQ(e.kind(), UserError::Kind::ViceMonitor);
        return e.what();
    }
    ADD_FAILURE() << "the capture succeeded";
    return {};
}

TEST(ViceMonitor, CapturesEverythingPastEventsInTheDocumentedSequence) {
    for (const bool vice35 : {false, true}) {
        ScriptedVice vice;
        vice.knowsOnlyVersion1 = vice35;
        vice.io[0x020] = 0xF6, vice.io[0x800] = 0xF3, vice.io[0xBFF] = 0x4A, vice.io[0xD00] = 0x96;
        const ViceCapture capture = CaptureFromVice(MonitorAddress{"127.0.0.1", vice.port()});
        EXPECT_EQ(capture.ram, vice.ram);
        EXPECT_EQ(capture.characterRom, vice.rom);
        EXPECT_EQ(capture.vic, Bytes(vice.io.begin(), vice.io.begin() + 64));
        ASSERT_EQ(capture.colourRam.size(), 1024u);
        EXPECT_EQ(capture.colourRam.front(), 0xF3);
        EXPECT_EQ(capture.colourRam.back(), 0x4A);
        EXPECT_EQ(capture.cia2, Bytes(vice.io.begin() + 0xD00, vice.io.begin() + 0xD10));
        EXPECT_EQ(capture.rasterLine, 0x123);
        EXPECT_EQ(capture.cycle, 45);
        ASSERT_EQ(capture.registers.size(), 4u);
        EXPECT_EQ(capture.registers[1].name, "PC");
        EXPECT_EQ(capture.registers[1].value, 0x1234);

        // Banks, names, RAM in halves, VIC-II, colour RAM, CIA 2, character ROM, registers, Exit.
        std::vector<MonitorRequest> requests = vice.requests();
        if (vice35) {
            ASSERT_EQ(requests.front().version, 2); // refused with error $82, then asked again
            requests.erase(requests.begin());
        }
        const std::vector<std::vector<std::uint8_t>> memoryBodies{
            {0, 0x00, 0x00, 0xFF, 0x7F, 0, 0x01, 0x01}, {0, 0x00, 0x80, 0xFF, 0xFF, 0, 0x01, 0x01},
            {0, 0x00, 0xD0, 0x3F, 0xD0, 0, 0x03, 0x03}, {0, 0x00, 0xD8, 0xFF, 0xDB, 0, 0x03, 0x03},
            {0, 0x00, 0xDD, 0x0F, 0xDD, 0, 0x03, 0x03}, {0, 0x00, 0xD0, 0xFF, 0xDF, 0, 0x02, 0x02}};
        const std::vector<std::uint8_t> commands{0x82, 0x83, 1, 1, 1, 1, 1, 1, 0x31, 0xAA};
        ASSERT_EQ(requests.size(), commands.size());
        for (std::size_t i = 0; i < commands.size(); ++i) {
            EXPECT_EQ(requests[i].command, commands[i]) << i;
            EXPECT_EQ(requests[i].version, vice35 ? 1 : 2) << i;
            if (i >= 2 && i < 8) {
                EXPECT_EQ(requests[i].body, memoryBodies[i - 2]) << i;
            }
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_NE(requests[i].id, requests[j].id);
        }
        EXPECT_EQ(requests[1].body, Bytes{0});
        EXPECT_EQ(requests[8].body, Bytes{0});
    }
}

struct FailureCase {
    const char* name;
    std::function<void(ScriptedVice&)> arrange;
    const char* expected;
};

TEST(ViceMonitor, EachFailureIsAClearMessage) {
    const auto onRequest = [](int nth, std::function<void(int, const MonitorRequest&)> act) {
        return [nth, act, count = 0](int fd, const MonitorRequest& request) mutable {
            if (++count != nth)
                return Action::Serve;
            act(fd, request);
            return Action::Close;
        };
    };
    const std::vector<FailureCase> cases{
        {"error reply",
         [&](ScriptedVice& v) {
             v.fault = [](int fd, const MonitorRequest& r) {
                 if (r.command != 1 || r.body[2] != 0x80)
                     return Action::Serve;
                 ScriptedVice::Send(fd, MonitorFrameBytes(0, 0x81, r.id, {}));
                 return Action::Skip;
             };
         },
         "refused the request for the RAM $8000-$FFFF: error $81 (invalid parameter)"},
        {"closes mid-reply",
         [&](ScriptedVice& v) {
             v.fault = onRequest(3, [](int fd, const MonitorRequest& r) {
                 auto reply = MonitorFrameBytes(1, 0, r.id, Bytes(2 + 0x8000, 0));
                 ScriptedVice::Send(fd, {reply.begin(), reply.begin() + 1000});
             });
         },
         "closed the connection in the middle of its reply to the request for the RAM $0000-$7FFF"},
        {"closes before replying", [&](ScriptedVice& v) { v.fault = onRequest(1, [](int, auto&) {}); },
         "closed the connection before it answered the request for the list of memory banks"},
        {"slow",
         [&](ScriptedVice& v) {
             v.fault = onRequest(2, [](int fd, auto&) { ScriptedVice::WaitForHangUp(fd); });
         },
         "did not answer the request for the register names within 200 ms"},
        {"longer than asked",
         [&](ScriptedVice& v) {
             v.fault = onRequest(5, [](int fd, const MonitorRequest& r) {
                 Bytes body{65, 0};
                 body.resize(2 + 65, 0x11);
                 ScriptedVice::Send(fd, MonitorFrameBytes(1, 0, r.id, body));
             });
         },
         "the VIC-II registers $D000-$D03F wrongly: it holds 65 bytes where 64 were asked"},
        {"longer than the protocol allows",
         [&](ScriptedVice& v) {
             v.fault = onRequest(3, [](int fd, const MonitorRequest& r) {
                 auto header = MonitorFrameBytes(1, 0, r.id, {});
                 header[2] = 0x03, header[4] = 0x01; // 65539 bytes announced
                 ScriptedVice::Send(fd, header);
             });
         },
         "announced a reply of 65539 bytes, more than the protocol allows (65538)"},
        {"no C64 banks",
         [&](ScriptedVice& v) {
             v.fault = [](int fd, const MonitorRequest& r) {
                 ScriptedVice::Send(fd, MonitorFrameBytes(0x82, 0, r.id, {1, 0, 6, 0, 0, 3, 'c', 'p', 'u'}));
                 return r.command == 0x82 ? Action::Skip : Action::Close;
             };
         },
         "offers no memory bank named \"ram\""},
        {"damaged bank list",
         [&](ScriptedVice& v) {
             v.fault = onRequest(1, [](int fd, const MonitorRequest& r) {
                 ScriptedVice::Send(fd, MonitorFrameBytes(0x82, 0, r.id, {1, 0, 9, 0, 0, 3, 'c', 'p', 'u'}));
             });
         },
         "answered the request for the list of memory banks wrongly: item 0 has a size of 9"},
        {"unknown version", [&](ScriptedVice& v) { v.replyVersion = 3; },
         "speaks version 3 of the binary-monitor protocol"},
        {"text monitor",
         [&](ScriptedVice& v) {
             v.fault = onRequest(1, [](int fd, auto&) { ScriptedVice::Send(fd, Bytes{'(', 'C', ':', '$'}); });
         },
         "not a binary-monitor reply (it starts with $28, not $02)"},
    };
    for (const FailureCase& c : cases) {
        ScriptedVice vice;
        vice.eventsBetweenReplies = false;
        c.arrange(vice);
        const std::string message =
            CaptureFails(vice, {std::chrono::milliseconds(2000), std::chrono::milliseconds(200)});
        EXPECT_NE(message.find(c.expected), std::string::npos) << c.name << ": " << message;
        EXPECT_NE(message.find(vice.peer()), std::string::npos) << c.name;
        EXPECT_EQ(message.find(vice.peer()), message.rfind(vice.peer()))
            << c.name << ": said twice: " << message;
    }
}

TEST(ViceMonitor, RefusedConnectionSaysHowToStartVice) {
    std::uint16_t port = 0;
    {
        ScriptedVice closed; // a port that was free a moment ago and has nothing listening now
        port = closed.port();
    }
    try {
        CaptureFromVice(MonitorAddress{"127.0.0.1", port});
        ADD_FAILURE() << "connected";
    } catch (const UserError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("Cannot connect to VICE at 127.0.0.1:" + std::to_string(port)),
                  std::string::npos);
        EXPECT_NE(message.find("refused"), std::string::npos) << message;
        EXPECT_NE(message.find("x64sc -binarymonitor"), std::string::npos) << message;
    }
}

TEST(ViceMonitor, AddressesAndReplyBodies) {
    EXPECT_FALSE(ParseMonitorAddress("game.vsf"));
    EXPECT_EQ(ParseMonitorAddress("vice:")->text(), "127.0.0.1:6502");
    EXPECT_EQ(ParseMonitorAddress("vice:pi.local")->text(), "pi.local:6502");
    EXPECT_EQ(ParseMonitorAddress("vice:10.0.0.2:6510")->text(), "10.0.0.2:6510");
    for (const char* bad : {"vice:host:0", "vice:host:65536", "vice:host:6x", "vice:host:"})
        EXPECT_THROW(ParseMonitorAddress(bad), UserError) << bad;

    // A 64 KB read says length 0; the bytes count, and a field that disagrees is refused.
    Bytes whole(2 + 0x10000, 0x5A);
    whole[0] = whole[1] = 0;
    EXPECT_EQ(DecodeMemory(whole, 0x10000).size(), 0x10000u);
    whole[1] = 0x80;
    EXPECT_THROW(DecodeMemory(whole, 0x10000), UserError);
    EXPECT_THROW(DecodeMemory(Bytes{3, 0, 1, 2}, 3), UserError);
    // Items sized by their first byte; one that runs past the body is refused.
    const Bytes banks{2, 0, 6, 0x01, 0x01, 3, 'r', 'a', 'm', 5, 0x03, 0x03, 2, 'i', 'o'};
    const auto decoded = DecodeBanks(banks);
    ASSERT_EQ(decoded.size(), 2u);
    EXPECT_EQ(decoded[0].id, 0x0101);
    EXPECT_EQ(decoded[1].name, "io");
    EXPECT_THROW(DecodeBanks(Bytes(banks.begin(), banks.end() - 1)), UserError);
    EXPECT_THROW(DecodeRegisterNames(Bytes{1, 0, 4, 0x35, 16, 9, 'L', 'I', 'N'}), UserError);
    EXPECT_NE(MonitorErrorText(0x8F).find("general failure"), std::string::npos);
}

ViceCapture HandMadeCapture() {
    ViceCapture capture;
    capture.peer = "10.0.0.2:6502";
    capture.ram.resize(0x10000);
    for (std::size_t i = 0; i < capture.ram.size(); ++i)
        capture.ram[i] = std::uint8_t(i ^ (i >> 8));
    capture.vic.assign(64, 0xF1);
    capture.vic[0x16] = 0xD8; // bits 6-7 read as 1
    capture.vic[0x18] = 0x14;
    capture.colourRam.assign(1024, 0xF7);
    capture.cia2.assign(16, 0xFF);
    capture.cia2[0] = 0x95, capture.cia2[2] = 0x3C; // pins %01: bank 2
    capture.characterRom.assign(4096, 0x3C);
    capture.rasterLine = 291, capture.cycle = 17;
    return capture;
}

TEST(ViceCaptureLoad, MasksOpenBusBitsAndChangesNothingWhenNotWhole) {
    MemoryImage image;
    const std::uint8_t mark = 0xA5;
    image.write(0x10005, &mark, 1);
    const LoadedFile loaded = LoadCapture(HandMadeCapture(), image);
    EXPECT_EQ(loaded.format, FileFormat::ViceMonitor);
    EXPECT_EQ(loaded.ramEnd, 0xFFFF);
    EXPECT_EQ(loaded.description, "VICE (running) at 10.0.0.2:6502, raster line 291, cycle 17");
    EXPECT_EQ(image.byteAt(0x1234), 0x34 ^ 0x12);
    EXPECT_EQ(image.byteAt(0x10005), 0);
    const MachineState& state = *loaded.machineState;
    EXPECT_EQ(state.vic[0x20], 0x01);
    EXPECT_EQ(state.vic[0x2E], 0x01);
    EXPECT_EQ(state.vic[0x16], 0x18);
    EXPECT_EQ(state.vic[0x18], 0x14);
    EXPECT_EQ(state.colourRam, Bytes(1024, 0x07));
    EXPECT_EQ(VicBank(state.cia2PortA, state.cia2DirectionA), 0x8000);
    EXPECT_EQ(state.characterRom, Bytes(4096, 0x3C));

    ViceCapture cut = HandMadeCapture();
    cut.ram.resize(0x8000);
    EXPECT_THROW(LoadCapture(cut, image), UserError);
    EXPECT_EQ(image.byteAt(0x1234), 0x34 ^ 0x12);
}

TEST(ViceSnapshotWriter, WritesTheDocumentedLayoutAndOpensAgainTheSame) {
    MemoryImage image;
    const MachineState state = LoadCapture(HandMadeCapture(), image).machineState.value();
    const Bytes file = EncodeViceSnapshot(image, state);
    // Header with version block, then C64MEM at 58 (RAM at +26), C64ROM, VIC-II, CIA2.
    ASSERT_EQ(file.size(), 58u + (26 + 0x10000) + (22 + 20480) + (22 + 761 + 1024) + (22 + 4));
    EXPECT_EQ(std::memcmp(file.data(),
                          "VICE Snapshot File\x1A\x02\x00"
                          "C64SC",
                          26),
              0);
    EXPECT_EQ(std::memcmp(file.data() + 37, "VICE Version\x1A\x03\x0A", 15), 0);
    EXPECT_EQ(std::memcmp(file.data() + 58, "C64MEM\0", 7), 0);
    EXPECT_EQ(file[58 + 26 + 0x1234], 0x34 ^ 0x12);
    const std::size_t rom = 58 + 26 + 0x10000, vic = rom + 22 + 20480, cia = vic + 22 + 1785;
    EXPECT_EQ(std::memcmp(file.data() + rom, "C64ROM", 6), 0);
    EXPECT_EQ(file[rom + 22 + 16384], 0x3C);
    EXPECT_EQ(file[rom + 22 + 16383], 0x00);
    EXPECT_EQ(std::memcmp(file.data() + vic, "VIC-II\0", 7), 0);
    EXPECT_EQ(file[vic + 16], 1);
    EXPECT_EQ(file[vic + 17], 3);
    EXPECT_EQ(file[vic + 23 + 0x18], 0x14);
    EXPECT_EQ(file[vic + 22 + 761], 0x07);
    EXPECT_EQ(std::memcmp(file.data() + cia, "CIA2\0", 5), 0);
    EXPECT_EQ(file[cia + 22], 0x95);

    test::TempFolder folder;
    WriteViceSnapshot(folder.file("now.vsf"), image, state);
    MemoryImage again;
    const auto loaded = LoadMemoryFile(again, folder.file("now.vsf"), LoadOptions{});
    ASSERT_TRUE(loaded.machineState);
    EXPECT_EQ(loaded.format, FileFormat::ViceSnapshot);
    EXPECT_EQ(loaded.machine, "C64SC");
    EXPECT_EQ(std::memcmp(again.data(), image.data(), MemoryImage::kStoreSize), 0);
    EXPECT_EQ(loaded.machineState->vic, state.vic);
    EXPECT_EQ(loaded.machineState->colourRam, state.colourRam);
    EXPECT_EQ(loaded.machineState->characterRom, state.characterRom);
    EXPECT_EQ(VicBank(loaded.machineState->cia2PortA, loaded.machineState->cia2DirectionA), 0x8000);
}

} // namespace
} // namespace mosaiqua
