#pragma once

#include <string_view>

namespace lookup::text {

// Speech: the one notice of a run in which it cannot work, saying why and
// what to install.
#if defined(_WIN32)
inline constexpr std::string_view kNoSynthesizer =
    "无法朗读：本机没有 Windows 语音合成（SAPI 5）。";
inline constexpr std::string_view kNoVoice =
    "无法朗读：本机没有英语语音。请在“设置 → 时间和语言 → 语音”中添加英语（英国或美国）语音。";
#else
inline constexpr std::string_view kNoSynthesizer =
    "无法朗读：没有找到语音合成程序 espeak-ng。请安装它，例如：sudo apt install espeak-ng";
inline constexpr std::string_view kNoVoice =
    "无法朗读：espeak-ng 没有英语语音。请安装 espeak-ng-data。";
#endif
inline constexpr std::string_view kNoAudioDevice = "无法朗读：没有可以播放声音的设备。";
inline constexpr std::string_view kSpeechFailed = "无法朗读：语音合成程序出错。";

} // namespace lookup::text
