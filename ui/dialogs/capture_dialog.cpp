#include "ui/dialogs/capture_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

CaptureDialog::CaptureDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CaptureDialog"));
    setWindowTitle(QStringLiteral("Capture from VICE"));

    m_host = new QLineEdit(this);
    m_host->setObjectName(QStringLiteral("hostEdit"));
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("portSpin"));
    m_port->setRange(1, 65535);
    setAddress({});

    auto* hint = new QLabel(QStringLiteral("Start VICE with its binary monitor on, for example\n"
                                           "x64sc -binarymonitor (it listens on 127.0.0.1:6502)."),
                            this);
    hint->setObjectName(QStringLiteral("hintLabel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Host:"), m_host);
    form->addRow(QStringLiteral("&Port:"), m_port);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Capture"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

mosaiqua::MonitorAddress CaptureDialog::address() const {
    mosaiqua::MonitorAddress address;
    const QString host = m_host->text().trimmed();
    if (!host.isEmpty())
        address.host = host.toStdString();
    address.port = std::uint16_t(m_port->value());
    return address;
}

void CaptureDialog::setAddress(const mosaiqua::MonitorAddress& address) {
    m_host->setText(QString::fromStdString(address.host));
    m_port->setValue(address.port);
}
