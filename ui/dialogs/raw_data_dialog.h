#pragma once

#include "core/raw_data.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QSpinBox;

// Asks for the range and the format of a raw data save. The owner prefills the range from the
// page in front; OK is refused, with the message the save would give, while the range is bad.
class RawDataDialog final : public QDialog {
    Q_OBJECT

public:
    explicit RawDataDialog(QWidget* parent = nullptr);

    void setRange(const mosaiqua::AddressRange& range, mosaiqua::RawDataLayout layout);
    mosaiqua::AddressRange range() const;
    mosaiqua::RawDataLayout dataLayout() const { return m_layout; }
    mosaiqua::RawDataFormat format() const;
    void setFormat(mosaiqua::RawDataFormat format);
    // BASIC: the first line number and the step; the fields are enabled only for BASIC.
    mosaiqua::BasicLineNumbers basicLines() const;

    void accept() override;

private:
    QSpinBox* m_start = nullptr;
    QSpinBox* m_end = nullptr;
    QComboBox* m_format = nullptr;
    QLabel* m_problem = nullptr;
    QSpinBox* m_firstLine = nullptr;
    QSpinBox* m_lineStep = nullptr;
    mosaiqua::RawDataLayout m_layout = mosaiqua::RawDataLayout::Sprites;
};
