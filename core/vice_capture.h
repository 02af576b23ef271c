#pragma once

#include "file_formats.h"
#include "machine_state.h"
#include "memory_image.h"
#include "vice_monitor.h"

#include <string>

namespace mosaiqua {

// The machine state a capture shows: colours and colour RAM masked to their low four bits (peeked
// registers read their unused bits as 1), the bank from the pins read at $DD00, the character ROM.
MachineState MachineStateFromCapture(const ViceCapture& capture);

// "VICE (running) at 127.0.0.1:6502, raster line 48, cycle 12"
std::string CaptureDescription(const ViceCapture& capture);

// Loads a capture like a snapshot: RAM at $0000 (every other store byte 0), format ViceMonitor,
// the machine state above. Throws UserError, leaving the image as it was, for a capture that is
// not whole.
LoadedFile LoadCapture(const ViceCapture& capture, MemoryImage& image);

} // namespace mosaiqua
