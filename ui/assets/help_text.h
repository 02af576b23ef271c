// Help text: the pages the help window shows.
#pragma once

#include <QStringList>

// The lines of the built-in help, in order: each section starts with its heading, a line of
// hyphens as long as the heading and a blank line.
QStringList HelpTextLines();
