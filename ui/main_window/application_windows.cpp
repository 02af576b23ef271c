#include "ui/main_window/application_windows.h"

ApplicationWindows::ApplicationWindows(Platform& platform)
    : m_document(std::make_unique<mosaiqua::Document>()),
      m_main(std::make_unique<MainWindow>(platform, *m_document)) {}

ApplicationWindows::~ApplicationWindows() = default;
