// Main window: the one table of commands, each with its menu text, key and check mark.
#pragma once

#include <QKeySequence>
#include <QString>

#include <functional>
#include <vector>

namespace main_window {

enum class Mark { None, Off, On };

// One command: a new command is one row, and one action that owns its key and its mark.
struct CommandRow {
    const char* name = nullptr; // the action's objectName; nullptr: a separator
    const char* caption = nullptr;
    QKeySequence key;
    Mark mark = Mark::None;
    std::function<void(bool checked)> run; // `checked`: the mark after the click
};

struct MenuColumn {
    const char* name;
    const char* caption;
    std::vector<CommandRow> rows;
};

// The item's text: the caption, then after a tab the key it answers to.
QString MenuItemText(const char* caption, const QKeySequence& key);

} // namespace main_window
