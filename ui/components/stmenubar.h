// Menu-bar toolbar component (STMenuBar) that shows the main window's menu.
#pragma once

#include <QList>
#include <QMenu>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>

#include <functional>

class QAction;

// One button of an STMenuBar: shows a top-level menu item's caption and drops its submenu.
class STMenuButton final : public QToolButton {
    Q_OBJECT

public:
    explicit STMenuButton(QWidget* parent = nullptr);

    QAction* MenuItem() const { return m_item; }
    // Takes the item's caption and submenu now and whenever the item changes.
    void SetMenuItem(QAction* item);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FollowItem();

    QPointer<QAction> m_item;
    QMetaObject::Connection m_itemChanged;
};

// A flat toolbar that mirrors a main menu: one button per top-level item.
class STMenuBar final : public QToolBar {
    Q_OBJECT

public:
    // Makes the button for the next item; may throw.
    using ButtonMaker = std::function<STMenuButton*(STMenuBar& bar)>;
    // Shows the text of an error raised while one button was made.
    using ErrorReport = std::function<void(const QString& text)>;

    explicit STMenuBar(QWidget* owner);
    ~STMenuBar() override;

    // The menu is not owned; setting the same menu again does nothing.
    void SetMenu(QMenu* mainMenu);
    QMenu* Menu() const { return m_menu; }

    int ButtonCount() const { return int(m_buttons.size()); }
    QToolButton* Button(int i) const;
    STMenuButton* MenuButton(int i) const;
    // Appends a button tied to no item, as a bar without a menu may hold.
    STMenuButton* AddPlainButton(const QString& caption);

    void SetButtonMaker(ButtonMaker maker);
    void SetErrorReport(ErrorReport report);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Slot {
        QPointer<STMenuButton> button;
        QAction* placement = nullptr; // the toolbar's action that holds the button
    };

    void Append(STMenuButton* button);
    void FreeAllButtons();
    void FreeSlot(const Slot& slot);
    void Discard(STMenuButton* made, bool placed);
    void ReportButtonError(const QString& text);

    QPointer<QMenu> m_menu;
    bool m_builtFromMenu = false;
    QList<Slot> m_buttons;
    ButtonMaker m_makeButton;
    ErrorReport m_reportError;
};
