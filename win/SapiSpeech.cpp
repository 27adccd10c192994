#include "win/SapiSpeech.h"

#include "codec/Codec.h"
#include "vocab/SoundReading.h"
#include "win/Text.h"

#include <array>
#include <sapi.h>

namespace {

// The first voice whose language is one of these, the accent's own first;
// SAPI's attribute query takes one language code at a time.
std::array<const wchar_t*, 8> englishLanguages(lookup::Accent accent) {
    const bool british = accent == lookup::Accent::British;
    return {british ? L"Language=809" : L"Language=409",
            british ? L"Language=409" : L"Language=809",
            L"Language=c09",
            L"Language=1009",
            L"Language=1409",
            L"Language=1809",
            L"Language=4009",
            L"Language=9"};
}

ISpObjectToken* englishVoice(lookup::Accent accent) {
    ISpObjectTokenCategory* category = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                                IID_ISpObjectTokenCategory, reinterpret_cast<void**>(&category)))) {
        return nullptr;
    }
    ISpObjectToken* token = nullptr;
    if (SUCCEEDED(category->SetId(SPCAT_VOICES, FALSE))) {
        for (const wchar_t* language : englishLanguages(accent)) {
            IEnumSpObjectTokens* tokens = nullptr;
            if (SUCCEEDED(category->EnumTokens(language, nullptr, &tokens)) && tokens) {
                if (tokens->Next(1, &token, nullptr) != S_OK) {
                    token = nullptr;
                }
                tokens->Release();
            }
            if (token) {
                break;
            }
        }
    }
    category->Release();
    return token;
}

// A SAPI XML attribute value holds no quote or angle bracket; phones are
// letters, digits and spaces.
std::wstring pronunciation(const std::string& code) {
    return L"<PRON SYM=\"" + wide(vocab::sapiPhones(code)) + L"\"/>";
}

} // namespace

SapiSpeech::SapiSpeech() {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_uninitialize = SUCCEEDED(init); // S_FALSE too: each success is undone once
}

SapiSpeech::~SapiSpeech() {
    stop();
    if (m_voice) {
        m_voice->Release();
    }
    if (m_uninitialize) {
        CoUninitialize();
    }
}

void SapiSpeech::fail(lookup::SpeechFailure failure) const {
    if (onFailure) {
        onFailure(failure);
    }
}

bool SapiSpeech::ready(lookup::Accent accent) {
    if (!m_created) {
        m_created = true;
        if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                    reinterpret_cast<void**>(&m_voice)))) {
            m_voice = nullptr;
        }
    }
    if (!m_voice) {
        fail(lookup::SpeechFailure::NoSynthesizer);
        return false;
    }
    if (!m_hasVoice || accent != m_accent) {
        ISpObjectToken* token = englishVoice(accent);
        if (!token) {
            fail(lookup::SpeechFailure::NoVoice);
            return false;
        }
        const HRESULT set = m_voice->SetVoice(token);
        token->Release();
        if (FAILED(set)) {
            fail(lookup::SpeechFailure::Failed);
            return false;
        }
        m_hasVoice = true;
        m_accent = accent;
    }
    return true;
}

void SapiSpeech::speak(const lookup::Utterance& utterance) {
    if (!ready(utterance.accent)) {
        return;
    }
    const bool word = utterance.kind == lookup::Utterance::Kind::Word;
    const std::wstring text = word ? wide(utterance.text) : pronunciation(utterance.text);
    const DWORD flags =
        SPF_ASYNC | SPF_PURGEBEFORESPEAK | static_cast<DWORD>(word ? SPF_IS_NOT_XML : SPF_IS_XML);
    const HRESULT spoken = m_voice->Speak(text.c_str(), flags, nullptr);
    if (FAILED(spoken)) {
        // A voice object that cannot speak at all (Wine's) is no synthesizer.
        fail(spoken == E_NOTIMPL ? lookup::SpeechFailure::NoSynthesizer
                                 : lookup::SpeechFailure::Failed);
    }
}

void SapiSpeech::stop() {
    if (m_voice) {
        m_voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    }
}
