#include "gui/FormWindow.h"

#include "gui/PictureWidget.h"
#include "gui/TextBreaks.h"
#include "gui/WindowManager.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace rahmen {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// Captions are plain text: a "&" is not a keyboard mnemonic.
QString caption(const std::string& text) {
    return qs(text).replace('&', QStringLiteral("&&"));
}

QStringList itemList(const std::vector<std::string>& items) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& item : items)
        list.append(qs(item));
    return list;
}

template <typename W> bool sameItems(const W* widget, const QStringList& items) {
    if (widget->count() != items.size()) return false;
    for (int i = 0; i < widget->count(); ++i) {
        if constexpr (std::is_same_v<W, QComboBox>) {
            if (widget->itemText(i) != items[i]) return false;
        } else {
            if (widget->item(i)->text() != items[i]) return false;
        }
    }
    return true;
}

void showCombo(QComboBox* box, const Control& c) {
    const QStringList items = itemList(c.items);
    if (!sameItems(box, items)) {
        box->clear();
        box->addItems(items);
    }
    // The list that drops down is as wide as its widest entry, so that
    // every entry reads whole even where the box is narrower.
    int widest = 0;
    for (const QString& item : items)
        widest = std::max(widest, box->fontMetrics().horizontalAdvance(item));
    const int scrollBar = box->count() > box->maxVisibleItems()
                              ? box->style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                              : 0;
    const int popupWidth = widest + 16 + scrollBar;
    if (box->view()->minimumWidth() != popupWidth) box->view()->setMinimumWidth(popupWidth);
    const int index = c.selected < box->count() ? c.selected : -1;
    if (box->currentIndex() != index) box->setCurrentIndex(index);
    // A text without a selected entry is shown in place of one.
    if (box->placeholderText() != qs(c.caption)) box->setPlaceholderText(qs(c.caption));
}

void showList(QListWidget* list, const Control& c) {
    const QStringList items = itemList(c.items);
    if (!sameItems(list, items)) {
        list->clear();
        list->addItems(items);
    }
    const int row = c.selected < list->count() ? c.selected : -1;
    if (list->currentRow() != row) list->setCurrentRow(row);
}

void showLabel(QLabel* label, const Control& c) {
    // A label laid out for more than one line wraps its text; the breaks
    // are made where a reader would, so that Qt has none left to make.
    const bool wrap = c.height >= 2 * label->fontMetrics().height();
    const QString text =
        wrap ? breakForReading(qs(c.caption), label->fontMetrics(), c.width) : qs(c.caption);
    if (label->text() != text) label->setText(text);
    if (label->wordWrap() != wrap) label->setWordWrap(wrap);
}

void showScrollBar(QScrollBar* bar, const Control& c) {
    // A bar may run backwards (minimum above maximum): its left or top end
    // is still the minimum.
    const int lo = std::min(c.scrollMin, c.scrollMax);
    const int hi = std::max(c.scrollMin, c.scrollMax);
    if (bar->minimum() != lo || bar->maximum() != hi) bar->setRange(lo, hi);
    const bool backwards = c.scrollMin > c.scrollMax;
    if (bar->invertedAppearance() != backwards) bar->setInvertedAppearance(backwards);
    if (bar->singleStep() != c.smallStep) bar->setSingleStep(c.smallStep);
    if (bar->pageStep() != c.largeStep) bar->setPageStep(c.largeStep);
    if (bar->value() != c.scrollPos) bar->setValue(c.scrollPos);
}

} // namespace

FormWindow::FormWindow(Form& form, WindowManager& manager)
    : QWidget(nullptr, Qt::Window), form_(&form), formName_(form.name()), manager_(manager) {
    setObjectName(qs(form.name()));
    setAttribute(Qt::WA_DeleteOnClose, false);
    installEventFilter(this);
    setAcceptDrops(true);
    build();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusMoved(now); });
    refresh();
}

FormWindow::~FormWindow() = default;

namespace {

std::vector<std::string> localFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    return paths;
}

} // namespace

void FormWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (form_ && manager_.takesFiles(formName_) && !localFiles(event->mimeData()).empty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void FormWindow::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = localFiles(event->mimeData());
    if (!form_ || !manager_.takesFiles(formName_) || paths.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The drag's source waits for the drop to end; the file is read, with its
    // questions and messages, after that.
    QPointer<FormWindow> self(this);
    QTimer::singleShot(0, this, [self, paths] {
        if (self && self->form_) self->manager_.filesDropped(self->formName_, paths);
    });
}

QWidget* FormWindow::widget(const std::string& controlName) const {
    for (const Item& item : items_)
        if (item.name == controlName) return item.widget;
    return nullptr;
}

void FormWindow::build() {
    for (const Control& control : form_->controls()) {
        QWidget* w = create(control);
        w->setObjectName(qs(control.name));
        w->installEventFilter(this);
        items_.push_back(Item{control.name, control.kind, w});
    }
    // Group frames are drawn behind the controls they frame.
    for (Item& item : items_)
        if (item.kind == ControlKind::Group) item.widget->lower();
}

QWidget* FormWindow::create(const Control& control) {
    const std::string name = control.name;
    switch (control.kind) {
    case ControlKind::Button: {
        auto* w = new QPushButton(this);
        w->setAutoDefault(false);
        if (!control.shortcut.empty())
            w->setShortcut(QKeySequence(QString::fromStdString(control.shortcut)));
        connect(w, &QPushButton::clicked, this,
                [this, name] { deliver([&](Form& f) { f.click(name); }); });
        return w;
    }
    case ControlKind::Edit: {
        auto* w = new QLineEdit(this);
        // A number box drops other characters as they are typed (the form
        // would refuse the text anyway).
        if (control.numeric)
            w->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9+\\-.eE \\t]*")), w));
        // textEdited comes only from the user, never from setText in refresh.
        connect(w, &QLineEdit::textEdited, this, [this, name](const QString& text) {
            deliver([&](Form& f) { f.typeText(name, text.toStdString()); });
        });
        return w;
    }
    case ControlKind::Check: {
        auto* w = new QCheckBox(this);
        connect(w, &QCheckBox::clicked, this,
                [this, name] { deliver([&](Form& f) { f.click(name); }); });
        return w;
    }
    case ControlKind::Radio: {
        auto* w = new QRadioButton(this);
        // The form decides which radio buttons exclude each other.
        w->setAutoExclusive(false);
        connect(w, &QRadioButton::clicked, this,
                [this, name] { deliver([&](Form& f) { f.click(name); }); });
        return w;
    }
    case ControlKind::Combo: {
        auto* w = new QComboBox(this);
        connect(w, qOverload<int>(&QComboBox::activated), this,
                [this, name](int index) { deliver([&](Form& f) { f.choose(name, index); }); });
        return w;
    }
    case ControlKind::List: {
        auto* w = new QListWidget(this);
        connect(w, &QListWidget::currentRowChanged, this,
                [this, name](int row) { deliver([&](Form& f) { f.choose(name, row); }); });
        return w;
    }
    case ControlKind::Label: {
        auto* w = new QLabel(this);
        w->setTextFormat(Qt::PlainText);
        return w;
    }
    case ControlKind::Group:
        return new QGroupBox(this);
    case ControlKind::HScroll:
    case ControlKind::VScroll: {
        auto* w = new QScrollBar(
            control.kind == ControlKind::HScroll ? Qt::Horizontal : Qt::Vertical, this);
        connect(w, &QScrollBar::valueChanged, this,
                [this, name](int value) { deliver([&](Form& f) { f.scrollTo(name, value); }); });
        return w;
    }
    case ControlKind::Picture: {
        auto* w = new PictureWidget(form_->picture(), this);
        w->setMouseSink([this](MouseButton button, int x, int y) {
            deliver([&](Form& f) { f.mouseDown(button, x, y); });
        });
        w->setTurnSink([this](int dx, int dy) { turnBy(dx, dy); });
        picture_ = w;
        resizable_ =
            control.width >= Canvas::DefaultWidth && control.height >= Canvas::DefaultHeight;
        return w;
    }
    }
    return new QWidget(this);
}

void FormWindow::deliver(const std::function<void(Form&)>& event) {
    if (refreshing_ || !form_) return;
    Form* form = form_;
    manager_.dispatch([&] { event(*form); });
}

void FormWindow::refresh() {
    if (!form_) return;
    refreshing_ = true;
    const Form& form = *form_;
    if (form.caption() != shownCaption_) {
        setWindowTitle(qs(form.caption()));
        shownCaption_ = form.caption();
    }
    if (form.width() != shownWidth_ || form.height() != shownHeight_) {
        if (resizable_) {
            setMinimumSize(form.width(), form.height());
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            if (shownWidth_ < 0) resize(form.width(), form.height());
        } else {
            setFixedSize(form.width(), form.height());
        }
        shownWidth_ = form.width();
        shownHeight_ = form.height();
    }
    // Only a move by the program is shown; a window the user dragged stays.
    if (form.left() != shownLeft_ || form.top() != shownTop_) {
        move(form.left(), form.top());
        shownLeft_ = form.left();
        shownTop_ = form.top();
    }
    // A window under a modal form takes no input until that form closes.
    if (isEnabled() == form.blocked()) setEnabled(!form.blocked());
    const auto& controls = form.controls();
    for (std::size_t i = 0; i < items_.size() && i < controls.size(); ++i)
        showControl(items_[i], controls[i]);
    if (form.focus() != shownFocus_) {
        shownFocus_ = form.focus();
        if (QWidget* w = widget(shownFocus_)) w->setFocus(Qt::OtherFocusReason);
    }
    // A picture waiting for a key holds the focus (the button that started
    // the wait may just have been disabled, and Qt would pass the focus on to
    // the next button).
    if (form.waitsForKey() && picture_ && focusWidget() != picture_)
        picture_->setFocus(Qt::OtherFocusReason);
    refreshing_ = false;
}

const Control* FormWindow::pictureControl() const {
    if (!form_) return nullptr;
    for (const Control& c : form_->controls())
        if (c.kind == ControlKind::Picture) return &c;
    return nullptr;
}

QRect FormWindow::placed(const Control& c) const {
    const Control* picture = pictureControl();
    if (scale_ == 1 || !picture) return QRect(c.x, c.y, c.width, c.height);
    // Along each axis the span of the picture grows by the scale; what lies
    // before it stays, what lies after it moves by the growth. A control keeps
    // its size but for the picture's own growth along it: the picture and the
    // scroll bars along it stretch, every other control only moves. A panel
    // beside the picture moves with its edge as one block, from the top.
    auto along = [this](int v, int from, int length) {
        if (v <= from) return v;
        if (v >= from + length) return v + static_cast<int>(std::lround((scale_ - 1) * length));
        return from + static_cast<int>(std::lround((v - from) * scale_));
    };
    auto x = [&](int v) { return along(v, picture->x, picture->width); };
    auto y = [&](int v) { return along(v, picture->y, picture->height); };
    const bool stretchX = c.kind == ControlKind::Picture || c.kind == ControlKind::HScroll;
    const bool stretchY = c.kind == ControlKind::Picture || c.kind == ControlKind::VScroll;
    const bool overPicture = c.x < picture->x + picture->width && c.x + c.width > picture->x;
    const int left = x(c.x), top = overPicture || stretchY ? y(c.y) : c.y;
    return QRect(left, top, stretchX ? x(c.x + c.width) - left : c.width,
                 stretchY ? y(c.y + c.height) - top : c.height);
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const Control* picture = pictureControl();
    if (!resizable_ || !picture || picture->width <= 0 || picture->height <= 0) return;
    // The picture takes all the room the window gained, by the smaller of
    // its two ratios so that it keeps its shape.
    const double sx = double(width() - form_->width() + picture->width) / picture->width;
    const double sy = double(height() - form_->height() + picture->height) / picture->height;
    const double scale = std::max(1.0, std::min(sx, sy));
    if (scale == scale_) return;
    scale_ = scale;
    for (Item& item : items_)
        item.x = -1; // placed again by the refresh
    refresh();
}

void FormWindow::turnBy(int dx, int dy) {
    if (!form_) return;
    // About 0.5 degrees per pixel: a drag across the picture turns it half round.
    constexpr int kMilliradiansPerPixel = 9;
    const Control* across = nullptr;
    const Control* down = nullptr;
    for (const Control& c : form_->controls()) {
        if (!c.visible || !c.enabled) continue;
        if (c.kind == ControlKind::HScroll && !across) across = &c;
        if (c.kind == ControlKind::VScroll && !down) down = &c;
    }
    const auto turn = [this](const Control* bar, int pixels) {
        if (!bar || pixels == 0) return;
        const std::string name = bar->name;
        const int to = bar->scrollPos + pixels * kMilliradiansPerPixel;
        deliver([&](Form& f) { f.scrollTo(name, to); });
    };
    turn(across, dx);
    turn(down, dy);
}

void FormWindow::showControl(Item& item, const Control& c) {
    QWidget* w = item.widget;
    if (c.x != item.x || c.y != item.y || c.width != item.width || c.height != item.height) {
        w->setGeometry(placed(c));
        item.x = c.x;
        item.y = c.y;
        item.width = c.width;
        item.height = c.height;
    }
    if (c.fontSize != item.fontSize) {
        QFont font = QApplication::font();
        font.setPixelSize(pointsToPixels(c.fontSize));
        w->setFont(font);
        item.fontSize = c.fontSize;
    }
    if (w->isEnabledTo(this) != c.enabled) w->setEnabled(c.enabled);
    if (w->isHidden() == c.visible) w->setVisible(c.visible);

    switch (c.kind) {
    case ControlKind::Button: {
        auto* b = static_cast<QPushButton*>(w);
        if (b->text() != caption(c.caption)) b->setText(caption(c.caption));
        break;
    }
    case ControlKind::Edit: {
        auto* e = static_cast<QLineEdit*>(w);
        if (e->text() != qs(c.caption)) e->setText(qs(c.caption));
        break;
    }
    case ControlKind::Check:
    case ControlKind::Radio: {
        auto* b = static_cast<QAbstractButton*>(w);
        if (b->text() != caption(c.caption)) b->setText(caption(c.caption));
        if (b->isChecked() != c.checked) b->setChecked(c.checked);
        break;
    }
    case ControlKind::Combo:
        showCombo(static_cast<QComboBox*>(w), c);
        break;
    case ControlKind::List:
        showList(static_cast<QListWidget*>(w), c);
        break;
    case ControlKind::Label:
        showLabel(static_cast<QLabel*>(w), c);
        break;
    case ControlKind::Group: {
        auto* group = static_cast<QGroupBox*>(w);
        if (group->title() != caption(c.caption)) group->setTitle(caption(c.caption));
        break;
    }
    case ControlKind::HScroll:
    case ControlKind::VScroll:
        showScrollBar(static_cast<QScrollBar*>(w), c);
        break;
    case ControlKind::Picture:
        static_cast<PictureWidget*>(w)->refresh();
        break;
    }
}

void FormWindow::detach() {
    form_ = nullptr;
    if (picture_) {
        picture_->setCanvas(nullptr);
        picture_->setMouseSink(nullptr);
    }
}

void FormWindow::focusMoved(QWidget* now) {
    if (!form_ || refreshing_ || !now || now->window() != this) return;
    for (QWidget* w = now; w && w != this; w = w->parentWidget()) {
        for (const Item& item : items_) {
            if (item.widget != w) continue;
            form_->setFocus(item.name);
            shownFocus_ = item.name;
            return;
        }
    }
}

int FormWindow::keyCode(int qtKey, const QString& text) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey; // 'A'..'Z'
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey; // '0'..'9'
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        break;
    }
    if (!text.isEmpty() && text.at(0).unicode() > 32 && text.at(0).unicode() < 127)
        return text.at(0).toUpper().unicode();
    return 0;
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    // While the form waits for a key, keys reach neither the focused control
    // nor a button's shortcut: each goes to the form.
    if (!form_ || !form_->waitsForKey()) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // delivered as a key press instead, caught below
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int code = keyCode(key->key(), key->text());
        if (code != 0 && !refreshing_) deliver([code](Form& f) { f.keyPress(code); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    const int code = keyCode(event->key(), event->text());
    if (!form_ || code == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Escape on a form that takes no keys itself works as the close box.
    if (code == 27 && !form_->takesKeys()) {
        event->accept();
        if (!refreshing_) manager_.closeRequested(*form_);
        return;
    }
    deliver([code](Form& f) { f.keyPress(code); });
    event->accept();
}

void FormWindow::mousePressEvent(QMouseEvent* event) {
    // A form with a picture takes clicks on the picture only.
    if (!form_ || picture_) {
        QWidget::mousePressEvent(event);
        return;
    }
    MouseButton button = MouseButton::Left;
    if (event->button() == Qt::RightButton)
        button = MouseButton::Right;
    else if (event->button() == Qt::MiddleButton)
        button = MouseButton::Middle;
    else if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    deliver([&](Form& f) { f.mouseDown(button, at.x(), at.y()); });
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The program closes its forms by hiding their windows; a close request
    // from the user goes to the form (or is refused), so that no form
    // disappears without its end handler.
    // Once the program has ended its windows close without asking again
    // (the application closes every window when it quits).
    if (!form_ || manager_.ended()) {
        event->accept();
        return;
    }
    event->ignore();
    if (!refreshing_) manager_.closeRequested(*form_);
}

} // namespace rahmen
