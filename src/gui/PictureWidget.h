#pragma once
// The picture of a form on the screen: paints the form's display list and
// turns mouse presses into the form's mouse-down event. The same painting
// writes a PNG of the picture.

#include "platform/Canvas.h"
#include "platform/Form.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

class QPainter;

namespace rahmen {

// Paints every primitive of the display list onto a painter whose origin is
// the picture's top-left corner, after filling the picture with its
// background colour.
void paintCanvas(QPainter& painter, const Canvas& canvas);

// The picture as an image of the canvas's size.
QImage renderCanvas(const Canvas& canvas);

// Writes the picture as a PNG file; false when the file cannot be written.
bool savePng(const Canvas& canvas, const std::string& path);

// Font sizes are given in points; the widgets are laid out in pixels, so
// points are turned into pixels at 96 dots per inch whatever the screen says.
int pointsToPixels(int points);

class PictureWidget : public QWidget {
    Q_OBJECT
public:
    using MouseSink = std::function<void(MouseButton button, int x, int y)>;

    explicit PictureWidget(const Canvas* canvas, QWidget* parent = nullptr);

    // The display list painted; nullptr paints an empty picture (the form
    // has gone).
    void setCanvas(const Canvas* canvas);
    const Canvas* canvas() const { return canvas_; }
    void setMouseSink(MouseSink sink) { mouseSink_ = std::move(sink); }
    // Schedules a repaint of the whole picture when the display list changed
    // since the last refresh.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const Canvas* canvas_;
    std::uint64_t shownRevision_ = ~std::uint64_t{0};
    MouseSink mouseSink_;
};

} // namespace rahmen
