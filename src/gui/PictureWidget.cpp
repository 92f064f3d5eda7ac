#include "gui/PictureWidget.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace rahmen {

namespace {

QColor toColor(int index) {
    const Rgb rgb = paletteColor(index);
    return QColor(rgb.r, rgb.g, rgb.b);
}

} // namespace

int pointsToPixels(int points) {
    return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0)));
}

void paintCanvas(QPainter& painter, const Canvas& canvas) {
    painter.save();
    painter.fillRect(0, 0, canvas.width(), canvas.height(), toColor(canvas.background()));
    painter.setClipRect(0, 0, canvas.width(), canvas.height());
    // Thin lines without smoothing, as the pictures were drawn on the screens
    // the program was made for; text is smoothed so that kanji stay legible.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font = QGuiApplication::font();
    int fontPixels = 0;
    for (const Primitive& p : canvas.items()) {
        const QColor color = toColor(p.color);
        switch (p.shape) {
        case Shape::Line:
            painter.setPen(QPen(color, 0));
            painter.drawLine(QPointF(p.x1, p.y1), QPointF(p.x2, p.y2));
            break;
        case Shape::Circle:
            painter.setPen(QPen(color, 0));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QPointF(p.x1, p.y1), p.radius, p.radius);
            break;
        case Shape::FilledCircle:
            painter.setPen(QPen(color, 0));
            painter.setBrush(color);
            painter.drawEllipse(QPointF(p.x1, p.y1), p.radius, p.radius);
            painter.setBrush(Qt::NoBrush);
            break;
        case Shape::Point:
            painter.setPen(QPen(color, 0));
            painter.drawPoint(QPointF(p.x1, p.y1));
            break;
        case Shape::Text: {
            const int pixels = pointsToPixels(p.fontSize > 0 ? p.fontSize : canvas.fontSize());
            if (pixels != fontPixels) {
                font.setPixelSize(pixels);
                painter.setFont(font);
                fontPixels = pixels;
            }
            painter.setPen(color);
            // The primitive gives the top-left corner of the first character
            // cell; the painter wants the baseline.
            const QFontMetrics metrics(painter.font());
            painter.drawText(QPointF(p.x1, p.y1 + metrics.ascent()),
                             QString::fromStdString(p.text));
            break;
        }
        }
    }
    painter.restore();
}

QImage renderCanvas(const Canvas& canvas) {
    QImage image(std::max(1, canvas.width()), std::max(1, canvas.height()), QImage::Format_RGB32);
    QPainter painter(&image);
    paintCanvas(painter, canvas);
    painter.end();
    return image;
}

bool savePng(const Canvas& canvas, const std::string& path) {
    return renderCanvas(canvas).save(QString::fromStdString(path), "PNG");
}

PictureWidget::PictureWidget(const Canvas* canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
}

void PictureWidget::setCanvas(const Canvas* canvas) {
    canvas_ = canvas;
    shownRevision_ = ~std::uint64_t{0};
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

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The rectangle of the layout may be larger than the canvas.
    painter.fillRect(rect(), palette().window());
    if (!canvas_) return;
    paintCanvas(painter, *canvas_);
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
    MouseButton button;
    switch (event->button()) {
    case Qt::LeftButton:
        button = MouseButton::Left;
        break;
    case Qt::RightButton:
        button = MouseButton::Right;
        break;
    case Qt::MiddleButton:
        button = MouseButton::Middle;
        break;
    default:
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (mouseSink_) mouseSink_(button, at.x(), at.y());
    event->accept();
}

} // namespace rahmen
