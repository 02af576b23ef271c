// Folders dialog: the default freeze-file and bitmap folders.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class Platform;
class QLineEdit;
class QPushButton;
class TBrowseFoldersDialog;

// "Set Default File Directories": picks the folders the open and save dialogs start in.
// A picked folder is announced at once and handed back by the getters; typed text is not a pick.
class FoldersDialog final : public QDialog {
    Q_OBJECT

public:
    FoldersDialog(Platform& platform, QWidget* parent = nullptr);

    // Top-left corner that centres a window of `dialogOuter` over `mainOuter` (outer sizes,
    // halves truncated toward zero).
    static QPoint CentredPosition(const QRect& mainOuter, const QSize& dialogOuter);
    // Moves the dialog centred over the main window's outer geometry.
    void PlaceOver(const QRect& mainOuter);
    // Places the dialog and shows it modally. The result does not matter: picks are already out.
    void ShowOver(const QRect& mainOuter);

    QString FreezeDirectory() const { return m_freezeDirectory; }
    QString BitmapDirectory() const { return m_bitmapDirectory; }

    QLineEdit* FreezeEdit() const { return m_freezeEdit; }
    QLineEdit* BitmapEdit() const { return m_bitmapEdit; }
    TBrowseFoldersDialog* BrowseDialog() const { return m_browseDialog; }

    void BrowseFreezeFolder();
    void BrowseBitmapFolder();

signals:
    void FreezeDirectoryPicked(const QString& folder);
    void BitmapDirectoryPicked(const QString& folder);

private:
    // Browses from the box's text; on a pick, fills the box and returns true.
    bool BrowseInto(QLineEdit* edit);

    Platform& m_platform;
    QString m_freezeDirectory;
    QString m_bitmapDirectory;
    QLineEdit* m_freezeEdit = nullptr;
    QLineEdit* m_bitmapEdit = nullptr;
    QPushButton* m_freezeEditBut = nullptr;
    QPushButton* m_bitmapEditBut = nullptr;
    QPushButton* m_ok = nullptr;
    TBrowseFoldersDialog* m_browseDialog = nullptr;
};
