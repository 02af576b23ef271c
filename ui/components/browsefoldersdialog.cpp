#include "ui/components/browsefoldersdialog.h"

#include "ui/desktop/platform.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QWidget>

namespace {

// Blanks of any kind and control characters are never part of a typed folder.
bool IsTrimmed(QChar c) {
    return c.unicode() <= 0x20 || c.isSpace() || c.category() == QChar::Other_Control;
}

QString Location(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location);
}

} // namespace

TBrowseFoldersDialog::TBrowseFoldersDialog(Platform& platform, QObject* owner)
    : QObject(owner), m_platform(platform) {}

void TBrowseFoldersDialog::SetFolder(const QString& folder) {
    qsizetype first = 0;
    qsizetype last = folder.size();
    while (first < last && IsTrimmed(folder.at(first)))
        ++first;
    while (last > first && IsTrimmed(folder.at(last - 1)))
        --last;
    m_folder = folder.mid(first, last - first);
}

bool TBrowseFoldersDialog::Execute() {
    // Everything a browse needs is taken afresh here, so one browse never sees the last one's leftovers.
    const std::optional<QString> picked = m_platform.BrowseForFolder(OwnerWindow(), StartFolder(), Title);
    if (!picked.has_value())
        return false;
    // A pick with no file-system path behind it is no answer.
    if (picked->isEmpty())
        return false;
    m_folder = *picked;
    m_displayName = LastPathComponent(*picked);
    return true;
}

QString TBrowseFoldersDialog::StartFolder() const {
    if (!m_folder.isEmpty())
        return m_folder;
    return RootLocation(Root);
}

QString TBrowseFoldersDialog::LastPathComponent(const QString& path) {
    auto isSeparator = [](QChar c) { return c == u'/' || c == u'\\'; };
    qsizetype end = path.size();
    while (end > 0 && isSeparator(path.at(end - 1)))
        --end;
    if (end == 0)
        return path;
    qsizetype start = end;
    while (start > 0 && !isSeparator(path.at(start - 1)))
        --start;
    return path.mid(start, end - start);
}

QString TBrowseFoldersDialog::RootLocation(tagTBrowseFoldersRoot root) {
    switch (root) {
    case bfrDesktop:
    case bfrDesktopDir:
        return Location(QStandardPaths::DesktopLocation);
    case bfrDrives:
        return QDir::rootPath();
    case bfrFonts:
        return Location(QStandardPaths::FontsLocation);
    case bfrPersonal:
        return Location(QStandardPaths::DocumentsLocation);
    case bfrPrograms:
    case bfrStartMenu:
        return Location(QStandardPaths::ApplicationsLocation);
    case bfrTemplates:
        return Location(QStandardPaths::TemplatesLocation);
    case bfrRecycleBin:
    case bfrControlPanel:
    case bfrNetHood:
    case bfrNetwork:
    case bfrPrinters:
    case bfrRecent:
    case bfrSendTo:
    case bfrStartUp:
        break;
    }
    // Places only the Windows shell has: the user's own folder is the nearest thing.
    return QDir::homePath();
}

QWidget* TBrowseFoldersDialog::OwnerWindow() const {
    // The browser belongs to whatever window the user is working in, as a shell browser would.
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (auto* widget = qobject_cast<QWidget*>(parent()))
        return widget->window();
    return nullptr;
}
