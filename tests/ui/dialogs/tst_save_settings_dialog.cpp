#include "ui/dialogs/save_settings_dialog.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QStringList kEditNames = {"CSSpriteWidth",  "CSSpriteHeight", "CSBitmapWidth",
                                "CSBitmapHeight", "CSFBitmapWidth", "CSFBitmapHeight"};

QLineEdit* Edit(const QWidget& dialog, const QString& name) {
    return dialog.findChild<QLineEdit*>(name);
}

QStringList EditTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QString& name : kEditNames) {
        texts.append(Edit(dialog, name)->text());
    }
    return texts;
}

void TypeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void Press(const QWidget& dialog, const char* name) {
    QAbstractButton* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
    QVERIFY2(button != nullptr, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

bool HasLabel(const QWidget& dialog, const QString& text) {
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == text) {
            return true;
        }
    }
    return false;
}

} // namespace

class TestSaveSettingsDialog final : public QObject {
    Q_OBJECT

private slots:
    void windowShowsItsTexts();
    void freshDialogHoldsTheDefaults();
    void returnToDefaultsRestoresTextsButNotTheDepth();
    void cancelKeepsWhatWasTyped();
    void okAcceptsTextsThatAreNoNumbers();
    void aNinthCharacterCannotBeTyped();
    void tabGoesThroughTheControlsInOrder();
};

void TestSaveSettingsDialog::windowShowsItsTexts() {
    SaveSettingsDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Sprite Settings"));
    QCOMPARE(dialog.size(), QSize(464, 379));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());

    QStringList groupTitles;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        groupTitles.append(group->title());
    }
    groupTitles.sort();
    QCOMPARE(groupTitles, QStringList({" Colour Depth Of Saved Bitmap ", " Current Sprite Save Settings "}));

    for (const char* text :
         {"Width Of Actual Sprite", "Height Of Actual Sprite", "Width Of Bitmap", "Height Of Bitmap",
          "Width Of Fnal Bitmap", "Height Of Final Bitmap",
          "in the format of 7 x 1 width of Bitmap's x Height of Bitmaps.",
          "These settings allow for a final bitmap size to be specified for use when "
          "exporting a range of sprites to a single Bitmap.",
          "The settings below affect ALL sprite saving methods.  Therefore a single current "
          "saved sprite will be as below, a save between two memory locations will save "
          "files as per directions below, and a save next 7 sprites will produce a bitmap of "
          "7 x 1 sprites"}) {
        QVERIFY2(HasLabel(dialog, QString::fromLatin1(text)), text);
    }

    auto* radio24 = dialog.findChild<QRadioButton*>(QStringLiteral("Radio24bit"));
    auto* radio16 = dialog.findChild<QRadioButton*>(QStringLiteral("Radio16bit"));
    QVERIFY(radio24 != nullptr && radio16 != nullptr);
    QCOMPARE(radio24->text(), QStringLiteral("Use 24bit Colour Depth"));
    QCOMPARE(radio16->text(), QStringLiteral("Use Current Windows Colour Depth"));
    QCOMPARE(radio24->parentWidget(), radio16->parentWidget());
    QCOMPARE(
        radio24->parentWidget()->toolTip(),
        QStringLiteral("When loading files into Photoshop they must be saved in 24bit.  Paint shop pro will "
                       "load either."));

    QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->text(), QStringLiteral("OK"));
    QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("Button2"))->text(), QStringLiteral("Cancel"));
    QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("Button3"))->text(),
             QStringLiteral("Return To Defaults"));
}

void TestSaveSettingsDialog::freshDialogHoldsTheDefaults() {
    SaveSettingsDialog dialog;
    QCOMPARE(EditTexts(dialog), QStringList({"24", "21", "24", "21", "640", "480"}));
    for (const QString& name : kEditNames) {
        QCOMPARE(Edit(dialog, name)->maxLength(), 8);
    }
    QVERIFY(dialog.findChild<QRadioButton*>(QStringLiteral("Radio24bit"))->isChecked());
    QVERIFY(!dialog.findChild<QRadioButton*>(QStringLiteral("Radio16bit"))->isChecked());
    QVERIFY(dialog.Use24Bit());

    const mosaiqua::SaveSizeTexts texts = dialog.SizeTexts();
    QCOMPARE(texts.spriteWidth, std::string("24"));
    QCOMPARE(texts.spriteHeight, std::string("21"));
    QCOMPARE(texts.bitmapWidth, std::string("24"));
    QCOMPARE(texts.bitmapHeight, std::string("21"));
    QCOMPARE(texts.finalWidth, std::string("640"));
    QCOMPARE(texts.finalHeight, std::string("480"));
}

void TestSaveSettingsDialog::returnToDefaultsRestoresTextsButNotTheDepth() {
    SaveSettingsDialog dialog;
    dialog.show();
    Press(dialog, "Radio16bit");
    QVERIFY(!dialog.Use24Bit());
    const QStringList typed = {"1", "2", "3", "4", "5", "6"};
    for (int i = 0; i < kEditNames.size(); ++i) {
        TypeInto(Edit(dialog, kEditNames[i]), typed[i]);
    }
    QCOMPARE(EditTexts(dialog), typed);

    Press(dialog, "Button3");

    QCOMPARE(EditTexts(dialog), QStringList({"24", "21", "24", "21", "640", "480"}));
    QVERIFY(dialog.findChild<QRadioButton*>(QStringLiteral("Radio16bit"))->isChecked());
    QVERIFY(!dialog.Use24Bit());
    QVERIFY(dialog.isVisible()); // the button does not close the dialog
}

void TestSaveSettingsDialog::cancelKeepsWhatWasTyped() {
    SaveSettingsDialog dialog;
    dialog.show();
    TypeInto(Edit(dialog, "CSSpriteWidth"), "48");
    Press(dialog, "Radio16bit");

    Press(dialog, "Button2");

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.SizeTexts().spriteWidth, std::string("48"));
    QCOMPARE(dialog.SizeTexts().bitmapWidth, std::string("24"));
    QVERIFY(!dialog.Use24Bit());

    // Still there at the next opening.
    dialog.show();
    QCOMPARE(Edit(dialog, "CSSpriteWidth")->text(), QStringLiteral("48"));
}

void TestSaveSettingsDialog::okAcceptsTextsThatAreNoNumbers() {
    SaveSettingsDialog dialog;
    dialog.show();
    TypeInto(Edit(dialog, "CSBitmapHeight"), "abc");
    TypeInto(Edit(dialog, "CSFBitmapWidth"), "-5");

    Press(dialog, "Button1");

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.SizeTexts().bitmapHeight, std::string("abc"));
    QCOMPARE(dialog.SizeTexts().finalWidth, std::string("-5"));
}

void TestSaveSettingsDialog::aNinthCharacterCannotBeTyped() {
    SaveSettingsDialog dialog;
    dialog.show();
    int typedInto = 0;
    for (const QString& name : kEditNames) {
        TypeInto(Edit(dialog, name), QStringLiteral("123456789"));
        QCOMPARE(Edit(dialog, name)->text(), QStringLiteral("12345678"));
        ++typedInto;
    }
    QCOMPARE(typedInto, 6);
    QCOMPARE(dialog.SizeTexts().finalHeight, std::string("12345678"));
}

void TestSaveSettingsDialog::tabGoesThroughTheControlsInOrder() {
    SaveSettingsDialog dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    Edit(dialog, "CSSpriteWidth")->setFocus();
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CSSpriteWidth"));

    QStringList visited;
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }

    QCOMPARE(visited, QStringList({"CSSpriteHeight", "CSBitmapWidth", "CSBitmapHeight", "Button1", "Button2",
                                   "Button3", "CSFBitmapWidth", "CSFBitmapHeight", "Radio24bit"}));
}

QTEST_MAIN(TestSaveSettingsDialog)
#include "tst_save_settings_dialog.moc"
