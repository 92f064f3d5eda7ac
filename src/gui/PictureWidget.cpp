#include "gui/PictureWidget.h"

#include "draw/PictureLayout.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>
#include <map>
#include <unordered_map>
#include <vector>

namespace rahmen {

namespace {

QColor toColor(int index) {
    const Rgb rgb = paletteColor(index);
    return QColor(rgb.r, rgb.g, rgb.b);
}

// The widths of texts in the application's font, as the painter draws them.
// Measuring a text shapes it, which costs more than placing it: the widths
// are kept from one redraw to the next (a picture's labels are mostly the
// same numbers), for the font they were measured in.
TextWidth applicationTextWidth() {
    static std::unordered_map<std::string, double> known;
    static QString knownFont;
    const QString fontKey = QGuiApplication::font().key();
    if (fontKey != knownFont || known.size() > 200000) {
        known.clear();
        knownFont = fontKey;
    }
    auto metrics = std::make_shared<std::map<int, QFontMetricsF>>();
    return [metrics](const std::string& text, int pixels) {
        std::string key = std::to_string(pixels);
        key += ' ';
        key += text;
        const auto knownWidth = known.find(key);
        if (knownWidth != known.end()) return knownWidth->second;
        auto it = metrics->find(pixels);
        if (it == metrics->end()) {
            QFont font = QGuiApplication::font();
            font.setPixelSize(pixels);
            it = metrics->emplace(pixels, QFontMetricsF(font)).first;
        }
        const double width = it->second.horizontalAdvance(QString::fromStdString(text));
        known.emplace(std::move(key), width);
        return width;
    };
}

// The shown picture of the last redraw, whose storage the next one reuses.
ShownPicture& shownBuffer() {
    static ShownPicture buffer;
    return buffer;
}

// The items of a shown picture on a painter whose origin is the picture's
// top-left corner.
void paintItems(QPainter& painter, const std::vector<Primitive>& items, int defaultPoints) {
    // Lines and circles smoothed, as text is. An antialiasing painter has the
    // centre of a pixel at its half coordinates: shapes are drawn through the
    // centres of the pixels nearest their ends, which keeps the level and
    // plumb lines of the pictures one pixel sharp at every zoom while a
    // slanting line is smoothed along its length.
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // The nearest pixel, a half going up and left as the painter's own
    // unsmoothed drawing takes it.
    const auto at = [](double x, double y) {
        return QPointF(std::ceil(x - 0.5) + 0.5, std::ceil(y - 0.5) + 0.5);
    };
    // One pixel wide lines; on a painter drawing finer than the picture's
    // pixels (a picture saved for print) a pixel of the picture wide.
    const double pen = painter.transform().isScaling() ? 1.0 : 0.0;
    QFont font = QGuiApplication::font();
    int fontPixels = 0;
    double ascent = 0;
    // A run of points of one colour (a deformed member's curve is tens of
    // thousands of them) goes to the painter in one call, in the same order.
    // On a painter of the picture's own pixels a point fills the one pixel
    // whose centre it is drawn at, smoothed or not: there the points go
    // unsmoothed, which the painter draws faster. A painter drawing finer
    // smooths them as the lines.
    const bool wholePixels = pen == 0.0;
    std::vector<QPointF> points;
    int pointColor = -1;
    const auto flushPoints = [&] {
        if (points.empty()) return;
        painter.setPen(QPen(toColor(pointColor), pen));
        if (wholePixels) painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawPoints(points.data(), static_cast<int>(points.size()));
        if (wholePixels) painter.setRenderHint(QPainter::Antialiasing, true);
        points.clear();
    };
    for (const Primitive& p : items) {
        if (p.shape == Shape::Point) {
            if (p.color != pointColor) flushPoints();
            pointColor = p.color;
            // A curve's neighbouring points often fall on one pixel: that
            // pixel is painted once.
            const QPointF pixel = at(p.x1, p.y1);
            if (!wholePixels || points.empty() || points.back() != pixel) points.push_back(pixel);
            continue;
        }
        flushPoints();
        const QColor color = toColor(p.color);
        switch (p.shape) {
        case Shape::Line:
            painter.setPen(QPen(color, pen));
            painter.drawLine(at(p.x1, p.y1), at(p.x2, p.y2));
            break;
        case Shape::Circle:
            painter.setPen(QPen(color, pen));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(at(p.x1, p.y1), p.radius, p.radius);
            break;
        case Shape::FilledCircle:
            painter.setPen(QPen(color, pen));
            painter.setBrush(color);
            painter.drawEllipse(at(p.x1, p.y1), p.radius, p.radius);
            painter.setBrush(Qt::NoBrush);
            break;
        case Shape::Point: // gathered above
            break;
        case Shape::Text: {
            const int pixels = pointsToPixels(p.fontSize > 0 ? p.fontSize : defaultPoints);
            if (pixels != fontPixels) {
                font.setPixelSize(pixels);
                painter.setFont(font);
                fontPixels = pixels;
                ascent = QFontMetrics(painter.font()).ascent();
            }
            painter.setPen(color);
            // The primitive gives the top-left corner of the first character
            // cell; the painter wants the baseline.
            painter.drawText(QPointF(p.x1, p.y1 + ascent), QString::fromStdString(p.text));
            break;
        }
        }
    }
    flushPoints();
}

} // namespace

int pointsToPixels(int points) {
    return textPixels(points);
}

namespace {

void paintShown(QPainter& painter, const Canvas& canvas, const PictureView& view) {
    const double w = canvas.width() * view.size, h = canvas.height() * view.size;
    painter.save();
    painter.fillRect(QRectF(0, 0, w, h), toColor(canvas.background()));
    painter.setClipRect(QRectF(0, 0, w, h));
    ShownPicture& shown = shownBuffer();
    showPicture(shown, canvas, view, w, h, {}, applicationTextWidth());
    paintItems(painter, shown.items, canvas.fontSize());
    painter.restore();
}

} // namespace

void paintCanvas(QPainter& painter, const Canvas& canvas) {
    paintShown(painter, canvas, PictureView{});
}

QImage renderShown(const Canvas& canvas, const PictureView& view) {
    QImage image(std::max(1, static_cast<int>(std::lround(canvas.width() * view.size))),
                 std::max(1, static_cast<int>(std::lround(canvas.height() * view.size))),
                 QImage::Format_RGB32);
    QPainter painter(&image);
    paintShown(painter, canvas, view);
    painter.end();
    return image;
}

QImage renderCanvas(const Canvas& canvas) {
    QImage image(std::max(1, canvas.width()), std::max(1, canvas.height()), QImage::Format_RGB32);
    QPainter painter(&image);
    paintCanvas(painter, canvas);
    painter.end();
    return image;
}

bool savePng(const Canvas& canvas, const std::string& path, int scale) {
    if (scale <= 1) return renderCanvas(canvas).save(QString::fromStdString(path), "PNG");
    QImage image(std::max(1, canvas.width()) * scale, std::max(1, canvas.height()) * scale,
                 QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(96 * scale / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    painter.scale(scale, scale);
    paintCanvas(painter, canvas);
    painter.end();
    return image.save(QString::fromStdString(path), "PNG");
}

PictureWidget::PictureWidget(const Canvas* canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
}

void PictureWidget::setCanvas(const Canvas* canvas) {
    canvas_ = canvas;
    shownRevision_ = ~std::uint64_t{0};
    updateSize();
    update();
}

void PictureWidget::refresh() {
    // Only a request for the whole widget counts: a paint event may cover a
    // part only (a scroll bar over the picture repaints its own rectangle at
    // once, while the event that changed the picture is still running), so
    // having painted the current revision somewhere does not mean all of it
    // is on the screen.
    if (!canvas_ || canvas_->revision() == shownRevision_) return;
    shownRevision_ = canvas_->revision();
    update();
}

void PictureWidget::updateSize() {
    // The picture grows with the widget, by the smaller of the two ratios so
    // that it is never cut; at the design size the ratio is exactly 1.
    if (!canvas_ || canvas_->width() <= 0 || canvas_->height() <= 0) return;
    const double sx = static_cast<double>(width()) / canvas_->width();
    const double sy = static_cast<double>(height()) / canvas_->height();
    view_.size = std::max(1.0, std::min(sx, sy));
}

std::vector<LabelBox> PictureWidget::coveredBoxes() const {
    // A label next to a control reads as part of it: the margin keeps labels
    // a few pixels away.
    constexpr int kMargin = 3;
    std::vector<LabelBox> boxes;
    if (!parentWidget()) return boxes;
    for (QObject* child : parentWidget()->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w == this || !w->isVisible()) continue;
        const QRect r =
            w->geometry().translated(-pos()).adjusted(-kMargin, -kMargin, kMargin, kMargin);
        if (!r.intersects(rect())) continue;
        boxes.push_back({double(r.x()), double(r.y()), double(r.width()), double(r.height())});
    }
    return boxes;
}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The rectangle of the layout may be larger than the canvas.
    painter.fillRect(rect(), palette().window());
    if (!canvas_) return;
    updateSize();
    const double w = canvas_->width() * view_.size, h = canvas_->height() * view_.size;
    painter.fillRect(QRectF(0, 0, w, h), toColor(canvas_->background()));
    painter.setClipRect(QRectF(0, 0, w, h));
    ShownPicture& shown = shownBuffer();
    showPicture(shown, *canvas_, view_, w, h, coveredBoxes(), applicationTextWidth());
    paintItems(painter, shown.items, canvas_->fontSize());
}

void PictureWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateSize();
    update();
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::MiddleButton) {
        // The middle button moves the picture; the pictures' forms give it
        // no pick of its own.
        drag_ = Drag::Pan;
        dragFrom_ = at;
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier) &&
        turnSink_) {
        // A turning drag is not a click.
        drag_ = Drag::Turn;
        dragFrom_ = at;
        event->accept();
        return;
    }
    MouseButton button;
    switch (event->button()) {
    case Qt::LeftButton:
        button = MouseButton::Left;
        break;
    case Qt::RightButton:
        button = MouseButton::Right;
        break;
    default:
        QWidget::mousePressEvent(event);
        return;
    }
    // The form takes the click in the picture's own pixels.
    const PicturePoint p = toPicture(view_, {double(at.x()), double(at.y())});
    const int x = static_cast<int>(std::lround(p.x)), y = static_cast<int>(std::lround(p.y));
    if (mouseSink_) mouseSink_(button, x, y);
    event->accept();
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const QPoint by = at - dragFrom_;
    switch (drag_) {
    case Drag::None:
        QWidget::mouseMoveEvent(event);
        return;
    case Drag::Pan:
        panBy(view_, by.x(), by.y());
        update();
        break;
    case Drag::Turn:
        if (turnSink_) turnSink_(by.x(), by.y());
        break;
    }
    dragFrom_ = at;
    event->accept();
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    drag_ = Drag::None;
    QWidget::mouseReleaseEvent(event);
}

void PictureWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        fitPicture(view_);
        update();
        event->accept();
        return;
    }
    // A double click is a second press for the form.
    mousePressEvent(event);
}

void PictureWidget::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y();
    if (steps == 0) {
        event->ignore();
        return;
    }
    // One notch (120) zooms by a quarter, about the point under the pointer.
    const QPointF at = event->position();
    zoomAbout(view_, at.x(), at.y(), std::pow(1.25, steps / 120.0));
    update();
    event->accept();
}

void PictureWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home && zoomedOrPanned(view_)) {
        fitPicture(view_);
        update();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace rahmen
