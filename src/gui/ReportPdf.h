#pragma once
// The pages of a Document (platform/Document.h): laid out on A4 portrait in the
// program's Japanese font, painted onto a QPdfWriter or a QPrinter. Pictures
// are the display lists of the drawings, painted as vectors by paintCanvas.

#include "platform/Document.h"

#include <QFont>
#include <QRectF>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QWidget;

namespace rahmen {

// What one page shows, in device units from the corner of the page's
// printable rectangle, worked out before anything is painted so that every
// page knows the number of pages.
struct DocumentPageItem {
    enum class Kind { Text, Line, Fill, Picture };
    Kind kind = Kind::Text;
    QRectF rect; // a line: from its top left to its bottom right corner
    QString text;
    QFont font;
    int flags = 0; // Qt::AlignmentFlag and Qt::TextFlag, as QPainter::drawText takes them
    const Canvas* canvas = nullptr;
};

struct DocumentPage {
    std::vector<DocumentPageItem> items;
    bool title = false;
};

// The pages of the document on the device (A4 portrait, its margins set):
// what paintDocument paints. Every page but the title page starts with its
// header line: the document's header and "n / N".
std::vector<DocumentPage> layoutDocument(QPagedPaintDevice& device, const Document& document);

// Lays the document out for the device and paints every page; the number of
// pages.
int paintDocument(QPagedPaintDevice& device, const Document& document);

// The document as the bytes of a PDF file (the font embedded); nullopt when
// Qt could not write it.
std::optional<std::string> documentPdf(const Document& document);

// Shows the print dialog over `parent` and prints; false when cancelled.
bool printDocument(const Document& document, QWidget* parent);

// For a program without a window (rahmen-batch --pdf): makes the application
// object Qt's painting needs, on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise, with the program's font, then writes the
// PDF as documentPdf does.
std::optional<std::string> documentPdfWithoutWindow(const Document& document);

} // namespace rahmen
