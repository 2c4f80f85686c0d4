// How soon a key's click is heard: a running lesson window gets key events
// while what the default audio output plays is recorded through its monitor;
// each click's first non-silent sample in the recording is set against the
// time its key event was sent. Run by sound_latency.sh on a null sink.
//
// A sample's time is read from the chunk of the recording that brought it:
// the chunk arrived when its last sample had been played, or later, and the
// samples before that one were played one sample period apart. The delays
// found thus include the recording's own delay, never less than the real
// ones as far as the monitor tells (a null sink hands each block it plays to
// its monitor at once).
//
//   sound_latency [keys per pass]

#include "lessons/keysounds.h"
#include "lessons/lessonlibrary.h"
#include "lessons/tlesson1.h"
#include "settings/toptions.h"
#include "widgets/messages.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMediaDevices>
#include <QTimer>

namespace {

using Steady = std::chrono::steady_clock;

double msSince(Steady::time_point origin, Steady::time_point t)
{
    return std::chrono::duration<double, std::milli>(t - origin).count();
}

// The monitor of the default output, else the default input.
QAudioDevice monitorDevice()
{
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    for (const QAudioDevice &device : QMediaDevices::audioInputs()) {
        if (device.id() == output.id() + ".monitor")
            return device;
    }
    for (const QAudioDevice &device : QMediaDevices::audioInputs()) {
        if (device.id().endsWith(".monitor"))
            return device;
    }
    return QMediaDevices::defaultAudioInput();
}

// Mono samples of the recording, scaled to 16 bits, with the arrival of
// each chunk.
class Recorder
{
public:
    explicit Recorder(const QAudioDevice &device)
    {
        QAudioFormat wanted;
        wanted.setSampleRate(48000);
        wanted.setChannelCount(1);
        wanted.setSampleFormat(QAudioFormat::Int16);
        m_format = device.isFormatSupported(wanted) ? wanted : device.preferredFormat();
        m_source = std::make_unique<QAudioSource>(device, m_format);
        m_source->setBufferSize(m_format.bytesForDuration(10000));
    }

    bool start()
    {
        m_in = m_source->start();
        if (!m_in)
            return false;
        QObject::connect(m_in, &QIODevice::readyRead, [this] { read(); });
        return m_source->error() == QAudio::NoError;
    }

    void stop()
    {
        read();
        m_source->stop();
    }

    int rate() const { return m_format.sampleRate(); }
    const std::vector<float> &samples() const { return m_samples; }

    // When a sample was played, from the chunk that brought it.
    Steady::time_point heardAt(std::size_t sample) const
    {
        const auto chunk = std::upper_bound(
            m_chunks.begin(), m_chunks.end(), sample, [](std::size_t i, const Chunk &c) { return i < c.end; });
        if (chunk == m_chunks.end())
            return Steady::time_point::max();
        const double after = double(chunk->end - 1 - sample) / rate();
        return chunk->arrived - std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(after));
    }

    // Arrival of the chunk that holds a sample.
    Steady::time_point arrivalOf(std::size_t sample) const
    {
        const auto chunk = std::upper_bound(
            m_chunks.begin(), m_chunks.end(), sample, [](std::size_t i, const Chunk &c) { return i < c.end; });
        return chunk == m_chunks.end() ? Steady::time_point::max() : chunk->arrived;
    }

    // The first sample that arrived after a moment.
    std::size_t firstSampleAfter(Steady::time_point t) const
    {
        std::size_t start = 0;
        for (const Chunk &chunk : m_chunks) {
            if (chunk.arrived > t)
                return start;
            start = chunk.end;
        }
        return start;
    }

    std::size_t chunkCount() const { return m_chunks.size(); }

private:
    struct Chunk {
        Steady::time_point arrived;
        std::size_t end; // samples recorded up to and with this chunk
    };

    void read()
    {
        const QByteArray bytes = m_in->readAll();
        const Steady::time_point now = Steady::now();
        if (bytes.isEmpty())
            return;
        const int channels = m_format.channelCount();
        const int frameBytes = m_format.bytesPerFrame();
        m_pending += bytes;
        const qsizetype frames = m_pending.size() / frameBytes;
        for (qsizetype f = 0; f < frames; ++f) {
            const char *frame = m_pending.constData() + f * frameBytes;
            float sum = 0.0F;
            for (int c = 0; c < channels; ++c) {
                if (m_format.sampleFormat() == QAudioFormat::Int16) {
                    std::int16_t v;
                    std::memcpy(&v, frame + c * 2, 2);
                    sum += float(v);
                } else if (m_format.sampleFormat() == QAudioFormat::Float) {
                    float v;
                    std::memcpy(&v, frame + c * 4, 4);
                    sum += v * 32768.0F;
                } else if (m_format.sampleFormat() == QAudioFormat::Int32) {
                    std::int32_t v;
                    std::memcpy(&v, frame + c * 4, 4);
                    sum += float(v) / 65536.0F;
                } else {
                    sum += (float(static_cast<unsigned char>(frame[c])) - 128.0F) * 256.0F;
                }
            }
            m_samples.push_back(sum / float(channels));
        }
        m_pending.remove(0, frames * frameBytes);
        m_chunks.push_back({ now, m_samples.size() });
    }

    QAudioFormat m_format;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice *m_in = nullptr;
    QByteArray m_pending;
    std::vector<float> m_samples;
    std::vector<Chunk> m_chunks;
};

struct Percentile {
    double p50 = 0;
    double p95 = 0;
    double max = 0;
};

Percentile percentiles(std::vector<double> values)
{
    Percentile p;
    if (values.empty())
        return p;
    std::sort(values.begin(), values.end());
    auto at
        = [&](double q) { return values[std::min(values.size() - 1, std::size_t(std::ceil(q * values.size())) - 1)]; };
    p.p50 = at(0.50);
    p.p95 = at(0.95);
    p.max = values.back();
    return p;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int keysPerSet = argc > 1 ? std::max(10, std::atoi(argv[1])) : 150;

    if (!KeySounds::outputAvailable()) {
        std::printf("sound latency: no audio output (is a sound server running?)\n");
        return 2;
    }
    const QAudioDevice monitor = monitorDevice();
    if (monitor.isNull()) {
        std::printf("sound latency: nothing to record the output with\n");
        return 2;
    }
    std::printf("output %s, recorded through %s\n", qPrintable(QMediaDevices::defaultAudioOutput().id()),
        qPrintable(monitor.id()));

    Messages::setHook([](Messages::Kind, const QString &caption, const QString &text) {
        std::printf("message box: %s: %s\n", qPrintable(caption), qPrintable(text));
        return false;
    });

    Recorder recorder(monitor);
    if (!recorder.start()) {
        std::printf("sound latency: the monitor cannot be recorded\n");
        return 2;
    }

    // A lesson of one long line of a's: every key is a correct one, clip 1.
    LessonLibrary library;
    library.addText(1201, std::string("Przepisz.\r\n") + std::string(2 * keysPerSet + 10, 'a'));
    TOptions options;
    options.Click = true;

    std::vector<Steady::time_point> keyTimes;
    std::vector<int> keySets;
    std::mt19937 jitter(7);
    std::unique_ptr<TLesson1> lesson;

    // The typewriter set, the electronic set, and the electronic set again
    // with the program's thread kept busy for 40 ms after each key.
    constexpr int kPasses = 3;
    QEventLoop loop;
    int set = 0;
    int sent = 0;
    std::function<void()> next;
    next = [&] {
        if (sent == keysPerSet) {
            sent = 0;
            lesson.reset();
            if (++set == kPasses) {
                QTimer::singleShot(400, &loop, &QEventLoop::quit);
                return;
            }
        }
        if (!lesson) {
            options.Type = set == 0 ? 0 : 1;
            lesson = std::make_unique<TLesson1>(nullptr, options, 1201);
            lesson->LoadText(library);
            lesson->resize(640, 480);
            lesson->show();
            QTimer::singleShot(300, next);
            return;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        keyTimes.push_back(Steady::now());
        keySets.push_back(set);
        QCoreApplication::sendEvent(lesson.get(), &press);
        QCoreApplication::sendEvent(lesson.get(), &release);
        if (set == 2) {
            // As if the key's repaint took long: the click must not wait for it.
            const Steady::time_point busyUntil = Steady::now() + std::chrono::milliseconds(40);
            while (Steady::now() < busyUntil) { }
        }
        ++sent;
        // Keys a little apart, at no fixed beat, each clip over before the next key.
        QTimer::singleShot(110 + int(jitter() % 60), Qt::PreciseTimer, next);
    };
    // The first key once the recording has run for half a second.
    QTimer waitForRecording;
    QObject::connect(&waitForRecording, &QTimer::timeout, [&] {
        if (recorder.samples().size() < std::size_t(recorder.rate()) / 2)
            return;
        waitForRecording.stop();
        next();
    });
    waitForRecording.start(50);
    loop.exec();
    recorder.stop();

    const std::vector<float> &samples = recorder.samples();
    const int rate = recorder.rate();
    std::printf("recorded %.2f s in %zu chunks\n", double(samples.size()) / rate, recorder.chunkCount());

    // A click starts where the sound rises above the silence after at least
    // 2 ms of silence; it is looked for from the key on (the chunk in hand
    // when the key was sent may already hold it) until the next key.
    constexpr float kSilence = 64.0F; // about -54 dB below full scale
    const std::size_t quiet = std::size_t(rate) / 500;
    std::vector<double> onsetDelays[kPasses];
    std::vector<double> arrivalDelays;
    int missed = 0;
    for (std::size_t k = 0; k < keyTimes.size(); ++k) {
        const std::size_t arrivedBefore = recorder.firstSampleAfter(keyTimes[k]);
        const std::size_t from = arrivedBefore > std::size_t(rate) / 10 ? arrivedBefore - std::size_t(rate) / 10 : 0;
        const std::size_t to = k + 1 < keyTimes.size() ? recorder.firstSampleAfter(keyTimes[k + 1]) : samples.size();
        std::size_t onset = 0;
        bool found = false;
        std::size_t silent = 0;
        for (std::size_t i = from; i < std::min(to, samples.size()); ++i) {
            if (std::fabs(samples[i]) <= kSilence) {
                ++silent;
                continue;
            }
            if (silent >= quiet && recorder.heardAt(i) >= keyTimes[k] - std::chrono::milliseconds(50)) {
                onset = i;
                found = true;
                break;
            }
            silent = 0;
        }
        if (!found) {
            ++missed;
            continue;
        }
        onsetDelays[keySets[k]].push_back(msSince(keyTimes[k], recorder.heardAt(onset)));
        // The recording is read on the program's thread too: only the passes
        // that leave it free say when the recording brought the click.
        if (keySets[k] != 2)
            arrivalDelays.push_back(msSince(keyTimes[k], recorder.arrivalOf(onset)));
    }

    bool met = missed == 0;
    std::vector<double> all;
    const char *names[kPasses] = { "typewriter set", "electronic set", "program busy" };
    for (int s = 0; s < kPasses; ++s) {
        const Percentile p = percentiles(onsetDelays[s]);
        std::printf("key to click, %-15s p50 %6.1f ms   p95 %6.1f ms   max %6.1f ms   (%zu keys)\n", names[s], p.p50,
            p.p95, p.max, onsetDelays[s].size());
        all.insert(all.end(), onsetDelays[s].begin(), onsetDelays[s].end());
    }
    const Percentile p = percentiles(all);
    const Percentile arrival = percentiles(arrivalDelays);
    std::printf("key to click, all keys       p50 %6.1f ms   p95 %6.1f ms   target: p95 < 30 ms   %s\n", p.p50, p.p95,
        p.p95 < 30.0 && met ? "MET" : "MISSED");
    std::printf(
        "key to the chunk of the recording that brought the click, first two passes: p50 %6.1f ms   p95 %6.1f ms\n",
        arrival.p50, arrival.p95);
    if (missed)
        std::printf("%d keys gave no click in the recording\n", missed);
    return p.p95 < 30.0 && met ? 0 : 1;
}
