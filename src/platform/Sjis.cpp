#include "platform/Sjis.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace rahmen {

namespace {

// One conversion descriptor per direction and thread: iconv descriptors keep
// shift state and must not be shared between threads, and opening one per call
// would cost more than most of the conversions themselves.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("文字コード変換を開けません: ") + from + " → " +
                                     to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; on a sequence that cannot be converted, appends
    // `replacement`, skips the bytes that `badLength` says belong to it and
    // goes on.
    template <class BadLength>
    std::string run(std::string_view in, std::string_view replacement, BadLength badLength) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.resize(in.size() * 2 + 16);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        std::size_t used = 0;
        while (srcLeft > 0) {
            char* dst = out.data() + used;
            std::size_t dstLeft = out.size() - used;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            used = out.size() - dstLeft;
            if (r != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
            } else if (errno == EILSEQ) {
                out.resize(used);
                out.append(replacement);
                used = out.size();
                out.resize(used + srcLeft * 2 + 16);
                std::size_t skip = badLength(reinterpret_cast<const unsigned char*>(src), srcLeft);
                src += skip;
                srcLeft -= skip;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            } else { // EINVAL: the input ends inside a character
                out.resize(used);
                out.append(replacement);
                used = out.size();
                srcLeft = 0;
            }
        }
        out.resize(used);
        return out;
    }

private:
    iconv_t cd_;
};

bool isAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// Length of the malformed or unmappable UTF-8 character at `p`: its lead byte
// and the continuation bytes that follow it, at least one byte.
std::size_t utf8BadLength(const unsigned char* p, std::size_t left) {
    std::size_t want = 1;
    if (p[0] >= 0xC0 && p[0] <= 0xDF)
        want = 2;
    else if (p[0] >= 0xE0 && p[0] <= 0xEF)
        want = 3;
    else if (p[0] >= 0xF0 && p[0] <= 0xF7)
        want = 4;
    std::size_t n = 1;
    while (n < want && n < left && (p[n] & 0xC0) == 0x80)
        ++n;
    return n;
}

// Length of the invalid CP932 character at `p`: a lead byte takes a following
// byte in the second-byte range with it.
std::size_t cp932BadLength(const unsigned char* p, std::size_t left) {
    bool lead = (p[0] >= 0x81 && p[0] <= 0x9F) || (p[0] >= 0xE0 && p[0] <= 0xFC);
    if (lead && left >= 2 && p[1] >= 0x40 && p[1] <= 0xFC && p[1] != 0x7F) return 2;
    return 1;
}

} // namespace

std::string utf8ToCp932(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    thread_local Converter toCp932("CP932", "UTF-8");
    return toCp932.run(utf8, "?", utf8BadLength);
}

std::string cp932ToUtf8(std::string_view cp932) {
    if (isAscii(cp932)) return std::string(cp932);
    thread_local Converter toUtf8("UTF-8", "CP932");
    return toUtf8.run(cp932, "\xEF\xBF\xBD", cp932BadLength);
}

std::size_t cp932Width(std::string_view utf8) {
    if (isAscii(utf8)) return utf8.size();
    return utf8ToCp932(utf8).size();
}

} // namespace rahmen
