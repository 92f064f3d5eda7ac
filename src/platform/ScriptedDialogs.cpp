#include "platform/ScriptedDialogs.h"

namespace rahmen {

MessageResult defaultAnswer(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
        return MessageResult::Ok;
    case MessageButtons::YesNo:
        return MessageResult::Yes;
    case MessageButtons::RetryCancel:
        return MessageResult::Retry;
    }
    return MessageResult::Ok;
}

bool offers(MessageButtons buttons, MessageResult answer) {
    switch (buttons) {
    case MessageButtons::Ok:
        return answer == MessageResult::Ok;
    case MessageButtons::OkCancel:
        return answer == MessageResult::Ok || answer == MessageResult::Cancel;
    case MessageButtons::YesNo:
        return answer == MessageResult::Yes || answer == MessageResult::No;
    case MessageButtons::RetryCancel:
        return answer == MessageResult::Retry || answer == MessageResult::Cancel;
    }
    return false;
}

MessageResult ScriptedDialogs::message(const std::string& title, const std::string& text,
                                       MessageButtons buttons, MessageIcon icon) {
    MessageCall call{title, text, buttons, icon, defaultAnswer(buttons), false};
    if (!messageAnswers_.empty()) {
        const MessageResult queued = messageAnswers_.front();
        messageAnswers_.pop_front();
        if (offers(buttons, queued)) {
            call.answer = queued;
            call.scripted = true;
        }
    }
    if (!call.scripted) ++unscripted_;
    messages_.push_back(call);
    if (sink_) sink_(call);
    return call.answer;
}

std::optional<std::string> ScriptedDialogs::input(const std::string& prompt,
                                                  const std::string& title,
                                                  const std::string& defaultText) {
    InputCall call{prompt, title, defaultText, std::nullopt, false};
    if (!inputAnswers_.empty()) {
        call.answer = inputAnswers_.front();
        call.scripted = true;
        inputAnswers_.pop_front();
    } else {
        ++unscripted_;
    }
    inputs_.push_back(call);
    return call.answer;
}

std::optional<std::string> ScriptedDialogs::openFile(const std::string& title,
                                                     const std::string& filterLabel,
                                                     const std::string& pattern) {
    OpenFileCall call{title, filterLabel, pattern, std::nullopt, false};
    if (!openFileAnswers_.empty()) {
        call.answer = openFileAnswers_.front();
        call.scripted = true;
        openFileAnswers_.pop_front();
    } else {
        ++unscripted_;
    }
    openFiles_.push_back(call);
    return call.answer;
}

std::optional<std::string> ScriptedDialogs::saveFile(const std::string& title,
                                                     const std::string& filterLabel,
                                                     const std::string& defaultName) {
    return openFile(title, filterLabel, defaultName);
}

void ScriptedDialogs::help(const std::string& file, const std::string& keyword) {
    helps_.push_back({file, keyword});
}

void ScriptedDialogs::clearLog() {
    messages_.clear();
    inputs_.clear();
    openFiles_.clear();
    helps_.clear();
    unscripted_ = 0;
}

} // namespace rahmen
