#include "ui/dialogs/raw_data_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// Addresses as the rest of the program writes them: four upper-case hex digits.
class AddressSpinBox final : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QString textFromValue(int value) const override {
        return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
    }
};

QSpinBox* addressSpin(QWidget* parent, const char* name) {
    auto* spin = new AddressSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setDisplayIntegerBase(16);
    spin->setPrefix(QStringLiteral("$"));
    spin->setRange(0, 0xFFFF);
    return spin;
}

} // namespace

RawDataDialog::RawDataDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RawDataDialog"));
    setWindowTitle(QStringLiteral("Save Raw Data"));

    m_start = addressSpin(this, "startSpin");
    m_end = addressSpin(this, "endSpin");
    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("formatCombo"));
    for (const mosaiqua::RawDataFormat f : mosaiqua::kAllRawDataFormats)
        m_format->addItem(QString::fromStdString(mosaiqua::RawDataFormatTitle(f)), int(f));
    m_firstLine = new QSpinBox(this);
    m_firstLine->setObjectName(QStringLiteral("firstLineSpin"));
    m_firstLine->setRange(0, int(mosaiqua::kLastBasicLine));
    m_firstLine->setValue(int(mosaiqua::BasicLineNumbers{}.first));
    m_lineStep = new QSpinBox(this);
    m_lineStep->setObjectName(QStringLiteral("lineStepSpin"));
    m_lineStep->setRange(1, int(mosaiqua::kLastBasicLine));
    m_lineStep->setValue(int(mosaiqua::BasicLineNumbers{}.step));
    const auto enableLines = [this] {
        const bool basic = format() == mosaiqua::RawDataFormat::Basic;
        m_firstLine->setEnabled(basic);
        m_lineStep->setEnabled(basic);
    };
    connect(m_format, &QComboBox::currentIndexChanged, this, enableLines);
    enableLines();
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problemLabel"));
    m_problem->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Start address:"), m_start);
    form->addRow(QStringLiteral("&End address (included):"), m_end);
    form->addRow(QStringLiteral("&Format:"), m_format);
    form->addRow(QStringLiteral("BASIC first &line:"), m_firstLine);
    form->addRow(QStringLiteral("BASIC line s&tep:"), m_lineStep);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &RawDataDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
}

void RawDataDialog::setRange(const mosaiqua::AddressRange& range, mosaiqua::RawDataLayout layout) {
    m_start->setValue(int(range.start));
    m_end->setValue(int(range.end));
    m_layout = layout;
    m_problem->clear();
}

mosaiqua::AddressRange RawDataDialog::range() const {
    return {m_start->value(), m_end->value()};
}

mosaiqua::RawDataFormat RawDataDialog::format() const {
    return mosaiqua::RawDataFormat(m_format->currentData().toInt());
}

void RawDataDialog::setFormat(mosaiqua::RawDataFormat format) {
    m_format->setCurrentIndex(m_format->findData(int(format)));
}

mosaiqua::BasicLineNumbers RawDataDialog::basicLines() const {
    return {m_firstLine->value(), m_lineStep->value()};
}

void RawDataDialog::accept() {
    const mosaiqua::AddressRange r = range();
    const std::string problem = mosaiqua::RawDataRangeProblem(r.start, r.end);
    m_problem->setText(QString::fromStdString(problem));
    if (problem.empty())
        QDialog::accept();
}
