// The Bitmap Ripper page: a Koala picture opens on it, its keys and buttons step the document's
// bitmap viewer, its marks follow the document, and its saves and copy take the bitmap.
#include "helpers/main_window_driver.h"

#include <QAction>
#include <QFile>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

class TestMainWindowBitmap final : public QObject {
    Q_OBJECT

private slots:
    void aKoalaPictureOpensOnTheBitmapPageAndSteps() {
        MainWindowFixture f;
        QVERIFY(f.Show());
        // Bitmap, screen, colour RAM and background: each cell's pairs in four colours.
        QByteArray koala("\x00\x60", 2);
        koala += QByteArray(8000, char(0x1B)) + QByteArray(1000, char(0x21)) + QByteArray(1000, char(0x05)) +
                 QByteArray(1, char(0x06));
        const QString path = f.files.filePath(QStringLiteral("title.kla"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(koala) == koala.size());
        file.close();
        f.platform.openAnswers.push_back(path);
        Trigger(f.main, QStringLiteral("OpenFreezeFile1"));

        QCOMPARE(Child<QTabWidget>(f.main, "PageControl")->currentWidget()->objectName(),
                 QStringLiteral("BitmapSheet"));
        QCOMPARE(LabelText(f.main, "BitmapAddressLabel"), QStringLiteral("$6000"));
        QCOMPARE(LabelText(f.main, "BitmapScreenLabel"), QStringLiteral("$7F40"));
        QVERIFY(Child<QToolButton>(f.main, "BitmapMCM")->isChecked());
        QVERIFY(Action(f.main, QStringLiteral("BitmapMulticolourMode1"))->isChecked());

        // The keys work whichever page is in front; the buttons step the same viewer.
        ShowPage(f.main, QStringLiteral("SpriteSheet"));
        QTest::keyClick(&f.main, Qt::Key_F7, Qt::ShiftModifier);
        QCOMPARE(LabelText(f.main, "BitmapAddressLabel"), QStringLiteral("$6140"));
        ShowPage(f.main, QStringLiteral("BitmapSheet"));
        ClickOn(f.main, QStringLiteral("BitmapMinus"));
        ClickOn(f.main, QStringLiteral("BitmapScreenNext"));
        QCOMPARE(LabelText(f.main, "BitmapAddressLabel"), QStringLiteral("$613F"));
        QCOMPARE(LabelText(f.main, "BitmapScreenLabel"), QStringLiteral("$8340"));
        ClickOn(f.main, QStringLiteral("BitmapMCM"));
        QVERIFY(!f.main.Model().bitmap().multicolour);
        QVERIFY(!Action(f.main, QStringLiteral("BitmapMulticolourMode1"))->isChecked());

        // Ctrl+C copies the bitmap; the Koala save writes the picture's 10003 bytes.
        QTest::keyClick(&f.main, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.platform.clipboardImages.back().size(), QSize(320, 200));
        const QString saved = f.files.filePath(QStringLiteral("again.kla"));
        f.platform.saveAnswers.push_back(saved);
        Trigger(f.main, QStringLiteral("SaveBitmapKoala1"));
        QCOMPARE(QFileInfo(saved).size(), qint64(10003));
        QCOMPARE(f.main.StatusText(), QStringLiteral("Koala Painter picture saved ok."));
    }
};

QTEST_MAIN(TestMainWindowBitmap)
#include "tst_main_window_bitmap.moc"
