// The audio output of the key sounds, built as a module that the program
// loads when it first needs sound.

#include "lessons/soundoutput.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QIODevice>
#include <QMediaDevices>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace {

// How far ahead of the device the output is fed: a clip that replaces
// another one is heard at most this much later.
constexpr int kBufferMs = 20;
// How often a clip that is playing is topped up.
constexpr int kFeedPeriodMs = 5;

// The clip that is playing and how much of it has gone to the output.
// Started from the program's thread, read from the audio thread.
class ClipQueue
{
public:
    void start(std::shared_ptr<const QByteArray> clip)
    {
        std::lock_guard lock(m_mutex);
        m_clip = std::move(clip);
        m_position = 0;
    }

    // Up to maxSize bytes of what is left of the clip.
    qint64 take(char *data, qint64 maxSize)
    {
        std::lock_guard lock(m_mutex);
        if (!m_clip || m_position >= m_clip->size())
            return 0;
        const qint64 copied = std::min<qint64>(maxSize, m_clip->size() - m_position);
        std::memcpy(data, m_clip->constData() + m_position, static_cast<std::size_t>(copied));
        m_position += copied;
        return copied;
    }

    bool done() const
    {
        std::lock_guard lock(m_mutex);
        return !m_clip || m_position >= m_clip->size();
    }

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<const QByteArray> m_clip;
    qint64 m_position = 0;
};

// One audio output, opened once for the whole run and fed from a thread of
// its own, so that a busy program thread never starves the device and the
// device never holds up a keystroke. Only clips are written: between them
// the output runs dry and the device plays silence, so a new clip is not
// queued behind silence written ahead and starts as soon as the device
// takes it.
class AudioOutput final : public SoundOutput
{
public:
    static AudioOutput &instance()
    {
        static AudioOutput output;
        return output;
    }

    bool available() const override { return m_available; }
    Format format() const override
    {
        return { m_format.sampleRate(), m_format.channelCount(), m_format.sampleFormat() == QAudioFormat::Float };
    }

    // Called from the program's thread: costs a lock and a posted call.
    void play(std::shared_ptr<const QByteArray> clip) override
    {
        if (!m_available)
            return;
        m_queue.start(std::move(clip));
        QMetaObject::invokeMethod(
            m_feeder, [this] { startFeeding(); }, Qt::QueuedConnection);
    }

private:
    AudioOutput()
    {
        if (!QCoreApplication::instance())
            return;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return;
        QAudioFormat wanted;
        wanted.setSampleRate(22050);
        wanted.setChannelCount(1);
        wanted.setSampleFormat(QAudioFormat::Int16);
        m_format = device.isFormatSupported(wanted) ? wanted : device.preferredFormat();
        if (m_format.sampleFormat() != QAudioFormat::Int16 && m_format.sampleFormat() != QAudioFormat::Float)
            return;

        m_thread.setObjectName(QStringLiteral("key sounds"));
        m_thread.start();
        m_feeder = new QObject;
        m_feeder->moveToThread(&m_thread);
        QObject::connect(&m_thread, &QThread::finished, m_feeder, &QObject::deleteLater);
        QMetaObject::invokeMethod(
            m_feeder, [this, device] { open(device); }, Qt::BlockingQueuedConnection);
        if (!m_available) {
            stopThread();
            return;
        }
        // The output goes before the application object does.
        qAddPostRoutine([] { instance().shutDown(); });
    }

    ~AudioOutput() override { shutDown(); }

    // The rest runs in the audio thread.
    void open(const QAudioDevice &device)
    {
        m_sink = std::make_unique<QAudioSink>(device, m_format);
        m_sink->setBufferSize(m_format.bytesForDuration(kBufferMs * 1000));
        m_io = m_sink->start();
        if (!m_io || m_sink->error() != QAudio::NoError) {
            m_sink.reset();
            return;
        }
        m_chunk.resize(std::max<qsizetype>(m_sink->bufferSize(), m_format.bytesForDuration(kBufferMs * 1000)));
        m_timer = std::make_unique<QTimer>();
        m_timer->setTimerType(Qt::PreciseTimer);
        m_timer->setInterval(kFeedPeriodMs);
        QObject::connect(m_timer.get(), &QTimer::timeout, [this] { feed(); });
        m_available = true;
    }

    void startFeeding()
    {
        if (!m_timer)
            return;
        feed();
        if (m_sink && m_io && !m_queue.done())
            m_timer->start();
    }

    // Gives the output as much of the clip as it takes now.
    void feed()
    {
        // The output's device goes away when the sound server does: silence.
        if (!m_sink || !m_io) {
            m_timer->stop();
            return;
        }
        const qint64 free = std::min<qint64>(m_sink->bytesFree(), m_chunk.size());
        const qint64 wanted = free - free % m_format.bytesPerFrame();
        const qint64 given = wanted > 0 ? m_queue.take(m_chunk.data(), wanted) : 0;
        if (given > 0)
            m_io->write(m_chunk.constData(), given);
        if (m_queue.done())
            m_timer->stop();
    }

    void stopThread()
    {
        m_thread.quit();
        m_thread.wait();
    }

    void shutDown()
    {
        if (!m_thread.isRunning())
            return;
        m_available = false;
        QMetaObject::invokeMethod(
            m_feeder,
            [this] {
                m_timer.reset();
                if (m_sink)
                    m_sink->stop();
                m_sink.reset();
            },
            Qt::BlockingQueuedConnection);
        stopThread();
        // The sound server answers the closing of the output a moment later.
        // Qt's own audio engine is torn down right after this, at exit, and
        // can crash when that answer arrives during its teardown.
        QThread::msleep(50);
    }

    QAudioFormat m_format;
    ClipQueue m_queue;
    QThread m_thread;
    QObject *m_feeder = nullptr; // lives in the audio thread, like everything below it; deleted with it
    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<QTimer> m_timer;
    QPointer<QIODevice> m_io; // the output's, which may drop it
    QByteArray m_chunk;
    std::atomic<bool> m_available = false;
};

class AudioOutputModule : public QObject, public SoundOutputModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PALCOMIR_SOUND_OUTPUT_IID)
    Q_INTERFACES(SoundOutputModule)

public:
    SoundOutput &output() override { return AudioOutput::instance(); }
};

} // namespace

#include "audiooutput.moc"
