#include "ui/dialogs/animation_dialog.h"
#include "ui/dialogs/raw_data_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace mosaiqua;

class TestExportDialogs final : public QObject {
    Q_OBJECT

private slots:
    void animationDialogOffersTheRangesAndKeepsItsValues();
    void rawDataDialogRefusesABadRangeWithTheSaveMessage();
};

void TestExportDialogs::animationDialogOffersTheRangesAndKeepsItsValues() {
    AnimationDialog dialog;
    auto* frames = dialog.findChild<QSpinBox*>("framesSpin");
    auto* delay = dialog.findChild<QSpinBox*>("delaySpin");
    QVERIFY(frames && delay);
    QCOMPARE(dialog.frames(), 8);
    QCOMPARE(dialog.delayMs(), 100);
    QCOMPARE(frames->minimum(), 2);
    QCOMPARE(frames->maximum(), 64);
    QCOMPARE(delay->minimum(), 20);
    QCOMPARE(delay->maximum(), 2000);
    QCOMPARE(delay->singleStep(), 10);
    frames->setValue(12);
    delay->setValue(254);
    dialog.findChild<QPushButton*>("okButton")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.frames(), 12);
    QCOMPARE(dialog.delayMs(), 250);
}

void TestExportDialogs::rawDataDialogRefusesABadRangeWithTheSaveMessage() {
    RawDataDialog dialog;
    dialog.setRange(RawDataRangeForCharSet(0xD000), RawDataLayout::CharSet);
    dialog.setFormat(RawDataFormat::Ca65);
    QCOMPARE(dialog.findChild<QSpinBox*>("endSpin")->value(), 0xD7FF);
    QCOMPARE(dialog.findChild<QSpinBox*>("endSpin")->text(), QStringLiteral("$D7FF"));
    QCOMPARE(dialog.findChild<QComboBox*>("formatCombo")->count(), 8);
    dialog.findChild<QSpinBox*>("endSpin")->setValue(0xC000);
    dialog.open();
    dialog.findChild<QPushButton*>("okButton")->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.findChild<QLabel*>("problemLabel")->text(),
             QStringLiteral("The end address $C000 is before the start address $D000: nothing was saved."));
    dialog.findChild<QSpinBox*>("endSpin")->setValue(0xD00F);
    dialog.findChild<QPushButton*>("okButton")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.range().end, 0xD00F);
    QCOMPARE(dialog.format(), RawDataFormat::Ca65);
    QCOMPARE(dialog.dataLayout(), RawDataLayout::CharSet);
}

QTEST_MAIN(TestExportDialogs)
#include "tst_export_dialogs.moc"
