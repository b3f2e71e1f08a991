#include "app/sessions/EndSound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

void EndSound::play(const QString& file)
{
    const QFileInfo wave(file);
    if (QMediaDevices::audioOutputs().isEmpty() || !wave.isFile()) {
        QApplication::beep();
        return;
    }
    // One effect for the run: it must outlive the call it plays from.
    static QSoundEffect* effect = new QSoundEffect(qApp);
    const QUrl source = QUrl::fromLocalFile(wave.absoluteFilePath());
    if (effect->source() != source)
        effect->setSource(source);
    effect->play();
}
