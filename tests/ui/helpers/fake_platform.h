#pragma once

#include "ui/desktop/platform.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// A desktop whose dialogs answer from queues and which records every request. An empty queue
// answers "cancelled" and the call still shows up in the record.
class FakePlatform final : public Platform {
public:
    struct Error {
        QString title;
        QString text;
    };
    struct FolderBrowse {
        QWidget* parent;
        QString startFolder;
        QString title;
    };

    // Scripted answers, used front first.
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<mosaiqua::TColor>> colourAnswers;
    std::deque<std::optional<QString>> folderAnswers;
    std::deque<int> modalResults;
    // Scripts that play the user's part in a modal dialog and return its result; used before
    // modalResults. The dialog is not shown.
    std::deque<std::function<int(QDialog*)>> modalScripts;
    bool clipboardWorks = true;
    int colourDepth = 24;

    // What the program asked for.
    QStringList openStartFolders;
    std::vector<SaveFileRequest> saveRequests;
    std::vector<mosaiqua::TColor> colourRequests;
    QStringList folderRequests;
    QList<FolderBrowse> folderBrowses;
    std::vector<Error> errors;
    std::vector<QImage> clipboardImages;
    QStringList webPages;
    int modalRuns = 0;
    std::vector<QDialog*> modalDialogs;
    // Where each modal dialog stood when it was run.
    QList<QPoint> modalPositions;

    std::optional<QString> OpenFileName(QWidget* parent, const QString& startFolder) override;
    std::optional<QString> SaveFileName(QWidget* parent, const SaveFileRequest& request) override;
    std::optional<mosaiqua::TColor> ChooseColour(QWidget* parent, mosaiqua::TColor initial) override;
    std::optional<QString> BrowseForFolder(QWidget* parent, const QString& startFolder,
                                           const QString& title) override;
    void ShowError(QWidget* parent, const QString& title, const QString& text) override;
    bool SetClipboardImage(const QImage& image) override;
    void OpenWebPage(const QString& url) override;
    int RunModal(QDialog* dialog) override;
    int DisplayColourDepth() const override { return colourDepth; }
};
