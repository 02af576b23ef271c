#include "ui/dialogs/help_window.h"

#include "ui/assets/artwork.h"
#include "ui/assets/help_text.h"
#include "ui/desktop/window_placement.h"

#include <QFrame>
#include <QPlainTextEdit>

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    SetUpFixedDialog(*this, "Form3", QStringLiteral("Mosaiqua Help"), QSize(483, 460));
    setWindowIcon(ProgramIcon());

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel->setGeometry(9, 9, 465, 441);

    m_memo1 = new QPlainTextEdit(panel);
    m_memo1->setObjectName(QStringLiteral("Memo1"));
    m_memo1->setGeometry(11, 11, 438, 415);
    m_memo1->setReadOnly(true);
    // Read-only still lets the reader select and copy.
    m_memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memo1->setPlainText(HelpTextLines().join(u'\n'));
}

QPoint TForm3::HelpPosition(const QRect& mainOuter, const QSize& pickerOuter) {
    return CentredPosition(mainOuter, pickerOuter) - QPoint(100, 100);
}

void TForm3::PlaceOver(const QRect& mainOuter, const QSize& pickerOuter) {
    move(HelpPosition(mainOuter, pickerOuter));
}
