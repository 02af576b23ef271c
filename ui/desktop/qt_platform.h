// Desktop seam, Qt implementation: the real dialogs, clipboard and browser.
#pragma once

#include "ui/desktop/platform.h"

// The real desktop: Qt's own dialogs, clipboard and URL handling.
class QtPlatform final : public Platform {
public:
    std::optional<QString> OpenFileName(QWidget* parent, const QString& startFolder) override;
    std::optional<QString> SaveFileName(QWidget* parent, const SaveFileRequest& request) override;
    std::optional<mosaiqua::TColor> ChooseColour(QWidget* parent, mosaiqua::TColor initial) override;
    std::optional<QString> BrowseForFolder(QWidget* parent, const QString& startFolder,
                                           const QString& title) override;
    void ShowError(QWidget* parent, const QString& title, const QString& text) override;
    bool SetClipboardImage(const QImage& image) override;
    void OpenWebPage(const QString& url) override;
    int RunModal(QDialog* dialog) override;
    int DisplayColourDepth() const override;
};
