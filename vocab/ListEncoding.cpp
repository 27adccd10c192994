#include "vocab/ListEncoding.h"

#include "codec/Codec.h"

#include <algorithm>

namespace vocab {

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
    const bool high = std::any_of(bytes.begin(), bytes.end(),
                                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return {high && codec::isUtf8(bytes) ? ListEncoding::Utf8 : ListEncoding::Gbk, 0};
}

} // namespace vocab
