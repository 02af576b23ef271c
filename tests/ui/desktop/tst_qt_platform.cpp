// The real save dialog: a name typed without extension takes the chosen file type's extension.
#include "ui/desktop/qt_platform.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestQtPlatform final : public QObject {
    Q_OBJECT

private slots:
    void typedNameTakesTheChosenTypesExtension();
};

void TestQtPlatform::typedNameTakesTheChosenTypesExtension() {
    QTemporaryDir folder;
    const struct {
        int typeSteps; // Down presses on the type list
        QString typed;
        QString expected;
    } cases[] = {{0, "shot", "shot.BMP"},
                 {1, "shot", "shot.png"},
                 {1, "shot.bmp", "shot.bmp"},
                 {0, "shot.PNG", "shot.PNG"}};
    for (const auto& c : cases) {
        SaveFileRequest request;
        request.startFolder = folder.path();
        request.presetName = "spr0800.BMP";
        // Plays the user in the dialog once it runs: picks the type, types the name, presses Enter.
        QTimer user;
        user.setInterval(10);
        connect(&user, &QTimer::timeout, this, [&user, &c] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            user.stop();
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            for (int i = 0; i < c.typeSteps; ++i)
                QTest::keyClick(types, Qt::Key_Down);
            name->selectAll();
            QTest::keyClicks(name, c.typed);
            QTest::keyClick(name, Qt::Key_Return);
        });
        user.start();
        QtPlatform platform;
        const std::optional<QString> chosen = platform.SaveFileName(nullptr, request);
        QVERIFY(chosen.has_value());
        QCOMPARE(QFileInfo(*chosen).fileName(), c.expected);
    }
}

QTEST_MAIN(TestQtPlatform)
#include "tst_qt_platform.moc"
