#include "platform/Document.h"

namespace rahmen {

namespace {

DocumentBlock block(DocumentBlock::Kind kind, const std::string& text) {
    DocumentBlock b;
    b.kind = kind;
    b.text = text;
    b.picture = Canvas(0, 0);
    return b;
}

} // namespace

void Document::heading(const std::string& text) {
    blocks.push_back(block(DocumentBlock::Kind::Heading, text));
}

void Document::subheading(const std::string& text) {
    blocks.push_back(block(DocumentBlock::Kind::Subheading, text));
}

void Document::paragraph(const std::string& text) {
    blocks.push_back(block(DocumentBlock::Kind::Paragraph, text));
}

void Document::table(DocumentTable table) {
    DocumentBlock b = block(DocumentBlock::Kind::Table, "");
    b.table = std::move(table);
    blocks.push_back(std::move(b));
}

void Document::picture(const Canvas& canvas, const std::string& caption) {
    DocumentBlock b = block(DocumentBlock::Kind::Picture, caption);
    b.picture = canvas;
    blocks.push_back(std::move(b));
}

void Document::pageBreak() {
    blocks.push_back(block(DocumentBlock::Kind::PageBreak, ""));
}

std::vector<std::string> Document::texts(DocumentBlock::Kind kind) const {
    std::vector<std::string> out;
    for (const DocumentBlock& b : blocks)
        if (b.kind == kind) out.push_back(b.text);
    return out;
}

std::optional<std::size_t> decimalPointIndex(const std::string& text) {
    std::optional<std::size_t> lastDigit;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '.') return i;
        if (ch == 'E' || ch == 'e') break;
        if (ch >= '0' && ch <= '9') lastDigit = i;
    }
    if (!lastDigit) return std::nullopt;
    return *lastDigit + 1;
}

} // namespace rahmen
