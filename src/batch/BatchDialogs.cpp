#include "batch/BatchDialogs.h"

#include "platform/ScriptedDialogs.h"

namespace rahmen {

namespace {

const char* answerText(MessageResult answer) {
    switch (answer) {
    case MessageResult::Ok:
        return "OK";
    case MessageResult::Cancel:
        return "キャンセル";
    case MessageResult::Yes:
        return "はい";
    case MessageResult::No:
        return "いいえ";
    case MessageResult::Retry:
        return "再試行";
    }
    return "";
}

} // namespace

void BatchDialogs::writeLines(const std::string& text) {
    // Message texts break their lines with CR LF or LF; empty lines only
    // space out a box and are left out here.
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            err_ << (subject_.empty() ? "rahmen-batch" : subject_) << ": " << line << '\n';
        start = end + 1;
    }
    err_.flush();
}

void BatchDialogs::report(const std::string& text) {
    lastMessage_ = text;
    writeLines(text);
}

MessageResult BatchDialogs::message(const std::string&, const std::string& text,
                                    MessageButtons buttons, MessageIcon) {
    lastMessage_ = text;
    if (buttons == MessageButtons::Ok) {
        writeLines(text);
        return MessageResult::Ok;
    }
    for (const Answer& a : answers_) {
        if (text.compare(0, a.textStart.size(), a.textStart) != 0 || !offers(buttons, a.answer))
            continue;
        if (!a.note.empty()) {
            writeLines(a.note);
        } else {
            writeLines(text);
            writeLines(std::string("→ ") + answerText(a.answer));
        }
        return a.answer;
    }
    const MessageResult answer = defaultAnswer(buttons);
    writeLines(text);
    writeLines(std::string("→ ") + answerText(answer));
    return answer;
}

std::optional<std::string> BatchDialogs::input(const std::string& prompt, const std::string&,
                                               const std::string& defaultText) {
    const std::string answer = inputAnswer_ ? *inputAnswer_ : defaultText;
    lastMessage_ = prompt;
    writeLines(prompt);
    writeLines("→ " + answer);
    return answer;
}

std::optional<std::string> BatchDialogs::openFile(const std::string&, const std::string&,
                                                  const std::string&) {
    if (paths_.empty()) return std::nullopt;
    std::string path = std::move(paths_.front());
    paths_.pop_front();
    return path;
}

} // namespace rahmen
