#include "codec/GbkCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

constexpr std::string_view kCodePage = "CP936";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// One conversion descriptor per direction, opened on first use.
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

    // Converts in onto the end of out. On a sequence that cannot be converted
    // it stops and returns how many bytes of in were consumed; otherwise
    // in.size().
    std::size_t convert(std::string_view in, std::string& out) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        // iconv's interface takes a non-const input pointer but never writes through it.
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        while (srcLeft > 0) {
            const std::size_t old = out.size();
            const std::size_t room = std::max<std::size_t>(srcLeft * 3, 16);
            out.resize(old + room);
            char* dst = out.data() + old;
            std::size_t dstLeft = room;
            const std::size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            const int error = errno;
            out.resize(old + (room - dstLeft));
            if (rc == static_cast<std::size_t>(-1) && error != E2BIG) {
                break;
            }
        }
        return in.size() - srcLeft;
    }

private:
    iconv_t m_cd;
};

Converter& decoder() {
    static Converter converter("UTF-8", kCodePage.data());
    return converter;
}

Converter& encoder() {
    static Converter converter(kCodePage.data(), "UTF-8");
    return converter;
}

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string GbkCodec::toUtf8(std::string_view gbk) {
    if (isAscii(gbk)) {
        return std::string(gbk);
    }
    std::string out;
    out.reserve(gbk.size() * 3 / 2 + 3);
    Converter& converter = decoder();
    while (!gbk.empty()) {
        const std::size_t done = converter.valid() ? converter.convert(gbk, out) : 0;
        gbk.remove_prefix(done);
        if (!gbk.empty()) {
            out.append(kReplacement);
            gbk.remove_prefix(1);
        }
    }
    return out;
}

std::optional<std::string> GbkCodec::fromUtf8(std::string_view utf8) {
    if (isAscii(utf8)) {
        return std::string(utf8);
    }
    Converter& converter = encoder();
    std::string out;
    out.reserve(utf8.size());
    if (!converter.valid() || converter.convert(utf8, out) != utf8.size()) {
        return std::nullopt;
    }
    return out;
}
