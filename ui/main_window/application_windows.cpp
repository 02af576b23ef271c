#include "ui/main_window/application_windows.h"

ApplicationWindows::ApplicationWindows(Platform& platform) : m_form1(std::make_unique<TForm1>(platform)) {}

ApplicationWindows::~ApplicationWindows() = default;
