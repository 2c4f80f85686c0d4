#pragma once

#include <array>
#include <memory>

#include <QByteArray>
#include <QList>
#include <QString>

// One lesson's sound set: four clips played on counted keys. Playing never
// waits for the audio device; a new clip replaces one still playing; with no
// audio device everything is silent.
class KeySounds
{
public:
    static constexpr int kClipCount = 4;

    // wavePath names a wave file by its number (%1); the program's own
    // clips are in its resources.
    explicit KeySounds(QString wavePath = QStringLiteral(":/sounds/wave%1.wav"));

    // Loads the clips of sound set 0 (typewriter, waves 1-4) or 1 (electronic,
    // waves 5-8). Returns the clip numbers (1-4) that could not be loaded.
    QList<int> load(int soundSet);
    void release();

    bool isLoaded(int clip) const;
    // The wave number the clip came from, or 0.
    int waveOf(int clip) const;

    // Starts a clip (1-4); a clip that is not loaded is silent.
    void play(int clip);

    // The wave of the clip last started, and how many were started.
    int lastWavePlayed() const { return m_lastWave; }
    int playCount() const { return m_playCount; }

    // False without an audio device: everything is silent then.
    static bool outputAvailable();

private:
    struct Clip {
        std::shared_ptr<const QByteArray> pcm; // in the output's format
        int wave = 0;
    };
    QString m_wavePath;
    std::array<Clip, kClipCount> m_clips {};
    int m_lastWave = 0;
    int m_playCount = 0;
};
