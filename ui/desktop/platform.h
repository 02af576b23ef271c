// Desktop seam: file dialogs, clipboard, browser and message boxes, fakeable in tests.
#pragma once

#include "core/colours.h"

#include <QString>
#include <QStringList>

#include <optional>

class QDialog;
class QImage;
class QWidget;

// What a save dialog is asked to show; every picture save uses the same kind of dialog.
struct SaveFileRequest {
    QString startFolder;
    QString presetName;
    // Added to a typed name without one while the first file type is chosen; another chosen type
    // adds that type's own extension.
    QString defaultSuffix = QStringLiteral("BMP");
    // The file types offered, the first chosen at the start.
    QStringList filters{QStringLiteral("Windows Bitmap (*.BMP)"), QStringLiteral("PNG Image (*.png)")};
    bool confirmOverwrite = true;
};

// Everything the windows ask of the desktop. Production forwards to Qt; tests script the answers,
// so no test has to find and press a button in a real modal dialog.
class Platform {
public:
    virtual ~Platform() = default;

    // The chosen path, or nothing when the user cancelled. Offers every format the loader knows
    // and all files.
    virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& startFolder) = 0;
    virtual std::optional<QString> SaveFileName(QWidget* parent, const SaveFileRequest& request) = 0;
    virtual std::optional<mosaiqua::TColor> ChooseColour(QWidget* parent, mosaiqua::TColor initial) = 0;
    virtual std::optional<QString> BrowseForFolder(QWidget* parent, const QString& startFolder,
                                                   const QString& title) = 0;
    virtual void ShowError(QWidget* parent, const QString& title, const QString& text) = 0;
    // False when the clipboard did not take the picture.
    virtual bool SetClipboardImage(const QImage& image) = 0;
    virtual void OpenWebPage(const QString& url) = 0;
    // The dialog's result code (QDialog::Accepted or Rejected).
    virtual int RunModal(QDialog* dialog) = 0;
    // Bits per pixel of the display the main window is on.
    virtual int DisplayColourDepth() const = 0;
};
