#include "lessons/keysounds.h"

#include "lessons/soundoutput.h"
#include "lessons/waveclip.h"

#include <cstring>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPluginLoader>

namespace {

// The output module sits beside the program in the build and under the
// library folder once installed, wherever the program itself is.
SoundOutput *loadOutput()
{
    if (!QCoreApplication::instance())
        return nullptr;
    const QString dir = QCoreApplication::applicationDirPath();
    const QString module = QStringLiteral(PALCOMIR_SOUND_MODULE_DIR "/" PALCOMIR_SOUND_MODULE);
    for (const QString &path : { dir + QStringLiteral("/../") + module, dir + QLatin1Char('/') + module }) {
        if (!QFileInfo::exists(path))
            continue;
        QPluginLoader loader(path);
        if (auto *found = qobject_cast<SoundOutputModule *>(loader.instance()))
            return &found->output();
        qWarning("Palcomir: no key sounds: %s", qPrintable(loader.errorString()));
        return nullptr;
    }
    return nullptr;
}

SoundOutput *soundOutput()
{
    static SoundOutput *const output = loadOutput();
    return output && output->available() ? output : nullptr;
}

std::shared_ptr<const QByteArray> toOutputFormat(const WaveClip &clip)
{
    SoundOutput *output = soundOutput();
    if (!output)
        return std::make_shared<const QByteArray>();
    const SoundOutput::Format format = output->format();
    const WaveClip converted = clip.converted(format.sampleRate, format.channelCount);
    QByteArray bytes;
    if (format.floatSamples) {
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
    if (SoundOutput *output = soundOutput())
        output->play(m_clips[clip - 1].pcm);
}

bool KeySounds::outputAvailable()
{
    return soundOutput() != nullptr;
}
