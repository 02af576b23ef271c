// Capturing a running VICE as a load, and saving what was captured as a VICE snapshot.
#include "document.h"

#include "errors.h"
#include "vice_capture.h"
#include "vsf_writer.h"

namespace mosaiqua {

const LoadedFile& Document::capture(const MonitorAddress& address, bool keepViewers,
                                    const MonitorTimeouts& timeouts, const MonitorConnector& connector) {
    // Everything that can fail happens before the document changes.
    const ViceCapture captured = CaptureFromVice(address, timeouts, connector);
    m_loaded = LoadCapture(captured, m_memory);
    // A capture is no file: every save may use any name.
    m_loadedIdentity = {};
    drawSprite();
    drawCharSets({true, true, true});
    // A first capture follows the screen as an opened snapshot does; Capture Again keeps the viewers
    // where the user put them, so an animation can be followed frame by frame.
    DocumentChange followed{};
    if (keepViewers) {
        m_followStatus.clear();
        findCharacterRom();
    } else
        followed = followSnapshot();
    drawBitmap();
    notify(DocumentChange::Memory | DocumentChange::SpriteView | DocumentChange::CharSetView |
           DocumentChange::BitmapView | followed);
    return m_loaded;
}

SaveResult Document::saveViceSnapshot(const std::string& path) const {
    if (!m_loaded.machineState)
        throw UserError(UserError::Kind::NoMachineState,
                        "There is no machine state to save as a VICE snapshot: capture from VICE or open "
                        "a snapshot first.");
    WriteViceSnapshot(path, m_memory, *m_loaded.machineState, writeOptions());
    return {"VICE snapshot saved ok.", {path}};
}

} // namespace mosaiqua
