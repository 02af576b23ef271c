// Sprite range dialog: the memory range a range export saves.
#pragma once

#include "core/export.h"

#include <QDialog>
#include <QRect>
#include <QSize>

#include <cstdint>

class QLabel;
class QPushButton;

// The range the dialog shows: what the range exports read after OK.
struct SpriteRangeValue {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t count = 0;

    friend bool operator==(const SpriteRangeValue&, const SpriteRangeValue&) = default;
};

enum class RangeDialogMode { ToFiles, ToSingleBitmap };

// Collects the start and end of a sprite range, one hex digit at a time. The addresses stay
// between showings; the owner reads Range() after the dialog closes.
class SpriteRangeDialog final : public QDialog {
    Q_OBJECT

public:
    // Opens first on $0000-$0040: one sprite.
    explicit SpriteRangeDialog(QWidget* parent = nullptr);

    // Caption, position and details for the coming showing. In single-bitmap mode the fit figures
    // are read from `sizes` first; a bad size throws mosaiqua::UserError and leaves the dialog as it was.
    void PrepareForMode(RangeDialogMode mode, QRect mainOuterGeometry, QSize pickerOuterSize,
                        const mosaiqua::SaveSizeTexts& sizes);

    std::int32_t start() const { return m_start; }
    std::int32_t end() const { return m_end; }
    std::int32_t count() const { return mosaiqua::SpriteCount(m_start, m_end); }
    SpriteRangeValue Range() const { return {m_start, m_end, count()}; }
    RangeDialogMode mode() const { return m_mode; }

private:
    void BuildControls();
    void Step(std::int32_t& address, int step, void (SpriteRangeDialog::*refresh)());
    void StartUpdate();
    void EndUpdate();
    void CountUpdate();
    void UpdateWarning();
    void SetDetailsVisible(bool visible);

    std::int32_t m_start = 0x0000;
    std::int32_t m_end = 0x0040;
    RangeDialogMode m_mode = RangeDialogMode::ToFiles;
    std::int64_t m_fitTotal = 0; // sprites the single bitmap holds, from the last preparation

    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label6 = nullptr;
    QLabel* m_savingToBitmap = nullptr;
    QLabel* m_label7 = nullptr;
    QLabel* m_label8 = nullptr;
    QLabel* m_label9 = nullptr;
    QLabel* m_label10 = nullptr;
    QLabel* m_label11 = nullptr;
    QLabel* m_bitmapWidth = nullptr;
    QLabel* m_bitmapHeight = nullptr;
    QLabel* m_maxX = nullptr;
    QLabel* m_maxY = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_warning = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
