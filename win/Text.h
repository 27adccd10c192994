#pragma once

#include "codec/Codec.h"

#include <windows.h>

#include <string>
#include <string_view>

// The lookup layer's texts, UTF-8 or UTF-16, as the system's wide strings:
// wchar_t is UTF-16 on Windows.
inline std::wstring wide(std::u16string_view utf16) {
    return std::wstring(utf16.begin(), utf16.end());
}
inline std::wstring wide(std::string_view utf8) {
    return wide(codec::utf8ToUtf16(utf8));
}

// A window's text as the lookup layer takes it.
inline std::u16string_view utf16(const std::wstring& text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

// A window's whole text.
inline std::wstring windowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}
