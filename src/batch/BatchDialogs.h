#pragma once
// The dialogs of a run without a screen (rahmen-batch). Nothing is ever asked
// of a person:
// - a message box is written to the error stream, one line per line of its
//   text, each prefixed with the name of the file being worked on;
// - a question takes the answer set for it beforehand (matched by the start of
//   its text), otherwise its default, the first button of its set; the answer
//   taken is written after the question, or one plain line set with the
//   answer is written instead of both;
// - the open-file dialog is answered with the paths queued from the command
//   line, in order (cancelled once they are used up);
// - an input box is answered with the text set for it, otherwise its default
//   text;
// - help does nothing.

#include "platform/Dialogs.h"

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace rahmen {

class BatchDialogs : public Dialogs {
public:
    explicit BatchDialogs(std::ostream& err) : err_(err) {}

    // The file named in front of every message from now on.
    void setSubject(std::string fileName) { subject_ = std::move(fileName); }
    const std::string& subject() const { return subject_; }

    void queueOpenFile(std::string path) { paths_.push_back(std::move(path)); }
    void setInputAnswer(std::optional<std::string> answer) { inputAnswer_ = std::move(answer); }
    // Questions whose text starts with `textStart` are answered with `answer`;
    // with a `note`, that one line is written instead of the question and its
    // answer (a question the command line already answered).
    void answerQuestion(std::string textStart, MessageResult answer, std::string note = "") {
        answers_.push_back({std::move(textStart), answer, std::move(note)});
    }

    MessageResult message(const std::string& title, const std::string& text, MessageButtons buttons,
                          MessageIcon icon) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& filterLabel,
                                        const std::string& pattern) override;
    void help(const std::string&, const std::string&) override {}

    // The text of the last message box or input box.
    const std::string& lastMessage() const { return lastMessage_; }

    // Writes one message of the batch command itself, as a message box would be.
    void report(const std::string& text);

private:
    void writeLines(const std::string& text);

    std::ostream& err_;
    std::string subject_;
    std::deque<std::string> paths_;
    std::optional<std::string> inputAnswer_;
    struct Answer {
        std::string textStart;
        MessageResult answer;
        std::string note;
    };
    std::vector<Answer> answers_;
    std::string lastMessage_;
};

} // namespace rahmen
