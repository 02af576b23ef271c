#include "ui/dialogs/help_window.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QStringList kHeadings = {
    "Introduction",
    "How Does The Sprite Ripper Work?",
    "How Does The CharSet Ripper Work?",
    "How Does The Bitmap Ripper Work?",
    "Disk, Tape And Cartridge Images",
    "FAQ",
    "The End",
    "Credits",
    "Version Information",
};

QStringList MemoLines(const HelpWindow& form) {
    auto* memo = form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    return memo != nullptr ? memo->toPlainText().split(u'\n') : QStringList();
}

// The lines of one section, from the line after its blank line up to the next heading.
QStringList Section(const QStringList& lines, const QString& heading) {
    const qsizetype start = lines.indexOf(heading);
    if (start < 0)
        return {};
    const qsizetype index = kHeadings.indexOf(heading);
    qsizetype end = lines.size();
    if (index + 1 < kHeadings.size())
        end = lines.indexOf(kHeadings[index + 1], start);
    return lines.mid(start + 3, end - start - 3);
}

} // namespace

class TestHelpWindow final : public QObject {
    Q_OBJECT

private slots:
    void layout() {
        HelpWindow form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Mosaiqua Help"));
        QCOMPARE(form.size(), QSize(483, 460));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!form.windowIcon().isNull());
        auto* panel = form.findChild<QFrame*>(QStringLiteral("Panel1"));
        QVERIFY(panel != nullptr);
        QCOMPARE(panel->geometry(), QRect(9, 9, 465, 441));
        auto* memo = form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        QVERIFY(memo != nullptr);
        QCOMPARE(memo->parentWidget(), panel);
        QCOMPARE(memo->geometry(), QRect(11, 11, 438, 415));
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    void memoIsReadOnlyButSelectable() {
        HelpWindow form;
        form.show();
        auto* memo = form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        QVERIFY(memo->isReadOnly());
        QVERIFY(memo->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        const QString before = memo->toPlainText();
        memo->setFocus();
        QTest::keyClicks(memo, QStringLiteral("typed"));
        QTest::keyClick(memo, Qt::Key_Backspace);
        QTest::keyClick(memo, Qt::Key_Delete);
        QCOMPARE(memo->toPlainText(), before);
        memo->selectAll();
        QCOMPARE(memo->textCursor().selectedText().size(), before.size());
    }

    void headingsInOrderUnderlinedAndSpaced() {
        HelpWindow form;
        const QStringList lines = MemoLines(form);
        QCOMPARE(lines.first(), kHeadings.first());
        qsizetype previous = -1;
        for (const QString& heading : kHeadings) {
            const qsizetype at = lines.indexOf(heading);
            QVERIFY2(at > previous, qPrintable(heading));
            QVERIFY2(at + 2 < lines.size(), qPrintable(heading));
            QCOMPARE(lines[at + 1], QString(heading.size(), u'-'));
            QCOMPARE(lines[at + 2], QString());
            if (at > 0)
                QCOMPARE(lines[at - 1], QString());
            previous = at;
        }
        // No other line is an underline: there are exactly these sections.
        const QRegularExpression underline(QStringLiteral("^-+$"));
        QCOMPARE(lines.filter(underline).size(), kHeadings.size());
    }

    void sectionsSayWhatTheyShould() {
        HelpWindow form;
        const QStringList lines = MemoLines(form);

        const QString sprite = Section(lines, "How Does The Sprite Ripper Work?").join(u'\n');
        qsizetype previous = -1;
        for (int step = 1; step <= 7; ++step) {
            const qsizetype at = sprite.indexOf(QRegularExpression(QStringLiteral("(^|\n)%1\\. ").arg(step)));
            QVERIFY2(at > previous, qPrintable(QString::number(step)));
            previous = at;
        }
        QVERIFY(!sprite.contains(QRegularExpression(QStringLiteral("(^|\n)8\\. "))));
        for (const char* mention : {"CCS64", "Ctrl+O", "F7", "F6", "F8", "F5", "Ctrl+M", "\"Col 2\""})
            QVERIFY2(sprite.contains(QLatin1String(mention)), mention);

        const QString charSet = Section(lines, "How Does The CharSet Ripper Work?").join(u'\n');
        for (const char* mention :
             {"1 x 1", "1 x 2", "2 x 2", "Skip First 1148 Bytes Of File", "Ctrl+R", "Ctrl+E"})
            QVERIFY2(charSet.contains(QLatin1String(mention)), mention);

        const QStringList faq = Section(lines, "FAQ");
        QCOMPARE(faq.filter(QRegularExpression(QStringLiteral("^Q\\. "))).size(), 4);
        QCOMPARE(faq.filter(QRegularExpression(QStringLiteral("^A\\. "))).size(), 4);
        const QString faqText = faq.join(u'\n');
        for (const char* mention : {"Always On Top", "\"-\"", "\"+\"", "Save Next 7 Sprites",
                                    "Skip First 1148 Bytes Of File", "first byte"})
            QVERIFY2(faqText.contains(QLatin1String(mention)), mention);

        const QString credits = Section(lines, "Credits").join(u'\n');
        QVERIFY(credits.contains(QLatin1String("Mosaiqua developers")));
        QVERIFY(credits.contains(QLatin1String("http://www.tessaluma.example/")));
    }

    void versionsNewestFirst() {
        HelpWindow form;
        const QStringList history = Section(MemoLines(form), "Version Information");
        const QStringList releases = history.filter(QRegularExpression(QStringLiteral("^Version 1\\.0\\d ")));
        QCOMPARE(releases.size(), 6);
        QCOMPARE(releases[0], QStringLiteral("Version 1.05 (30/12/2001)"));
        const QRegularExpression dated(QStringLiteral("^Version 1\\.0(\\d) \\(\\d\\d/\\d\\d/\\d{4}\\)$"));
        for (int i = 0; i < 6; ++i) {
            const QRegularExpressionMatch match = dated.match(releases[i]);
            QVERIFY2(match.hasMatch(), qPrintable(releases[i]));
            QCOMPARE(match.captured(1).toInt(), 5 - i);
            // Each release lists at least one change.
            const qsizetype at = history.indexOf(releases[i]);
            QVERIFY(history.value(at + 1).startsWith(QLatin1String("- ")));
        }
    }

    void helpPosition_data() {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QSize>("picker");
        QTest::addColumn<QPoint>("expected");
        // (640 - 151) = 489 halves to 244, (577 - 199) = 378 to 189.
        QTest::newRow("odd width") << QRect(100, 80, 640, 577) << QSize(151, 199)
                                   << QPoint(100 + 244 - 100, 80 + 189 - 100);
        // Picker larger than main: -51 halves to -25 and -99 to -49, toward zero.
        QTest::newRow("picker larger")
            << QRect(0, 0, 100, 100) << QSize(151, 199) << QPoint(-25 - 100, -49 - 100);
    }
    void helpPosition() {
        QFETCH(QRect, main);
        QFETCH(QSize, picker);
        QFETCH(QPoint, expected);
        QCOMPARE(HelpWindow::HelpPosition(main, picker), expected);

        HelpWindow form;
        form.PlaceOver(main, picker);
        QCOMPARE(form.pos(), expected);
    }

    void sameOffsetAfterTheMainWindowMoves() {
        const QSize picker(151, 199);
        const QPoint first = HelpWindow::HelpPosition(QRect(100, 80, 640, 577), picker);
        const QPoint moved = HelpWindow::HelpPosition(QRect(100 + 37, 80 - 11, 640, 577), picker);
        QCOMPARE(moved - first, QPoint(37, -11));
    }
};

QTEST_MAIN(TestHelpWindow)
#include "tst_help_window.moc"
