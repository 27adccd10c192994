#include "vocab/ListLoader.h"

#include "codec/Codec.h"
#include "codec/Utf8.h"
#include "vocab/ByteScan.h"
#include "vocab/ListFile.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <new>
#include <optional>
#include <string>

namespace vocab {

namespace {

constexpr char kCtrlZ = '\x1A';

bool isWhiteOrCtrlZ(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == kCtrlZ;
}

ListFailure tooLarge(std::size_t list) {
    return listFailure(list, FailureKind::TooLarge);
}

// Where a piece of UTF-16 that was read up to its end or not (more) may be
// cut: never between the halves of a pair, nor inside a code unit.
std::size_t utf16Cut(std::string_view bytes, bool little, bool more) {
    const std::size_t even = bytes.size() & ~std::size_t{1};
    if (!more || even < 4) {
        return more ? even : bytes.size();
    }
    const auto a = static_cast<unsigned char>(bytes[even - 2]);
    const auto b = static_cast<unsigned char>(bytes[even - 1]);
    const unsigned last = little ? (a | b << 8) : (a << 8 | b);
    return last >= 0xD800 && last <= 0xDBFF ? even - 2 : even;
}

// Room asked for ahead, for the largest conversion; where the system will
// not give it, text grows as the conversion needs.
void reserveIfCan(Bytes& text, std::size_t size) {
    try {
        text.reserve(size);
    } catch (const std::bad_alloc&) {
    }
}

// Appends converted to text, whose list began at begin, unless the list
// would pass room; grows text by half again at most, never past the limit.
bool appendPiece(const std::string& converted, std::size_t begin, std::size_t room, Bytes& text) {
    if (converted.size() > room - (text.size() - begin)) {
        return false;
    }
    if (text.capacity() - text.size() < converted.size()) {
        text.reserve(std::min(begin + room, std::max(text.size() + converted.size(),
                                                     text.capacity() + text.capacity() / 2)));
    }
    text.insert(text.end(), converted.begin(), converted.end());
    return true;
}

// Reads up to n bytes, fewer only at the end, or -1 on an error with errno set.
using ReadPiece = std::function<std::ptrdiff_t(char* buffer, std::size_t n)>;

// A UTF-16 list converted a piece at a time onto the end of text as it is
// read, raw bytes of it already read before: the raw list is never held
// whole here, and memory is the converted text and two pieces.
std::optional<ListFailure> convertUtf16(const ReadPiece& read, std::size_t raw, std::size_t list,
                                        std::size_t room, bool little, std::size_t piece,
                                        Bytes& text) {
    const codec::Unicode form = little ? codec::Unicode::Utf16LE : codec::Unicode::Utf16BE;
    const std::size_t begin = text.size();
    std::string buffer;
    for (bool more = true; more;) {
        const std::size_t carried = buffer.size();
        buffer.resize(std::max(piece, carried + 4));
        const std::ptrdiff_t n = read(buffer.data() + carried, buffer.size() - carried);
        if (n < 0) {
            const int error = errno;
            return listFailure(list, FailureKind::Unreadable, error != 0 ? error : EIO);
        }
        raw += static_cast<std::size_t>(n);
        if (raw > room) {
            return tooLarge(list); // it grew past its size
        }
        more = carried + static_cast<std::size_t>(n) == buffer.size();
        buffer.resize(carried + static_cast<std::size_t>(n));
        const std::size_t cut = utf16Cut(buffer, little, more);
        if (!appendPiece(codec::fromUnicode(std::string_view(buffer).substr(0, cut), form), begin,
                         room, text)) {
            return tooLarge(list);
        }
        buffer.erase(0, cut);
    }
    return std::nullopt;
}

// A list without a mark is read whole first, as it must be to tell UTF-8 or
// UTF-16 from GBK (which stays as read, with no copy). It is then converted a
// piece at a time into a buffer of its own and copied over its raw bytes: at
// most the raw list and its conversion are held, the conversion stops as soon
// as it passes the limit, and afterwards text holds no more than the larger
// of the two.
std::optional<ListFailure> convertRead(std::size_t list, std::size_t begin, std::size_t mark,
                                       std::size_t room, std::size_t piece, ListEncoding encoding,
                                       Bytes& text) {
    const std::string_view raw(text.data() + begin + mark, text.size() - begin - mark);
    Bytes out;
    reserveIfCan(out, std::min(room, 2 * raw.size())); // two bytes become at most four
    if (encoding == ListEncoding::Utf8) {
        for (std::size_t at = 0; at < raw.size();) {
            // Never 0: a piece is at least four bytes, a character's most.
            const std::size_t cut = codec::utf8::cutBefore(raw.substr(at), piece);
            if (!appendPiece(codec::fromUnicode(raw.substr(at, cut), codec::Unicode::Utf8), 0, room,
                             out)) {
                return tooLarge(list);
            }
            at += cut;
        }
    } else {
        std::size_t at = 0;
        const ReadPiece fromRaw = [&](char* buffer, std::size_t n) {
            const std::string_view got = raw.substr(at, n);
            std::copy(got.begin(), got.end(), buffer);
            at += got.size();
            return static_cast<std::ptrdiff_t>(got.size());
        };
        if (auto failure = convertUtf16(fromRaw, 0, list, room, encoding == ListEncoding::Utf16LE,
                                        piece, out)) {
            return failure;
        }
    }
    text.resize(begin);
    text.insert(text.end(), out.begin(), out.end());
    return std::nullopt;
}

std::optional<ListFailure> read(ListFile& file, std::size_t list, std::size_t room,
                                std::size_t piece, Bytes& text) {
    const std::size_t begin = text.size();
    if (file.size() > room) {
        return tooLarge(list);
    }
    // Two bytes tell a UTF-16 list, which is converted as it is read.
    text.resize(begin + 2);
    const std::ptrdiff_t n = file.read(text.data() + begin, 2);
    if (n < 0) {
        const int error = errno;
        return listFailure(list, FailureKind::Unreadable, error != 0 ? error : EIO);
    }
    if (static_cast<std::size_t>(n) > room) {
        return tooLarge(list); // it grew past its size
    }
    text.resize(begin + static_cast<std::size_t>(n));
    const std::string_view mark(text.data() + begin, text.size() - begin);
    if (mark == "\xFF\xFE" || mark == "\xFE\xFF") {
        const bool little = mark[0] == '\xFF';
        text.resize(begin);
        // A code unit's two bytes take at most four as GB18030: with room for
        // that from the start, text does not move while the list is converted,
        // and the pages it does not fill are never touched.
        const auto most = static_cast<std::size_t>(std::min<std::uintmax_t>(room, 2 * file.size()));
        reserveIfCan(text, begin + most + piece);
        return convertUtf16([&](char* buffer, std::size_t size) { return file.read(buffer, size); },
                            2, list, room, little, piece, text);
    }
    if (auto failure = file.readRest(room - (text.size() - begin), text)) {
        return failure;
    }
    const DetectedEncoding detected =
        detectEncoding(std::string_view(text.data() + begin, text.size() - begin));
    if (detected.encoding == ListEncoding::Gbk) {
        return std::nullopt;
    }
    return convertRead(list, begin, detected.markSize, room, piece, detected.encoding, text);
}

// UTF-16 saved without a mark: in the list's first few KiB most code units
// have a zero byte, on the same side (the high byte of ASCII), and next to
// none the other way round (一 is 4E 00). GBK and UTF-8 text has no zero
// byte at all.
std::optional<ListEncoding> unmarkedUtf16(std::string_view bytes) {
    constexpr std::size_t kSample = 4096;
    const std::string_view sample =
        bytes.substr(0, std::min(bytes.size(), kSample) & ~std::size_t{1});
    std::size_t zeroOdd = 0, zeroEven = 0;
    for (std::size_t i = 0; i < sample.size(); i += 2) {
        const bool even = sample[i] == '\0', odd = sample[i + 1] == '\0';
        zeroOdd += odd && !even;
        zeroEven += even && !odd;
    }
    const std::size_t units = sample.size() / 2;
    if (zeroOdd > 0 && 2 * zeroOdd >= units && zeroEven <= zeroOdd / 8) {
        return ListEncoding::Utf16LE;
    }
    if (zeroEven > 0 && 2 * zeroEven >= units && zeroOdd <= zeroEven / 8) {
        return ListEncoding::Utf16BE;
    }
    return std::nullopt;
}

} // namespace

DetectedEncoding detectEncoding(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return {ListEncoding::Utf8, 3};
    }
    if (bytes.starts_with("\xFF\xFE")) {
        return {ListEncoding::Utf16LE, 2};
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return {ListEncoding::Utf16BE, 2};
    }
    if (const std::optional<ListEncoding> utf16 = unmarkedUtf16(bytes)) {
        return {*utf16, 0};
    }
    const bool high = std::any_of(bytes.begin(), bytes.end(),
                                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return {high && codec::isUtf8(bytes) ? ListEncoding::Utf8 : ListEncoding::Gbk, 0};
}

std::optional<ListFailure> loadList(const std::filesystem::path& path, std::size_t list,
                                    std::size_t limit, Bytes& text,
                                    std::vector<IgnoredTail>& ignored, std::vector<NulBytes>& nuls,
                                    std::size_t piece) {
    ListFile file;
    if (auto failure = file.open(path, list)) {
        return failure;
    }
    const std::size_t begin = text.size();
    const std::size_t room = limit > begin ? limit - begin : 0;
    try {
        if (auto failure = read(file, list, room, std::max<std::size_t>(piece, 4), text)) {
            text.resize(begin);
            return failure;
        }
        // Ctrl-Z ends a list, as it ends a file read in text mode.
        const char* const end = text.data() + text.size();
        const char* const found = findByte(text.data() + begin, end, kCtrlZ);
        if (found != end) {
            const auto ctrlZ = text.begin() + (found - text.data());
            if (!std::all_of(ctrlZ + 1, text.end(), isWhiteOrCtrlZ)) {
                ignored.push_back({list, static_cast<std::size_t>(text.end() - ctrlZ - 1)});
            }
            text.erase(ctrlZ, text.end());
        }
        // Zero bytes are no text of any list: the encoding was not told.
        if (const std::size_t zeros =
                countByte(text.data() + begin, text.data() + text.size(), '\0')) {
            nuls.push_back({list, zeros});
        }
    } catch (const std::bad_alloc&) {
        text.resize(begin);
        return outOfMemory(list);
    }
    return std::nullopt;
}

} // namespace vocab
