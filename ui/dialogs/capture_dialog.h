#pragma once

#include "core/vice_monitor.h"

#include <QDialog>

class QLineEdit;
class QSpinBox;

// Asks where VICE's binary monitor listens. The owner keeps one for the run, so the address last
// used is offered again.
class CaptureDialog final : public QDialog {
    Q_OBJECT

public:
    explicit CaptureDialog(QWidget* parent = nullptr);

    // The host as typed (blank: 127.0.0.1) and the port.
    mosaiqua::MonitorAddress address() const;
    void setAddress(const mosaiqua::MonitorAddress& address);

private:
    QLineEdit* m_host = nullptr;
    QSpinBox* m_port = nullptr;
};
