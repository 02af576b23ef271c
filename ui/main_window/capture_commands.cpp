// File menu: capturing a running VICE through its binary monitor. The capture loads like a snapshot,
// so the views, the Snapshot window and the overview follow the document.
#include "ui/main_window/main_window.h"

#include "ui/desktop/platform.h"
#include "ui/desktop/window_placement.h"
#include "ui/dialogs/capture_dialog.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>

namespace {

// The window waits for VICE at most the monitor's time-outs; the cursor says it is waiting.
class BusyCursor final {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

void MainWindow::CaptureFromVice() {
    if (m_captureDialog == nullptr)
        m_captureDialog = new CaptureDialog(this);
    if (m_viceAddress)
        m_captureDialog->setAddress(*m_viceAddress);
    m_captureDialog->move(CentredOver(OuterSize(*m_captureDialog)));
    if (m_platform.RunModal(m_captureDialog) != QDialog::Accepted)
        return;
    // Kept even when this capture fails, so the next try starts from what was typed.
    m_viceAddress = m_captureDialog->address();
    m_captureAgain1->setEnabled(true);
    Capture(*m_viceAddress, false);
}

void MainWindow::CaptureAgain() {
    if (!m_viceAddress)
        return CaptureFromVice();
    Capture(*m_viceAddress, true);
}

void MainWindow::Capture(const mosaiqua::MonitorAddress& address, bool keepViewers) {
    const BusyCursor busy;
    const QString before = StatusText();
    SetStatus(QStringLiteral("Capturing from VICE at %1..").arg(QString::fromStdString(address.text())));
    m_statusPanel0->repaint();
    try {
        const mosaiqua::LoadedFile& loaded = m_document.capture(address, keepViewers);
        const std::string& followed = m_document.followStatus();
        SetStatus(QString::fromStdString(followed.empty() ? loaded.description
                                                          : loaded.description + " " + followed));
        if (!keepViewers)
            ShowLoadedBitmap();
    } catch (...) {
        // The document is as it was, and so is the status; the error box says why.
        SetStatus(before);
        throw;
    }
}
