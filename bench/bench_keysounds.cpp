// What starting a key sound costs the keystroke: the time KeySounds::play
// takes, which is all a counted key spends on its sound. With an audio device
// this includes handing the clip to the audio thread; without one, the
// silent path. Run it under sound_latency.sh to measure it on a sound server.

#include "benchstats.h"
#include "lessons/keysounds.h"

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include <QApplication>

int main(int argc, char **argv)
{
    // Sound needs no window: run headless unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool output = KeySounds::outputAvailable();
    std::printf("audio output: %s\n", output ? "yes" : "none (the silent path is measured)");

    bool met = true;
    for (int soundSet = 0; soundSet <= 1; ++soundSet) {
        KeySounds sounds;
        if (!sounds.load(soundSet).isEmpty()) {
            std::printf("sound set %d: a clip could not be loaded\n", soundSet);
            return 1;
        }
        std::vector<double> micros;
        constexpr int kBatches = 100;
        constexpr int kPerBatch = 100;
        micros.reserve(kBatches * kPerBatch);
        for (int batch = 0; batch < kBatches; ++batch) {
            for (int i = 0; i < kPerBatch; ++i) {
                // Key, key, key, line end, error: the clips a lesson asks for.
                const int clip = i % 5 == 3 ? 3 : i % 5 == 4 ? 4 : 1;
                const auto start = std::chrono::steady_clock::now();
                sounds.play(clip);
                const auto end = std::chrono::steady_clock::now();
                micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
            }
            // Keys come apart: let the audio thread take what was started.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            QCoreApplication::processEvents();
        }
        const char *name = soundSet == 0 ? "start a clip, typewriter set" : "start a clip, electronic set";
        met = report(name, percentiles(micros), "us", 100.0, 1000.0) && met;
    }
    return met ? 0 : 1;
}
