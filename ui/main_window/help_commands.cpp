// Help menu: the help window, the web links and the About box.
#include "ui/main_window/tform1.h"

#include "ui/assets/web_links.h"
#include "ui/desktop/platform.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/help_window.h"

// ---- Help ---------------------------------------------------------------------------------------

void TForm1::HelpFile1Click() {
    m_windows.form3->PlaceOver(frameGeometry(), PickerOuterSize());
    m_platform.RunModal(m_windows.form3);
}

void TForm1::TessalumaOnTheWeb1Click() {
    m_platform.OpenWebPage(HomePageUrl());
}
void TForm1::ReportABug1Click() {
    m_platform.OpenWebPage(BugBoardUrl());
}
void TForm1::MakeASuggestion1Click() {
    m_platform.OpenWebPage(SuggestionBoardUrl());
}
void TForm1::Image5DblClick() {
    TessalumaOnTheWeb1Click();
}

void TForm1::About1Click() {
    m_platform.RunModal(m_windows.aboutBox);
}
