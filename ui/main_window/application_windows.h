// Application windows: the main window and its secondary windows, created once.
#pragma once

#include "ui/main_window/tform1.h"

#include <memory>

class Platform;

// The program's seven windows, created once in their fixed order: the main window first, then
// the About box, help, palette picker, memory range, save settings and directories windows.
// The six are children of the main window and go with it.
class ApplicationWindows final {
public:
    explicit ApplicationWindows(Platform& platform);
    ~ApplicationWindows();
    ApplicationWindows(const ApplicationWindows&) = delete;
    ApplicationWindows& operator=(const ApplicationWindows&) = delete;

    TForm1& Form1() { return *m_form1; }
    const SecondaryWindows& Windows() const { return m_form1->Windows(); }

private:
    std::unique_ptr<TForm1> m_form1;
};
