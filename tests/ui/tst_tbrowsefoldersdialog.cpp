#include "ui/components/browsefoldersdialog.h"
#include "ui/platform.h"

#include <QDir>
#include <QStandardPaths>
#include <QWidget>
#include <QtTest>

#include <deque>

namespace {

// Answers folder browses from a script and records what each browse was asked.
class BrowseScript final : public Platform {
public:
    struct Call {
        QWidget* parent;
        QString startFolder;
        QString title;
    };

    std::deque<std::optional<QString>> answers;
    QList<Call> calls;

    std::optional<QString> BrowseForFolder(QWidget* parent, const QString& startFolder,
                                           const QString& title) override {
        calls.append({parent, startFolder, title});
        if (answers.empty())
            return std::nullopt;
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<QString> OpenFileName(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<QString> SaveFileName(QWidget*, const SaveFileRequest&) override { return std::nullopt; }
    std::optional<mosaiqua::TColor> ChooseColour(QWidget*, mosaiqua::TColor) override { return std::nullopt; }
    void ShowError(QWidget*, const QString&, const QString&) override {}
    bool SetClipboardImage(const QImage&) override { return false; }
    void OpenWebPage(const QString&) override {}
    int RunModal(QDialog*) override { return 0; }
    int DisplayColourDepth() const override { return 24; }
};

} // namespace

class TestTBrowseFoldersDialog final : public QObject {
    Q_OBJECT

private slots:
    void defaultsAndEnumOrder() {
        BrowseScript platform;
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
        QTest::newRow("plain") << "C:\\My Emulators\\CCS64"
                               << "C:\\My Emulators\\CCS64";
        QTest::newRow("blanks both ends") << "   /home/me/snaps  "
                                          << "/home/me/snaps";
        QTest::newRow("tabs and line ends") << "\t\r\n/home/me/snaps\r\n"
                                            << "/home/me/snaps";
        QTest::newRow("control characters") << QString::fromLatin1("\x01\x1f /data\x7f\x02") << "/data";
        QTest::newRow("inner blanks kept") << " a  b "
                                           << "a  b";
        QTest::newRow("only blanks") << " \t \x03 "
                                     << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void setFolderTrims() {
        QFETCH(QString, typed);
        QFETCH(QString, folder);
        BrowseScript platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        dialog.SetFolder(typed);
        QCOMPARE(dialog.Folder(), folder);
    }

    void executePassesFolderAndTitle() {
        BrowseScript platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        dialog.Title = QStringLiteral("Browse For Folders");
        dialog.SetFolder(QStringLiteral("  /home/me/c64  "));
        platform.answers.push_back(std::nullopt);
        QVERIFY(!dialog.Execute());
        QCOMPARE(platform.calls.size(), 1);
        QCOMPARE(platform.calls[0].startFolder, QStringLiteral("/home/me/c64"));
        QCOMPARE(platform.calls[0].title, QStringLiteral("Browse For Folders"));
    }

    void ownerWindowIsTheParent() {
        BrowseScript platform;
        QWidget window;
        auto* inner = new QWidget(&window);
        TBrowseFoldersDialog dialog(platform, inner);
        QVERIFY(!dialog.Execute());
        QCOMPARE(platform.calls.size(), 1);
        QCOMPARE(platform.calls[0].parent, &window);
    }

    void pickSetsFolderAndDisplayName_data() {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("displayName");
        QTest::newRow("unix path") << "/home/me/C64 Games"
                                   << "C64 Games";
        QTest::newRow("trailing separator") << "/home/me/snaps/"
                                            << "snaps";
        QTest::newRow("windows path") << "D:\\Emulators\\Freezes"
                                      << "Freezes";
        QTest::newRow("root") << "/"
                              << "/";
    }
    void pickSetsFolderAndDisplayName() {
        QFETCH(QString, picked);
        QFETCH(QString, displayName);
        BrowseScript platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        dialog.SetFolder(QStringLiteral("/somewhere"));
        platform.answers.push_back(picked);
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
        BrowseScript platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        platform.answers.push_back(QStringLiteral("/data/first"));
        QVERIFY(dialog.Execute());
        dialog.SetFolder(QStringLiteral("/typed/next"));

        platform.answers.push_back(answer);
        QVERIFY(!dialog.Execute());
        QCOMPARE(dialog.Folder(), QStringLiteral("/typed/next"));
        QCOMPARE(dialog.DisplayName(), QStringLiteral("first"));
        QCOMPARE(platform.calls.size(), 2);
    }

    void repeatedBrowsesStartFromCurrentFolder() {
        BrowseScript platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        dialog.SetFolder(QStringLiteral("/start"));
        platform.answers = {QStringLiteral("/picked/one"), std::nullopt, QStringLiteral("/picked/two"),
                            QStringLiteral("/picked/three")};

        QVERIFY(dialog.Execute());
        QVERIFY(!dialog.Execute());
        QVERIFY(dialog.Execute());
        dialog.SetFolder(QStringLiteral("/typed"));
        QVERIFY(dialog.Execute());

        const QStringList expectedStarts = {"/start", "/picked/one", "/picked/one", "/typed"};
        QCOMPARE(platform.calls.size(), expectedStarts.size());
        for (qsizetype i = 0; i < expectedStarts.size(); ++i)
            QCOMPARE(platform.calls[i].startFolder, expectedStarts[i]);
        QCOMPARE(dialog.Folder(), QStringLiteral("/picked/three"));
        QCOMPARE(dialog.DisplayName(), QStringLiteral("three"));
    }

    void emptyFolderStartsAtTheRoot() {
        BrowseScript platform;
        TBrowseFoldersDialog dialog(platform, nullptr);
        dialog.Root = bfrDrives;
        QVERIFY(!dialog.Execute());
        dialog.Root = bfrPersonal;
        QVERIFY(!dialog.Execute());
        dialog.Root = bfrDesktop;
        QVERIFY(!dialog.Execute());
        dialog.Root = bfrRecycleBin;
        QVERIFY(!dialog.Execute());

        QCOMPARE(platform.calls.size(), 4);
        QCOMPARE(platform.calls[0].startFolder, QDir::rootPath());
        QCOMPARE(platform.calls[1].startFolder,
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        QCOMPARE(platform.calls[2].startFolder,
                 QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        QCOMPARE(platform.calls[3].startFolder, QDir::homePath());
    }
};

QTEST_MAIN(TestTBrowseFoldersDialog)
#include "tst_tbrowsefoldersdialog.moc"
