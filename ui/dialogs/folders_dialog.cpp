#include "ui/dialogs/folders_dialog.h"

#include "ui/components/browsefoldersdialog.h"
#include "ui/desktop/platform.h"
#include "ui/desktop/window_placement.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

QLabel* Label(QWidget* parent, const char* name, const char* caption, QRect place) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    // Grows like an auto-sized label when the font runs wider than the design.
    place.setWidth(std::max(place.width(), label->sizeHint().width()));
    label->setGeometry(place);
    return label;
}

QLineEdit* Edit(QWidget* parent, const char* name, const char* text, QRect place) {
    auto* edit = new QLineEdit(QString::fromLatin1(text), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(place);
    return edit;
}

QPushButton* BrowseButton(QWidget* parent, const char* name, QRect place) {
    auto* button = new QPushButton(QStringLiteral("...."), parent);
    button->setObjectName(QString::fromLatin1(name));
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->setAutoDefault(false);
    button->setGeometry(place);
    return button;
}

constexpr char kStartFreezeDirectory[] = "C:\\My Emulators\\CCS64";
constexpr char kStartBitmapDirectory[] = "C:\\My Documents";

} // namespace

FoldersDialog::FoldersDialog(Platform& platform, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_freezeDirectory(QString::fromLatin1(kStartFreezeDirectory)),
      m_bitmapDirectory(QString::fromLatin1(kStartBitmapDirectory)) {
    SetUpFixedDialog(*this, "FormDir", QStringLiteral("Set Default File Directories"), QSize(336, 201));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    // Lowered outside, raised inside: an etched edge.
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setGeometry(8, 8, 321, 185);

    Label(panel, "Label1", "Directory Containing CCS64 Freeze Files:", QRect(24, 16, 193, 17));
    m_freezeEdit = Edit(panel, "FreezeEdit", kStartFreezeDirectory, QRect(24, 40, 233, 21));
    m_freezeEditBut = BrowseButton(panel, "FreezeEditBut", QRect(264, 40, 25, 21));
    Label(panel, "Label2", "Directory For Saving Bitmap Files To:", QRect(24, 80, 185, 17));
    m_bitmapEdit = Edit(panel, "BitmapEdit", kStartBitmapDirectory, QRect(24, 104, 233, 21));
    m_bitmapEditBut = BrowseButton(panel, "BitmapEditBut", QRect(264, 104, 25, 21));

    m_ok = new QPushButton(QStringLiteral("OK"), panel);
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_ok->setGeometry(256, 152, 57, 25);

    m_browseDialog = new TBrowseFoldersDialog(platform, this);
    m_browseDialog->setObjectName(QStringLiteral("BrowseDialog"));
    m_browseDialog->Root = bfrDrives;
    m_browseDialog->Options = {bffReturnOnlyDirs};
    m_browseDialog->Title = QStringLiteral("Browse For Folders");

    connect(m_freezeEditBut, &QPushButton::clicked, this, &FoldersDialog::BrowseFreezeFolder);
    connect(m_bitmapEditBut, &QPushButton::clicked, this, &FoldersDialog::BrowseBitmapFolder);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

QPoint FoldersDialog::CentredPosition(const QRect& mainOuter, const QSize& dialogOuter) {
    return ::CentredPosition(mainOuter, dialogOuter);
}

void FoldersDialog::PlaceOver(const QRect& mainOuter) {
    move(CentredPosition(mainOuter, OuterSize(*this)));
}

void FoldersDialog::ShowOver(const QRect& mainOuter) {
    PlaceOver(mainOuter);
    m_platform.RunModal(this);
}

void FoldersDialog::BrowseFreezeFolder() {
    if (!BrowseInto(m_freezeEdit))
        return;
    m_freezeDirectory = m_freezeEdit->text();
    emit FreezeDirectoryPicked(m_freezeDirectory);
}

void FoldersDialog::BrowseBitmapFolder() {
    if (!BrowseInto(m_bitmapEdit))
        return;
    m_bitmapDirectory = m_bitmapEdit->text();
    emit BitmapDirectoryPicked(m_bitmapDirectory);
}

bool FoldersDialog::BrowseInto(QLineEdit* edit) {
    // Typed text only says where the browser opens; nothing is taken over until a folder is picked.
    m_browseDialog->SetFolder(edit->text());
    if (!m_browseDialog->Execute())
        return false;
    if (m_browseDialog->Folder().isEmpty())
        return false;
    edit->setText(m_browseDialog->Folder());
    return true;
}
