#pragma once

#include <QDialog>

class QSpinBox;

// Asks for the frame count and the delay of a sprite animation. The owner keeps one for the run,
// so the values stay between openings.
class AnimationDialog final : public QDialog {
    Q_OBJECT

public:
    explicit AnimationDialog(QWidget* parent = nullptr);

    int frames() const;
    int delayMs() const;
    void setFrames(int frames);
    void setDelayMs(int delayMs);

private:
    QSpinBox* m_frames = nullptr;
    QSpinBox* m_delay = nullptr;
};
