#include "helpers/child.h"
#include "helpers/fake_platform.h"
#include "ui/components/browsefoldersdialog.h"
#include "ui/dialogs/folders_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kFreezeStart = QStringLiteral("C:\\My Emulators\\CCS64");
const QString kBitmapStart = QStringLiteral("C:\\My Documents");

// One dialog with its fake desktop and a spy on each announcement.
struct Fixture {
    FakePlatform platform;
    FoldersDialog dialog{platform};
    QSignalSpy freezeSpy{&dialog, &FoldersDialog::FreezeDirectoryPicked};
    QSignalSpy bitmapSpy{&dialog, &FoldersDialog::BitmapDirectoryPicked};

    QLineEdit* Edit(const char* name) { return Child<QLineEdit>(dialog, name); }
    void Click(const char* name) { Child<QPushButton>(dialog, name)->click(); }
};

} // namespace

class TestFoldersDialog final : public QObject {
    Q_OBJECT

private slots:
    void layout() {
        Fixture f;
        QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Set Default File Directories"));
        QCOMPARE(f.dialog.size(), QSize(336, 201));
        QCOMPARE(f.dialog.minimumSize(), f.dialog.maximumSize());

        auto* panel = Child<QFrame>(f.dialog, "Panel1");
        QCOMPARE(panel->geometry(), QRect(8, 8, 321, 185));
        QCOMPARE(Child<QLabel>(f.dialog, "Label1")->text(),
                 QStringLiteral("Directory Containing CCS64 Freeze Files:"));
        QCOMPARE(Child<QLabel>(f.dialog, "Label1")->pos(), QPoint(24, 16));
        QCOMPARE(Child<QLabel>(f.dialog, "Label2")->text(),
                 QStringLiteral("Directory For Saving Bitmap Files To:"));
        QCOMPARE(Child<QLabel>(f.dialog, "Label2")->pos(), QPoint(24, 80));

        QCOMPARE(f.Edit("FreezeEdit")->text(), kFreezeStart);
        QCOMPARE(f.Edit("FreezeEdit")->geometry(), QRect(24, 40, 233, 21));
        QCOMPARE(f.Edit("BitmapEdit")->text(), kBitmapStart);
        QCOMPARE(f.Edit("BitmapEdit")->geometry(), QRect(24, 104, 233, 21));

        for (const char* name : {"FreezeEditBut", "BitmapEditBut"}) {
            auto* button = Child<QPushButton>(f.dialog, name);
            QCOMPARE(button->text(), QStringLiteral("...."));
            QVERIFY(button->font().bold());
            QCOMPARE(button->size(), QSize(25, 21));
        }
        QCOMPARE(Child<QPushButton>(f.dialog, "FreezeEditBut")->pos(), QPoint(264, 40));
        QCOMPARE(Child<QPushButton>(f.dialog, "BitmapEditBut")->pos(), QPoint(264, 104));
        QCOMPARE(Child<QPushButton>(f.dialog, "Button1")->text(), QStringLiteral("OK"));
        QCOMPARE(Child<QPushButton>(f.dialog, "Button1")->geometry(), QRect(256, 152, 57, 25));

        auto* browse = Child<TBrowseFoldersDialog>(f.dialog, "BrowseDialog");
        QCOMPARE(browse->Root, bfrDrives);
        QVERIFY((browse->Options == TBrowseFoldersFlags{bffReturnOnlyDirs}));
        QCOMPARE(browse->Title, QStringLiteral("Browse For Folders"));
    }

    void okWithoutBrowsingChangesNothing() {
        Fixture f;
        f.dialog.show();
        f.Click("Button1");
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QVERIFY(!f.dialog.isVisible());
        QVERIFY(f.platform.folderBrowses.isEmpty());
        QCOMPARE(f.freezeSpy.count(), 0);
        QCOMPARE(f.bitmapSpy.count(), 0);
        QCOMPARE(f.Edit("FreezeEdit")->text(), kFreezeStart);
        QCOMPARE(f.Edit("BitmapEdit")->text(), kBitmapStart);
    }

    void typedTextOnlyPreselects() {
        Fixture f;
        f.Edit("FreezeEdit")->setText(QStringLiteral("/home/me/freezes"));
        f.Click("Button1");
        QCOMPARE(f.freezeSpy.count(), 0);

        f.Click("FreezeEditBut"); // the browser is cancelled
        QCOMPARE(f.platform.folderBrowses.size(), 1);
        QCOMPARE(f.platform.folderBrowses[0].startFolder, QStringLiteral("/home/me/freezes"));
        QCOMPARE(f.platform.folderBrowses[0].title, QStringLiteral("Browse For Folders"));
        QCOMPARE(f.freezeSpy.count(), 0);
        QCOMPARE(f.Edit("FreezeEdit")->text(), QStringLiteral("/home/me/freezes"));
    }

    void pickUpdatesBoxAndAnnouncesAtOnce_data() {
        QTest::addColumn<QByteArray>("edit");
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<bool>("freeze");
        QTest::newRow("freeze") << QByteArray("FreezeEdit") << QByteArray("FreezeEditBut") << true;
        QTest::newRow("bitmap") << QByteArray("BitmapEdit") << QByteArray("BitmapEditBut") << false;
    }
    void pickUpdatesBoxAndAnnouncesAtOnce() {
        QFETCH(QByteArray, edit);
        QFETCH(QByteArray, button);
        QFETCH(bool, freeze);
        Fixture f;
        f.platform.folderAnswers.push_back(QStringLiteral("/data/picked"));
        f.Click(button.constData());

        QCOMPARE(f.platform.folderBrowses.size(), 1);
        QCOMPARE(f.platform.folderBrowses[0].startFolder, freeze ? kFreezeStart : kBitmapStart);
        QCOMPARE(f.Edit(edit.constData())->text(), QStringLiteral("/data/picked"));
        QSignalSpy& picked = freeze ? f.freezeSpy : f.bitmapSpy;
        QSignalSpy& other = freeze ? f.bitmapSpy : f.freezeSpy;
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked.at(0).at(0).toString(), QStringLiteral("/data/picked"));
        QCOMPARE(other.count(), 0);
        // The other box is untouched.
        QCOMPARE(f.Edit(freeze ? "BitmapEdit" : "FreezeEdit")->text(), freeze ? kBitmapStart : kFreezeStart);
    }

    void cancelOrNoPathKeepsTypedText_data() {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::newRow("cancelled") << std::optional<QString>();
        QTest::newRow("no file-system path") << std::optional<QString>(QString());
    }
    void cancelOrNoPathKeepsTypedText() {
        QFETCH(std::optional<QString>, answer);
        Fixture f;
        const QString typed = QStringLiteral("  /home/me/shots \t");
        f.Edit("BitmapEdit")->setText(typed);
        f.platform.folderAnswers.push_back(answer);
        f.Click("BitmapEditBut");
        QCOMPARE(f.platform.folderBrowses.size(), 1);
        QCOMPARE(f.Edit("BitmapEdit")->text(), typed);
        QCOMPARE(f.bitmapSpy.count(), 0);
        QCOMPARE(f.freezeSpy.count(), 0);
    }

    void blanksAreTrimmedFromTheStartFolder() {
        Fixture f;
        f.Edit("FreezeEdit")->setText(QStringLiteral(" \t /home/me/freezes  "));
        f.platform.folderAnswers.push_back(std::nullopt);
        f.Click("FreezeEditBut");
        QCOMPARE(f.platform.folderBrowses.size(), 1);
        QCOMPARE(f.platform.folderBrowses[0].startFolder, QStringLiteral("/home/me/freezes"));
    }

    void browsingSeveralTimes() {
        Fixture f;
        f.platform.folderAnswers = {QStringLiteral("/one"), std::nullopt, QStringLiteral("/two")};
        f.Click("FreezeEditBut");
        f.Click("FreezeEditBut");
        f.Click("FreezeEditBut");
        QCOMPARE(f.platform.folderBrowses.size(), 3);
        QCOMPARE(f.platform.folderBrowses[0].startFolder, kFreezeStart);
        QCOMPARE(f.platform.folderBrowses[1].startFolder, QStringLiteral("/one"));
        QCOMPARE(f.platform.folderBrowses[2].startFolder, QStringLiteral("/one"));
        QCOMPARE(f.freezeSpy.count(), 2);
        QCOMPARE(f.freezeSpy.at(1).at(0).toString(), QStringLiteral("/two"));
        QCOMPARE(f.Edit("FreezeEdit")->text(), QStringLiteral("/two"));
    }

    void centredPosition_data() {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QSize>("dialog");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("even halves") << QRect(100, 50, 632, 580) << QSize(344, 228)
                                     << QPoint(100 + (632 - 344) / 2, 50 + (580 - 228) / 2);
        // 577 - 228 = 349 halves to 174.
        QTest::newRow("odd halves truncate")
            << QRect(100, 50, 631, 577) << QSize(344, 228) << QPoint(100 + 143, 50 + 174);
        // -45 halves to -22 and -31 to -15: toward zero, not down.
        QTest::newRow("dialog larger")
            << QRect(10, 10, 300, 200) << QSize(345, 231) << QPoint(10 - 22, 10 - 15);
        QTest::newRow("main off screen")
            << QRect(-400, -20, 632, 577) << QSize(336, 201) << QPoint(-400 + 148, -20 + 188);
    }
    void centredPosition() {
        QFETCH(QRect, main);
        QFETCH(QSize, dialog);
        QFETCH(QPoint, expected);
        QCOMPARE(FoldersDialog::CentredPosition(main, dialog), expected);
    }

    void showOverPlacesThenRunsModally() {
        Fixture f;
        f.Edit("FreezeEdit")->setText(QStringLiteral("/typed"));
        f.dialog.ShowOver(QRect(200, 100, 632, 577));
        // Centred by the outer size, frame included, even before the first showing.
        const QSize outer = f.dialog.frameGeometry().size();
        QVERIFY(outer.width() > 336 && outer.height() > 201);
        QCOMPARE(f.platform.modalPositions.size(), 1);
        QCOMPARE(f.platform.modalPositions[0],
                 QPoint(200 + (632 - outer.width()) / 2, 100 + (577 - outer.height()) / 2));

        // Opening again reloads nothing.
        f.dialog.ShowOver(QRect(0, 0, 632, 577));
        QCOMPARE(f.platform.modalPositions.size(), 2);
        QCOMPARE(f.platform.modalPositions[1], QPoint((632 - outer.width()) / 2, (577 - outer.height()) / 2));
        QCOMPARE(f.Edit("FreezeEdit")->text(), QStringLiteral("/typed"));
        QCOMPARE(f.Edit("BitmapEdit")->text(), kBitmapStart);
    }
};

QTEST_MAIN(TestFoldersDialog)
#include "tst_folders_dialog.moc"
