// Error funnel: every command runs through here so its errors reach one error box.
#pragma once

#include "core/errors.h"
#include "ui/desktop/platform.h"

#include <QString>

#include <exception>
#include <new>
#include <utility>

class QWidget;

// Title of the main window and of every error box.
inline constexpr char kApplicationTitle[] = "Mosaiqua";

// Runs one command; whatever it throws is shown in the error box and goes no further, since an
// exception must never unwind through Qt's event loop.
template <typename Command> void RunGuarded(Platform& platform, QWidget* parent, Command&& command) noexcept {
    QString message;
    try {
        std::forward<Command>(command)();
        return;
    } catch (const mosaiqua::UserError& error) {
        message = QString::fromUtf8(error.what());
    } catch (const std::bad_alloc&) {
        message = QString::fromLatin1(mosaiqua::kOutOfMemoryMessage);
    } catch (const std::exception& error) {
        message = QString::fromUtf8(error.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    try {
        platform.ShowError(parent, QString::fromLatin1(kApplicationTitle), message);
    } catch (...) {
        // Nothing sensible is left to do when the error box itself fails.
    }
}
