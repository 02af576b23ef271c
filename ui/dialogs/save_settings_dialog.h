// Save settings dialog: sprite size, cell size, sheet size, depth.
#pragma once

#include "core/export.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

// The sizes and colour depth every sprite save uses. The edit boxes hold the sizes exactly as
// typed; they are converted only when a save reads them.
class SaveSettingsDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxSizeLength = 8;

    explicit SaveSettingsDialog(QWidget* parent = nullptr);

    // The six texts as they stand now.
    mosaiqua::SaveSizeTexts SizeTexts() const;
    void SetSizeTexts(const mosaiqua::SaveSizeTexts& texts);
    // Otherwise files take the display's colour depth.
    bool Use24Bit() const;
    void SetUse24Bit(bool use24Bit);

    // "Return To Defaults": the six default texts; the colour depth stays as chosen.
    void ReturnToDefaults();

private:
    QLineEdit* AddSizeEdit(QWidget* parent, const char* name, const QString& label, int left, int top);

    QLineEdit* m_spriteWidth = nullptr;
    QLineEdit* m_spriteHeight = nullptr;
    QLineEdit* m_bitmapWidth = nullptr;
    QLineEdit* m_bitmapHeight = nullptr;
    QLineEdit* m_finalWidth = nullptr;
    QLineEdit* m_finalHeight = nullptr;
    QRadioButton* m_radio24bit = nullptr;
    QRadioButton* m_radio16bit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_defaults = nullptr;
};
