#include "ui/components/stmenubar.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QStyleOptionToolButton>
#include <QStylePainter>

#include <cstdlib>
#include <cxxabi.h>
#include <exception>
#include <memory>
#include <stdexcept>
#include <typeinfo>

namespace {

QString ClassNameOf(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                    std::free);
    return QString::fromUtf8(status == 0 && readable ? readable.get() : mangled);
}

} // namespace

STMenuButton::STMenuButton(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    setPopupMode(QToolButton::InstantPopup);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void STMenuButton::SetMenuItem(QAction* item) {
    QObject::disconnect(m_itemChanged);
    m_item = item;
    if (item != nullptr) {
        m_itemChanged = connect(item, &QAction::changed, this, &STMenuButton::FollowItem);
    }
    FollowItem();
}

void STMenuButton::FollowItem() {
    if (m_item == nullptr) {
        return;
    }
    // The "&" stays in the caption: it underlines the letter and Alt+letter opens the menu.
    setText(m_item->text());
    setMenu(m_item->menu());
    setEnabled(m_item->isEnabled());
}

void STMenuButton::paintEvent(QPaintEvent*) {
    // A menu bar entry carries no drop-down arrow.
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.features &= ~QStyleOptionToolButton::HasMenu;
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}

STMenuBar::STMenuBar(QWidget* owner)
    : QToolBar(owner), m_makeButton([](STMenuBar& bar) { return new STMenuButton(&bar); }) {
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setContentsMargins(0, 0, 0, 0);
}

STMenuBar::~STMenuBar() = default;

QToolButton* STMenuBar::Button(int i) const {
    return MenuButton(i);
}

STMenuButton* STMenuBar::MenuButton(int i) const {
    if (i < 0 || i >= m_buttons.size()) {
        return nullptr;
    }
    return m_buttons[i].button;
}

STMenuButton* STMenuBar::AddPlainButton(const QString& caption) {
    auto* button = new STMenuButton(this);
    button->setText(caption);
    Append(button);
    return button;
}

void STMenuBar::SetButtonMaker(ButtonMaker maker) {
    m_makeButton = std::move(maker);
}

void STMenuBar::SetErrorReport(ErrorReport report) {
    m_reportError = std::move(report);
}

void STMenuBar::SetMenu(QMenu* mainMenu) {
    // A menu that was destroyed reads as none, but its buttons must still go.
    if (mainMenu == m_menu && (mainMenu != nullptr || !m_builtFromMenu)) {
        return;
    }
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const Slot& slot : m_buttons) {
        if (slot.button != nullptr) {
            slot.button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        }
    }
    if (m_builtFromMenu) {
        FreeAllButtons();
    }
    m_menu = mainMenu;
    m_builtFromMenu = mainMenu != nullptr;
    if (mainMenu == nullptr) {
        return;
    }

    const QList<QAction*> items = mainMenu->actions();
    const int itemCount = int(items.size());
    const int reused = ButtonCount();
    for (int i = reused; i < itemCount; ++i) {
        STMenuButton* made = nullptr;
        bool placed = false;
        try {
            made = m_makeButton(*this);
            if (made == nullptr) {
                throw std::logic_error("no button was made");
            }
            Append(made);
            placed = true;
            made->SetMenuItem(items[i]);
        } catch (const std::exception& error) {
            Discard(made, placed);
            ReportButtonError(ClassNameOf(error) + QString::fromUtf8(error.what()));
        } catch (...) {
            Discard(made, placed);
            ReportButtonError(QStringLiteral("Unknown error"));
        }
    }
    // Buttons made above are tied to their own item already, so an item whose button failed
    // leaves a gap rather than shifting the others; buttons found on the bar follow the menu.
    for (int i = 0; i < reused && i < itemCount; ++i) {
        if (STMenuButton* button = MenuButton(i)) {
            button->SetMenuItem(items[i]);
        }
    }
}

void STMenuBar::paintEvent(QPaintEvent*) {
    // Flat, with no edge borders: the bar lets its parent's background show through.
}

void STMenuBar::Append(STMenuButton* button) {
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* placement = addWidget(button);
    m_buttons.append(Slot{button, placement});
}

void STMenuBar::FreeAllButtons() {
    while (!m_buttons.isEmpty()) {
        FreeSlot(m_buttons.takeLast());
    }
}

void STMenuBar::FreeSlot(const Slot& slot) {
    removeAction(slot.placement);
    delete slot.placement; // may take the button with it
    delete slot.button.data();
}

void STMenuBar::Discard(STMenuButton* made, bool placed) {
    if (placed) {
        FreeSlot(m_buttons.takeLast());
    } else {
        delete made;
    }
}

void STMenuBar::ReportButtonError(const QString& text) {
    if (m_reportError) {
        m_reportError(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    window());
    box.exec();
}
