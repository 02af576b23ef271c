// Capture from VICE and Capture Again in the window, against a scripted binary monitor.
#include "../../core/scripted_vice.h"
#include "helpers/main_window_driver.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

using mosaiqua::test::ScriptedVice;

namespace {

// Plays the user in the capture dialog: records what it offered, then types the scripted VICE's port.
std::function<int(QDialog*)> AnswerWith(std::uint16_t port, QString* offered) {
    return [port, offered](QDialog* dialog) {
        auto* host = Child<QLineEdit>(*dialog, "hostEdit");
        auto* portSpin = Child<QSpinBox>(*dialog, "portSpin");
        *offered = host->text() + QLatin1Char(':') + QString::number(portSpin->value());
        host->setText(QStringLiteral("127.0.0.1"));
        portSpin->setValue(port);
        return int(QDialog::Accepted);
    };
}

QString Status(const ScriptedVice& vice, int line, int cycle) {
    return QStringLiteral("VICE (running) at 127.0.0.1:%1, raster line %2, cycle %3")
        .arg(vice.port())
        .arg(line)
        .arg(cycle);
}

} // namespace

class TestMainWindowCapture : public QObject {
    Q_OBJECT
private slots:
    void captureAsksWhereThenCaptureAgainKeepsTheViewers();
};

void TestMainWindowCapture::captureAsksWhereThenCaptureAgainKeepsTheViewers() {
    MainWindowFixture f;
    ScriptedVice vice;
    QVERIFY(!Action(f.main, "CaptureAgain1")->isEnabled());
    QCOMPARE(Action(f.main, "CaptureFromVice1")->text(), QString("Capture from &VICE\tCtrl+Shift+V"));
    Trigger(f.main, "CaptureFromVice1"); // cancelled: nothing is asked of VICE
    QVERIFY(vice.requests().empty());

    QString offered;
    f.platform.modalScripts.push_back(AnswerWith(vice.port(), &offered));
    Trigger(f.main, "CaptureFromVice1");
    QCOMPARE(offered, QString("127.0.0.1:6502"));
    QVERIFY(f.platform.errors.empty());
    // A first capture goes where the screen is, as an opened snapshot does.
    QCOMPARE(f.main.StatusText(),
             Status(vice, 0x123, 45) + " " + QString::fromStdString(f.main.Model().followStatus()));
    QCOMPARE(f.main.Memory().byteAt(0x1234), std::uint8_t(0x1234 * 7 + 0x12));
    QVERIFY(f.main.Model().machineState().has_value());
    QVERIFY(!f.main.Model().loadedIdentity().known);

    // The user follows an animation: the viewers are moved and coloured, the machine runs on.
    f.main.Model().setSpriteAddress(0x2040);
    f.main.Model().setSpriteMulticolour(true);
    f.main.Model().setCharSetAddress(0x3800);
    SetSwatch(f.main, "Col2", 0x123456);
    const mosaiqua::ColourSlots spriteColours = f.main.SpriteColours();
    vice.ram[0x2040] = 0xA5;
    vice.rasterLine = 7;
    vice.cycle = 3;
    const int asked = f.platform.modalRuns;
    Trigger(f.main, "CaptureAgain1");
    QCOMPARE(f.platform.modalRuns, asked); // the address is remembered
    QCOMPARE(f.main.StatusText(), Status(vice, 7, 3));
    QCOMPARE(f.main.Memory().byteAt(0x2040), std::uint8_t(0xA5));
    QCOMPARE(f.main.SpriteAddress(), 0x2040);
    QVERIFY(f.main.SpriteMulticolour());
    QCOMPARE(f.main.CharSetAddress(), 0x3800);
    QVERIFY(f.main.SpriteColours() == spriteColours);

    // VICE hangs up in the middle of the read: the error box, and nothing changes.
    vice.fault = [](int, const mosaiqua::test::MonitorRequest& request) {
        return request.command == 0x01 ? ScriptedVice::Action::Close : ScriptedVice::Action::Serve;
    };
    vice.ram[0x2040] = 0x99;
    Trigger(f.main, "CaptureAgain1");
    QCOMPARE(int(f.platform.errors.size()), 1);
    QVERIFY(f.platform.errors[0].text.contains(QString::fromStdString(vice.peer())));
    QCOMPARE(f.main.StatusText(), Status(vice, 7, 3));
    QCOMPARE(f.main.Memory().byteAt(0x2040), std::uint8_t(0xA5));

    // Asked again, the dialog offers the address last used.
    f.platform.modalScripts.push_back(AnswerWith(vice.port(), &offered));
    Trigger(f.main, "CaptureFromVice1");
    QCOMPARE(offered, QStringLiteral("127.0.0.1:%1").arg(vice.port()));
}

QTEST_MAIN(TestMainWindowCapture)
#include "tst_main_window_capture.moc"
