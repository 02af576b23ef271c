#include "ui/dialogs/animation_dialog.h"

#include "core/animation.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

AnimationDialog::AnimationDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AnimationDialog"));
    setWindowTitle(QStringLiteral("Save Sprite Animation"));

    m_frames = new QSpinBox(this);
    m_frames->setObjectName(QStringLiteral("framesSpin"));
    m_frames->setRange(mosaiqua::kMinAnimationFrames, mosaiqua::kMaxAnimationFrames);
    m_frames->setValue(mosaiqua::kDefaultAnimationFrames);

    m_delay = new QSpinBox(this);
    m_delay->setObjectName(QStringLiteral("delaySpin"));
    m_delay->setRange(mosaiqua::kMinFrameDelayMs, mosaiqua::kMaxFrameDelayMs);
    m_delay->setSingleStep(mosaiqua::kFrameDelayStepMs);
    m_delay->setSuffix(QStringLiteral(" ms"));
    m_delay->setValue(mosaiqua::kDefaultFrameDelayMs);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Frames (the current sprite and the ones after it):"), m_frames);
    form->addRow(QStringLiteral("&Delay per frame:"), m_delay);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

int AnimationDialog::frames() const {
    return m_frames->value();
}

// A typed value snaps to the step: a GIF counts in hundredths of a second.
int AnimationDialog::delayMs() const {
    const int step = mosaiqua::kFrameDelayStepMs;
    return (m_delay->value() + step / 2) / step * step;
}

void AnimationDialog::setFrames(int frames) {
    m_frames->setValue(frames);
}
void AnimationDialog::setDelayMs(int delayMs) {
    m_delay->setValue(delayMs);
}
