#include "ui/assets/fonts.h"
#include "ui/assets/web_links.h"
#include "ui/dialogs/about_box.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace {

QLabel* Label(const AboutBox& box, const char* name) {
    return box.findChild<QLabel*>(QString::fromLatin1(name));
}

} // namespace

class TestAboutBox final : public QObject {
    Q_OBJECT

private slots:
    // Text widths are checked in the program's own dialog font.
    void initTestCase() { InstallApplicationFonts(); }

    void texts() {
        AboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("About Mosaiqua"));
        QVERIFY(!box.windowIcon().isNull());
        QCOMPARE(Label(box, "ProductName")->text(), QStringLiteral("Mosaiqua"));
        QCOMPARE(Label(box, "Version")->text(), QStringLiteral("Version 1.05"));
        const QString copyright = Label(box, "Copyright")->text();
        QVERIFY(copyright.startsWith(QLatin1String("Copyright")));
        QVERIFY(!copyright.contains(u'\n'));
        QCOMPARE(Label(box, "Licence")->text(), QStringLiteral("MIT licence"));
        QLabel* comments = Label(box, "Comments");
        QVERIFY(comments->wordWrap());
        QVERIFY(comments->text().contains(QLatin1String("http://www.tessaluma.example/")));
        QVERIFY(comments->text().contains(u'@'));
    }

    void layout() {
        AboutBox box;
        QCOMPARE(box.size(), QSize(298, 229));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        auto* panel1 = box.findChild<QFrame*>(QStringLiteral("Panel1"));
        QCOMPARE(panel1->geometry(), QRect(8, 8, 281, 177));
        QCOMPARE(box.findChild<QFrame*>(QStringLiteral("Panel2"))->geometry(), QRect(8, 8, 265, 36));
        QCOMPARE(box.findChild<QFrame*>(QStringLiteral("Panel3"))->geometry(), QRect(8, 56, 33, 33));
        QCOMPARE(Label(box, "ProductName")->pos(), QPoint(48, 57));
        QCOMPARE(Label(box, "Version")->pos(), QPoint(212, 57));
        QCOMPARE(Label(box, "Copyright")->pos(), QPoint(48, 76));
        // The one-line notice ends inside the panel's border.
        QVERIFY(Label(box, "Copyright")->geometry().right() < panel1->contentsRect().right());
        QCOMPARE(Label(box, "Comments")->geometry(), QRect(8, 104, 263, 65));
        for (const char* picture : {"Image1", "ProgramIcon"}) {
            QLabel* label = Label(box, picture);
            QVERIFY2(label != nullptr && !label->pixmap().isNull(), picture);
            QVERIFY(label->hasScaledContents());
        }
        QCOMPARE(Label(box, "Image1")->pixmap().size(), QSize(265, 33));
        auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(ok->geometry(), QRect(111, 196, 75, 25));
        QVERIFY(ok->isDefault());
    }

    void okCloses() {
        AboutBox box;
        box.show();
        QVERIFY(box.isVisible());
        QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    void enterPressesOk() {
        AboutBox box;
        box.show();
        box.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QTest::keyClick(&box, Qt::Key_Return);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    void centredOnScreen() {
        // 1024 - 305 = 719 halves to 359, 768 - 259 = 509 to 254.
        QCOMPARE(AboutBox::ScreenCentredPosition(QRect(0, 0, 1024, 768), QSize(305, 259)), QPoint(359, 254));
        QCOMPARE(AboutBox::ScreenCentredPosition(QRect(1920, 0, 1280, 1024), QSize(298, 229)),
                 QPoint(1920 + 491, 397));

        AboutBox box;
        box.show();
        const QRect screen = box.screen()->geometry();
        // Centred by the outer size, frame included.
        const QSize outer = box.frameGeometry().size();
        QVERIFY(outer.width() > 298 && outer.height() > 229);
        QCOMPARE(box.pos(), QPoint(screen.left() + (screen.width() - outer.width()) / 2,
                                   screen.top() + (screen.height() - outer.height()) / 2));
    }

    void webLinks() {
        QCOMPARE(HomePageUrl(), QStringLiteral("http://www.tessaluma.example/"));
        QCOMPARE(BugBoardUrl(),
                 QStringLiteral("http://www.tessaluma.example/forum/viewboard.php?BoardID=12"));
        QCOMPARE(SuggestionBoardUrl(),
                 QStringLiteral("http://www.tessaluma.example/forum/viewboard.php?BoardID=13"));
        QCOMPARE(ContactEmail(), QStringLiteral("mosaiqua@tessaluma.example"));
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_about_box.moc"
