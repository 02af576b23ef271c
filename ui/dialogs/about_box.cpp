#include "ui/dialogs/about_box.h"

#include "ui/assets/artwork.h"
#include "ui/assets/version.h"
#include "ui/assets/web_links.h"
#include "ui/desktop/window_placement.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace {

QFrame* Panel(QWidget* parent, const char* name, QRect place, int frameStyle) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(frameStyle);
    panel->setGeometry(place);
    return panel;
}

// A picture stretched over the inside of its single-bordered panel.
QLabel* Picture(QFrame* panel, const char* name, const QPixmap& pixmap) {
    auto* picture = new QLabel(panel);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setPixmap(pixmap);
    picture->setScaledContents(true);
    picture->setGeometry(panel->contentsRect());
    return picture;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, QPoint place) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(place);
    label->adjustSize();
    return label;
}

} // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    SetUpFixedDialog(*this, "AboutBox", QStringLiteral("About Mosaiqua"), QSize(298, 229));
    setWindowIcon(ProgramIcon());

    // Lowered outside, raised inside: an etched edge on the window's own background.
    QFrame* panel1 = Panel(this, "Panel1", QRect(8, 8, 281, 177), QFrame::Box | QFrame::Sunken);

    QFrame* panel2 = Panel(panel1, "Panel2", QRect(8, 8, 265, 36), QFrame::Box | QFrame::Plain);
    Picture(panel2, "Image1", BannerPixmap());
    QFrame* panel3 = Panel(panel1, "Panel3", QRect(8, 56, 33, 33), QFrame::Box | QFrame::Plain);
    // Drawn at the size it is shown at, so the tiles stay crisp.
    Picture(panel3, "ProgramIcon", ProgramIconPixmap(panel3->contentsRect().width()));

    Label(panel1, "ProductName", QStringLiteral("Mosaiqua"), QPoint(48, 57));
    Label(panel1, "Version", QString::fromLatin1(kVersionText), QPoint(212, 57));
    Label(panel1, "Copyright", QStringLiteral("Copyright (C) 2001-2026 Mosaiqua developers"), QPoint(48, 76));
    Label(panel1, "Licence", QStringLiteral("MIT licence"), QPoint(48, 89));

    auto* comments = new QLabel(QStringLiteral("Comments, bug reports and ideas are welcome by e-mail to ") +
                                    ContactEmail() +
                                    QStringLiteral(". Look for updates on the web site at ") + HomePageUrl(),
                                panel1);
    comments->setObjectName(QStringLiteral("Comments"));
    comments->setWordWrap(true);
    comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    comments->setGeometry(8, 104, 263, 65);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(111, 196, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QPoint AboutBox::ScreenCentredPosition(const QRect& screen, const QSize& outer) {
    return CentredPosition(screen, outer);
}

void AboutBox::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        if (const QScreen* current = screen())
            move(ScreenCentredPosition(current->geometry(), frameGeometry().size()));
    }
    QDialog::showEvent(event);
}
