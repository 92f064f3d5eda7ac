#pragma once
// The picture of a form on the screen: paints the form's display list and
// turns presses of the left and right button into the form's mouse-down event. The same painting
// writes a PNG of the picture.
//
// The picture is shown through a PictureView (draw/Projection.h): scaled to
// the widget's size, zoomed about the pointer with the wheel, moved with the
// middle button held, back to the drawing's own fit with Home or a double
// click of the middle button. A click reaches the form in the picture's own
// pixels, so that it picks what is shown. A drag with Ctrl and the left
// button turns the view (the window moves its angle scroll bars).

#include "draw/LabelPlacer.h"
#include "draw/Projection.h"
#include "platform/Canvas.h"
#include "platform/Form.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace rahmen {

struct Primitive;

// Paints every primitive of the display list onto a painter whose origin is
// the picture's top-left corner, after filling the picture with its
// background colour; labels that would overlap are moved or left out.
void paintCanvas(QPainter& painter, const Canvas& canvas);

// The picture as an image of the canvas's size.
QImage renderCanvas(const Canvas& canvas);
// The picture shown through `view` (enlarged, zoomed, moved) as an image of
// the canvas's size times the view's.
QImage renderShown(const Canvas& canvas, const PictureView& view);

// Writes the picture as a PNG file, `scale` times its size in either
// direction (lines, circles and text drawn anew at that size, the file's
// resolution 96 dots per inch times the scale, so that it prints at the
// picture's own size); false when the file cannot be written.
bool savePng(const Canvas& canvas, const std::string& path, int scale = 1);

// Font sizes are given in points; the widgets are laid out in pixels, so
// points are turned into pixels at 96 dots per inch whatever the screen says.
int pointsToPixels(int points);

class PictureWidget : public QWidget {
    Q_OBJECT
public:
    using MouseSink = std::function<void(MouseButton button, int x, int y)>;
    // A turning drag moved by (dx, dy) screen pixels.
    using TurnSink = std::function<void(int dx, int dy)>;

    explicit PictureWidget(const Canvas* canvas, QWidget* parent = nullptr);

    // The display list painted; nullptr paints an empty picture (the form
    // has gone).
    void setCanvas(const Canvas* canvas);
    const Canvas* canvas() const { return canvas_; }
    void setMouseSink(MouseSink sink) { mouseSink_ = std::move(sink); }
    void setTurnSink(TurnSink sink) { turnSink_ = std::move(sink); }
    // Schedules a repaint of the whole picture when the display list changed
    // since the last refresh.
    void refresh();

    // How the picture is shown now (its size follows the widget's).
    const PictureView& view() const { return view_; }
    // The screen boxes, in the widget's pixels, that no label may cover:
    // the visible controls lying over the picture, with a margin.
    std::vector<LabelBox> coveredBoxes() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class Drag { None, Pan, Turn };
    void updateSize();

    const Canvas* canvas_;
    std::uint64_t shownRevision_ = ~std::uint64_t{0};
    MouseSink mouseSink_;
    TurnSink turnSink_;
    PictureView view_;
    Drag drag_ = Drag::None;
    QPoint dragFrom_;
};

} // namespace rahmen
