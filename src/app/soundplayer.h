#pragma once

#include <QObject>

#include <map>

class QSoundEffect;

// Plays the program's two sounds without waiting for them: 148 when both seats of a watched table
// are taken, 185 when a chat message arrives. Without an audio device nothing is heard and
// nothing fails.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    enum SoundId { TableReady = 148, MessageArrived = 185 };

    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    // Starts the sound; an unknown id does nothing. Returns whether a sound was started.
    bool play(int id);

private:
    QSoundEffect* effect(int id);

    std::map<int, QSoundEffect*> m_effects;
};
