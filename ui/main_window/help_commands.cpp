// Help menu: the help window, the web links and the About box.
#include "ui/main_window/main_window.h"

#include "ui/assets/web_links.h"
#include "ui/desktop/platform.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/help_window.h"

// ---- Help ---------------------------------------------------------------------------------------

void MainWindow::ShowHelp() {
    m_windows.helpWindow->PlaceOver(frameGeometry(), PickerOuterSize());
    m_platform.RunModal(m_windows.helpWindow);
}

void MainWindow::OpenHomePage() {
    m_platform.OpenWebPage(HomePageUrl());
}
void MainWindow::OpenBugBoard() {
    m_platform.OpenWebPage(BugBoardUrl());
}
void MainWindow::OpenSuggestionBoard() {
    m_platform.OpenWebPage(SuggestionBoardUrl());
}

void MainWindow::ShowAbout() {
    m_platform.RunModal(m_windows.aboutBox);
}
