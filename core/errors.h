#pragma once

#include <stdexcept>
#include <string>

namespace mosaiqua {

// A failure that ends a command; what() is the exact text the user sees.
class UserError : public std::runtime_error {
public:
    enum class Kind {
        NotAnInteger,     // "'%s' is not a valid integer value"
        DivisionByZero,   // "Division by zero"
        CannotCreateFile, // "Cannot create file %s"
        StreamWrite,      // "Stream write error"
        BadBitmapSize,    // zero, negative or absurd bitmap sizes
        CannotOpenFile,   // loading a snapshot failed
        Clipboard,        // "Cannot open clipboard"
        NothingToSave,    // a range holding no sprite
        NotAFileName,     // a range's numbered files need a file name, not a device or folder
        NoMachineState,   // the loaded file says nothing about the video chip
    };

    UserError(Kind kind, const std::string& message) : std::runtime_error(message), m_kind(kind) {}
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

} // namespace mosaiqua
