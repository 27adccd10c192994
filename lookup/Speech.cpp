#include "lookup/Speech.h"

#include "codec/Codec.h"
#include "lookup/Texts.h"
#include "vocab/EntryStore.h"
#include "vocab/IpaCode.h"

namespace lookup {

std::optional<Utterance> rowUtterance(const vocab::EntryStore& store, std::size_t row,
                                      Accent accent) {
    if (row >= store.size()) {
        return std::nullopt;
    }
    const std::string word = codec::toUtf8(vocab::trimmed(store[row].word));
    if (word.empty()) {
        return std::nullopt;
    }
    return Utterance{Utterance::Kind::Word, word, accent};
}

std::optional<Utterance> typedUtterance(std::u16string_view typed, Accent accent) {
    // IPA symbols say what the keys would: the box may hold either.
    const std::string code = vocab::ipaCode(codec::utf16ToUtf8(typed)).code;
    if (code.find_first_not_of(" '-,:.()") == std::string::npos) {
        return std::nullopt;
    }
    return Utterance{Utterance::Kind::Sounds, code, accent};
}

std::optional<std::string> SpeechNotices::notice(SpeechFailure failure) {
    if (m_told) {
        return std::nullopt;
    }
    m_told = true;
    switch (failure) {
    case SpeechFailure::NoSynthesizer:
        return std::string(text::kNoSynthesizer);
    case SpeechFailure::NoVoice:
        return std::string(text::kNoVoice);
    case SpeechFailure::NoAudioDevice:
        return std::string(text::kNoAudioDevice);
    case SpeechFailure::Failed:
        break;
    }
    return std::string(text::kSpeechFailed);
}

std::string_view accentName(Accent accent) {
    return accent == Accent::American ? "american" : "british";
}

Accent accentNamed(std::string_view name) {
    return name == "american" ? Accent::American : Accent::British;
}

} // namespace lookup
