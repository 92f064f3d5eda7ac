#include "gui/ReportPdf.h"

#include "gui/PdfText.h"
#include "gui/PictureWidget.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace rahmen {

namespace {

const char* const kFontFamily = "IPAexGothic";

using PageItem = DocumentPageItem;
using Page = DocumentPage;

class Layout {
public:
    Layout(QPagedPaintDevice& device, const Document& doc) : device_(&device), doc_(doc) {
        dpi_ = device.logicalDpiY();
        const QRect paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
        width_ = paint.width();
        // The painter's coordinates start at the paint rectangle's corner.
        left_ = 0;
        top_ = 0;
        bottom_ = paint.height();
    }

    std::vector<Page> run() {
        titlePage();
        newPage();
        for (const DocumentBlock& b : doc_.blocks)
            block(b);
        // The contents on the title page, now that the headings have their pages.
        contents();
        headers();
        return std::move(pages_);
    }

private:
    double pt(double points) const { return points * dpi_ / 72.0; }
    double mm(double millimetres) const { return millimetres * dpi_ / 25.4; }

    QFont font(double points, bool bold = false) const {
        QFont f(QString::fromLatin1(kFontFamily));
        f.setStyleHint(QFont::SansSerif);
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }
    // Measured on the device itself, so that the layout holds what is painted.
    double textWidth(const QFont& f, const QString& s) const {
        return QFontMetricsF(f, device_).horizontalAdvance(s);
    }
    double textHeight(const QFont& f) const { return QFontMetricsF(f, device_).height(); }

    Page& page() { return pages_.back(); }
    void newPage() {
        pages_.emplace_back();
        y_ = top_ + headerHeight();
    }
    double headerHeight() const { return textHeight(font(8)) + mm(4); }
    double room() const { return bottom_ - y_; }

    void text(const QRectF& r, const QString& s, const QFont& f, int flags) {
        PageItem item;
        item.kind = PageItem::Kind::Text;
        item.rect = r;
        item.text = s;
        item.font = f;
        item.flags = flags;
        page().items.push_back(std::move(item));
    }
    void line(double x1, double y1, double x2, double y2) {
        PageItem item;
        item.kind = PageItem::Kind::Line;
        item.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
        page().items.push_back(std::move(item));
    }
    void fill(const QRectF& r) {
        PageItem item;
        item.kind = PageItem::Kind::Fill;
        item.rect = r;
        page().items.push_back(std::move(item));
    }

    void titlePage() {
        pages_.emplace_back();
        page().title = true;
        const QFont big = font(26, true);
        double y = top_ + mm(45);
        text(QRectF(left_, y, width_, textHeight(big) * 1.2), QString::fromStdString(doc_.title),
             big, Qt::AlignHCenter | Qt::AlignVCenter);
        y += textHeight(big) * 1.2 + mm(18);
        const QFont f = font(11);
        const double h = textHeight(f) * 1.5;
        double labelWidth = 0;
        for (const auto& [label, value] : doc_.titleFields)
            labelWidth = std::max(labelWidth, textWidth(f, QString::fromStdString(label)));
        const double x = left_ + mm(25);
        for (const auto& [label, value] : doc_.titleFields) {
            text(QRectF(x, y, labelWidth, h), QString::fromStdString(label), f,
                 Qt::AlignLeft | Qt::AlignVCenter);
            text(QRectF(x + labelWidth + mm(8), y, width_ - x - labelWidth - mm(8), h),
                 QString::fromStdString(value), f, Qt::AlignLeft | Qt::AlignVCenter);
            y += h;
        }
        contentsTop_ = y + mm(12);
    }

    // Every page but the title page: the data name and "n / N" above a line.
    void headers() {
        const QFont f = font(8);
        const double h = textHeight(f);
        const int count = static_cast<int>(pages_.size());
        for (int i = 0; i < count; ++i) {
            if (pages_[i].title) continue;
            PageItem name, number, rule;
            name.rect = QRectF(left_, top_, width_ * 0.7, h);
            name.text = QString::fromStdString(doc_.header);
            name.font = f;
            name.flags = Qt::AlignLeft | Qt::AlignVCenter;
            number.rect = QRectF(left_ + width_ * 0.7, top_, width_ * 0.3, h);
            number.text = QStringLiteral("%1 / %2").arg(i + 1).arg(count);
            number.font = f;
            number.flags = Qt::AlignRight | Qt::AlignVCenter;
            rule.kind = PageItem::Kind::Line;
            rule.rect = QRectF(QPointF(left_, top_ + h + 2), QPointF(left_ + width_, top_ + h + 2));
            auto& items = pages_[i].items;
            items.insert(items.begin(), {name, number, rule});
        }
    }

    void contents() {
        if (headingPages_.empty()) return;
        Page& title = pages_.front();
        const QFont f = font(10);
        const QFont bold = font(11, true);
        const double h = textHeight(f) * 1.45;
        double y = contentsTop_;
        const double x = left_ + mm(25);
        const double w = width_ - mm(50);
        std::vector<PageItem> items;
        auto add = [&](const QRectF& r, const QString& s, const QFont& font, int flags) {
            PageItem item;
            item.rect = r;
            item.text = s;
            item.font = font;
            item.flags = flags;
            items.push_back(std::move(item));
        };
        add(QRectF(x, y, w, h), QStringLiteral("目次"), bold, Qt::AlignLeft | Qt::AlignVCenter);
        y += h * 1.2;
        for (const auto& [heading, number] : headingPages_) {
            if (y + h > bottom_) break;
            add(QRectF(x + mm(4), y, w - mm(24), h), heading, f, Qt::AlignLeft | Qt::AlignVCenter);
            add(QRectF(x + w - mm(20), y, mm(20), h), QString::number(number), f,
                Qt::AlignRight | Qt::AlignVCenter);
            y += h;
        }
        for (PageItem& item : items)
            title.items.push_back(std::move(item));
    }

    void block(const DocumentBlock& b) {
        switch (b.kind) {
        case DocumentBlock::Kind::Heading: {
            const QFont f = font(14, true);
            const double h = textHeight(f) * 1.6;
            // A section starts on a fresh page.
            if (y_ > top_ + headerHeight() + 1) newPage();
            text(QRectF(left_, y_, width_, h), QString::fromStdString(b.text), f,
                 Qt::AlignLeft | Qt::AlignVCenter);
            headingPages_.emplace_back(QString::fromStdString(b.text),
                                       static_cast<int>(pages_.size()));
            y_ += h;
            line(left_, y_, left_ + width_, y_);
            y_ += mm(3);
            break;
        }
        case DocumentBlock::Kind::Subheading: {
            const QFont f = font(10.5, true);
            const double h = textHeight(f) * 1.5;
            // Kept with at least a few rows of what follows.
            if (room() < h + mm(25)) newPage();
            text(QRectF(left_, y_, width_, h), QString::fromStdString(b.text), f,
                 Qt::AlignLeft | Qt::AlignVCenter);
            y_ += h;
            break;
        }
        case DocumentBlock::Kind::Paragraph: {
            const QFont f = font(9);
            const QString s = QString::fromStdString(b.text);
            const QRectF bounds = QFontMetricsF(f, device_)
                                      .boundingRect(QRectF(0, 0, width_, 1e6), Qt::TextWordWrap, s);
            const double h = bounds.height() + mm(2);
            if (room() < h) newPage();
            text(QRectF(left_, y_, width_, h), s, f, Qt::AlignLeft | Qt::TextWordWrap);
            y_ += h + mm(1);
            break;
        }
        case DocumentBlock::Kind::Table:
            table(b.table);
            break;
        case DocumentBlock::Kind::Picture:
            picture(b);
            break;
        case DocumentBlock::Kind::PageBreak:
            newPage();
            break;
        }
    }

    struct Column {
        double width = 0;
        double before = 0, after = 0; // numeric: widths on either side of the point
    };

    // Widths of the columns at a font; the total.
    double measure(const DocumentTable& t, const QFont& f, std::vector<Column>& cols) const {
        const double pad = mm(1.6);
        cols.assign(t.columns.size(), Column{});
        for (std::size_t c = 0; c < t.columns.size(); ++c) {
            const DocumentColumn& dc = t.columns[c];
            Column& col = cols[c];
            double w = textWidth(f, QString::fromStdString(dc.heading));
            if (!dc.unit.empty())
                w = std::max(w, textWidth(f, QString::fromStdString("(" + dc.unit + ")")));
            for (const auto& row : t.rows) {
                if (c >= row.size()) continue;
                const std::string& cell = row[c];
                const auto point = dc.numeric ? decimalPointIndex(cell) : std::nullopt;
                if (point) {
                    col.before = std::max(
                        col.before, textWidth(f, QString::fromStdString(cell.substr(0, *point))));
                    col.after = std::max(col.after,
                                         textWidth(f, QString::fromStdString(cell.substr(*point))));
                } else {
                    w = std::max(w, textWidth(f, QString::fromStdString(cell)));
                }
            }
            col.width = std::max(w, col.before + col.after) + 2 * pad;
        }
        double total = 0;
        for (const Column& c : cols)
            total += c.width;
        return total;
    }

    void table(const DocumentTable& t) {
        if (t.columns.empty()) return;
        std::vector<Column> cols;
        double size = 8.5;
        double total = measure(t, font(size), cols);
        while (total > width_ && size > 5.5) {
            size -= 0.5;
            total = measure(t, font(size), cols);
        }
        // A table too wide even then is made smaller still rather than run
        // past the page's edge (the padding does not shrink with the font).
        while (total > width_) {
            size *= std::max(0.5, width_ / total) * 0.98;
            total = measure(t, font(size), cols);
        }
        // What is left over goes to the columns evenly, up to a readable spread.
        const double spare = std::min(width_ - total, total * 0.25);
        if (spare > 0)
            for (Column& c : cols)
                c.width += spare / static_cast<double>(cols.size());
        const QFont f = font(size);
        const QFont bold = font(size, true);
        const double rowH = textHeight(f) * 1.3;
        bool units = false;
        for (const DocumentColumn& c : t.columns)
            units = units || !c.unit.empty();
        const double headH = rowH * (units ? 2 : 1) + mm(0.6);
        const double pad = mm(1.6);

        auto heading = [&] {
            fill(QRectF(left_, y_, total + std::max(0.0, spare), headH));
            double x = left_;
            for (std::size_t c = 0; c < t.columns.size(); ++c) {
                const DocumentColumn& dc = t.columns[c];
                text(QRectF(x, y_, cols[c].width, rowH), QString::fromStdString(dc.heading), bold,
                     Qt::AlignHCenter | Qt::AlignVCenter);
                if (!dc.unit.empty())
                    text(QRectF(x, y_ + rowH, cols[c].width, rowH),
                         QString::fromStdString("(" + dc.unit + ")"), f,
                         Qt::AlignHCenter | Qt::AlignVCenter);
                x += cols[c].width;
            }
            const double width = x - left_;
            line(left_, y_, left_ + width, y_);
            y_ += headH;
            line(left_, y_, left_ + width, y_);
        };
        if (room() < headH + rowH * 3) newPage();
        heading();
        double width = 0;
        for (const Column& c : cols)
            width += c.width;
        for (const auto& row : t.rows) {
            if (room() < rowH) {
                line(left_, y_, left_ + width, y_);
                newPage();
                heading();
            }
            double x = left_;
            for (std::size_t c = 0; c < t.columns.size() && c < row.size(); ++c) {
                const DocumentColumn& dc = t.columns[c];
                const QString cell = QString::fromStdString(row[c]);
                const auto point = dc.numeric ? decimalPointIndex(row[c]) : std::nullopt;
                if (point) {
                    // The point of every number of the column at one place,
                    // the block of numbers at the column's right edge.
                    const double pointX = x + cols[c].width - pad - cols[c].after;
                    const QString before = QString::fromStdString(row[c].substr(0, *point));
                    const QString after = QString::fromStdString(row[c].substr(*point));
                    text(QRectF(pointX - cols[c].before, y_, cols[c].before, rowH), before, f,
                         Qt::AlignRight | Qt::AlignVCenter);
                    text(QRectF(pointX, y_, cols[c].after + pad, rowH), after, f,
                         Qt::AlignLeft | Qt::AlignVCenter);
                } else {
                    text(QRectF(x + pad, y_, cols[c].width - 2 * pad, rowH), cell, f,
                         (dc.numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
                }
                x += cols[c].width;
            }
            y_ += rowH;
        }
        line(left_, y_, left_ + width, y_);
        y_ += mm(4);
    }

    void picture(const DocumentBlock& b) {
        const Canvas& canvas = b.picture;
        if (canvas.width() <= 0 || canvas.height() <= 0) return;
        const QFont f = font(9);
        const double captionH = textHeight(f) * 1.4;
        // Two pictures to a page.
        const double full = (bottom_ - top_ - headerHeight()) / 2.0 - captionH - mm(12);
        double w = std::min(width_ * 0.82, full * canvas.width() / canvas.height());
        double h = w * canvas.height() / canvas.width();
        if (room() < h + captionH) newPage();
        PageItem item;
        item.kind = PageItem::Kind::Picture;
        item.rect = QRectF(left_ + (width_ - w) / 2, y_, w, h);
        item.canvas = &canvas;
        page().items.push_back(item);
        y_ += h;
        text(QRectF(left_, y_, width_, captionH), QString::fromStdString(b.text), f,
             Qt::AlignHCenter | Qt::AlignVCenter);
        y_ += captionH + mm(4);
    }

    QPaintDevice* device_;
    const Document& doc_;
    double dpi_ = 72;
    double left_ = 0, width_ = 0, top_ = 0, bottom_ = 0;
    double y_ = 0;
    double contentsTop_ = 0;
    std::vector<Page> pages_;
    std::vector<std::pair<QString, int>> headingPages_;
};

void paintPage(QPainter& painter, const Page& page) {
    for (const PageItem& item : page.items) {
        switch (item.kind) {
        case PageItem::Kind::Text:
            painter.setFont(item.font);
            painter.setPen(Qt::black);
            painter.drawText(item.rect, item.flags, item.text);
            break;
        case PageItem::Kind::Line:
            painter.setPen(QPen(Qt::black, 0));
            painter.drawLine(item.rect.topLeft(), item.rect.bottomRight());
            break;
        case PageItem::Kind::Fill:
            painter.fillRect(item.rect, QColor(232, 232, 232));
            break;
        case PageItem::Kind::Picture: {
            painter.save();
            painter.translate(item.rect.topLeft());
            painter.scale(item.rect.width() / item.canvas->width(),
                          item.rect.height() / item.canvas->height());
            paintCanvas(painter, *item.canvas);
            painter.restore();
            painter.setPen(QPen(Qt::black, 0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(item.rect);
            break;
        }
        }
    }
}

} // namespace

std::vector<DocumentPage> layoutDocument(QPagedPaintDevice& device, const Document& document) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    return Layout(device, document).run();
}

int paintDocument(QPagedPaintDevice& device, const Document& document) {
    const std::vector<Page> pages = layoutDocument(device, document);
    QPainter painter(&device);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) device.newPage();
        paintPage(painter, pages[i]);
    }
    painter.end();
    return static_cast<int>(pages.size());
}

std::optional<std::string> documentPdf(const Document& document) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("rahmen"));
        writer.setTitle(QString::fromStdString(document.header));
        if (paintDocument(writer, document) < 1) return std::nullopt;
    }
    buffer.close();
    if (buffer.data().isEmpty()) return std::nullopt;
    // The text layer reads the characters written, not their look-alikes.
    return unifyToUnicode(
        std::string(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size())));
}

bool printDocument(const Document& document, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(document.header));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("計算書の印刷"));
    if (dialog.exec() != QDialog::Accepted) return false;
    return paintDocument(printer, document) > 0;
}

std::optional<std::string> documentPdfWithoutWindow(const Document& document) {
    std::unique_ptr<QGuiApplication> app;
    if (!QGuiApplication::instance()) {
        if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "rahmen-batch";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
        QFont font(QString::fromLatin1(kFontFamily));
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(pointsToPixels(10));
        QGuiApplication::setFont(font);
    }
    return documentPdf(document);
}

} // namespace rahmen
