#include "lessons/keysounds.h"

#include "lessons/waveclip.h"

#include <cstring>
#include <mutex>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>

namespace {

// Feeds the audio output: the current clip, then silence. The output stays
// open for the whole run, so starting a clip costs only swapping a pointer.
class ClipSource : public QIODevice
{
public:
    void start(std::shared_ptr<const QByteArray> clip)
    {
        std::lock_guard lock(m_mutex);
        m_clip = std::move(clip);
        m_position = 0;
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 1 << 16; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        std::lock_guard lock(m_mutex);
        qint64 copied = 0;
        if (m_clip && m_position < m_clip->size()) {
            copied = std::min<qint64>(maxSize, m_clip->size() - m_position);
            std::memcpy(data, m_clip->constData() + m_position, static_cast<std::size_t>(copied));
            m_position += copied;
        }
        std::memset(data + copied, 0, static_cast<std::size_t>(maxSize - copied));
        return maxSize;
    }

    qint64 writeData(const char *, qint64) override { return -1; }

private:
    std::mutex m_mutex;
    std::shared_ptr<const QByteArray> m_clip;
    qint64 m_position = 0;
};

class AudioOutput
{
public:
    static AudioOutput &instance()
    {
        static AudioOutput output;
        return output;
    }

    bool available() const { return m_sink != nullptr; }
    const QAudioFormat &format() const { return m_format; }

    void play(std::shared_ptr<const QByteArray> clip)
    {
        if (m_sink)
            m_source.start(std::move(clip));
    }

private:
    AudioOutput()
    {
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
        m_source.open(QIODevice::ReadOnly);
        m_sink = std::make_unique<QAudioSink>(device, m_format);
        // A short buffer keeps the click close to the key.
        m_sink->setBufferSize(m_format.bytesForDuration(30000));
        m_sink->start(&m_source);
        if (m_sink->error() != QAudio::NoError)
            m_sink.reset();
    }

    QAudioFormat m_format;
    ClipSource m_source;
    std::unique_ptr<QAudioSink> m_sink;
};

std::shared_ptr<const QByteArray> toOutputFormat(const WaveClip &clip)
{
    AudioOutput &output = AudioOutput::instance();
    if (!output.available())
        return std::make_shared<const QByteArray>();
    const QAudioFormat &format = output.format();
    const WaveClip converted = clip.converted(format.sampleRate(), format.channelCount());
    QByteArray bytes;
    if (format.sampleFormat() == QAudioFormat::Float) {
        bytes.resize(static_cast<qsizetype>(converted.samples.size() * sizeof(float)));
        auto *out = reinterpret_cast<float *>(bytes.data());
        for (std::size_t i = 0; i < converted.samples.size(); ++i)
            out[i] = static_cast<float>(converted.samples[i]) / 32768.0F;
    } else {
        bytes.resize(static_cast<qsizetype>(converted.samples.size() * sizeof(std::int16_t)));
        std::memcpy(bytes.data(), converted.samples.data(), static_cast<std::size_t>(bytes.size()));
    }
    return std::make_shared<const QByteArray>(std::move(bytes));
}

} // namespace

KeySounds::KeySounds(QString wavePath)
    : m_wavePath(std::move(wavePath))
{ }

QList<int> KeySounds::load(int soundSet)
{
    release();
    QList<int> failed;
    const int firstWave = soundSet == 1 ? 5 : 1;
    for (int clip = 1; clip <= kClipCount; ++clip) {
        const int wave = firstWave + clip - 1;
        QFile file(m_wavePath.arg(wave));
        std::optional<WaveClip> parsed;
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            parsed = WaveClip::parse(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        }
        if (!parsed) {
            failed << clip;
            continue;
        }
        m_clips[clip - 1] = { toOutputFormat(*parsed), wave };
    }
    return failed;
}

void KeySounds::release()
{
    m_clips = {};
}

bool KeySounds::isLoaded(int clip) const
{
    return clip >= 1 && clip <= kClipCount && m_clips[clip - 1].pcm;
}

int KeySounds::waveOf(int clip) const
{
    return isLoaded(clip) ? m_clips[clip - 1].wave : 0;
}

void KeySounds::play(int clip)
{
    if (!isLoaded(clip))
        return;
    m_lastWave = m_clips[clip - 1].wave;
    ++m_playCount;
    AudioOutput::instance().play(m_clips[clip - 1].pcm);
}

bool KeySounds::outputAvailable()
{
    return AudioOutput::instance().available();
}
