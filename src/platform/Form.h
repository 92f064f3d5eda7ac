#pragma once
// A form of the program: a named window holding controls, an optional
// picture, and the handlers its events run. A form class declares its controls
// with their design captions, initial states and layout rectangles in its
// constructor and registers its handlers under the design's names; the GUI (or
// a test) delivers events through click(), change(), scroll(), mouseDown() and
// keyPress() and re-reads the controls afterwards. Handlers never touch widgets.

#include "platform/Canvas.h"
#include "platform/Control.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace rahmen {

class Desktop;

enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

class Form {
public:
    using Handler = std::function<void()>;
    using MouseHandler = std::function<void(MouseButton button, int x, int y)>;
    using KeyHandler = std::function<void(int key)>;

    Form(std::string name, std::string caption, int width, int height);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { caption_ = std::move(caption); }
    int width() const { return width_; }
    int height() const { return height_; }
    void resize(int width, int height);
    int left() const { return left_; }
    int top() const { return top_; }
    void move(int left, int top);
    bool isOpen() const { return open_; }
    const std::string& helpKeyword() const { return helpKeyword_; }
    // A modal form takes all input while it is open: every form opened
    // before it ignores events until it closes.
    bool modal() const { return modal_; }
    void setModal(bool modal) { modal_ = modal; }
    // True while a modal form opened after this one is open.
    bool blocked() const;
    // The control the window's close box and Escape press: by default the
    // form's "キャンセル" button; "" when the form has none.
    virtual std::string closeControl() const;
    // True when the form handles key presses itself (Escape included).
    bool takesKeys() const { return static_cast<bool>(keyHandler_); }
    // True while the form's picture waits for a key press ("何かキーを押して
    // ください。"): every key then goes to the form's key handler, whichever
    // control holds the focus, so that no key presses a button instead.
    virtual bool waitsForKey() const { return false; }
    void setHelpKeyword(std::string keyword) { helpKeyword_ = std::move(keyword); }

    // The controls, in declaration order. c() throws std::out_of_range for a
    // name the form does not have, so a mistyped name fails at once.
    Control& c(const std::string& name);
    const Control& c(const std::string& name) const;
    bool has(const std::string& name) const;
    std::vector<Control>& controls() { return controls_; }
    const std::vector<Control>& controls() const { return controls_; }

    // The control holding the keyboard focus ("" none).
    const std::string& focus() const { return focus_; }
    void setFocus(const std::string& name);

    // The picture, or nullptr when the form has none.
    Canvas* picture() { return picture_.get(); }
    const Canvas* picture() const { return picture_.get(); }

    // Closes the form through the desktop that showed it.
    void close();

    // Events. Each returns false and does nothing when the form is not open or
    // the control is disabled or hidden, as a click on the screen would.
    // A click on a check box toggles it and a click on a radio button checks it
    // (unchecking the other radios of its group) before the handler runs.
    bool click(const std::string& name);
    // An edit's text or a combo's selection has changed.
    bool change(const std::string& name);
    // A scroll bar has moved.
    bool scroll(const std::string& name);
    // Coordinates are in picture pixels when the form has a picture, otherwise
    // in form pixels.
    bool mouseDown(MouseButton button, int x, int y);
    bool keyPress(int key);

    // What a user does, in one step: type a text into an edit, choose an entry
    // of a combo or list, move a scroll bar (clamped to its range).
    bool typeText(const std::string& name, const std::string& text);
    bool choose(const std::string& name, int index);
    bool scrollTo(const std::string& name, int position);

protected:
    Control& addButton(const std::string& name, const std::string& caption, int x, int y, int w,
                       int h);
    Control& addEdit(const std::string& name, const std::string& text, int x, int y, int w, int h);
    Control& addLabel(const std::string& name, const std::string& caption, int x, int y, int w,
                      int h);
    Control& addCheck(const std::string& name, const std::string& caption, int x, int y, int w,
                      int h);
    Control& addRadio(const std::string& name, const std::string& caption, int x, int y, int w,
                      int h, const std::string& group = "");
    Control& addCombo(const std::string& name, int x, int y, int w, int h);
    Control& addList(const std::string& name, int x, int y, int w, int h);
    Control& addGroup(const std::string& name, const std::string& caption, int x, int y, int w,
                      int h);
    Control& addHScroll(const std::string& name, int x, int y, int w, int h);
    Control& addVScroll(const std::string& name, int x, int y, int w, int h);
    // The form's picture; the canvas gets the rectangle's size.
    Control& addPicture(const std::string& name, int x, int y, int w, int h);

    // Marks every edit declared so far as a number box, except the named
    // text boxes.
    void numberBoxes(std::initializer_list<const char*> textBoxes = {});

    void onClick(const std::string& name, Handler handler);
    void onChange(const std::string& name, Handler handler);
    void onScroll(const std::string& name, Handler handler);
    void onMouseDown(MouseHandler handler);
    void onKey(KeyHandler handler);

    // Run when the desktop opens and closes the form (FORMn_START, FORMn_END).
    virtual void start() {}
    virtual void end() {}
    // Run once the opened form is on the screen: what asks the user about
    // the form (a message box) asks over it, not before it appears.
    virtual void shown() {}

private:
    friend class Desktop;

    Control& add(ControlKind kind, const std::string& name, const std::string& caption, int x,
                 int y, int w, int h);
    Control* usable(const std::string& name);
    void run(const std::unordered_map<std::string, Handler>& handlers, const std::string& name);
    void afterEvent();

    std::string name_;
    std::string caption_;
    int width_;
    int height_;
    int left_ = 0;
    int top_ = 0;
    bool open_ = false;
    std::string helpKeyword_;
    bool modal_ = false;
    std::string focus_;
    std::vector<Control> controls_;
    std::unordered_map<std::string, std::size_t> index_;
    std::unique_ptr<Canvas> picture_;
    std::unordered_map<std::string, Handler> clickHandlers_;
    std::unordered_map<std::string, Handler> changeHandlers_;
    std::unordered_map<std::string, Handler> scrollHandlers_;
    MouseHandler mouseHandler_;
    KeyHandler keyHandler_;
    Desktop* desktop_ = nullptr;
};

} // namespace rahmen
