// Main window (TForm1): the one table of commands, each with its menu text, key and check mark.
#pragma once

#include <QKeySequence>
#include <QString>

#include <functional>
#include <vector>

class QAction;

namespace main_window {

enum class Mark { None, Off, On };

// One command: a new command is one row. A key makes an action of ActionList1 (named `keyName`)
// that runs the command without going through the menu item.
struct CommandRow {
    const char* name = nullptr; // the menu item's objectName; nullptr: a separator
    const char* caption = nullptr;
    const char* keyName = nullptr;
    QKeySequence key;
    Mark mark = Mark::None;
    std::function<void(bool checked)> run; // `checked`: the mark after the click
};

struct MenuColumn {
    const char* name;
    const char* caption;
    std::vector<CommandRow> rows;
};

// The item's text: the caption, then after a tab the key as its owning action spells it.
QString MenuItemText(const char* caption, const QAction* keyOwner);

} // namespace main_window
