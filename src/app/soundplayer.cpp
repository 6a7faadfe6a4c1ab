#include "app/soundplayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {

const char* resourceOf(int id)
{
    switch (id) {
    case SoundPlayer::TableReady:
        return "qrc:/sounds/table-ready.wav";
    case SoundPlayer::MessageArrived:
        return "qrc:/sounds/message.wav";
    default:
        return nullptr;
    }
}

} // namespace

SoundPlayer::SoundPlayer(QObject* parent)
    : QObject(parent)
{ }

SoundPlayer::~SoundPlayer() = default;

bool SoundPlayer::play(int id)
{
    QSoundEffect* sound = effect(id);
    if (!sound)
        return false;
    // A sound still playing starts again from its beginning, as a second call would on the
    // original platform's asynchronous play.
    sound->stop();
    sound->play();
    return true;
}

QSoundEffect* SoundPlayer::effect(int id)
{
    const char* resource = resourceOf(id);
    if (!resource)
        return nullptr;
    const auto it = m_effects.find(id);
    if (it != m_effects.end())
        return it->second;
    // The effects are made on first use, so that a session that never plays a sound never opens
    // the audio system.
    if (QMediaDevices::defaultAudioOutput().isNull())
        return nullptr;
    auto* sound = new QSoundEffect(this);
    sound->setSource(QUrl(QString::fromLatin1(resource)));
    m_effects.emplace(id, sound);
    return sound;
}
