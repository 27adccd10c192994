#include "codec/Codec.h"

#include "codec/Gb18030FourByte.h"
#include "codec/Utf8.h"

#include <algorithm>
#include <windows.h>

namespace codec {

namespace {

constexpr UINT kGb18030 = 54936;
constexpr UINT kGbk = 936;
constexpr wchar_t kReplacement = 0xFFFD;
constexpr char kReplacementByte = '\xFF';

unsigned byteAt(std::string_view s, std::size_t i) {
    return i < s.size() ? static_cast<unsigned char>(s[i]) : 0x100;
}

bool between(unsigned b, unsigned low, unsigned high) {
    return b >= low && b <= high;
}

// The length of the GB18030 character that begins at i by its byte pattern
// alone, 0 when none does. Whether the system knows the character is the
// conversion's business.
std::size_t gbLength(std::string_view s, std::size_t i) {
    const unsigned lead = byteAt(s, i);
    if (lead < 0x80) {
        return 1;
    }
    if (!between(lead, 0x81, 0xFE)) {
        return 0;
    }
    const unsigned second = byteAt(s, i + 1);
    if (between(second, 0x40, 0x7E) || between(second, 0x80, 0xFE)) {
        return 2;
    }
    if (between(second, 0x30, 0x39) && between(byteAt(s, i + 2), 0x81, 0xFE) &&
        between(byteAt(s, i + 3), 0x30, 0x39)) {
        return 4;
    }
    return 0;
}

int toInt(std::size_t n) {
    return static_cast<int>(std::min<std::size_t>(n, 0x7FFFFFFF));
}

// Converts bytes of code page cp onto the end of out; false, and out as it
// was, when the system finds a byte sequence it does not know. Inputs here
// are runs the callers have cut to fit an int.
bool appendWide(UINT cp, std::string_view bytes, std::wstring& out) {
    if (bytes.empty()) {
        return true;
    }
    const int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(), toInt(bytes.size()),
                                      nullptr, 0);
    if (n <= 0) {
        return false;
    }
    const std::size_t used = out.size();
    out.resize(used + static_cast<std::size_t>(n));
    MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(), toInt(bytes.size()),
                        out.data() + used, n);
    return true;
}

void appendNarrow(UINT cp, std::wstring_view wide, std::string& out) {
    if (wide.empty()) {
        return;
    }
    const int n =
        WideCharToMultiByte(cp, 0, wide.data(), toInt(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        return;
    }
    const std::size_t used = out.size();
    out.resize(used + static_cast<std::size_t>(n));
    WideCharToMultiByte(cp, 0, wide.data(), toInt(wide.size()), out.data() + used, n, nullptr,
                        nullptr);
}

constexpr std::size_t kRun = std::size_t{1} << 20;

// Windows has had GB18030 as code page 54936 since Windows 2000; Wine 8 has
// no such code page. There the codec is code page 936 (GBK, the two-byte
// part) with the four-byte part from Gb18030FourByte.
bool systemKnowsGb18030() {
    static const bool known = IsValidCodePage(kGb18030) != 0;
    return known;
}

// GB18030 moved the euro sign off the single byte 0x80 that code page 936
// gives it, to a two-byte code: a matter of 936, so it stays here.
constexpr char32_t kEuro = 0x20AC;
constexpr std::string_view kEuroGb18030 = "\xA2\xE3";

void appendCodePoint(char32_t cp, std::wstring& out) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(cp));
    }
}

// One character by pattern, decoded without code page 54936; false when it
// is no character.
bool decodeWithoutSystem(std::string_view c, std::wstring& out) {
    if (c.size() == 4) {
        const char32_t cp = gb18030::decodeFourBytes(c);
        if (cp != 0) {
            appendCodePoint(cp, out);
        }
        return cp != 0;
    }
    if (c == kEuroGb18030) {
        out.push_back(static_cast<wchar_t>(kEuro));
        return true;
    }
    return appendWide(kGbk, c, out);
}

// One character, encoded without code page 54936: the four-byte codes by
// arithmetic, the two-byte ones by code page 936. Above the plane every
// character takes its four-byte code: the few that have a two-byte code too
// would read back through 936 as other characters, and the four-byte one
// decodes here and in iconv alike. A two-byte code that 936 lacks (a few
// GB18030 added later) becomes U+FFFD's code rather than another
// character's.
void encodeWithoutSystem(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
        return;
    }
    if (cp >= 0x10000) {
        gb18030::appendAbovePlane(cp, out);
        return;
    }
    if (gb18030::appendFourBytes(cp, out)) {
        return;
    }
    if (cp == kEuro) {
        out.append(kEuroGb18030);
        return;
    }
    const auto unit = static_cast<wchar_t>(cp);
    char two[2];
    BOOL defaulted = FALSE;
    if (WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, &unit, 1, two, 2, nullptr, &defaulted) ==
            2 &&
        !defaulted) {
        out.append(two, 2);
        return;
    }
    gb18030::appendFourBytes(kReplacement, out);
}

void encodeGb18030(std::wstring_view wide, std::string& out) {
    if (systemKnowsGb18030()) {
        appendNarrow(kGb18030, wide, out);
        return;
    }
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = wide[i];
        if (IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[++i] - 0xDC00u);
        }
        encodeWithoutSystem(cp, out);
    }
}

// Decodes a run of whole GB18030 characters (by pattern); when the system
// refuses the run, character by character, so that one unknown character
// costs one replacement and no more than its own bytes are looked at again.
void decodeRun(std::string_view run, std::wstring& out) {
    const bool system = systemKnowsGb18030();
    if (system && appendWide(kGb18030, run, out)) {
        return;
    }
    for (std::size_t i = 0; i < run.size();) {
        const std::size_t length = std::max<std::size_t>(gbLength(run, i), 1);
        const std::string_view c = run.substr(i, length);
        if (system ? appendWide(kGb18030, c, out) : decodeWithoutSystem(c, out)) {
            i += length;
        } else {
            out.push_back(kReplacement);
            ++i; // resynchronise on the next byte
        }
    }
}

std::wstring decodeGb18030(std::string_view gb18030) {
    std::wstring out;
    out.reserve(gb18030.size());
    std::size_t begin = 0;
    std::size_t i = 0;
    while (i < gb18030.size()) {
        const std::size_t length = gbLength(gb18030, i);
        if (length == 0 || i - begin >= kRun) {
            decodeRun(gb18030.substr(begin, i - begin), out);
            begin = i;
            if (length == 0) {
                out.push_back(kReplacement);
                begin = ++i;
            }
            continue;
        }
        i += length;
    }
    decodeRun(gb18030.substr(begin), out);
    return out;
}

// Encodes UTF-16 runs onto the end of a GB18030 text.
class Encoder {
public:
    void add(wchar_t unit) {
        if (m_run.size() >= kRun && !IS_LOW_SURROGATE(unit)) {
            flush();
        }
        m_run.push_back(unit);
    }
    void addUtf8(std::string_view valid) {
        flush();
        appendWide(CP_UTF8, valid, m_run);
        flush();
    }
    // Stands for one byte or code unit that is not part of a character.
    void addBad() {
        flush();
        m_out.push_back(kReplacementByte);
    }
    std::string finish() {
        flush();
        return std::move(m_out);
    }

private:
    void flush() {
        encodeGb18030(m_run, m_out);
        m_run.clear();
    }

    std::wstring m_run;
    std::string m_out;
};

// Well-formed UTF-16 as UTF-8, a run at a time.
std::string wideToUtf8(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size() * 3 / 2);
    for (std::size_t i = 0; i < wide.size();) {
        std::size_t n = std::min(kRun, wide.size() - i);
        if (i + n < wide.size() && IS_HIGH_SURROGATE(wide[i + n - 1])) {
            --n; // never between the halves of a pair
        }
        appendNarrow(CP_UTF8, wide.substr(i, n), out);
        i += n;
    }
    return out;
}

} // namespace

std::u16string toUtf16(std::string_view gb18030) {
    const std::wstring wide = decodeGb18030(gb18030);
    return std::u16string(wide.begin(), wide.end());
}

std::string toUtf8(std::string_view gb18030) {
    if (utf8::isAscii(gb18030)) {
        return std::string(gb18030);
    }
    return wideToUtf8(decodeGb18030(gb18030));
}

std::optional<std::string> fromUtf8(std::string_view utf8) {
    if (utf8::isAscii(utf8)) {
        return std::string(utf8);
    }
    if (!isUtf8(utf8)) {
        return std::nullopt;
    }
    return fromUnicode(utf8, Unicode::Utf8);
}

std::string fromUnicode(std::string_view text, Unicode form) {
    if (form == Unicode::Utf8 && utf8::isAscii(text)) {
        return std::string(text);
    }
    Encoder encoder;
    if (form == Unicode::Utf8) {
        std::size_t begin = 0;
        std::size_t i = 0;
        while (i < text.size()) {
            const std::size_t length = utf8::length(text, i);
            if (length == 0 || i - begin >= kRun) {
                encoder.addUtf8(text.substr(begin, i - begin));
                if (length == 0) {
                    encoder.addBad();
                    ++i;
                }
                begin = i;
                continue;
            }
            i += length;
        }
        encoder.addUtf8(text.substr(begin));
        return encoder.finish();
    }
    const bool little = form == Unicode::Utf16LE;
    auto unit = [&](std::size_t k) -> unsigned {
        const auto a = static_cast<unsigned char>(text[2 * k]);
        const auto b = static_cast<unsigned char>(text[2 * k + 1]);
        return little ? (a | b << 8) : (a << 8 | b);
    };
    const std::size_t units = text.size() / 2;
    for (std::size_t k = 0; k < units; ++k) {
        const unsigned u = unit(k);
        if (between(u, 0xD800, 0xDBFF) && k + 1 < units && between(unit(k + 1), 0xDC00, 0xDFFF)) {
            encoder.add(static_cast<wchar_t>(u));
            encoder.add(static_cast<wchar_t>(unit(++k)));
        } else if (between(u, 0xD800, 0xDFFF)) {
            encoder.addBad();
        } else {
            encoder.add(static_cast<wchar_t>(u));
        }
    }
    if (text.size() % 2 != 0) {
        encoder.addBad();
    }
    return encoder.finish();
}

namespace {

// The units of a window's text with each lone surrogate made U+FFFD.
std::wstring wellFormed(std::u16string_view utf16) {
    std::wstring out(utf16.begin(), utf16.end());
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (IS_HIGH_SURROGATE(out[i]) && i + 1 < out.size() && IS_LOW_SURROGATE(out[i + 1])) {
            ++i;
        } else if (IS_HIGH_SURROGATE(out[i]) || IS_LOW_SURROGATE(out[i])) {
            out[i] = kReplacement;
        }
    }
    return out;
}

} // namespace

std::string fromUtf16(std::u16string_view utf16) {
    std::string out;
    encodeGb18030(wellFormed(utf16), out);
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    return wideToUtf8(wellFormed(utf16));
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::wstring wide;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = utf8::length(utf8, i);
        if (length == 0 || i - begin >= kRun) {
            appendWide(CP_UTF8, utf8.substr(begin, i - begin), wide);
            if (length == 0) {
                wide.push_back(kReplacement);
                ++i;
            }
            begin = i;
            continue;
        }
        i += length;
    }
    appendWide(CP_UTF8, utf8.substr(begin), wide);
    return std::u16string(wide.begin(), wide.end());
}

} // namespace codec
