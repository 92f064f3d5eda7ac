#pragma once
// The dialogs the program shows: message boxes, input boxes, the open-file
// dialog and the help viewer. The program logic talks only to this interface;
// the Qt layer shows real modal dialogs and tests answer from a script.

#include <optional>
#include <string>

namespace rahmen {

enum class MessageButtons { Ok, OkCancel, YesNo, RetryCancel };
enum class MessageIcon { None, Stop, Question, Exclamation, Information };
enum class MessageResult { Ok, Cancel, Yes, No, Retry };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a modal message box and returns the button pressed.
    virtual MessageResult message(const std::string& title, const std::string& text,
                                  MessageButtons buttons, MessageIcon icon) = 0;

    // Shows an input box; nullopt when the user cancelled.
    virtual std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                             const std::string& defaultText) = 0;

    // Shows the open-file dialog in the current folder; the chosen path, or
    // nullopt when cancelled. `pattern` is a glob such as "*.fdt".
    virtual std::optional<std::string> openFile(const std::string& title,
                                                const std::string& filterLabel,
                                                const std::string& pattern) = 0;

    // Shows the save-file dialog in the current folder, offering the patterns
    // of `filterLabel` (such as "図(*.png *.svg)"); the chosen path, or nullopt
    // when cancelled. A platform without one cancels.
    virtual std::optional<std::string> saveFile(const std::string& /*title*/,
                                                const std::string& /*filterLabel*/,
                                                const std::string& /*defaultName*/) {
        return std::nullopt;
    }

    // Opens the help file at a keyword; an empty keyword opens its contents.
    virtual void help(const std::string& file, const std::string& keyword) = 0;
};

} // namespace rahmen
