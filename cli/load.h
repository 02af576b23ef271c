#pragma once

#include "cli/options.h"

#include "core/document.h"

#include <functional>
#include <optional>
#include <ostream>

namespace mosaiqua::cli {

// The viewer a command draws with.
enum class ViewerUsed { Sprite, CharSet, None };

// Sets the document up from the command's options (load options, save settings, palette, and the
// viewer's mode and colours unless the start-up ones stand) and loads FILE, or captures the VICE
// that FILE names as `vice:[HOST:PORT]`. Throws UserError (Cannot open file ..., or why the capture
// failed) when the file cannot be read, ContainerPickError when FILE:ENTRY names no single entry (or
// a container needing a pick got none); once read, no output of the command can replace it.
void OpenDocument(Document& document, const CliOptions& options, ViewerUsed viewer);

// --colours in the document's palette: codes are looked up in it (a palette file is only read
// when the command runs). Nothing when none were given.
std::optional<ColourSlots> GivenColours(const Document& document, const CliOptions& options);

// Runs a command's body and returns its exit status; a failure is printed on `err` in the user's
// words (unexpected ones prefixed with the program's name) and gives 1; a missing, ambiguous or
// absent container pick gives 2.
int RunGuarded(std::ostream& err, const std::function<int()>& body);

// Runs a save under RunGuarded and reports it the way every saving command does: the status, then
// "written: FILE".
int ReportSave(const std::function<SaveResult()>& save, std::ostream& out, std::ostream& err);

} // namespace mosaiqua::cli
