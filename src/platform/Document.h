#pragma once
// A document to be printed or written as PDF: a title page, then headings,
// paragraphs, tables and pictures in reading order. It says what is on the
// pages, not where: the GUI's renderer lays the blocks out on pages of its
// size and font (a table split over pages repeats its heading row, every page
// but the title page has a header line and its number). Like the Canvas, it is
// plain data, so that the program logic builds it and tests read it without Qt.

#include "platform/Canvas.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rahmen {

struct DocumentColumn {
    std::string heading;  // "節点", "δx"
    std::string unit;     // shown under the heading in parentheses; "" none
    bool numeric = false; // numbers: aligned on their decimal point, right-aligned
};

struct DocumentTable {
    std::vector<DocumentColumn> columns;
    std::vector<std::vector<std::string>> rows; // one text per column
};

struct DocumentBlock {
    enum class Kind { Heading, Subheading, Paragraph, Table, Picture, PageBreak };
    Kind kind = Kind::Paragraph;
    std::string text; // heading, paragraph or picture caption
    DocumentTable table;
    Canvas picture;
};

struct Document {
    // The title page: a title and its fields (label, value) in order.
    std::string title;
    std::vector<std::pair<std::string, std::string>> titleFields;
    // The header line of every further page (the data name), before the page number.
    std::string header;
    std::vector<DocumentBlock> blocks;

    void heading(const std::string& text);
    void subheading(const std::string& text);
    void paragraph(const std::string& text);
    void table(DocumentTable table);
    void picture(const Canvas& canvas, const std::string& caption);
    void pageBreak();
    // The texts of the blocks of one kind, in order.
    std::vector<std::string> texts(DocumentBlock::Kind kind) const;
};

// Where a decimal number's point is: the index of '.' in the text, or, for a
// number without one, the index just after its last digit (so that "12" lines
// up with "3.50" and "-1.25E+02" with "12.50E-01"); std::nullopt for a text
// without a digit.
std::optional<std::size_t> decimalPointIndex(const std::string& text);

} // namespace rahmen
