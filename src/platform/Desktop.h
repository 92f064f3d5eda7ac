#pragma once
// The screen: its size, the forms open on it in the order they were opened,
// and the program-end request. The Qt layer registers a listener to create,
// refresh and destroy the windows of the forms.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rahmen {

class Canvas;
class Form;
struct Document;

class DesktopListener {
public:
    virtual ~DesktopListener() = default;
    // After the form's start hook has run.
    virtual void formOpened(Form& form) = 0;
    // After the form's end hook has run (or when an open form is destroyed).
    virtual void formClosed(Form& form) = 0;
    // The form's controls, position or picture may have changed.
    virtual void formChanged(Form& form) = 0;
};

class Desktop {
public:
    explicit Desktop(int screenWidth = 1024, int screenHeight = 768);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    int screenWidth() const { return screenWidth_; }
    int screenHeight() const { return screenHeight_; }
    void setScreenSize(int width, int height);

    // Opens the form: marks it open, runs its start hook and tells the
    // listeners. Showing a form that is already open does nothing.
    void show(Form& form);
    // Runs the end hook, marks the form closed and tells the listeners.
    // Closing a form that is not open does nothing.
    void close(Form& form);

    const std::vector<Form*>& openForms() const { return open_; }
    // True while a modal form opened after `form` is open: the form takes no
    // input until that one closes.
    bool blocks(const Form& form) const;

    // The user asked to close the form (its window's close box, Escape):
    // presses the form's close control when it can be pressed; otherwise
    // runs the refusal hook, which tells the user how to leave the form.
    // Nothing happens while the form is blocked by a modal form.
    void requestClose(Form& form);
    void setCloseRefusal(std::function<void(Form&)> hook) { closeRefusal_ = std::move(hook); }
    // The open form of that design name, or nullptr.
    Form* find(const std::string& name) const;

    // Centres the form on the screen: left = (screen width - form width) / 2,
    // top = (screen height - form height) / 2, but never less than 0, so that
    // the title bar of a form larger than the screen stays reachable.
    void centerForm(Form& form);

    // Tells the listeners that a form changed outside an event (a progress
    // window printing its steps during a long operation).
    void changed(Form& form);
    // Tells the listeners that every open form may have changed; run after
    // each event, since a handler may change any form.
    void refresh();

    void addListener(DesktopListener* listener);
    void removeListener(DesktopListener* listener);

    // Writing a picture as a PNG needs an image library, which only the GUI
    // has: it registers the writer here. writePng() is false when none is
    // registered or the file could not be written. A scale above 1 writes
    // the picture that many times finer (for print), drawn anew at that size.
    using PngWriter = std::function<bool(const Canvas& canvas, const std::string& path, int scale)>;
    void setPngWriter(PngWriter writer) { pngWriter_ = std::move(writer); }
    bool canWritePng() const { return static_cast<bool>(pngWriter_); }
    bool writePng(const Canvas& canvas, const std::string& path, int scale = 1) const {
        return pngWriter_ && pngWriter_(canvas, path, scale);
    }

    // Pages of a document (platform/Document.h) need the GUI's page renderer
    // too, which registers here: documentPdf() gives the PDF's bytes (nullopt
    // when none is registered or the renderer failed), printDocument() shows
    // the print dialog and prints (false when cancelled or none is registered).
    using DocumentPdf = std::function<std::optional<std::string>(const Document& document)>;
    using DocumentPrint = std::function<bool(const Document& document)>;
    void setDocumentRenderer(DocumentPdf pdf, DocumentPrint print) {
        documentPdf_ = std::move(pdf);
        documentPrint_ = std::move(print);
    }
    bool canRenderDocuments() const { return static_cast<bool>(documentPdf_); }
    std::optional<std::string> documentPdf(const Document& document) const {
        if (!documentPdf_) return std::nullopt;
        return documentPdf_(document);
    }
    bool printDocument(const Document& document) const {
        return documentPrint_ && documentPrint_(document);
    }

    // Set by the main menu's end button; the main loop ends the program.
    void requestEnd() { endRequested_ = true; }
    bool endRequested() const { return endRequested_; }

private:
    friend class Form;
    void forget(Form& form);

    int screenWidth_;
    int screenHeight_;
    std::vector<Form*> open_;
    std::vector<Form*> known_;
    std::vector<DesktopListener*> listeners_;
    bool endRequested_ = false;
    std::function<void(Form&)> closeRefusal_;
    PngWriter pngWriter_;
    DocumentPdf documentPdf_;
    DocumentPrint documentPrint_;
};

} // namespace rahmen
