#include "gui/PdfText.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace rahmen {

namespace {

struct IdeographPair {
    char32_t from, to;
};
constexpr IdeographPair kIdeographs[] = {
#include "CjkIdeographs.inc"
};

// ---- UTF-16BE hex strings of a CMap --------------------------------------

std::optional<std::vector<char32_t>> decodeUtf16Hex(const std::string& hex) {
    if (hex.size() % 4 != 0) return std::nullopt;
    std::vector<unsigned> units;
    for (std::size_t i = 0; i < hex.size(); i += 4) {
        unsigned u = 0;
        for (std::size_t k = i; k < i + 4; ++k) {
            const char h = hex[k];
            if (!std::isxdigit(static_cast<unsigned char>(h))) return std::nullopt;
            u = u * 16 + static_cast<unsigned>(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
        }
        units.push_back(u);
    }
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const unsigned u = units[i];
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            out.push_back(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            out.push_back(u);
        }
    }
    return out;
}

std::string encodeUtf16Hex(const std::vector<char32_t>& text) {
    std::string out;
    char buf[16];
    auto unit = [&](unsigned u) {
        std::snprintf(buf, sizeof buf, "%04X", u);
        out += buf;
    };
    for (char32_t c : text) {
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(static_cast<unsigned>(c));
        }
    }
    return out;
}

// The target text unified; false when nothing in it changes.
bool unify(std::vector<char32_t>& text) {
    bool changed = false;
    for (char32_t& c : text)
        if (const char32_t u = unifiedIdeograph(c)) {
            c = u;
            changed = true;
        }
    return changed;
}

// ---- PDF syntax ----------------------------------------------------------

bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

std::size_t skipSpace(const std::string& s, std::size_t at) {
    while (at < s.size() && isSpace(s[at]))
        ++at;
    return at;
}

std::optional<long> readInt(const std::string& s, std::size_t& at) {
    at = skipSpace(s, at);
    std::size_t end = at;
    while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end])))
        ++end;
    if (end == at || end - at > 12) return std::nullopt;
    const long v = std::stol(s.substr(at, end - at));
    at = end;
    return v;
}

bool expect(const std::string& s, std::size_t& at, const std::string& word) {
    at = skipSpace(s, at);
    if (s.compare(at, word.size(), word) != 0) return false;
    at += word.size();
    return true;
}

// The end of the dictionary starting at `at` ("<<"), just after its ">>".
std::optional<std::size_t> dictionaryEnd(const std::string& s, std::size_t at) {
    int depth = 0;
    for (std::size_t i = at; i + 1 < s.size(); ++i) {
        if (s[i] == '<' && s[i + 1] == '<') {
            ++depth;
            ++i;
        } else if (s[i] == '>' && s[i + 1] == '>') {
            if (--depth == 0) return i + 2;
            ++i;
        }
    }
    return std::nullopt;
}

// The value after a key of a dictionary's text, from just after the key.
std::optional<std::size_t> keyValue(const std::string& dict, const std::string& key) {
    std::size_t at = 0;
    while ((at = dict.find(key, at)) != std::string::npos) {
        const std::size_t after = at + key.size();
        if (after >= dict.size() || !std::isalnum(static_cast<unsigned char>(dict[after])))
            return after;
        at = after;
    }
    return std::nullopt;
}

struct XrefEntry {
    long offset = 0;
    long generation = 0;
};

struct Xref {
    std::map<long, XrefEntry> objects; // object number: where it is (in use only)
    std::string trailer;               // the newest trailer's dictionary
    long start = 0;                    // the newest table's offset
};

std::optional<Xref> readXref(const std::string& pdf) {
    const std::size_t sx = pdf.rfind("startxref");
    if (sx == std::string::npos) return std::nullopt;
    std::size_t at = sx + 9;
    const auto start = readInt(pdf, at);
    if (!start) return std::nullopt;
    Xref xref;
    xref.start = *start;
    std::set<long> seen;
    std::optional<long> table = start;
    while (table) {
        if (*table < 0 || static_cast<std::size_t>(*table) >= pdf.size() ||
            !seen.insert(*table).second)
            return std::nullopt;
        at = static_cast<std::size_t>(*table);
        if (!expect(pdf, at, "xref")) return std::nullopt; // a cross-reference stream
        for (;;) {
            at = skipSpace(pdf, at);
            if (pdf.compare(at, 7, "trailer") == 0) break;
            const auto first = readInt(pdf, at);
            const auto count = readInt(pdf, at);
            if (!first || !count) return std::nullopt;
            for (long i = 0; i < *count; ++i) {
                const auto offset = readInt(pdf, at);
                const auto generation = readInt(pdf, at);
                at = skipSpace(pdf, at);
                if (!offset || !generation || at >= pdf.size()) return std::nullopt;
                const char kind = pdf[at++];
                // The newest table read first: an older entry never replaces it.
                if (kind == 'n')
                    xref.objects.emplace(*first + i, XrefEntry{*offset, *generation});
                else if (kind == 'f')
                    xref.objects.emplace(*first + i, XrefEntry{-1, 0});
                else
                    return std::nullopt;
            }
        }
        at += 7;
        at = skipSpace(pdf, at);
        const auto end = dictionaryEnd(pdf, at);
        if (!end) return std::nullopt;
        const std::string trailer = pdf.substr(at, *end - at);
        if (xref.trailer.empty()) xref.trailer = trailer;
        table.reset();
        if (const auto prev = keyValue(trailer, "/Prev")) {
            std::size_t p = *prev;
            table = readInt(trailer, p);
            if (!table) return std::nullopt;
        }
    }
    return xref;
}

// The position just after "N G obj" of an object in use.
std::optional<std::size_t> objectBody(const std::string& pdf, const Xref& xref, long number) {
    const auto it = xref.objects.find(number);
    if (it == xref.objects.end() || it->second.offset < 0) return std::nullopt;
    std::size_t at = static_cast<std::size_t>(it->second.offset);
    if (at >= pdf.size()) return std::nullopt;
    const auto n = readInt(pdf, at);
    const auto g = readInt(pdf, at);
    if (!n || *n != number || !g || !expect(pdf, at, "obj")) return std::nullopt;
    return at;
}

// A stream object's data as it is in the file and whether it is deflated;
// nullopt for anything else (other filters, parameters).
struct Stream {
    std::string data;
    bool deflated = false;
};

std::optional<Stream> readStream(const std::string& pdf, const Xref& xref, long number) {
    auto at = objectBody(pdf, xref, number);
    if (!at) return std::nullopt;
    *at = skipSpace(pdf, *at);
    const auto end = dictionaryEnd(pdf, *at);
    if (!end) return std::nullopt;
    const std::string dict = pdf.substr(*at, *end - *at);
    const auto lengthAt = keyValue(dict, "/Length");
    if (!lengthAt || keyValue(dict, "/DecodeParms")) return std::nullopt;
    std::size_t p = *lengthAt;
    auto length = readInt(dict, p);
    if (!length) return std::nullopt;
    std::size_t q = p;
    const auto generation = readInt(dict, q);
    if (generation && expect(dict, q, "R")) {
        // An indirect length: the integer object it names.
        auto lengthBody = objectBody(pdf, xref, *length);
        if (!lengthBody) return std::nullopt;
        length = readInt(pdf, *lengthBody);
        if (!length) return std::nullopt;
    }
    Stream stream;
    if (const auto filterAt = keyValue(dict, "/Filter")) {
        std::size_t f = skipSpace(dict, *filterAt);
        if (f < dict.size() && dict[f] == '[') f = skipSpace(dict, f + 1);
        if (dict.compare(f, 12, "/FlateDecode") != 0) return std::nullopt;
        std::size_t rest = skipSpace(dict, f + 12);
        if (rest < dict.size() && dict[rest] == '/' && dict.compare(rest, 8, "/Length") != 0 &&
            dict.compare(rest, 5, "/Type") != 0)
            return std::nullopt; // a second filter or a key this does not know
        stream.deflated = true;
    }
    std::size_t data = *end;
    if (!expect(pdf, data, "stream")) return std::nullopt;
    if (data < pdf.size() && pdf[data] == '\r') ++data;
    if (data < pdf.size() && pdf[data] == '\n') ++data;
    if (*length < 0 || data + static_cast<std::size_t>(*length) > pdf.size()) return std::nullopt;
    stream.data = pdf.substr(data, static_cast<std::size_t>(*length));
    return stream;
}

std::optional<std::string> inflate(const std::string& data) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return std::nullopt;
    std::string out;
    char buf[16384];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buf);
        z.avail_out = sizeof buf;
        rc = ::inflate(&z, Z_NO_FLUSH);
        out.append(buf, sizeof buf - z.avail_out);
        if (rc == Z_BUF_ERROR && z.avail_in == 0) break;
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END) return std::nullopt;
    return out;
}

std::string deflate(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
              Z_BEST_COMPRESSION);
    out.resize(size);
    return out;
}

} // namespace

char32_t unifiedIdeograph(char32_t c) {
    const auto end = std::end(kIdeographs);
    const auto it = std::lower_bound(std::begin(kIdeographs), end, c,
                                     [](const IdeographPair& p, char32_t v) { return p.from < v; });
    return it != end && it->from == c ? it->to : 0;
}

std::string unifyCMap(const std::string& cmap) {
    enum class Mode { None, Char, Range };
    Mode mode = Mode::None;
    std::string out;
    out.reserve(cmap.size());
    std::size_t copied = 0;
    // The hex strings of the current entry, their positions in the text.
    std::vector<std::pair<std::size_t, std::size_t>> entry; // [begin, end) of the hex digits
    bool inArray = false;
    bool changed = false;
    auto hexAt = [&](std::size_t k) {
        return cmap.substr(entry[k].first, entry[k].second - entry[k].first);
    };
    auto replace = [&](std::size_t begin, std::size_t end, const std::string& with) {
        out.append(cmap, copied, begin - copied);
        out += with;
        copied = end;
        changed = true;
    };
    // A target string: unified in place.
    auto target = [&](std::size_t begin, std::size_t end) {
        auto text = decodeUtf16Hex(cmap.substr(begin, end - begin));
        if (text && unify(*text)) replace(begin, end, encodeUtf16Hex(*text));
    };
    std::size_t i = 0;
    while (i < cmap.size()) {
        const char c = cmap[i];
        if (c == '%') {
            while (i < cmap.size() && cmap[i] != '\n' && cmap[i] != '\r')
                ++i;
        } else if (c == '<' && i + 1 < cmap.size() && cmap[i + 1] != '<') {
            const std::size_t close = cmap.find('>', i);
            if (close == std::string::npos) break;
            std::size_t b = i + 1, e = close;
            if (mode == Mode::Char) {
                entry.emplace_back(b, e);
                if (entry.size() == 2) {
                    target(b, e);
                    entry.clear();
                }
            } else if (mode == Mode::Range) {
                if (inArray) {
                    target(b, e);
                } else {
                    entry.emplace_back(b, e);
                    if (entry.size() == 3) {
                        // lo hi start: the targets start, start + 1, ... ; a
                        // list where one of them changes.
                        const auto lo = decodeUtf16Hex(hexAt(0));
                        const auto hi = decodeUtf16Hex(hexAt(1));
                        const auto start = decodeUtf16Hex(hexAt(2));
                        if (lo && hi && start && lo->size() == 1 && hi->size() == 1 &&
                            !start->empty() && (*hi)[0] >= (*lo)[0] && (*hi)[0] - (*lo)[0] < 256) {
                            std::string list = "[";
                            bool any = false;
                            for (char32_t k = 0; k <= (*hi)[0] - (*lo)[0]; ++k) {
                                std::vector<char32_t> t = *start;
                                t.back() += k;
                                any = unify(t) || any;
                                list += (k ? " <" : "<") + encodeUtf16Hex(t) + ">";
                            }
                            if (any) replace(b - 1, e + 1, list + "]");
                        }
                        entry.clear();
                    }
                }
            }
            i = close + 1;
            continue;
        } else if (c == '[' && mode == Mode::Range) {
            inArray = true;
        } else if (c == ']' && mode == Mode::Range) {
            inArray = false;
            entry.clear();
        } else if (c == '/' && mode == Mode::Char && entry.size() == 1) {
            entry.clear(); // a name as the target
        } else if (std::isalpha(static_cast<unsigned char>(c))) {
            std::size_t e = i;
            while (e < cmap.size() && std::isalpha(static_cast<unsigned char>(cmap[e])))
                ++e;
            const std::string word = cmap.substr(i, e - i);
            if (word == "beginbfchar")
                mode = Mode::Char;
            else if (word == "beginbfrange")
                mode = Mode::Range;
            else if (word == "endbfchar" || word == "endbfrange")
                mode = Mode::None;
            entry.clear();
            inArray = false;
            i = e;
            continue;
        }
        ++i;
    }
    if (!changed) return cmap;
    out.append(cmap, copied, std::string::npos);
    return out;
}

std::string unifyToUnicode(const std::string& pdf) {
    const auto xref = readXref(pdf);
    if (!xref) return pdf;
    std::set<long> cmaps;
    for (std::size_t at = 0; (at = pdf.find("/ToUnicode", at)) != std::string::npos;) {
        at += 10;
        std::size_t p = at;
        const auto number = readInt(pdf, p);
        const auto generation = readInt(pdf, p);
        if (number && generation && expect(pdf, p, "R")) cmaps.insert(*number);
    }
    // The replacements, by object number.
    std::map<long, std::string> objects;
    for (long number : cmaps) {
        const auto stream = readStream(pdf, *xref, number);
        if (!stream) continue;
        const auto text = stream->deflated ? inflate(stream->data) : stream->data;
        if (!text) continue;
        const std::string unified = unifyCMap(*text);
        if (unified == *text) continue;
        const std::string data = stream->deflated ? deflate(unified) : unified;
        std::string object = std::to_string(number) + " " +
                             std::to_string(xref->objects.at(number).generation) +
                             " obj\n<< /Length " + std::to_string(data.size()) +
                             (stream->deflated ? " /Filter /FlateDecode" : "") + " >>\nstream\n";
        object += data;
        object += "\nendstream\nendobj\n";
        objects.emplace(number, std::move(object));
    }
    if (objects.empty()) return pdf;

    // The update: the new objects, a cross-reference section for them and a
    // trailer that points back at the original table.
    std::string out = pdf;
    if (out.back() != '\n') out += '\n';
    std::map<long, std::size_t> offsets;
    for (const auto& [number, object] : objects) {
        offsets[number] = out.size();
        out += object;
    }
    const std::size_t table = out.size();
    out += "xref\n";
    char line[48];
    for (const auto& [number, offset] : offsets) {
        std::snprintf(line, sizeof line, "%ld 1\n%010zu %05ld n \n", number, offset,
                      xref->objects.at(number).generation);
        out += line;
    }
    // The trailer's keys but /Prev, then /Prev.
    std::string trailer = xref->trailer.substr(2, xref->trailer.size() - 4);
    if (const auto prev = keyValue(trailer, "/Prev")) {
        std::size_t p = *prev;
        readInt(trailer, p);
        trailer.erase(*prev - 5, p - (*prev - 5));
    }
    out += "trailer\n<<" + trailer + " /Prev " + std::to_string(xref->start) + " >>\nstartxref\n" +
           std::to_string(table) + "\n%%EOF\n";
    return out;
}

} // namespace rahmen
