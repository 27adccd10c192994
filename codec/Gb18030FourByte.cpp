#include "codec/Gb18030FourByte.h"

#include "codec/Gb18030Ranges.h"

#include <algorithm>
#include <iterator>

namespace codec::gb18030 {

namespace {

// The index of b0 b1 b2 b3: ((b0-0x81)*10+b1-0x30)*1260+(b2-0x81)*10+b3-0x30.
unsigned indexOf(std::string_view code) {
    auto b = [&](std::size_t k) { return static_cast<unsigned char>(code[k]); };
    return ((b(0) - 0x81u) * 10 + b(1) - 0x30u) * 1260 + (b(2) - 0x81u) * 10 + b(3) - 0x30u;
}

// Above the plane the codes follow the characters from this index, U+10000's.
const unsigned kAbovePlane = indexOf("\x90\x30\x81\x30");

void appendIndex(unsigned index, std::string& out) {
    char c[4];
    c[3] = static_cast<char>(0x30 + index % 10);
    index /= 10;
    c[2] = static_cast<char>(0x81 + index % 126);
    index /= 126;
    c[1] = static_cast<char>(0x30 + index % 10);
    c[0] = static_cast<char>(0x81 + index / 10);
    out.append(c, 4);
}

// The run of table that holds value by field, or none.
template <class Field>
const Run* runHolding(const Run* begin, const Run* end, unsigned value, Field field) {
    const Run* run =
        std::upper_bound(begin, end, value, [&](unsigned v, const Run& r) { return v < r.*field; });
    if (run == begin) {
        return nullptr;
    }
    --run;
    return value - run->*field < run->count ? run : nullptr;
}

} // namespace

bool appendFourBytes(char32_t c, std::string& out) {
    if (c >= 0x10000) {
        if (c > 0x10FFFF ||
            std::binary_search(std::begin(kTwoByteAbovePlane), std::end(kTwoByteAbovePlane), c)) {
            return false;
        }
        appendAbovePlane(c, out);
        return true;
    }
    const Run* run = runHolding(std::begin(kRunsByCharacter), std::end(kRunsByCharacter),
                                static_cast<unsigned>(c), &Run::first);
    if (!run) {
        return false;
    }
    appendIndex(run->index + static_cast<unsigned>(c - run->first), out);
    return true;
}

void appendAbovePlane(char32_t c, std::string& out) {
    appendIndex(kAbovePlane + static_cast<unsigned>(c - 0x10000), out);
}

char32_t decodeFourBytes(std::string_view code) {
    const unsigned index = indexOf(code);
    if (index >= kAbovePlane) {
        const char32_t c = 0x10000 + (index - kAbovePlane);
        return c <= 0x10FFFF ? c : 0;
    }
    const Run* run =
        runHolding(std::begin(kRunsByIndex), std::end(kRunsByIndex), index, &Run::index);
    return run ? static_cast<char32_t>(run->first + (index - run->index)) : 0;
}

} // namespace codec::gb18030
