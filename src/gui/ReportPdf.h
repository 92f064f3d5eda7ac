#pragma once
// The pages of a Document (platform/Document.h): laid out on A4 portrait in the
// program's Japanese font, painted onto a QPdfWriter or a QPrinter. Pictures
// are the display lists of the drawings, painted as vectors by paintCanvas.

#include "platform/Document.h"

#include <optional>
#include <string>

class QPagedPaintDevice;
class QWidget;

namespace rahmen {

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
