#include "codec/Codec.h"
#include "codec/Utf8.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <iconv.h>

namespace codec {

namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD"; // U+FFFD
constexpr std::string_view kReplacementUtf16LE = "\xFD\xFF";  // U+FFFD
constexpr std::string_view kReplacementByte = "\xFF";

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(m_cd);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // What stands for a sequence that cannot be converted, and how many
    // bytes of it to skip; a skip of 0 stops the conversion.
    struct Bad {
        std::string_view replacement;
        std::size_t skip;
    };

    // Converts in onto the end of out; false when a bad sequence stopped it.
    // The output grows geometrically and every input byte is looked at once,
    // so the time is linear however many sequences are bad.
    bool convert(std::string_view in, std::string& out, Bad bad) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        // iconv's interface takes a non-const input pointer but never writes through it.
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        std::size_t used = out.size();
        out.resize(used + in.size() + in.size() / 2 + 16);
        bool complete = true;
        while (srcLeft > 0) {
            char* dst = out.data() + used;
            std::size_t dstLeft = out.size() - used;
            const std::size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            const int error = errno;
            used = out.size() - dstLeft;
            if (rc != static_cast<std::size_t>(-1)) {
                break;
            }
            if (error == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // EILSEQ, or EINVAL for a sequence cut off by the end.
            if (bad.skip == 0) {
                complete = false;
                break;
            }
            if (out.size() - used < bad.replacement.size()) {
                out.resize(out.size() * 2 + bad.replacement.size());
            }
            out.replace(used, bad.replacement.size(), bad.replacement);
            used += bad.replacement.size();
            const std::size_t skip = std::min(bad.skip, srcLeft);
            src += skip;
            srcLeft -= skip;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        out.resize(used);
        return complete;
    }

private:
    iconv_t m_cd;
};

constexpr Converter::Bad kStop{{}, 0};

// GB18030 decoded into the bytes of a Unicode form whose ASCII characters take
// width bytes, the low one first; a sequence that cannot be decoded becomes
// replacement. Where iconv has no GB18030, ASCII still decodes as itself.
std::string decode(Converter& decoder, std::string_view gb18030, std::string_view replacement,
                   std::size_t width) {
    std::string out;
    if (decoder.valid()) {
        decoder.convert(gb18030, out, Converter::Bad{replacement, 1});
        return out;
    }
    for (char c : gb18030) {
        if (static_cast<unsigned char>(c) < 0x80) {
            out += c;
            out.append(width - 1, '\0');
        } else {
            out.append(replacement);
        }
    }
    return out;
}

// The encoder to GB18030 from a Unicode form, one per thread.
Converter& encoderFrom(Unicode form) {
    thread_local Converter fromUtf8("GB18030", "UTF-8");
    thread_local Converter fromUtf16LE("GB18030", "UTF-16LE");
    thread_local Converter fromUtf16BE("GB18030", "UTF-16BE");
    return form == Unicode::Utf8 ? fromUtf8 : form == Unicode::Utf16LE ? fromUtf16LE : fromUtf16BE;
}

} // namespace

std::string toUtf8(std::string_view gb18030) {
    if (utf8::isAscii(gb18030)) {
        return std::string(gb18030);
    }
    thread_local Converter decoder("UTF-8", "GB18030");
    return decode(decoder, gb18030, kReplacementUtf8, 1);
}

std::u16string toUtf16(std::string_view gb18030) {
    std::u16string out;
    if (utf8::isAscii(gb18030)) {
        out.assign(gb18030.begin(), gb18030.end());
        return out;
    }
    thread_local Converter decoder("UTF-16LE", "GB18030");
    const std::string bytes = decode(decoder, gb18030, kReplacementUtf16LE, 2);
    out.resize(bytes.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return out;
}

std::optional<std::string> fromUtf8(std::string_view utf8) {
    if (utf8::isAscii(utf8)) {
        return std::string(utf8);
    }
    Converter& encoder = encoderFrom(Unicode::Utf8);
    std::string out;
    if (!encoder.valid() || !encoder.convert(utf8, out, kStop)) {
        return std::nullopt;
    }
    return out;
}

std::string fromUnicode(std::string_view text, Unicode form) {
    if (form == Unicode::Utf8 && utf8::isAscii(text)) {
        return std::string(text);
    }
    Converter& converter = encoderFrom(form);
    const std::size_t unit = form == Unicode::Utf8 ? 1 : 2;
    std::string out;
    out.reserve(text.size());
    if (converter.valid()) {
        converter.convert(text, out, Converter::Bad{kReplacementByte, unit});
    } else {
        out.assign(text.size() / unit, kReplacementByte[0]);
    }
    return out;
}

namespace {

// UTF-16 code units as the bytes of UTF-16LE, which iconv reads.
std::string littleEndianBytes(std::u16string_view utf16) {
    std::string bytes(utf16.size() * 2, '\0');
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        bytes[2 * i] = static_cast<char>(utf16[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(utf16[i] >> 8);
    }
    return bytes;
}

constexpr std::string_view kReplacementGb18030 = "\x84\x31\xA4\x37"; // U+FFFD

} // namespace

std::string fromUtf16(std::u16string_view utf16) {
    std::string out;
    if (std::all_of(utf16.begin(), utf16.end(), [](char16_t c) { return c < 0x80; })) {
        out.assign(utf16.begin(), utf16.end());
        return out;
    }
    Converter& encoder = encoderFrom(Unicode::Utf16LE);
    if (encoder.valid()) {
        encoder.convert(littleEndianBytes(utf16), out, Converter::Bad{kReplacementGb18030, 2});
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    thread_local Converter encoder("UTF-8", "UTF-16LE");
    std::string out;
    encoder.convert(littleEndianBytes(utf16), out, Converter::Bad{kReplacementUtf8, 2});
    return out;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    if (utf8::isAscii(utf8)) {
        out.assign(utf8.begin(), utf8.end());
        return out;
    }
    thread_local Converter decoder("UTF-16LE", "UTF-8");
    std::string bytes;
    decoder.convert(utf8, bytes, Converter::Bad{kReplacementUtf16LE, 1});
    out.resize(bytes.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return out;
}

} // namespace codec
