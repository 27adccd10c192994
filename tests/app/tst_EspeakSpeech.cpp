#include "app/EspeakSpeech.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using lookup::SpeechFailure;
using lookup::Utterance;

class tst_EspeakSpeech : public QObject {
    Q_OBJECT

    // Seconds of sound eSpeak makes for an utterance, as the engine asks.
    static double secondsOf(const Utterance& utterance) {
        QProcess espeak;
        espeak.start(QStringLiteral("espeak-ng"), EspeakSpeech::arguments(utterance));
        espeak.write(EspeakSpeech::input(utterance));
        espeak.closeWriteChannel();
        if (!espeak.waitForFinished(10000)) {
            return -1;
        }
        const QByteArray wav = espeak.readAllStandardOutput();
        const std::string_view bytes(wav.constData(), static_cast<std::size_t>(wav.size()));
        const std::optional<WavFormat> format = readWavHeader(bytes);
        return format ? format->seconds(bytes.size() - format->dataOffset) : -1;
    }

    // An executable shell script in dir.
    static QString script(const QTemporaryDir& dir, const QString& name, const QByteArray& body) {
        QFile file(dir.filePath(name));
        const bool written = file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n" + body);
        file.close();
        return written && file.setPermissions(QFile::ExeOwner | QFile::ReadOwner) ? file.fileName()
                                                                                  : QString();
    }

    // What the engine reports for one request, waiting at most a while.
    static std::optional<SpeechFailure> failureOf(EspeakSpeech& engine, const Utterance& u) {
        std::optional<SpeechFailure> failure;
        engine.onFailure = [&](SpeechFailure f) { failure = f; };
        engine.speak(u);
        (void)QTest::qWaitFor([&] { return failure.has_value(); }, 5000);
        return failure;
    }

private slots:
    // A word and the sounds of its transcription are each a word's length
    // of sound, and about the same length.
    void saysWordsAndSounds() {
        if (QStandardPaths::findExecutable(QStringLiteral("espeak-ng")).isEmpty()) {
            QSKIP("espeak-ng is not installed");
        }
        for (lookup::Accent accent : {lookup::Accent::British, lookup::Accent::American}) {
            const double word = secondsOf({Utterance::Kind::Word, "ship", accent});
            const double sounds = secondsOf({Utterance::Kind::Sounds, "5ip", accent});
            QVERIFY2(word > 0.2 && word < 1.5, qPrintable(QString::number(word)));
            QVERIFY2(sounds > 0.2 && sounds < 1.5, qPrintable(QString::number(sounds)));
            QVERIFY2(std::abs(word - sounds) < 0.3 * word, qPrintable(QString::number(sounds)));
        }
        // A word that looks like an option is still a word.
        QVERIFY(secondsOf({Utterance::Kind::Word, "-v", lookup::Accent::British}) > 0.1);
    }

    // A synthesizer that is missing or dies is a failure told once, and the
    // engine is ready for the next request.
    void failsWithoutHanging() {
        QTemporaryDir dir;
        const QString dies = script(dir, QStringLiteral("dies"), "kill -9 $$\n");
        const Utterance ship{Utterance::Kind::Word, "ship", lookup::Accent::British};

        EspeakSpeech missing(nullptr, dir.filePath(QStringLiteral("no-such-program")));
        QCOMPARE(failureOf(missing, ship), SpeechFailure::NoSynthesizer);
        EspeakSpeech killed(nullptr, dies);
        QCOMPARE(failureOf(killed, ship), SpeechFailure::Failed);
        QCOMPARE(failureOf(killed, ship), SpeechFailure::Failed);

        lookup::SpeechNotices notices;
        QVERIFY(notices.notice(SpeechFailure::NoSynthesizer)->find("espeak-ng") !=
                std::string::npos);
        QCOMPARE(notices.notice(SpeechFailure::Failed), std::nullopt);
    }

    // A request is said to its end whether the synthesizer ends before its
    // last samples have played or only after the device has fallen silent,
    // and so is a sound shorter than the device's buffer.
    void finishesWhicheverEndsFirst_data() {
        QTest::addColumn<int>("bytes"); // of samples, 44100 a second
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("program first") << 22050 << QByteArray();
        QTest::newRow("sound first") << 22050 << QByteArray("sleep 1.5\n");
        QTest::newRow("a tenth of a second") << 4410 << QByteArray();
    }
    void finishesWhicheverEndsFirst() {
        QFETCH(int, bytes);
        QFETCH(QByteArray, after);
        if (QMediaDevices::defaultAudioOutput().isNull()) {
            QSKIP("no sound device (with_null_sink.sh makes one)");
        }
        // Silence, its sizes left open as eSpeak leaves them.
        QByteArray wav =
            QByteArray::fromHex("52494646ffffffff57415645666d7420100000000100010022560000"
                                "44ac00000200100064617461ffffffff");
        wav += QByteArray(bytes, '\0');
        QTemporaryDir dir;
        QFile samples(dir.filePath(QStringLiteral("short.wav")));
        QVERIFY(samples.open(QIODevice::WriteOnly) && samples.write(wav) == wav.size());
        samples.close();
        EspeakSpeech engine(
            nullptr, script(dir, QStringLiteral("says"),
                            "cat '" + QFile::encodeName(samples.fileName()) + "'\n" + after));
        std::optional<SpeechFailure> failure;
        engine.onFailure = [&](SpeechFailure f) { failure = f; };
        QSignalSpy sounding(&engine, &EspeakSpeech::sounding);
        QSignalSpy finished(&engine, &EspeakSpeech::finished);
        engine.speak({Utterance::Kind::Word, "ship", lookup::Accent::British});
        QVERIFY(finished.wait(5000));
        QCOMPARE(sounding.size(), 1);
        QCOMPARE(failure, std::nullopt);
    }
};

QTEST_GUILESS_MAIN(tst_EspeakSpeech)
#include "tst_EspeakSpeech.moc"
