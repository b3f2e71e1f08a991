#include "app/shell/MetronomeSound.h"

#include "platform/Beep.h"
#include "platform/Resources.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

MetronomeSound::MetronomeSound()
    : waveDevicePresent_(!QMediaDevices::audioOutputs().isEmpty()
                         && platform::resourceExists(platform::ResourceType::Wave, WAVE_ID))
{
}

MetronomeSound::~MetronomeSound() = default;

void MetronomeSound::play()
{
    if (!waveDevicePresent_) {
        platform::messageBeep();
        return;
    }
    if (!effect_) {
        effect_ = std::make_unique<QSoundEffect>();
        const std::string path = platform::resourcePath(platform::ResourceType::Wave, WAVE_ID);
        // ":/kova/wave/231" is reached as "qrc:/kova/wave/231".
        effect_->setSource(QUrl(QStringLiteral("qrc") + QString::fromStdString(path)));
    }
    // A click still sounding is not cut off by the next.
    if (effect_->isPlaying())
        return;
    effect_->play();
}
