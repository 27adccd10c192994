#pragma once

#include "lookup/Speech.h"

#include <windows.h>

struct ISpVoice;

// Speech through SAPI 5 on the window's thread: an English voice of the
// accent asked for (else any English voice), made when first asked to
// speak. Every request is asynchronous and stops the one before.
class SapiSpeech final : public lookup::SpeechEngine {
public:
    SapiSpeech();
    SapiSpeech(const SapiSpeech&) = delete;
    SapiSpeech& operator=(const SapiSpeech&) = delete;
    ~SapiSpeech() override;

    void speak(const lookup::Utterance& utterance) override;
    void stop() override;

private:
    bool ready(lookup::Accent accent);
    void fail(lookup::SpeechFailure failure) const;

    bool m_uninitialize = false;
    bool m_created = false; // CoCreateInstance was tried
    ISpVoice* m_voice = nullptr;
    bool m_hasVoice = false;
    lookup::Accent m_accent = lookup::Accent::British;
};
