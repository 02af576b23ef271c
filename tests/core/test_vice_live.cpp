// Capturing from a real x64sc, where one is on the PATH (VICE is not packaged in Debian).
#include "core/errors.h"
#include "core/vice_capture.h"
#include "core/vice_monitor.h"

#include "scripted_vice.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>

namespace mosaiqua {
namespace {

bool OnPath(const std::string& program) {
    std::stringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string folder; std::getline(path, folder, ':');)
        if (!folder.empty() && ::access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

TEST(ViceLive, CapturesWhatTheProgramSet) {
    if (!OnPath("x64sc") || !OnPath("acme"))
        GTEST_SKIP() << "x64sc (VICE) or acme is not on the PATH; the capture from a running VICE is tested "
                        "against the scripted monitor only";
    test::TempFolder folder;
    std::ofstream(folder.file("set.asm")) << "* = $0801\n"
                                             "!byte $0b,$08,$0a,$00,$9e,$32,$30,$36,$31,$00,$00,$00\n"
                                             "  sei\n  lda #$02\n  sta $d020\n  lda #$06\n  sta $d021\n"
                                             "  lda #$a5\n  sta $c000\n  lda #$94\n  sta $dd00\n"
                                             "loop jmp loop\n";
    const std::string prg = folder.file("set.prg");
    ASSERT_EQ(std::system(("acme -f cbm -o " + prg + " " + folder.file("set.asm")).c_str()), 0);

    std::uint16_t port = 0;
    {
        test::ScriptedVice probe; // a free port, released for VICE
        port = probe.port();
    }
    const std::string address = "ip4://127.0.0.1:" + std::to_string(port);
    const pid_t vice = ::fork();
    ASSERT_GE(vice, 0);
    if (vice == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execlp("x64sc", "x64sc", "-default", "-binarymonitor", "-binarymonitoraddress", address.c_str(),
                 "-autostart", prg.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    // VICE needs a while to start and to autostart the program.
    std::optional<ViceCapture> capture;
    std::string lastError;
    for (int attempt = 0; attempt < 60; ++attempt) {
        try {
            capture = CaptureFromVice(MonitorAddress{"127.0.0.1", port});
            if (capture->ram[0xC000] == 0xA5)
                break;
        } catch (const UserError& e) {
            lastError = e.what();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    ::kill(vice, SIGTERM);
    ::waitpid(vice, nullptr, 0);
    ASSERT_TRUE(capture && capture->ram[0xC000] == 0xA5) << lastError;
    MemoryImage image;
    const LoadedFile loaded = LoadCapture(*capture, image);
    EXPECT_EQ(loaded.machineState->vic[0x20], 2);
    EXPECT_EQ(loaded.machineState->vic[0x21], 6);
    EXPECT_EQ(VicBank(loaded.machineState->cia2PortA, loaded.machineState->cia2DirectionA), 0xC000);
    EXPECT_TRUE(capture->rasterLine && capture->cycle);
}

} // namespace
} // namespace mosaiqua
