#include "ui/dialogs/help_window.h"

#include "ui/assets/artwork.h"
#include "ui/assets/help_text.h"
#include "ui/desktop/window_placement.h"

#include <QFrame>
#include <QPlainTextEdit>

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    SetUpFixedDialog(*this, "Form3", QStringLiteral("Mosaiqua Help"), QSize(483, 460));
    setWindowIcon(ProgramIcon());

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel->setGeometry(9, 9, 465, 441);

    m_text = new QPlainTextEdit(panel);
    m_text->setObjectName(QStringLiteral("Memo1"));
    m_text->setGeometry(11, 11, 438, 415);
    m_text->setReadOnly(true);
    // Read-only still lets the reader select and copy.
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setPlainText(HelpTextLines().join(u'\n'));
}

QPoint HelpWindow::HelpPosition(const QRect& mainOuter, const QSize& pickerOuter) {
    return CentredPosition(mainOuter, pickerOuter) - QPoint(100, 100);
}

void HelpWindow::PlaceOver(const QRect& mainOuter, const QSize& pickerOuter) {
    move(HelpPosition(mainOuter, pickerOuter));
}
