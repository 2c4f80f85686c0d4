#pragma once

#include <memory>

#include <QByteArray>
#include <QtPlugin>

// The audio output the key sounds are played on. It lives in a module of its
// own, loaded when the first sound set is: the audio libraries and the sound
// server's client are then no part of the program's start.
class SoundOutput
{
public:
    struct Format {
        int sampleRate = 0;
        int channelCount = 0;
        bool floatSamples = false; // 32-bit floats, else 16-bit integers
    };

    virtual ~SoundOutput() = default;

    // False without an audio device: everything is silent then.
    virtual bool available() const = 0;
    virtual Format format() const = 0;
    // Starts a clip in the output's format, replacing one still playing.
    // Never waits for the device.
    virtual void play(std::shared_ptr<const QByteArray> clip) = 0;
};

class SoundOutputModule
{
public:
    virtual ~SoundOutputModule() = default;
    // The one output of the run, opened on the first call.
    virtual SoundOutput &output() = 0;
};

#define PALCOMIR_SOUND_OUTPUT_IID "pl.palcomir.SoundOutputModule/1"
Q_DECLARE_INTERFACE(SoundOutputModule, PALCOMIR_SOUND_OUTPUT_IID)
