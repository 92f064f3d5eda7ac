#pragma once
// The text conventions shared by the coordinate, frame and analysis files.
//
// The files are listings in CP932 with CR LF line ends that are also read
// back. `LineWriter` builds them from output items (literal texts, free-format
// numbers, print zones, tabs, masked numbers and texts, date and time);
// `ItemReader` reads them back as one stream of text and number items, so
// that a reader skips headings and labels by counting items.
//
// Rendering choices of the writer:
// - Free-format numbers are single precision and written in the shortest
//   decimal form that reads back to the same float, BASIC style: a blank or a
//   minus sign, no leading zero before the point, one blank after
//   (12 → " 12 ", -3.5 → "-3.5 ", 0.5 → " .5 ", -0.25 → "-.25 "). Values from
//   1e-5 to below 1e7 are written in plain decimals, others as mantissa and
//   exponent ("1.5E+07", "1E-06").
// - A print zone is 14 columns wide; a zone separator always writes at least
//   one blank.
// - Masked numbers round half away from zero. Without "^^^^" a whole part of 0
//   is written as "0" when the mask has room for it (0.5 in "###.##" is
//   "  0.50", -0.5 in "#.####" is "-.5000"). With "^^^^" the mantissa keeps one
//   digit position for the sign and fills the others with significant digits
//   ("#######^^^^" 18700 → " 187000E-01", "###.##^^^^" 12.5 → " 12.50E+00");
//   the exponent is "E", a sign and two digits (three when needed).
// - A number too wide for its mask is written in full: it takes over the
//   mask's leading blanks but one, and is always kept apart from a number
//   written directly before it by a blank, so that the file reads back.
// - Nothing a writer produces contains a comma or a colon except literal
//   texts that have them.

#include "platform/Clock.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rahmen {

// A data file that cannot be read (or a value that cannot be written). The
// message names the file and the line, e.g.
// "frame1.fdt の 12 行目: 数値が読めません（abc）".
class DataFileError : public std::runtime_error {
public:
    DataFileError(const std::string& fileName, int line, const std::string& problem);
    const std::string& fileName() const { return fileName_; }
    int line() const { return line_; }

private:
    std::string fileName_;
    int line_;
};

class LineWriter {
public:
    static constexpr int ZoneWidth = 14;

    // `fileName` only serves the messages of a value that cannot be written.
    explicit LineWriter(std::string fileName = {});

    // A literal text, written as it stands (line breaks in it become blanks).
    LineWriter& text(std::string_view utf8);
    // A text the user typed (a data name) that must read back as one item:
    // like text(), with commas and colons in their full-width forms.
    LineWriter& itemText(std::string_view utf8);
    // A free-format number of single precision. A value beyond the program's
    // largest value (kLargestValue, which the readers refuse) throws
    // DataFileError rather than write a file that cannot be read again.
    LineWriter& number(double value);
    // Blanks up to the start of the next print zone.
    LineWriter& zone();
    // Blanks until the line is `n` bytes long; nothing if it already is.
    LineWriter& tab(int n);
    // A masked number: the mask's text before its field as it stands, the
    // number laid out by the field ("#", ".", "^^^^"), the mask's text after
    // the field. A mask without a field throws std::invalid_argument; a value
    // that is not finite throws DataFileError.
    LineWriter& masked(std::string_view mask, double value);
    // A value held `scale` times what the file shows (the rotational springs
    // and moments held in force·cm): written as masked(mask, held / scale),
    // refused like masked() when the value held is beyond kLargestValue,
    // since the reader would refuse it once scaled back.
    LineWriter& maskedHeld(std::string_view mask, double held, double scale);
    // A masked text: the blanks before the first "&", then a field as wide as
    // the mask from its first to its last "&", the text left-aligned, cut or
    // padded to that width in bytes without splitting a double-byte character.
    // Commas and colons in the text become their full-width forms so that the
    // field reads back as one item.
    LineWriter& maskedText(std::string_view mask, std::string_view utf8);
    // yy/mm/dd and hh:mm:ss.
    LineWriter& date(const DateTime& when);
    LineWriter& time(const DateTime& when);
    // The byte 0x04 of some headings, `count` times.
    LineWriter& byte04(int count = 1);
    // CR LF.
    LineWriter& endLine();

    // Room for a file of about `bytes` bytes, so that a large one grows without copies.
    void reserve(std::size_t bytes) { bytes_.reserve(bytes); }

    // The file so far, in CP932.
    const std::string& bytes() const { return bytes_; }
    // Bytes written on the current line.
    std::size_t column() const { return bytes_.size() - lineStart_; }
    // 1-based number of the line being written.
    int line() const { return line_; }

private:
    // Before an item that starts with `first`: a blank if the item would
    // otherwise run into a number that ends right here.
    void separate(char first);
    void append(std::string_view cp932);

    std::string fileName_;
    std::string bytes_;
    std::size_t lineStart_ = 0;
    int line_ = 1;
    bool numberOpen_ = false; // the line ends in the digits of a number
};

// Reads a file's bytes (CP932) as a stream of items:
// - blanks (space, tab) before an item are skipped;
// - a text item runs up to the next comma, one-byte colon or line end and
//   consumes it; blanks inside are kept, blanks at its end are dropped; an
//   empty line is one empty text item;
// - a number item runs up to the next blank, comma or line end; the blanks
//   after it, and then a comma or a line end directly after those blanks, are
//   consumed with it;
// - items flow from one line to the next.
// Line ends are CR LF, LF or a lone CR. A double-byte character is always
// taken whole, so its second byte is never a delimiter.
class ItemReader {
public:
    ItemReader(std::string bytes, std::string fileName);

    // The next text item, in UTF-8.
    std::string readText();
    // The next text item as its CP932 bytes (for readers that cut by byte).
    std::string readTextBytes();
    // The next text item without consuming it.
    std::string peekText() const;
    // Skips `count` text items.
    void skipItems(int count);
    // The next number item. Accepts an optional sign, digits with an optional
    // decimal point, and an optional exponent with E or D ("1.5", "-.5",
    // "+3", "12.50E+00", "1D-3"); anything else throws DataFileError.
    double readNumber();
    // A number item for a stored value: refused, naming `what`, when it is
    // beyond the program's largest value (kLargestValue), so that everything
    // read can be written again.
    double readValue(const std::string& what);
    // A number item that must be whole (a count, a number, a flag): refused,
    // naming `what`, otherwise. The caller checks its range.
    double readWhole(const std::string& what);

    // Nothing left to read.
    bool atEnd() const { return at_.pos >= data_.size(); }
    // 1-based line of the reading position.
    int line() const { return at_.line; }
    const std::string& fileName() const { return fileName_; }

private:
    struct Cursor {
        std::size_t pos;
        int line;
    };
    std::string scanText(Cursor& at) const;
    void consumeLineEnd(Cursor& at) const;
    void skipBlanks(Cursor& at) const;
    std::size_t charLength(std::size_t at) const;
    void expectItem(const Cursor& at) const;
    [[noreturn]] void fail(int line, const std::string& problem) const;

    std::string data_;
    std::string fileName_;
    Cursor at_{0, 1};
};

} // namespace rahmen
