#pragma once

#include "app/WavStream.h"
#include "lookup/Speech.h"

#include <QAudio>
#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

class QAudioSink;
class QIODevice;

// Speech on Linux: eSpeak NG runs as a child process that writes WAV to its
// standard output, and the samples play through Qt Multimedia as they come.
// A separate program keeps eSpeak's global state and its licence out of the
// window, and one that hangs or crashes is killed without harm; eSpeak's own
// playback would fail silently without a sound server.
class EspeakSpeech : public QObject, public lookup::SpeechEngine {
    Q_OBJECT

public:
    explicit EspeakSpeech(QObject* parent = nullptr, QString program = QStringLiteral("espeak-ng"));
    ~EspeakSpeech() override;

    void speak(const lookup::Utterance& utterance) override;
    void stop() override;

    // The program's arguments and standard input for an utterance.
    [[nodiscard]] static QStringList arguments(const lookup::Utterance& utterance);
    [[nodiscard]] static QByteArray input(const lookup::Utterance& utterance);

    // A synthesizer that says nothing for this long has hung.
    static constexpr int kTimeoutMs = 10000;

signals:
    // The first samples of a request went to the sound device.
    void sounding();
    // A request has been said to its end.
    void finished();

private:
    void onOutput();
    void onProcessFinished(int exitCode, QProcess::ExitStatus status);
    void onProcessError(QProcess::ProcessError error);
    void feed();
    void fail(lookup::SpeechFailure failure);
    void endSink();
    void endIfPlayed(QAudio::State state);

    QString m_program;
    QProcess* m_process = nullptr;
    QAudioSink* m_sink = nullptr;
    QIODevice* m_device = nullptr;
    QByteArray m_pending;
    qsizetype m_fed = 0; // bytes of samples given to the device
    std::optional<WavFormat> m_format;
    bool m_synthesized = false; // the program has written every sample
    bool m_sounding = false;    // the first samples went to the device
    QTimer m_feeder;
    QTimer m_watchdog;
};
