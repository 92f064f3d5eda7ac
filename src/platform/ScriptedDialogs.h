#pragma once
// Dialogs answered from a script, for tests and for running the program
// without a screen. Every call is logged; a call with no matching answer
// queued gets the default answer and is counted as unscripted, so that a test
// can assert that the program asked exactly what the script expected.

#include "platform/Dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rahmen {

struct MessageCall {
    std::string title;
    std::string text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    MessageResult answer = MessageResult::Ok;
    bool scripted = false; // false: answered by default
};

struct InputCall {
    std::string prompt;
    std::string title;
    std::string defaultText;
    std::optional<std::string> answer;
    bool scripted = false;
};

struct OpenFileCall {
    std::string title;
    std::string filterLabel;
    std::string pattern;
    std::optional<std::string> answer;
    bool scripted = false;
};

struct HelpCall {
    std::string file;
    std::string keyword;
};

// The first button of a set, the answer of a message nobody scripted.
MessageResult defaultAnswer(MessageButtons buttons);
// Whether the set has that button.
bool offers(MessageButtons buttons, MessageResult answer);

class ScriptedDialogs : public Dialogs {
public:
    using MessageSink = std::function<void(const MessageCall&)>;

    // Answers are used in order, one per call of the same kind. A queued
    // message answer that the box does not offer (Yes to an OK box) is used
    // up, replaced by the default and counted as unscripted.
    void queueMessage(MessageResult answer) { messageAnswers_.push_back(answer); }
    void queueInput(std::optional<std::string> answer) { inputAnswers_.push_back(answer); }
    void queueOpenFile(std::optional<std::string> answer) { openFileAnswers_.push_back(answer); }

    MessageResult message(const std::string& title, const std::string& text, MessageButtons buttons,
                          MessageIcon icon) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& filterLabel,
                                        const std::string& pattern) override;
    // The save-file dialog takes its answers from the open-file queue and is
    // logged with the open-file dialogs (its default name as the pattern): a
    // script answers "the next file dialog" either way.
    std::optional<std::string> saveFile(const std::string& title, const std::string& filterLabel,
                                        const std::string& defaultName) override;
    void help(const std::string& file, const std::string& keyword) override;

    const std::vector<MessageCall>& messages() const { return messages_; }
    const std::vector<InputCall>& inputs() const { return inputs_; }
    const std::vector<OpenFileCall>& openFiles() const { return openFiles_; }
    const std::vector<HelpCall>& helps() const { return helps_; }

    // Calls answered by default since the last clearLog().
    int unscripted() const { return unscripted_; }
    // Answers queued but not yet asked for.
    std::size_t pending() const {
        return messageAnswers_.size() + inputAnswers_.size() + openFileAnswers_.size();
    }

    // Forgets the log and the unscripted count (the queues stay).
    void clearLog();

    // Called with every message shown, e.g. to print it on standard error.
    void setMessageSink(MessageSink sink) { sink_ = std::move(sink); }

private:
    std::deque<MessageResult> messageAnswers_;
    std::deque<std::optional<std::string>> inputAnswers_;
    std::deque<std::optional<std::string>> openFileAnswers_;
    std::vector<MessageCall> messages_;
    std::vector<InputCall> inputs_;
    std::vector<OpenFileCall> openFiles_;
    std::vector<HelpCall> helps_;
    int unscripted_ = 0;
    MessageSink sink_;
};

} // namespace rahmen
