#include "ui/main_window/application_windows.h"

ApplicationWindows::ApplicationWindows(Platform& platform) : m_main(std::make_unique<MainWindow>(platform)) {}

ApplicationWindows::~ApplicationWindows() = default;
