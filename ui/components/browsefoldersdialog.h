// Folder browser component (TBrowseFoldersDialog) used by the folders dialog.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <initializer_list>

class Platform;
class QWidget;

// The shell folders a browse can start from, in the order the shell lists them.
enum tagTBrowseFoldersRoot : int {
    bfrRecycleBin,
    bfrControlPanel,
    bfrDesktop,
    bfrDesktopDir,
    bfrDrives,
    bfrFonts,
    bfrNetHood,
    bfrNetwork,
    bfrPersonal,
    bfrPrinters,
    bfrPrograms,
    bfrRecent,
    bfrSendTo,
    bfrStartMenu,
    bfrStartUp,
    bfrTemplates,
};

enum tagTBrowseFoldersFlag : int {
    bffBrowseForComputer,
    bffBrowseForPrinter,
    bffDontGoBelowDomain,
    bffReturnsAncestors,
    bffReturnOnlyDirs,
    bffStatusText,
};

// A set of browse flags, one bit per flag in declaration order.
class TBrowseFoldersFlags final {
public:
    constexpr TBrowseFoldersFlags() = default;
    constexpr TBrowseFoldersFlags(std::initializer_list<tagTBrowseFoldersFlag> flags) {
        for (tagTBrowseFoldersFlag flag : flags)
            m_bits = std::uint8_t(m_bits | Bit(flag));
    }

    constexpr bool Contains(tagTBrowseFoldersFlag flag) const { return (m_bits & Bit(flag)) != 0; }
    constexpr bool IsEmpty() const { return m_bits == 0; }
    constexpr void Include(tagTBrowseFoldersFlag flag) { m_bits = std::uint8_t(m_bits | Bit(flag)); }
    constexpr void Exclude(tagTBrowseFoldersFlag flag) { m_bits = std::uint8_t(m_bits & ~Bit(flag)); }
    constexpr bool operator==(const TBrowseFoldersFlags&) const = default;

private:
    static constexpr std::uint8_t Bit(tagTBrowseFoldersFlag flag) { return std::uint8_t(1u << int(flag)); }
    std::uint8_t m_bits = 0;
};

// The folder browser as a common-dialog component: configure it, call Execute, read Folder.
class TBrowseFoldersDialog final : public QObject {
    Q_OBJECT

public:
    TBrowseFoldersDialog(Platform& platform, QObject* owner);

    // In: the folder preselected when the browser opens. Out: the full path of the folder picked.
    QString Folder() const { return m_folder; }
    // Takes the text without leading or trailing blanks and control characters.
    void SetFolder(const QString& folder);
    // The name of the folder picked (its last path component).
    QString DisplayName() const { return m_displayName; }

    tagTBrowseFoldersRoot Root = bfrDesktop;
    TBrowseFoldersFlags Options = {bffReturnOnlyDirs};
    QString Title;

    // True when the user picked a folder that has a file-system path. Otherwise Folder and
    // DisplayName keep their values.
    bool Execute();

    // Where the browser starts: Folder, or when that is empty the place Root names.
    QString StartFolder() const;

    // The last component of `path`, ignoring trailing separators; a bare root stays as it is.
    static QString LastPathComponent(const QString& path);
    // The local folder standing for `root`; the home folder where the platform has no such place.
    static QString RootLocation(tagTBrowseFoldersRoot root);

private:
    QWidget* OwnerWindow() const;

    Platform& m_platform;
    QString m_folder;
    QString m_displayName;
};
