#include "ui/components/stmenubar.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>
#include <stdexcept>

namespace {

const QStringList kMainTitles = {"&File", "&Edit", "&Options", "&View", "&Help"};

// A main menu whose top-level items each carry a submenu with one command.
struct MainMenu {
    explicit MainMenu(const QStringList& titles) {
        for (const QString& title : titles) {
            QMenu* submenu = menu.addMenu(title);
            submenus.append(submenu);
            commands.append(submenu->addAction(QStringLiteral("Command of ") + title));
        }
    }
    QAction* Item(int i) const { return menu.actions().at(i); }

    QMenu menu;
    QList<QMenu*> submenus;
    QList<QAction*> commands;
};

// Once the submenu has popped up (inside its own modal loop), records whether it is the active
// popup, lets `choose` act on it, and makes sure it closes so the loop ends.
class PopupProbe final {
public:
    PopupProbe(QMenu* submenu, std::function<void(QMenu*)> choose) : m_submenu(submenu) {
        QObject::connect(
            submenu, &QMenu::aboutToShow, submenu,
            [this, choose] {
                wasActivePopup = QApplication::activePopupWidget() == m_submenu;
                ++shown;
                choose(m_submenu);
                if (m_submenu->isVisible()) {
                    m_submenu->close();
                }
            },
            Qt::QueuedConnection);
    }
    int shown = 0;
    bool wasActivePopup = false;

private:
    QMenu* m_submenu;
};

void ChooseFirstCommand(QMenu* submenu) {
    submenu->setActiveAction(submenu->actions().first());
    QTest::keyClick(submenu, Qt::Key_Return);
}

// A bar carrying `main`, laid out in `window`, which is shown and asked to become active.
STMenuBar* BarInWindow(QWidget& window, MainMenu& main) {
    auto* layout = new QVBoxLayout(&window);
    auto* bar = new STMenuBar(&window);
    layout->addWidget(bar);
    bar->SetMenu(&main.menu);
    window.show();
    window.activateWindow();
    return bar;
}

} // namespace

class TestSTMenuBar final : public QObject {
    Q_OBJECT

private slots:
    void fiveItemMenuGivesOneFlatButtonPerItemInOrder();
    void settingTheSameMenuTwiceBuildsOnce();
    void noMenuOnAFreshBarLeavesItEmpty();
    void noMenuAfterAMenuRemovesItsButtons();
    void secondMenuReplacesAllButtons();
    void buttonsOnABarWithoutMenuAreReusedByIndex();
    void captionFollowsTheItemsText();
    void failedButtonIsReportedAndTheOthersAreStillMade();
    void clickingAButtonDropsItsSubmenuAndRunsTheChosenCommand();
    void altLetterOpensThatMenu();
};

void TestSTMenuBar::fiveItemMenuGivesOneFlatButtonPerItemInOrder() {
    MainMenu main(kMainTitles);
    STMenuBar bar(nullptr);
    bar.SetMenu(&main.menu);

    QCOMPARE(bar.Menu(), &main.menu);
    QCOMPARE(bar.ButtonCount(), 5);
    for (int i = 0; i < 5; ++i) {
        QToolButton* button = bar.Button(i);
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), kMainTitles[i]);
        QCOMPARE(button->menu(), main.submenus[i]);
        QCOMPARE(bar.MenuButton(i)->MenuItem(), main.Item(i));
        QVERIFY(button->autoRaise());
        QCOMPARE(button->popupMode(), QToolButton::InstantPopup);
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextOnly);
        QCOMPARE(button->parentWidget(), &bar);
    }
    QCOMPARE(bar.Button(5), nullptr);
    QCOMPARE(bar.Button(-1), nullptr);
    QVERIFY(!bar.isMovable());
    QCOMPARE(bar.toolButtonStyle(), Qt::ToolButtonTextOnly);
}

void TestSTMenuBar::settingTheSameMenuTwiceBuildsOnce() {
    MainMenu main(kMainTitles);
    STMenuBar bar(nullptr);
    bar.SetMenu(&main.menu);
    QList<QPointer<QToolButton>> first;
    for (int i = 0; i < bar.ButtonCount(); ++i) {
        first.append(bar.Button(i));
    }
    QCOMPARE(first.size(), 5);

    bar.SetMenu(&main.menu);

    QCOMPARE(bar.ButtonCount(), 5);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(first[i] != nullptr);
        QCOMPARE(bar.Button(i), first[i].data());
    }
}

void TestSTMenuBar::noMenuOnAFreshBarLeavesItEmpty() {
    STMenuBar bar(nullptr);
    bar.SetMenu(nullptr);
    QCOMPARE(bar.Menu(), nullptr);
    QCOMPARE(bar.ButtonCount(), 0);
    QVERIFY(bar.findChildren<STMenuButton*>().isEmpty());
}

void TestSTMenuBar::noMenuAfterAMenuRemovesItsButtons() {
    MainMenu main(kMainTitles);
    STMenuBar bar(nullptr);
    bar.SetMenu(&main.menu);
    QPointer<QToolButton> file = bar.Button(0);

    bar.SetMenu(nullptr);

    QCOMPARE(bar.Menu(), nullptr);
    QCOMPARE(bar.ButtonCount(), 0);
    QVERIFY(file.isNull());
}

void TestSTMenuBar::secondMenuReplacesAllButtons() {
    MainMenu first(kMainTitles);
    MainMenu second({"&Alpha", "&Beta"});
    STMenuBar bar(nullptr);
    bar.SetMenu(&first.menu);
    QList<QPointer<QToolButton>> old;
    for (int i = 0; i < bar.ButtonCount(); ++i) {
        old.append(bar.Button(i));
    }

    bar.SetMenu(&second.menu);

    QCOMPARE(bar.Menu(), &second.menu);
    QCOMPARE(bar.ButtonCount(), 2);
    QCOMPARE(bar.Button(0)->text(), QStringLiteral("&Alpha"));
    QCOMPARE(bar.Button(1)->text(), QStringLiteral("&Beta"));
    QCOMPARE(bar.Button(1)->menu(), second.submenus[1]);
    QCOMPARE(old.size(), 5);
    for (const QPointer<QToolButton>& button : old) {
        QVERIFY(button.isNull());
    }
    QCOMPARE(bar.findChildren<STMenuButton*>().size(), 2);
}

void TestSTMenuBar::buttonsOnABarWithoutMenuAreReusedByIndex() {
    MainMenu main(kMainTitles);
    STMenuBar bar(nullptr);
    STMenuButton* one = bar.AddPlainButton(QStringLiteral("one"));
    STMenuButton* two = bar.AddPlainButton(QStringLiteral("two"));
    QCOMPARE(bar.ButtonCount(), 2);
    QCOMPARE(one->MenuItem(), nullptr);

    bar.SetMenu(&main.menu);

    QCOMPARE(bar.ButtonCount(), 5);
    QCOMPARE(bar.Button(0), one);
    QCOMPARE(bar.Button(1), two);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(bar.Button(i)->text(), kMainTitles[i]);
        QCOMPARE(bar.MenuButton(i)->MenuItem(), main.Item(i));
        QCOMPARE(bar.Button(i)->menu(), main.submenus[i]);
    }
}

void TestSTMenuBar::captionFollowsTheItemsText() {
    MainMenu main(kMainTitles);
    STMenuBar bar(nullptr);
    bar.SetMenu(&main.menu);

    main.Item(2)->setText(QStringLiteral("O&ptions"));
    QCOMPARE(bar.Button(2)->text(), QStringLiteral("O&ptions"));

    // A button tied to a new item no longer listens to its old one.
    MainMenu other({"&Alpha"});
    bar.MenuButton(2)->SetMenuItem(other.Item(0));
    main.Item(2)->setText(QStringLiteral("&Stale"));
    QCOMPARE(bar.Button(2)->text(), QStringLiteral("&Alpha"));
}

void TestSTMenuBar::failedButtonIsReportedAndTheOthersAreStillMade() {
    MainMenu main(kMainTitles);
    STMenuBar bar(nullptr);
    int made = 0;
    bar.SetButtonMaker([&made](STMenuBar& owner) -> STMenuButton* {
        if (++made == 3) {
            throw std::runtime_error("no room for this one");
        }
        return new STMenuButton(&owner);
    });
    QStringList reports;
    bar.SetErrorReport([&reports](const QString& text) { reports.append(text); });

    bar.SetMenu(&main.menu);

    QCOMPARE(made, 5);
    QCOMPARE(reports, QStringList{QStringLiteral("std::runtime_errorno room for this one")});
    QCOMPARE(bar.ButtonCount(), 4);
    const QStringList expected = {"&File", "&Edit", "&View", "&Help"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(bar.Button(i)->text(), expected[i]);
    }
    QCOMPARE(bar.findChildren<STMenuButton*>().size(), 4);
}

void TestSTMenuBar::clickingAButtonDropsItsSubmenuAndRunsTheChosenCommand() {
    MainMenu main(kMainTitles);
    QWidget window;
    STMenuBar* bar = BarInWindow(window, main);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QSignalSpy ran(main.commands[1], &QAction::triggered);
    QSignalSpy otherRan(main.commands[0], &QAction::triggered);
    PopupProbe probe(main.submenus[1], ChooseFirstCommand);

    QTest::mouseClick(bar->Button(1), Qt::LeftButton);

    QCOMPARE(probe.shown, 1);
    QVERIFY(probe.wasActivePopup);
    QCOMPARE(ran.count(), 1);
    QCOMPARE(otherRan.count(), 0);
    QVERIFY(!main.submenus[1]->isVisible());
}

void TestSTMenuBar::altLetterOpensThatMenu() {
    MainMenu main(kMainTitles);
    QWidget window;
    BarInWindow(window, main);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    PopupProbe file(main.submenus[0], [](QMenu*) {});
    PopupProbe help(main.submenus[4], [](QMenu*) {});
    QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);

    QCOMPARE(file.shown, 1);
    QVERIFY(file.wasActivePopup);
    QCOMPARE(help.shown, 0);
    QVERIFY(!main.submenus[0]->isVisible());
}

QTEST_MAIN(TestSTMenuBar)
#include "tst_stmenubar.moc"
