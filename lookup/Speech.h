#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vocab {
class EntryStore;
}

namespace lookup {

// ECDICT's transcriptions are mainly British; the learner may choose.
enum class Accent { British, American };

// What a learner asks to hear: a word, read as text, or the sounds of a
// transcription in the keyboard code, read sound by sound.
struct Utterance {
    enum class Kind { Word, Sounds };
    Kind kind = Kind::Word;
    std::string text; // Word: UTF-8; Sounds: the keyboard code
    Accent accent = Accent::British;
    bool operator==(const Utterance&) const = default;
};

// The word of a row; nothing for a row out of range or without a word.
[[nodiscard]] std::optional<Utterance> rowUtterance(const vocab::EntryStore& store, std::size_t row,
                                                    Accent accent);
// The box's text as sounds; nothing when it holds none.
[[nodiscard]] std::optional<Utterance> typedUtterance(std::u16string_view typed, Accent accent);

// Why speech did not work.
enum class SpeechFailure {
    NoSynthesizer, // no speech program or service at all
    NoVoice,       // no English voice
    NoAudioDevice, // nothing to play the sound on
    Failed,        // the synthesizer failed on the way
};

// The notice for the first failure of a run; later ones are quiet, so that
// a learner who cannot have sound is told once.
class SpeechNotices {
public:
    [[nodiscard]] std::optional<std::string> notice(SpeechFailure failure);

private:
    bool m_told = false;
};

// A platform's synthesizer. Speaking never blocks the window: speak returns
// at once, a new request stops the one still speaking, and stop (or the
// engine's end) silences it at once.
class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    virtual void speak(const Utterance& utterance) = 0;
    virtual void stop() = 0;

    // Called on the window's thread when a request cannot be spoken.
    std::function<void(SpeechFailure)> onFailure;
};

// The setting's name and values, the same on both platforms.
inline constexpr std::string_view kAccentSetting = "speech/accent";
[[nodiscard]] std::string_view accentName(Accent accent);
[[nodiscard]] Accent accentNamed(std::string_view name); // British unless "american"

} // namespace lookup
