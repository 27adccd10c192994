#include "app/EspeakSpeech.h"

#include "vocab/SoundReading.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

namespace {

// How often samples are handed on while the device wants more.
constexpr int kFeedMs = 5;
// A stream with this much and still no header is not WAVE.
constexpr qsizetype kMaxHeader = 4096;

} // namespace

EspeakSpeech::EspeakSpeech(QObject* parent, QString program)
    : QObject(parent), m_program(std::move(program)) {
    m_feeder.setInterval(kFeedMs);
    connect(&m_feeder, &QTimer::timeout, this, &EspeakSpeech::feed);
    m_watchdog.setSingleShot(true);
    m_watchdog.setInterval(kTimeoutMs);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        stop();
        fail(lookup::SpeechFailure::Failed);
    });
}

EspeakSpeech::~EspeakSpeech() {
    stop();
}

QStringList EspeakSpeech::arguments(const lookup::Utterance& utterance) {
    const QString voice = utterance.accent == lookup::Accent::American ? QStringLiteral("en-us")
                                                                       : QStringLiteral("en");
    return {QStringLiteral("-v"), voice, QStringLiteral("--stdout"), QStringLiteral("--stdin")};
}

QByteArray EspeakSpeech::input(const lookup::Utterance& utterance) {
    // Standard input, not an argument: a word that begins with "-" is no
    // option. Sounds go in eSpeak's phoneme brackets.
    const std::string text = utterance.kind == lookup::Utterance::Kind::Sounds
                                 ? "[[" + vocab::espeakPhonemes(utterance.text) + "]]"
                                 : utterance.text;
    return QByteArray::fromStdString(text) + '\n';
}

void EspeakSpeech::speak(const lookup::Utterance& utterance) {
    stop();
    m_process = new QProcess(this);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &EspeakSpeech::onOutput);
    connect(m_process, &QProcess::finished, this, &EspeakSpeech::onProcessFinished);
    connect(m_process, &QProcess::errorOccurred, this, &EspeakSpeech::onProcessError);
    QProcess* const process = m_process;
    process->start(m_program, arguments(utterance));
    if (m_process != process) {
        return; // it failed to start, and stop() has let it go already
    }
    process->write(input(utterance));
    process->closeWriteChannel();
    m_watchdog.start();
}

void EspeakSpeech::stop() {
    m_watchdog.stop();
    m_feeder.stop();
    if (m_process) {
        // Stop may come from one of the process's own signals: it goes
        // later, killed and quiet now.
        m_process->disconnect(this);
        m_process->kill();
        m_process->deleteLater();
        m_process = nullptr;
    }
    endSink();
    m_pending.clear();
    m_format.reset();
    m_fed = 0;
    m_synthesized = false;
    m_sounding = false;
}

void EspeakSpeech::endSink() {
    if (m_sink) {
        m_sink->stop();
        delete m_sink;
        m_sink = nullptr;
        m_device = nullptr;
    }
}

void EspeakSpeech::onOutput() {
    m_pending += m_process->readAllStandardOutput();
    if (!m_format) {
        m_format = readWavHeader(
            std::string_view(m_pending.constData(), static_cast<std::size_t>(m_pending.size())));
        if (!m_format) {
            if (m_pending.size() > kMaxHeader) {
                stop();
                fail(lookup::SpeechFailure::Failed);
            }
            return;
        }
        m_pending.remove(0, static_cast<qsizetype>(m_format->dataOffset));
        const QAudioDevice output = QMediaDevices::defaultAudioOutput();
        if (output.isNull()) {
            stop();
            fail(lookup::SpeechFailure::NoAudioDevice);
            return;
        }
        QAudioFormat format;
        format.setSampleRate(static_cast<int>(m_format->sampleRate));
        format.setChannelCount(m_format->channels);
        format.setSampleFormat(QAudioFormat::Int16);
        m_sink = new QAudioSink(output, format, this);
        connect(m_sink, &QAudioSink::stateChanged, this, &EspeakSpeech::endIfPlayed);
        m_device = m_sink->start();
        if (!m_device) {
            stop();
            fail(lookup::SpeechFailure::NoAudioDevice);
            return;
        }
        m_feeder.start();
    }
    feed();
}

void EspeakSpeech::feed() {
    if (!m_sink || !m_device) {
        return;
    }
    const qsizetype room = std::min<qsizetype>(m_sink->bytesFree(), m_pending.size());
    if (room > 0) {
        const qint64 written = m_device->write(m_pending.constData(), room);
        if (written > 0) {
            m_pending.remove(0, static_cast<qsizetype>(written));
            m_fed += static_cast<qsizetype>(written);
            if (!m_sounding) {
                m_sounding = true;
                m_watchdog.stop();
                emit sounding();
            }
        }
    }
}

void EspeakSpeech::onProcessFinished(int exitCode, QProcess::ExitStatus status) {
    const QByteArray errors = m_process->readAllStandardError();
    if (status != QProcess::NormalExit || exitCode != 0) {
        const bool noVoice = errors.contains("voice does not exist");
        stop();
        fail(noVoice ? lookup::SpeechFailure::NoVoice : lookup::SpeechFailure::Failed);
        return;
    }
    onOutput();
    m_synthesized = true;
    if (!m_format) {
        stop();
        fail(lookup::SpeechFailure::Failed);
        return;
    }
    if (m_sink) {
        // A sound server starts a stream once its buffer is full: a sound
        // shorter than that is made up with silence, or it would neither play
        // nor end.
        const qsizetype silence = m_sink->bufferSize() - (m_fed + m_pending.size());
        if (silence > 0) {
            m_pending.append(silence, '\0');
        }
        // The device may have played all it was given before the program
        // ended: it tells of no change then.
        endIfPlayed(m_sink->state());
    }
}

void EspeakSpeech::endIfPlayed(QAudio::State state) {
    // Idle once it has played all it was given: the end, when no more is to come.
    if (state == QAudio::IdleState && m_synthesized && m_pending.isEmpty()) {
        m_feeder.stop();
        m_synthesized = false;
        QTimer::singleShot(0, this, [this] {
            endSink();
            emit finished();
        });
    }
}

void EspeakSpeech::onProcessError(QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) {
        stop();
        fail(lookup::SpeechFailure::NoSynthesizer);
    }
}

void EspeakSpeech::fail(lookup::SpeechFailure failure) {
    // Told from the event loop, not from inside speak(): the window may show
    // a notice then.
    QTimer::singleShot(0, this, [this, failure] {
        if (onFailure) {
            onFailure(failure);
        }
    });
}
