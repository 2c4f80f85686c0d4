#include "common/testsupport.h"
#include "lessons/keysounds.h"
#include "lessons/waveclip.h"

#include <QFile>

namespace {

std::string le16(int v)
{
    return { static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF) };
}
std::string le32(std::uint32_t v)
{
    return le16(static_cast<int>(v & 0xFFFF)) + le16(static_cast<int>(v >> 16));
}

std::string wave(int format, int channels, int rate, int bits, const std::string &data, bool oddChunkFirst = false)
{
    std::string fmt = le16(format) + le16(channels) + le32(static_cast<std::uint32_t>(rate))
        + le32(static_cast<std::uint32_t>(rate * channels * bits / 8)) + le16(channels * bits / 8) + le16(bits);
    std::string chunks;
    if (oddChunkFirst)
        chunks += "LIST" + le32(3) + "abc" + std::string(1, '\0'); // padded to an even size
    chunks += "fmt " + le32(static_cast<std::uint32_t>(fmt.size())) + fmt;
    chunks += "data" + le32(static_cast<std::uint32_t>(data.size())) + data;
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

} // namespace

class TestKeySounds : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("samples");
        QTest::addColumn<int>("first");
        const std::string pcm16 = le16(1000) + le16(-2000 & 0xFFFF) + le16(3000);
        QTest::newRow("16-bit mono") << bytes(wave(1, 1, 22050, 16, pcm16)) << true << 3 << 1000;
        QTest::newRow("8-bit mono") << bytes(wave(1, 1, 8000, 8, std::string("\x80\xFF\x00", 3))) << true << 3 << 0;
        QTest::newRow("a chunk before fmt") << bytes(wave(1, 1, 22050, 16, pcm16, true)) << true << 3 << 1000;
        QTest::newRow("stereo frames") << bytes(wave(1, 2, 44100, 16, pcm16 + le16(4))) << true << 4 << 1000;
        QTest::newRow("not PCM") << bytes(wave(3, 1, 22050, 32, std::string(8, '\0'))) << false << 0 << 0;
        QTest::newRow("24-bit") << bytes(wave(1, 1, 22050, 24, std::string(6, '\0'))) << false << 0 << 0;
        QTest::newRow("no data chunk") << bytes(wave(1, 1, 22050, 16, "").substr(0, 36)) << false << 0 << 0;
        QTest::newRow("not a wave") << QByteArray("GIF89a and more") << false << 0 << 0;
        QTest::newRow("data longer than the file")
            << bytes(wave(1, 1, 22050, 16, pcm16).substr(0, 46)) << false << 0 << 0;
        QTest::newRow("empty") << QByteArray() << false << 0 << 0;
    }

    void parse()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, ok);
        QFETCH(int, samples);
        QFETCH(int, first);
        const auto clip = WaveClip::parse(std::string_view(file.constData(), file.size()));
        QCOMPARE(bool(clip), ok);
        if (!ok)
            return;
        QCOMPARE(int(clip->samples.size()), samples);
        QCOMPARE(int(clip->samples[0]), first);
    }

    // Damaged files of every length are refused or read, never a crash.
    void cutAtEveryOffset()
    {
        QFile file(QStringLiteral(":/sounds/wave1.wav"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray whole = file.readAll();
        for (qsizetype size = 0; size < 60; ++size)
            WaveClip::parse(std::string_view(whole.constData(), static_cast<std::size_t>(size)));
        QVERIFY(WaveClip::parse(std::string_view(whole.constData(), static_cast<std::size_t>(whole.size()))));
    }

    void conversionKeepsTheLength()
    {
        WaveClip clip;
        clip.sampleRate = 22050;
        clip.channels = 1;
        clip.samples.assign(2205, 7);
        const WaveClip stereo48 = clip.converted(48000, 2);
        QCOMPARE(int(stereo48.samples.size()), 4800 * 2);
        QCOMPARE(int(stereo48.samples.back()), 7);
    }

    void setsTakeTheirWaves_data()
    {
        QTest::addColumn<int>("soundSet");
        QTest::addColumn<QList<int>>("waves");
        QTest::newRow("typewriter") << 0 << QList<int> { 1, 2, 3, 4 };
        QTest::newRow("electronic") << 1 << QList<int> { 5, 6, 7, 8 };
    }

    void setsTakeTheirWaves()
    {
        QFETCH(int, soundSet);
        QFETCH(QList<int>, waves);
        KeySounds sounds;
        QCOMPARE(sounds.load(soundSet), QList<int>());
        QList<int> loaded;
        for (int clip = 1; clip <= 4; ++clip)
            loaded << sounds.waveOf(clip);
        QCOMPARE(loaded, waves);
        sounds.play(4);
        QCOMPARE(sounds.lastWavePlayed(), waves[3]);
        sounds.release();
        QVERIFY(!sounds.isLoaded(1));
    }

    void allClipsAreShortStandardWaves()
    {
        for (int wave = 1; wave <= 8; ++wave) {
            QFile file(QStringLiteral(":/sounds/wave%1.wav").arg(wave));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const auto clip = WaveClip::parse(std::string_view(bytes.constData(), bytes.size()));
            QVERIFY(clip);
            const double seconds = double(clip->samples.size()) / clip->channels / clip->sampleRate;
            QVERIFY2(seconds > 0.02 && seconds < 0.6, qPrintable(QString::number(seconds)));
        }
    }
};

QTEST_MAIN(TestKeySounds)
#include "tst_keysounds.moc"
