// Application windows: the document, and the main window with its secondary windows, created once.
#pragma once

#include "core/document.h"
#include "ui/main_window/main_window.h"

#include <memory>

class Platform;

// The program's document and its seven windows, created once in their fixed order: the main
// window first, then the About box, help, palette picker, memory range, save settings and
// directories windows. The six are children of the main window and go with it; the document
// outlives them all.
class ApplicationWindows final {
public:
    explicit ApplicationWindows(Platform& platform);
    ~ApplicationWindows();
    ApplicationWindows(const ApplicationWindows&) = delete;
    ApplicationWindows& operator=(const ApplicationWindows&) = delete;

    mosaiqua::Document& Model() { return *m_document; }
    MainWindow& Main() { return *m_main; }
    const SecondaryWindows& Windows() const { return m_main->Windows(); }

private:
    std::unique_ptr<mosaiqua::Document> m_document;
    std::unique_ptr<MainWindow> m_main;
};
