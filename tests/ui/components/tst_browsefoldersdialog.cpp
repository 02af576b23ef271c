#include "helpers/fake_platform.h"
#include "ui/components/browsefoldersdialog.h"

#include <QDir>
#include <QStandardPaths>
#include <QWidget>
#include <QtTest>

class TestTBrowseFoldersDialog final : public QObject {
    Q_OBJECT

private slots:
    void defaultsAndEnumOrder() {
        FakePlatform platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        QCOMPARE(dialog.Folder(), QString());
        QCOMPARE(dialog.DisplayName(), QString());
        QCOMPARE(dialog.Title, QString());
        QCOMPARE(dialog.Root, bfrDesktop);
        QVERIFY(dialog.Options.Contains(bffReturnOnlyDirs));
        for (tagTBrowseFoldersFlag other : {bffBrowseForComputer, bffBrowseForPrinter, bffDontGoBelowDomain,
                                            bffReturnsAncestors, bffStatusText})
            QVERIFY(!dialog.Options.Contains(other));

        // The shell's order: sixteen roots and six flags.
        QCOMPARE(int(bfrRecycleBin), 0);
        QCOMPARE(int(bfrDesktop), 2);
        QCOMPARE(int(bfrDrives), 4);
        QCOMPARE(int(bfrPersonal), 8);
        QCOMPARE(int(bfrTemplates), 15);
        QCOMPARE(int(bffBrowseForComputer), 0);
        QCOMPARE(int(bffReturnOnlyDirs), 4);
        QCOMPARE(int(bffStatusText), 5);
    }

    void flagSet() {
        TBrowseFoldersFlags flags;
        QVERIFY(flags.IsEmpty());
        flags.Include(bffStatusText);
        flags.Include(bffBrowseForComputer);
        QVERIFY(flags.Contains(bffStatusText));
        QVERIFY(flags.Contains(bffBrowseForComputer));
        QVERIFY(!flags.Contains(bffReturnOnlyDirs));
        QVERIFY((flags == TBrowseFoldersFlags{bffBrowseForComputer, bffStatusText}));
        flags.Exclude(bffStatusText);
        QVERIFY((flags == TBrowseFoldersFlags{bffBrowseForComputer}));
    }

    void setFolderTrims_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << QString("C:\\My Emulators\\CCS64") << "C:\\My Emulators\\CCS64";
        QTest::newRow("blanks both ends") << QString("   /home/me/snaps  ") << "/home/me/snaps";
        QTest::newRow("tabs and line ends") << QString("\t\r\n/home/me/snaps\r\n") << "/home/me/snaps";
        QTest::newRow("control characters") << QString::fromLatin1("\x01\x1f /data\x7f\x02") << "/data";
        QTest::newRow("inner blanks kept") << QString(" a  b ") << "a  b";
        QTest::newRow("only blanks") << QString(" \t \x03 ") << "";
        QTest::newRow("empty") << QString("") << "";
    }
    void setFolderTrims() {
        QFETCH(QString, typed);
        QFETCH(QString, folder);
        FakePlatform platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        dialog.SetFolder(typed);
        QCOMPARE(dialog.Folder(), folder);
    }

    void executePassesFolderAndTitle() {
        FakePlatform platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        dialog.Title = QStringLiteral("Browse For Folders");
        dialog.SetFolder(QStringLiteral("  /home/me/c64  "));
        platform.folderAnswers.push_back(std::nullopt);
        QVERIFY(!dialog.Execute());
        QCOMPARE(platform.folderBrowses.size(), 1);
        QCOMPARE(platform.folderBrowses[0].startFolder, QStringLiteral("/home/me/c64"));
        QCOMPARE(platform.folderBrowses[0].title, QStringLiteral("Browse For Folders"));
    }

    void ownerWindowIsTheParent() {
        FakePlatform platform;
        QWidget window;
        auto* inner = new QWidget(&window);
        TBrowseFoldersDialog dialog(platform, inner);
        QVERIFY(!dialog.Execute());
        QCOMPARE(platform.folderBrowses.size(), 1);
        QCOMPARE(platform.folderBrowses[0].parent, &window);
    }

    void pickSetsFolderAndDisplayName_data() {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("displayName");
        QTest::newRow("unix path") << QString("/home/me/C64 Games") << "C64 Games";
        QTest::newRow("trailing separator") << QString("/home/me/snaps/") << "snaps";
        QTest::newRow("windows path") << QString("D:\\Emulators\\Freezes") << "Freezes";
        QTest::newRow("root") << QString("/") << "/";
    }
    void pickSetsFolderAndDisplayName() {
        QFETCH(QString, picked);
        QFETCH(QString, displayName);
        FakePlatform platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        dialog.SetFolder(QStringLiteral("/somewhere"));
        platform.folderAnswers.push_back(picked);
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Folder(), picked);
        QCOMPARE(dialog.DisplayName(), displayName);
    }

    void cancelOrNoPathKeepsValues_data() {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::newRow("cancelled") << std::optional<QString>();
        QTest::newRow("no file-system path") << std::optional<QString>(QString());
    }
    void cancelOrNoPathKeepsValues() {
        QFETCH(std::optional<QString>, answer);
        FakePlatform platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        platform.folderAnswers.push_back(QStringLiteral("/data/first"));
        QVERIFY(dialog.Execute());
        dialog.SetFolder(QStringLiteral("/typed/next"));

        platform.folderAnswers.push_back(answer);
        QVERIFY(!dialog.Execute());
        QCOMPARE(dialog.Folder(), QStringLiteral("/typed/next"));
        QCOMPARE(dialog.DisplayName(), QStringLiteral("first"));
        QCOMPARE(platform.folderBrowses.size(), 2);
    }

    void repeatedBrowsesStartFromCurrentFolder() {
        FakePlatform platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        dialog.SetFolder(QStringLiteral("/start"));
        platform.folderAnswers = {QStringLiteral("/picked/one"), std::nullopt, QStringLiteral("/picked/two"),
                                  QStringLiteral("/picked/three")};

        QVERIFY(dialog.Execute());
        QVERIFY(!dialog.Execute());
        QVERIFY(dialog.Execute());
        dialog.SetFolder(QStringLiteral("/typed"));
        QVERIFY(dialog.Execute());

        const QStringList expectedStarts = {"/start", "/picked/one", "/picked/one", "/typed"};
        QCOMPARE(platform.folderBrowses.size(), expectedStarts.size());
        for (qsizetype i = 0; i < expectedStarts.size(); ++i)
            QCOMPARE(platform.folderBrowses[i].startFolder, expectedStarts[i]);
        QCOMPARE(dialog.Folder(), QStringLiteral("/picked/three"));
        QCOMPARE(dialog.DisplayName(), QStringLiteral("three"));
    }

    void emptyFolderStartsAtTheRoot() {
        FakePlatform platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        dialog.Root = bfrDrives;
        QVERIFY(!dialog.Execute());
        dialog.Root = bfrPersonal;
        QVERIFY(!dialog.Execute());
        dialog.Root = bfrDesktop;
        QVERIFY(!dialog.Execute());
        dialog.Root = bfrRecycleBin;
        QVERIFY(!dialog.Execute());

        QCOMPARE(platform.folderBrowses.size(), 4);
        QCOMPARE(platform.folderBrowses[0].startFolder, QDir::rootPath());
        QCOMPARE(platform.folderBrowses[1].startFolder,
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        QCOMPARE(platform.folderBrowses[2].startFolder,
                 QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        QCOMPARE(platform.folderBrowses[3].startFolder, QDir::homePath());
    }
};

QTEST_MAIN(TestTBrowseFoldersDialog)
#include "tst_browsefoldersdialog.moc"
