#include "model/TextFile.h"

#include "model/Limits.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace rahmen {

namespace {

bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool isTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Length of the CP932 character at `at`: two bytes for a lead byte followed by
// a valid second byte, else one. Second bytes are never blanks, commas,
// colons or line ends, so a broken pair cannot swallow a delimiter.
std::size_t cp932CharLength(std::string_view s, std::size_t at) {
    if (isLeadByte(static_cast<unsigned char>(s[at])) && at + 1 < s.size() &&
        isTrailByte(static_cast<unsigned char>(s[at + 1])))
        return 2;
    return 1;
}

// At most `limit` bytes of `s`, cut before a character that does not fit.
std::string cutToWidth(std::string_view s, std::size_t limit) {
    std::size_t end = 0;
    while (end < s.size()) {
        std::size_t n = cp932CharLength(s, end);
        if (end + n > limit) break;
        end += n;
    }
    return std::string(s.substr(0, end));
}

// Digits and decimal exponent of a number printed by std::to_chars in
// scientific form ("1.25e+01" → "125", 1).
struct Scientific {
    std::string digits;
    int exponent = 0;
};

Scientific splitScientific(std::string_view text) {
    Scientific s;
    std::size_t e = text.find('e');
    for (char c : text.substr(0, e))
        if (c >= '0' && c <= '9') s.digits.push_back(c);
    std::string_view exp = text.substr(e + 1);
    if (!exp.empty() && exp[0] == '+') exp.remove_prefix(1);
    std::from_chars(exp.data(), exp.data() + exp.size(), s.exponent);
    return s;
}

std::string exponentText(int exponent) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return buf;
}

// Ties are rounded away from zero: the magnitude is moved up by one unit in
// the last place before printing, which turns an exact tie (as every float
// value is when widened to double) into a value just above it.
double roundingMagnitude(double value) {
    double a = std::fabs(value);
    if (a == 0 || !(a < std::numeric_limits<double>::max())) return a;
    // The next double up: for a positive finite value, its bit pattern plus one.
    std::uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    ++bits;
    std::memcpy(&a, &bits, sizeof a);
    return a;
}

// The widest number field of a mask: the numbers are formed on the stack.
constexpr std::size_t kMaxFieldWidth = 256;

struct MaskField {
    std::size_t begin = 0; // first byte of the field in the mask
    std::size_t end = 0;   // one past its last byte
    int wholeDigits = 0;   // "#" before the point
    int decimals = 0;      // "#" after the point
    bool point = false;
    bool exponent = false; // "^^^^"

    std::size_t width() const {
        return static_cast<std::size_t>(wholeDigits) + (point ? 1 + decimals : 0) +
               (exponent ? 4 : 0);
    }
};

MaskField parseMask(std::string_view mask) {
    MaskField f;
    std::size_t i = 0;
    while (i < mask.size() &&
           !(mask[i] == '#' || (mask[i] == '.' && i + 1 < mask.size() && mask[i + 1] == '#')))
        ++i;
    if (i == mask.size())
        throw std::invalid_argument("mask without a number field: " + std::string(mask));
    f.begin = i;
    while (i < mask.size() && mask[i] == '#') {
        ++f.wholeDigits;
        ++i;
    }
    if (i < mask.size() && mask[i] == '.') {
        f.point = true;
        ++i;
        while (i < mask.size() && mask[i] == '#') {
            ++f.decimals;
            ++i;
        }
    }
    if (mask.substr(i, 4) == "^^^^") {
        f.exponent = true;
        i += 4;
    }
    f.end = i;
    if (f.width() > kMaxFieldWidth)
        throw std::invalid_argument("mask with a number field wider than " +
                                    std::to_string(kMaxFieldWidth) + ": " + std::string(mask));
    return f;
}

// Exact powers of ten as doubles.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// a (>= 0) × 10^k rounded to the nearest whole number, the way std::to_chars
// rounds: false when that cannot be told for sure from the product in double
// precision (|k| beyond the exact powers, a product of 10^9 or more, or one
// within a millionth of a tie); the caller then asks std::to_chars. The product
// has one rounding, below 10^9 an error under 10^-7.
bool roundedScaled(double a, int k, std::uint64_t& n) {
    if (k < -22 || k > 22) return false;
    const double s = k >= 0 ? a * kPowersOfTen[k] : a / kPowersOfTen[-k];
    if (!(s < 1e9)) return false;
    const double whole = std::floor(s);
    const double fraction = s - whole;
    if (std::fabs(fraction - 0.5) < 1e-6) return false;
    n = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    return true;
}

// The digits of n, at least `width` of them (leading zeros); returns the count.
int wholeDigits(std::uint64_t n, int width, char* out) {
    char rev[24];
    int count = 0;
    do {
        rev[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    while (count < width)
        rev[count++] = '0';
    for (int i = 0; i < count; ++i)
        out[i] = rev[count - 1 - i];
    return count;
}

// The text of std::to_chars(a, fixed, decimals) for a >= 0, formed directly
// where roundedScaled can.
std::size_t fixedText(double a, int decimals, char* buf, std::size_t room) {
    std::uint64_t n = 0;
    if (!roundedScaled(a, decimals, n)) {
        auto r = std::to_chars(buf, buf + room, a, std::chars_format::fixed, decimals);
        return static_cast<std::size_t>(r.ptr - buf);
    }
    char digits[24];
    const int count = wholeDigits(n, decimals + 1, digits);
    const int whole = count - decimals;
    std::memcpy(buf, digits, static_cast<std::size_t>(whole));
    if (decimals == 0) return static_cast<std::size_t>(whole);
    buf[whole] = '.';
    std::memcpy(buf + whole + 1, digits + whole, static_cast<std::size_t>(decimals));
    return static_cast<std::size_t>(count + 1);
}

// The significant digits and the decimal exponent of the first of them that
// std::to_chars(a, scientific, count - 1) gives for a > 0, formed directly
// for up to nine digits where roundedScaled can; false otherwise.
bool scientificDigits(double a, int count, char* digits, int& exponent) {
    if (count < 1 || count > 9) return false;
    // The decimal exponent from the binary one (at most one too small; the
    // loop below corrects it), log10 only for the tiniest values.
    std::uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    const int binary = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    int e = binary > -1000 ? static_cast<int>(std::floor(binary * 0.30102999566398120))
                           : static_cast<int>(std::floor(std::log10(a)));
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = count - 1 - e;
        if (k < -22 || k > 22) return false;
        const double s = k >= 0 ? a * kPowersOfTen[k] : a / kPowersOfTen[-k];
        if (s < kPowersOfTen[count - 1]) {
            --e;
            continue;
        }
        if (s >= kPowersOfTen[count]) {
            ++e;
            continue;
        }
        std::uint64_t n = 0;
        if (!roundedScaled(a, k, n)) return false;
        if (n == static_cast<std::uint64_t>(kPowersOfTen[count])) { // 9.9996 → 1.000E+01
            n /= 10;
            ++e;
        }
        wholeDigits(n, count, digits);
        exponent = e;
        return true;
    }
    return false;
}

// The number as the field lays it out, without padding, written to `out`
// (room for kBodyRoom bytes), its length returned: "-.5000", "124",
// "187000E-01". May be wider than the field. A report holds about a hundred
// thousand of them, so the digits are formed in place, without the heap.
constexpr std::size_t kBodyRoom = 2 * kMaxFieldWidth + 64;

std::size_t renderFixed(const MaskField& f, double value, char* out) {
    // Every value written is below 10^31: its whole digits, the point and the decimals.
    char buf[kMaxFieldWidth + 48];
    const std::size_t length = fixedText(roundingMagnitude(value), f.decimals, buf, sizeof buf);
    const std::string_view digits(buf, length);
    const std::size_t dot = digits.find('.');
    std::string_view whole = digits.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : digits.substr(dot + 1);

    bool nonZero = false;
    for (char c : digits)
        nonZero = nonZero || (c >= '1' && c <= '9');
    const bool negative = value < 0 && nonZero;
    // A whole part of 0 gives way to the sign or to a mask without whole digits.
    if (whole == "0" && (negative ? 2u : 1u) > static_cast<std::size_t>(f.wholeDigits))
        whole = std::string_view();
    char* o = out;
    if (negative) *o++ = '-';
    // std::copy, not memcpy: an empty part may have no data pointer at all.
    o = std::copy(whole.begin(), whole.end(), o);
    if (f.point) {
        *o++ = '.';
        o = std::copy(fraction.begin(), fraction.end(), o);
    }
    return static_cast<std::size_t>(o - out);
}

char* writeExponent(char* o, int exponent) {
    const int magnitude = std::abs(exponent);
    *o++ = 'E';
    *o++ = exponent < 0 ? '-' : '+';
    if (magnitude >= 100) *o++ = static_cast<char>('0' + magnitude / 100);
    *o++ = static_cast<char>('0' + magnitude / 10 % 10);
    *o++ = static_cast<char>('0' + magnitude % 10);
    return o;
}

std::size_t renderExponent(const MaskField& f, double value, char* out) {
    // One whole-digit position is kept for the sign.
    int whole = f.wholeDigits > 0 ? f.wholeDigits - 1 : 0;
    if (whole + f.decimals == 0) whole = 1;
    const int significant = whole + f.decimals;
    char* o = out;

    if (value == 0) {
        if (whole > 0) *o++ = '0';
        if (f.point) {
            *o++ = '.';
            std::memset(o, '0', static_cast<std::size_t>(f.decimals));
            o += f.decimals;
        }
        return static_cast<std::size_t>(writeExponent(o, 0) - out);
    }
    const double magnitude = roundingMagnitude(value);
    char digits[kMaxFieldWidth + 48];
    std::size_t count = static_cast<std::size_t>(significant);
    int exponent = 0;
    if (!scientificDigits(magnitude, significant, digits, exponent)) {
        char buf[kMaxFieldWidth + 48];
        auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                               significant - 1);
        const std::string_view text(buf, static_cast<std::size_t>(r.ptr - buf));
        const std::size_t e = text.find('e');
        count = 0;
        for (char c : text.substr(0, e))
            if (c >= '0' && c <= '9') digits[count++] = c;
        std::string_view exp = text.substr(e + 1);
        if (!exp.empty() && exp[0] == '+') exp.remove_prefix(1);
        std::from_chars(exp.data(), exp.data() + exp.size(), exponent);
    }

    if (value < 0) *o++ = '-';
    const std::size_t lead = std::min(count, static_cast<std::size_t>(whole));
    std::memcpy(o, digits, lead);
    o += lead;
    if (f.point) {
        *o++ = '.';
        std::memcpy(o, digits + lead, count - lead);
        o += count - lead;
    }
    return static_cast<std::size_t>(writeExponent(o, exponent - whole + 1) - out);
}

// Shortest decimal form of a float, BASIC style, without the sign position.
std::string shortestFloat(float value) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    Scientific s = splitScientific(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
    const std::string& d = s.digits;
    if (value == 0) return "0";
    if (s.exponent >= -5 && s.exponent < 7) {
        if (s.exponent < 0)
            return "." + std::string(static_cast<std::size_t>(-s.exponent - 1), '0') + d;
        std::size_t whole = static_cast<std::size_t>(s.exponent) + 1;
        if (d.size() <= whole) return d + std::string(whole - d.size(), '0');
        return d.substr(0, whole) + "." + d.substr(whole);
    }
    std::string m = d.substr(0, 1);
    if (d.size() > 1) m += "." + d.substr(1);
    return m + exponentText(s.exponent);
}

std::string twoDigits(int a, int b, int c, char separator) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d%c%02d%c%02d", a, separator, b, separator, c);
    return buf;
}

} // namespace

DataFileError::DataFileError(const std::string& fileName, int line, const std::string& problem)
    : std::runtime_error((fileName.empty() ? std::string() : fileName + " の ") +
                         std::to_string(line) + " 行目: " + problem),
      fileName_(fileName), line_(line) {}

// ---------------------------------------------------------------------------
// LineWriter

LineWriter::LineWriter(std::string fileName) : fileName_(std::move(fileName)) {}

namespace {

// Only numbers the readers take back are written: a file that could not be
// opened again would lose the frame.
std::string unwritable(double value) {
    return "数値として書けない値です（" + messageNumber(value) + "、絶対値は " + kLargestValueText +
           " まで）";
}

} // namespace

void LineWriter::separate(char first) {
    if (numberOpen_ && first != ' ') bytes_.push_back(' ');
    numberOpen_ = false;
}

void LineWriter::append(std::string_view cp932) {
    if (cp932.empty()) return;
    separate(cp932[0]);
    bytes_.append(cp932);
}

namespace {

// A text in CP932 with its line breaks made blanks. The writers repeat a few
// Japanese labels on every line of a list, so the last ones are kept.
const std::string& labelText(std::string_view utf8) {
    thread_local std::vector<std::pair<std::string, std::string>> known;
    // A list's lines repeat their labels in turn: the one after the last found first.
    thread_local std::size_t next = 0;
    for (std::size_t tried = 0; tried < known.size(); ++tried) {
        const std::size_t i = (next + tried) % known.size();
        if (known[i].first == utf8) {
            next = (i + 1) % known.size();
            return known[i].second;
        }
    }
    std::string s = utf8ToCp932(utf8);
    // CR and LF never occur as second bytes, so they can be replaced bytewise.
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    if (known.size() >= 32) known.erase(known.begin());
    known.emplace_back(std::string(utf8), std::move(s));
    return known.back().second;
}

} // namespace

LineWriter& LineWriter::text(std::string_view utf8) {
    bool plain = true;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\r' || c == '\n') plain = false;
    if (plain)
        append(utf8);
    else
        append(labelText(utf8));
    return *this;
}

LineWriter& LineWriter::itemText(std::string_view utf8) {
    // UTF-8 never has an ASCII byte inside a longer character.
    std::string safe;
    for (char c : utf8) {
        if (c == ',')
            safe += "，";
        else if (c == ':')
            safe += "：";
        else
            safe += c;
    }
    return text(safe);
}

LineWriter& LineWriter::number(double value) {
    if (!withinLargestValue(value)) throw DataFileError(fileName_, line_, unwritable(value));
    const float f = static_cast<float>(value);
    std::string s = (f < 0 ? "-" : " ") + shortestFloat(f) + " ";
    append(s);
    return *this;
}

LineWriter& LineWriter::zone() {
    std::size_t col = column();
    std::size_t next = (col / ZoneWidth + 1) * ZoneWidth;
    append(std::string(next - col, ' '));
    return *this;
}

LineWriter& LineWriter::tab(int n) {
    if (n > 0 && column() < static_cast<std::size_t>(n))
        append(std::string(static_cast<std::size_t>(n) - column(), ' '));
    return *this;
}

namespace {

// A mask taken apart once: its field and the texts before and after it in
// CP932. The writers use a handful of masks many times over.
struct ParsedMask {
    std::string mask;
    MaskField field;
    std::string lead, tail;
};

const ParsedMask& parsedMask(std::string_view mask) {
    thread_local std::vector<ParsedMask> known;
    // The writers mostly repeat the mask of the number before.
    thread_local std::size_t last = 0;
    if (last < known.size() && known[last].mask == mask) return known[last];
    for (std::size_t i = 0; i < known.size(); ++i)
        if (known[i].mask == mask) {
            last = i;
            return known[i];
        }
    ParsedMask p;
    p.mask = std::string(mask);
    p.field = parseMask(mask);
    p.lead = utf8ToCp932(mask.substr(0, p.field.begin));
    p.tail = utf8ToCp932(mask.substr(p.field.end));
    // A writer that builds masks on the fly would otherwise grow the list.
    if (known.size() >= 64) known.erase(known.begin());
    known.push_back(std::move(p));
    last = known.size() - 1;
    return known.back();
}

} // namespace

LineWriter& LineWriter::maskedHeld(std::string_view mask, double held, double scale) {
    if (!withinLargestValue(held)) throw DataFileError(fileName_, line_, unwritable(held));
    return masked(mask, held / scale);
}

LineWriter& LineWriter::masked(std::string_view mask, double value) {
    const ParsedMask& p = parsedMask(mask);
    const MaskField& f = p.field;
    if (!withinLargestValue(value)) throw DataFileError(fileName_, line_, unwritable(value));
    char body[kBodyRoom];
    const std::size_t length =
        f.exponent ? renderExponent(f, value, body) : renderFixed(f, value, body);

    std::size_t leadLength = p.lead.size();
    std::size_t padding = 0;
    const std::size_t width = f.width();
    if (length <= width) {
        padding = width - length;
    } else {
        // Too wide: use the blanks before the field, but keep one of them.
        const std::size_t excess = length - width;
        std::size_t blanks = 0;
        while (blanks < p.lead.size() && p.lead[p.lead.size() - 1 - blanks] == ' ')
            ++blanks;
        leadLength -= std::min(excess, blanks > 0 ? blanks - 1 : 0);
    }
    separate(leadLength > 0 ? p.lead[0] : padding > 0 ? ' ' : body[0]);
    bytes_.append(p.lead.data(), leadLength);
    bytes_.append(padding, ' ');
    bytes_.append(body, length);
    numberOpen_ = true;
    if (!p.tail.empty()) append(p.tail);
    return *this;
}

LineWriter& LineWriter::maskedText(std::string_view mask, std::string_view utf8) {
    std::size_t first = mask.find('&');
    std::size_t last = mask.rfind('&');
    if (first == std::string_view::npos)
        throw std::invalid_argument("mask without a text field: " + std::string(mask));
    std::size_t width = last - first + 1;

    std::string raw = utf8ToCp932(utf8);
    std::string safe;
    for (std::size_t i = 0; i < raw.size();) {
        std::size_t n = cp932CharLength(raw, i);
        if (n == 1 && raw[i] == ',')
            safe += "\x81\x43"; // full-width comma
        else if (n == 1 && raw[i] == ':')
            safe += "\x81\x46"; // full-width colon
        else if (n == 1 && (raw[i] == '\r' || raw[i] == '\n'))
            safe += ' ';
        else
            safe.append(raw, i, n);
        i += n;
    }
    std::string field = cutToWidth(safe, width);
    field.append(width - field.size(), ' ');
    append(utf8ToCp932(mask.substr(0, first)) + field + utf8ToCp932(mask.substr(last + 1)));
    return *this;
}

LineWriter& LineWriter::date(const DateTime& when) {
    append(twoDigits((when.year % 100 + 100) % 100, when.month, when.day, '/'));
    return *this;
}

LineWriter& LineWriter::time(const DateTime& when) {
    append(twoDigits(when.hour, when.minute, when.second, ':'));
    return *this;
}

LineWriter& LineWriter::byte04(int count) {
    if (count > 0) append(std::string(static_cast<std::size_t>(count), '\x04'));
    return *this;
}

LineWriter& LineWriter::endLine() {
    bytes_ += "\r\n";
    lineStart_ = bytes_.size();
    numberOpen_ = false;
    ++line_;
    return *this;
}

// ---------------------------------------------------------------------------
// ItemReader

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Checks a number item the way a BASIC input statement reads one: an optional
// sign, digits with at most one point (at least one digit), an optional
// exponent of E or D with an optional sign and at least one digit. Returns the
// item rewritten for std::from_chars (no "+", "e" for the exponent letter),
// and the decimal exponent of its first significant digit (so that a value too
// small for a double can be told from one too large).
bool normaliseNumber(std::string_view item, std::string& out, long& magnitude) {
    out.clear();
    std::size_t i = 0;
    if (i < item.size() && (item[i] == '+' || item[i] == '-')) {
        if (item[i] == '-') out.push_back('-');
        ++i;
    }
    int digits = 0;
    long wholeCount = 0;
    long fractionCount = 0;
    long firstWholeIndex = -1; // 0-based index of the first non-zero whole digit
    long firstFraction = 0;    // 1-based position of the first non-zero decimal
    bool afterPoint = false;
    for (; i < item.size(); ++i) {
        char c = item[i];
        if (c >= '0' && c <= '9') {
            ++digits;
            if (afterPoint) {
                ++fractionCount;
                if (c != '0' && firstWholeIndex < 0 && firstFraction == 0)
                    firstFraction = fractionCount;
            } else {
                if (c != '0' && firstWholeIndex < 0) firstWholeIndex = wholeCount;
                ++wholeCount;
            }
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else {
            break;
        }
        out.push_back(c);
    }
    if (digits == 0) return false;
    long exponent = 0;
    if (i < item.size()) {
        char c = item[i];
        if (c != 'E' && c != 'e' && c != 'D' && c != 'd') return false;
        out.push_back('e');
        ++i;
        bool negative = false;
        if (i < item.size() && (item[i] == '+' || item[i] == '-')) {
            negative = item[i] == '-';
            out.push_back(item[i]);
            ++i;
        }
        int expDigits = 0;
        for (; i < item.size() && item[i] >= '0' && item[i] <= '9'; ++i) {
            ++expDigits;
            out.push_back(item[i]);
            if (exponent < 100000) exponent = exponent * 10 + (item[i] - '0');
        }
        if (expDigits == 0 || i != item.size()) return false;
        if (negative) exponent = -exponent;
    }
    // Decimal exponent of the first significant digit.
    long first = 0;
    if (firstWholeIndex >= 0)
        first = wholeCount - 1 - firstWholeIndex;
    else if (firstFraction > 0)
        first = -firstFraction;
    magnitude = first + exponent;
    return true;
}

} // namespace

ItemReader::ItemReader(std::string bytes, std::string fileName)
    : data_(std::move(bytes)), fileName_(std::move(fileName)) {}

std::size_t ItemReader::charLength(std::size_t at) const {
    return cp932CharLength(data_, at);
}

void ItemReader::consumeLineEnd(Cursor& at) const {
    if (at.pos < data_.size() && data_[at.pos] == '\r') {
        ++at.pos;
        if (at.pos < data_.size() && data_[at.pos] == '\n') ++at.pos;
    } else if (at.pos < data_.size() && data_[at.pos] == '\n') {
        ++at.pos;
    }
    ++at.line;
}

void ItemReader::skipBlanks(Cursor& at) const {
    while (at.pos < data_.size() && isBlank(data_[at.pos]))
        ++at.pos;
}

void ItemReader::fail(int line, const std::string& problem) const {
    throw DataFileError(fileName_, line, problem);
}

void ItemReader::expectItem(const Cursor& at) const {
    if (at.pos < data_.size()) return;
    // Name the last line of the file, not the empty one after its line end.
    int last = at.line;
    if (!data_.empty() && (data_.back() == '\n' || data_.back() == '\r')) --last;
    fail(std::max(last, 1), "ファイルが途中で終わっています（データが足りません）");
}

std::string ItemReader::scanText(Cursor& at) const {
    expectItem(at);
    skipBlanks(at);
    std::size_t begin = at.pos;
    std::size_t end = data_.size();
    while (at.pos < data_.size()) {
        char c = data_[at.pos];
        if (c == ',' || c == ':') {
            end = at.pos++;
            break;
        }
        if (c == '\r' || c == '\n') {
            end = at.pos;
            consumeLineEnd(at);
            break;
        }
        at.pos += charLength(at.pos);
    }
    // Blanks are single bytes that never occur as second bytes.
    while (end > begin && isBlank(data_[end - 1]))
        --end;
    return data_.substr(begin, end - begin);
}

std::string ItemReader::readTextBytes() {
    return scanText(at_);
}

std::string ItemReader::readText() {
    return cp932ToUtf8(scanText(at_));
}

std::string ItemReader::peekText() const {
    Cursor copy = at_;
    return cp932ToUtf8(scanText(copy));
}

void ItemReader::skipItems(int count) {
    for (int i = 0; i < count; ++i)
        scanText(at_);
}

double ItemReader::readNumber() {
    expectItem(at_);
    skipBlanks(at_);
    const int itemLine = at_.line;
    std::size_t begin = at_.pos;
    while (at_.pos < data_.size()) {
        char c = data_[at_.pos];
        if (isBlank(c) || c == ',' || c == '\r' || c == '\n') break;
        at_.pos += charLength(at_.pos);
    }
    std::string_view item(data_.data() + begin, at_.pos - begin);
    skipBlanks(at_);
    if (at_.pos < data_.size() && data_[at_.pos] == ',')
        ++at_.pos;
    else if (at_.pos < data_.size() && (data_[at_.pos] == '\r' || data_[at_.pos] == '\n'))
        consumeLineEnd(at_);

    std::string normal;
    long magnitude = 0;
    double value = 0;
    bool ok = normaliseNumber(item, normal, magnitude);
    if (ok) {
        auto r = std::from_chars(normal.data(), normal.data() + normal.size(), value,
                                 std::chars_format::general);
        if (r.ec == std::errc::result_out_of_range && magnitude < 0)
            value = normal[0] == '-' ? -0.0 : 0.0; // too small for a double
        else if (r.ec != std::errc() || r.ptr != normal.data() + normal.size())
            ok = false;
    }
    if (!ok) {
        if (item.empty()) fail(itemLine, "数値が読めません（数値がありません）");
        fail(itemLine, "数値が読めません（" + cp932ToUtf8(cutToWidth(item, 24)) + "）");
    }
    return value;
}

double ItemReader::readValue(const std::string& what) {
    const int itemLine = line();
    const double value = readNumber();
    if (!withinLargestValue(value)) fail(itemLine, tooLargeMessage(what, value));
    return value;
}

double ItemReader::readWhole(const std::string& what) {
    const int itemLine = line();
    const double value = readNumber();
    if (!std::isfinite(value) || std::floor(value) != value)
        fail(itemLine, notWholeMessage(what, value));
    return value;
}

} // namespace rahmen
