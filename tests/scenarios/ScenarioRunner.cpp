#include "ScenarioRunner.h"

#include "ModelValues.h"

#include "main/rahmen.h"
#include "model/ModelFileHandlers.h"
#include "model/Program.h"
#include "platform/Form.h"
#include "platform/ScriptedPlatform.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace rahmen {

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

// Words separated by blanks; "..." is one word with \" \\ \n \t escapes.
bool tokenize(const std::string& line, std::vector<Token>& out, std::string& error) {
    out.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
            continue;
        }
        Token token;
        if (line[i] == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char ch = line[i++];
                if (ch == '"') {
                    closed = true;
                    break;
                }
                if (ch == '\\' && i < line.size()) {
                    const char next = line[i++];
                    token.text += next == 'n'   ? '\n'
                                  : next == 't' ? '\t'
                                  : next == 'r' ? '\r'
                                                : next;
                } else {
                    token.text += ch;
                }
            }
            if (!closed) {
                error = "unterminated quoted text";
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                token.text += line[i++];
        }
        out.push_back(std::move(token));
    }
    return true;
}

std::string buttonsName(MessageButtons b) {
    switch (b) {
    case MessageButtons::Ok:
        return "ok";
    case MessageButtons::OkCancel:
        return "okcancel";
    case MessageButtons::YesNo:
        return "yesno";
    case MessageButtons::RetryCancel:
        return "retrycancel";
    }
    return "?";
}

std::string iconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None:
        return "none";
    case MessageIcon::Stop:
        return "stop";
    case MessageIcon::Question:
        return "question";
    case MessageIcon::Exclamation:
        return "exclamation";
    case MessageIcon::Information:
        return "information";
    }
    return "?";
}

ScriptedPlatform& useFolder(ScriptedPlatform& platform, const std::filesystem::path& folder) {
    if (!folder.empty()) platform.files.setFolder(folder);
    return platform;
}

// One run of a script: the platform, the program and the read positions in
// the dialog logs.
class Session {
public:
    // The scenario's folder is a fresh temporary one, or `folder` when given.
    Session(const std::vector<std::filesystem::path>& fixtures, const std::filesystem::path& folder)
        : fixtures_(fixtures), rahmen_(useFolder(platform_, folder).services()) {}

    // Executes one line (with the following lines for a here-document);
    // returns the error, "" on success.
    std::string execute(const std::vector<Token>& t, const std::vector<std::string>& lines,
                        std::size_t& next);
    std::string finish();
    // Every file of the folder with its bytes.
    void collectFiles(ScenarioRunner::FolderContents& out) const;

private:
    Program& p() { return rahmen_.program(); }
    std::string event(const std::string& what, const std::function<bool()>& action);
    std::string afterAction(const std::string& what);
    Form* openForm(const std::string& name, std::string& error);
    std::string expect(const std::vector<Token>& t);
    std::string expectMessage(const std::vector<Token>& t);
    std::string writeFile(const std::string& name, const std::string& bytes);

    const std::vector<std::filesystem::path>& fixtures_;
    ScriptedPlatform platform_;
    Rahmen rahmen_;
    std::size_t messagesRead_ = 0;
    std::size_t helpsRead_ = 0;
    std::size_t inputsRead_ = 0;
    std::size_t openFilesRead_ = 0;
    int unscriptedSeen_ = 0;
    bool allowUnscripted_ = false;
};

std::string need(const std::vector<Token>& t, std::size_t count, const char* usage) {
    if (t.size() != count) return std::string("usage: ") + usage;
    return "";
}

Form* Session::openForm(const std::string& name, std::string& error) {
    Form* form = platform_.desktop.find(name);
    if (!form) error = name + " is not open";
    return form;
}

// A new unscripted dialog is a failure of the action that raised it.
std::string Session::afterAction(const std::string& what) {
    const int now = platform_.dialogs.unscripted();
    const int added = now - unscriptedSeen_;
    unscriptedSeen_ = now;
    if (added > 0 && !allowUnscripted_) {
        const auto& messages = platform_.dialogs.messages();
        std::string detail;
        for (const MessageCall& m : messages)
            if (!m.scripted) detail = " (last: message \"" + m.text + "\")";
        return what + " raised " + std::to_string(added) + " dialog(s) nobody answered" + detail;
    }
    return "";
}

std::string Session::event(const std::string& what, const std::function<bool()>& action) {
    bool done = false;
    try {
        done = action();
        if (done) rahmen_.afterEvent();
    } catch (const std::exception& e) {
        return what + ": " + e.what();
    }
    if (!done) return what + ": the control is disabled or hidden, or the form is closed";
    return afterAction(what);
}

std::string Session::writeFile(const std::string& name, const std::string& bytes) {
    const FileResult r = platform_.files.writeAtomic(name, bytes);
    return r ? "" : r.error;
}

std::string Session::execute(const std::vector<Token>& t, const std::vector<std::string>& lines,
                             std::size_t& next) {
    const std::string& cmd = t[0].text;
    std::string error;

    if (cmd == "start" || (cmd == "open" && t.size() == 2 && t[1].text == "MAINFORM")) {
        rahmen_.start();
        rahmen_.afterEvent();
        return afterAction(cmd);
    }
    if (cmd == "open") {
        if (!(error = need(t, 2, "open FORM")).empty()) return error;
        return event("open " + t[1].text, [&] {
            if (!p().hasForm(t[1].text)) throw std::runtime_error("no form registered as this");
            return p().openForm(t[1].text) != nullptr;
        });
    }
    if (cmd == "click") {
        if (!(error = need(t, 3, "click FORM CONTROL")).empty()) return error;
        Form* form = openForm(t[1].text, error);
        if (!form) return error;
        return event("click " + t[2].text, [&] { return form->click(t[2].text); });
    }
    if (cmd == "type") {
        if (!(error = need(t, 4, "type FORM CONTROL \"text\"")).empty()) return error;
        Form* form = openForm(t[1].text, error);
        if (!form) return error;
        return event("type " + t[2].text, [&] { return form->typeText(t[2].text, t[3].text); });
    }
    if (cmd == "choose" || cmd == "scroll") {
        if (!(error = need(t, 4, "choose|scroll FORM CONTROL N")).empty()) return error;
        Form* form = openForm(t[1].text, error);
        if (!form) return error;
        const int n = std::atoi(t[3].text.c_str());
        if (cmd == "choose")
            return event("choose " + t[2].text, [&] { return form->choose(t[2].text, n); });
        return event("scroll " + t[2].text, [&] { return form->scrollTo(t[2].text, n); });
    }
    if (cmd == "mouse") {
        if (!(error = need(t, 5, "mouse FORM left|right|middle X Y")).empty()) return error;
        Form* form = openForm(t[1].text, error);
        if (!form) return error;
        const std::map<std::string, MouseButton> buttons{{"left", MouseButton::Left},
                                                         {"right", MouseButton::Right},
                                                         {"middle", MouseButton::Middle}};
        auto b = buttons.find(t[2].text);
        if (b == buttons.end()) return "unknown mouse button " + t[2].text;
        const int x = std::atoi(t[3].text.c_str()), y = std::atoi(t[4].text.c_str());
        return event("mouse", [&] { return form->mouseDown(b->second, x, y); });
    }
    if (cmd == "close") {
        if (!(error = need(t, 2, "close FORM")).empty()) return error;
        Form* form = openForm(t[1].text, error);
        if (!form) return error;
        return event("close " + t[1].text, [&] {
            if (form->blocked()) return false;
            platform_.desktop.requestClose(*form);
            return true;
        });
    }
    if (cmd == "key") {
        if (!(error = need(t, 3, "key FORM CODE")).empty()) return error;
        Form* form = openForm(t[1].text, error);
        if (!form) return error;
        const int code = std::atoi(t[2].text.c_str());
        return event("key", [&] { return form->keyPress(code); });
    }
    if (cmd == "call") {
        if (!(error = need(t, 2, "call PROCEDURE")).empty()) return error;
        const std::map<std::string, std::function<void()>> procedures{
            {"BUTTON69_ON", [&] { BUTTON69_ON(p()); }},
            {"BUTTON70_ON", [&] { BUTTON70_ON(p()); }},
        };
        auto found = procedures.find(t[1].text);
        if (found == procedures.end()) return "no procedure " + t[1].text + " to call";
        return event("call " + t[1].text, [&] {
            found->second();
            return true;
        });
    }
    if (cmd == "answer") {
        if (!(error = need(t, 2, "answer yes|no|ok|cancel|retry")).empty()) return error;
        const std::map<std::string, MessageResult> answers{{"yes", MessageResult::Yes},
                                                           {"no", MessageResult::No},
                                                           {"ok", MessageResult::Ok},
                                                           {"cancel", MessageResult::Cancel},
                                                           {"retry", MessageResult::Retry}};
        auto a = answers.find(t[1].text);
        if (a == answers.end()) return "unknown answer " + t[1].text;
        platform_.dialogs.queueMessage(a->second);
        return "";
    }
    if (cmd == "input" || cmd == "openfile") {
        if (!(error = need(t, 2, "input|openfile \"text\"|cancel")).empty()) return error;
        std::optional<std::string> answer;
        if (t[1].quoted)
            answer = t[1].text;
        else if (t[1].text != "cancel")
            return "quote the text, or write cancel";
        if (cmd == "input")
            platform_.dialogs.queueInput(answer);
        else
            platform_.dialogs.queueOpenFile(answer);
        return "";
    }
    if (cmd == "set") {
        if (!(error = need(t, 3, "set NAME VALUE")).empty()) return error;
        return writeModelValue(p(), t[1].text, t[2].text);
    }
    if (cmd == "file") {
        if (t.size() == 2) return writeFile(t[1].text, "");
        if (t.size() != 3 || t[2].text.rfind("<<", 0) != 0 || t[2].text.size() < 3)
            return "usage: file NAME [<<TAG]";
        const std::string tag = t[2].text.substr(2);
        std::string bytes;
        for (;;) {
            if (next >= lines.size()) return "the here-document has no end line " + tag;
            std::string line = lines[next++];
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line == tag) break;
            bytes += utf8ToCp932(line) + "\r\n";
        }
        return writeFile(t[1].text, bytes);
    }
    if (cmd == "copy") {
        if (!(error = need(t, 3, "copy FIXTURE NAME")).empty()) return error;
        for (const auto& folder : fixtures_) {
            std::ifstream in(folder / t[1].text, std::ios::binary);
            if (!in) continue;
            std::ostringstream bytes;
            bytes << in.rdbuf();
            return writeFile(t[2].text, bytes.str());
        }
        return "no fixture " + t[1].text;
    }
    if (cmd == "allow") {
        if (t.size() != 2 || t[1].text != "unscripted") return "usage: allow unscripted";
        allowUnscripted_ = true;
        return "";
    }
    if (cmd == "expect") return expect(t);
    return "unknown command " + cmd;
}

std::string Session::expectMessage(const std::vector<Token>& t) {
    if (t.size() < 3 || !t[2].quoted || t.size() % 2 == 0)
        return "usage: expect message \"text\" [title \"..\"] [buttons B] [icon I]";
    const auto& log = platform_.dialogs.messages();
    if (messagesRead_ >= log.size())
        return "no further message was shown (expected \"" + t[2].text + "\")";
    const MessageCall& m = log[messagesRead_++];
    if (m.text != t[2].text) return "message \"" + m.text + "\" (expected \"" + t[2].text + "\")";
    for (std::size_t i = 3; i + 1 < t.size(); i += 2) {
        const std::string& key = t[i].text;
        const std::string& want = t[i + 1].text;
        std::string got;
        if (key == "title")
            got = m.title;
        else if (key == "buttons")
            got = buttonsName(m.buttons);
        else if (key == "icon")
            got = iconName(m.icon);
        else
            return "unknown message property " + key;
        if (got != want) return "message " + key + " " + got + " (expected " + want + ")";
    }
    return "";
}

std::string Session::expect(const std::vector<Token>& t) {
    if (t.size() < 2) return "usage: expect WHAT ...";
    const std::string& what = t[1].text;
    std::string error;

    if (what == "enabled" || what == "disabled" || what == "checked" || what == "unchecked" ||
        what == "visible" || what == "hidden") {
        if (t.size() < 4) return "usage: expect " + what + " FORM CONTROL...";
        Form* form = openForm(t[2].text, error);
        if (!form) return error;
        std::string wrong;
        for (std::size_t i = 3; i < t.size(); ++i) {
            if (!form->has(t[i].text)) return t[2].text + " has no control " + t[i].text;
            const Control& c = form->c(t[i].text);
            const bool state = what == "enabled"     ? c.enabled
                               : what == "disabled"  ? !c.enabled
                               : what == "checked"   ? c.checked
                               : what == "unchecked" ? !c.checked
                               : what == "visible"   ? c.visible
                                                     : !c.visible;
            if (!state) wrong += " " + t[i].text;
        }
        if (!wrong.empty()) return "not " + what + ":" + wrong;
        return "";
    }
    if (what == "caption") {
        if (!(error = need(t, 5, "expect caption FORM CONTROL \"text\"")).empty()) return error;
        Form* form = openForm(t[2].text, error);
        if (!form) return error;
        if (!form->has(t[3].text)) return t[2].text + " has no control " + t[3].text;
        const std::string& got = form->c(t[3].text).caption;
        if (got != t[4].text)
            return t[3].text + " reads \"" + got + "\" (expected \"" + t[4].text + "\")";
        return "";
    }
    if (what == "title") {
        if (!(error = need(t, 4, "expect title FORM \"text\"")).empty()) return error;
        Form* form = openForm(t[2].text, error);
        if (!form) return error;
        if (form->caption() != t[3].text)
            return t[2].text + " is titled \"" + form->caption() + "\" (expected \"" + t[3].text +
                   "\")";
        return "";
    }
    if (what == "picture") {
        // expect picture FORM text "..."      a text of the picture contains it
        // expect picture FORM notext "..."    no text of the picture contains it
        // expect picture FORM empty           nothing drawn
        // expect picture FORM mark X Y COLOUR a filled circle of that colour at (X, Y), ±1 pixel
        // expect picture FORM lines COLOUR N  exactly N lines of that colour
        const char* usage = "usage: expect picture FORM text|notext \"...\" | empty | mark X Y "
                            "COLOUR | lines COLOUR N";
        if (t.size() < 4) return usage;
        Form* form = openForm(t[2].text, error);
        if (!form) return error;
        if (!form->picture()) return t[2].text + " has no picture";
        const auto& items = form->picture()->items();
        const std::string kind = t[3].text;
        if (kind == "empty")
            return items.empty() ? ""
                                 : "the picture holds " + std::to_string(items.size()) + " items";
        if ((kind == "text" || kind == "notext") && t.size() == 5) {
            bool found = false;
            for (const Primitive& p : items)
                found = found ||
                        (p.shape == Shape::Text && p.text.find(t[4].text) != std::string::npos);
            if (found != (kind == "text"))
                return std::string("the picture ") + (found ? "shows" : "does not show") + " \"" +
                       t[4].text + "\"";
            return "";
        }
        if (kind == "mark" && t.size() == 7) {
            const double x = std::stod(t[4].text), y = std::stod(t[5].text);
            const int colour = std::stoi(t[6].text);
            for (const Primitive& p : items)
                if (p.shape == Shape::FilledCircle && p.color == colour &&
                    std::abs(p.x1 - x) <= 1 && std::abs(p.y1 - y) <= 1)
                    return "";
            return "no filled circle of colour " + t[6].text + " at (" + t[4].text + ", " +
                   t[5].text + ")";
        }
        if (kind == "lines" && t.size() == 6) {
            const int colour = std::stoi(t[4].text);
            const long expected = std::stol(t[5].text);
            const long lines = std::count_if(items.begin(), items.end(), [&](const Primitive& p) {
                return p.shape == Shape::Line && p.color == colour;
            });
            if (lines != expected)
                return "the picture holds " + std::to_string(lines) + " lines of colour " +
                       t[4].text + " (expected " + t[5].text + ")";
            return "";
        }
        return usage;
    }
    if (what == "focus") {
        if (!(error = need(t, 4, "expect focus FORM CONTROL")).empty()) return error;
        Form* form = openForm(t[2].text, error);
        if (!form) return error;
        if (form->focus() != t[3].text)
            return "the focus is on \"" + form->focus() + "\" (expected " + t[3].text + ")";
        return "";
    }
    if (what == "open" || what == "closed") {
        if (!(error = need(t, 3, "expect open|closed FORM")).empty()) return error;
        const bool open = platform_.desktop.find(t[2].text) != nullptr;
        if (open != (what == "open")) return t[2].text + (open ? " is open" : " is not open");
        return "";
    }
    if (what == "blocked" || what == "usable") {
        if (!(error = need(t, 3, "expect blocked|usable FORM")).empty()) return error;
        Form* form = openForm(t[2].text, error);
        if (!form) return error;
        if (form->blocked() != (what == "blocked"))
            return t[2].text + (form->blocked() ? " is blocked by a modal form" : " takes input");
        return "";
    }
    if (what == "message") return expectMessage(t);
    if (what == "nomessage") {
        if (!(error = need(t, 2, "expect nomessage")).empty()) return error;
        const auto& log = platform_.dialogs.messages();
        if (messagesRead_ < log.size())
            return "message \"" + log[messagesRead_].text + "\" was shown (expected none)";
        return "";
    }
    if (what == "help") {
        if (!(error = need(t, 3, "expect help \"keyword\"")).empty()) return error;
        const auto& log = platform_.dialogs.helps();
        if (helpsRead_ >= log.size()) return "the help was not opened";
        const HelpCall& h = log[helpsRead_++];
        if (h.file != "rahmen.hlp" || h.keyword != t[2].text)
            return "help " + h.file + " at \"" + h.keyword + "\" (expected \"" + t[2].text + "\")";
        return "";
    }
    if (what == "input" || what == "openfile") {
        if (t.size() < 3 || t.size() > 4)
            return "usage: expect " + what + " \"title\" [\"pattern\"]";
        // The input box is checked by its prompt, the open-file dialog by its
        // title and pattern.
        if (what == "input") {
            const auto& log = platform_.dialogs.inputs();
            if (inputsRead_ >= log.size()) return "no input box was shown";
            const InputCall& call = log[inputsRead_++];
            if (call.prompt != t[2].text)
                return "input box \"" + call.prompt + "\" (expected \"" + t[2].text + "\")";
            return "";
        }
        const auto& log = platform_.dialogs.openFiles();
        if (openFilesRead_ >= log.size()) return "no open-file dialog was shown";
        const OpenFileCall& call = log[openFilesRead_++];
        if (call.title != t[2].text)
            return "open-file dialog \"" + call.title + "\" (expected \"" + t[2].text + "\")";
        if (t.size() == 4 && call.pattern != t[3].text)
            return "open-file pattern " + call.pattern + " (expected " + t[3].text + ")";
        return "";
    }
    if (what == "file") {
        if (t.size() == 4 && (t[2].text == "exists" || t[2].text == "missing")) {
            const bool exists = platform_.files.exists(t[3].text);
            if (exists != (t[2].text == "exists"))
                return t[3].text + (exists ? " exists" : " is missing");
            return "";
        }
        if (t.size() == 5 && t[3].text == "contains") {
            const ReadResult r = platform_.files.read(t[2].text);
            if (!r) return r.error;
            if (cp932ToUtf8(r.bytes).find(t[4].text) == std::string::npos)
                return t[2].text + " does not contain \"" + t[4].text + "\"";
            return "";
        }
        return "usage: expect file exists|missing NAME, or expect file NAME contains \"text\"";
    }
    if (what == "model") {
        if (t.size() != 4 && t.size() != 5) return "usage: expect model NAME VALUE [~TOLERANCE]";
        ModelValue value;
        if (!(error = readModelValue(p(), t[2].text, value)).empty()) return error;
        const std::string got = formatModelValue(value);
        if (value.text) {
            if (!t[3].quoted) return "quote the expected text of " + t[2].text;
            if (value.string != t[3].text) return t[2].text + " is " + got;
            return "";
        }
        char* end = nullptr;
        const double want = std::strtod(t[3].text.c_str(), &end);
        if (t[3].text.empty() || *end != '\0') return "not a number: " + t[3].text;
        double tolerance = 0;
        if (t.size() == 5) {
            if (t[4].text.size() < 2 || t[4].text[0] != '~') return "write the tolerance as ~0.001";
            tolerance = std::strtod(t[4].text.c_str() + 1, nullptr);
        }
        bool same = false;
        if (tolerance > 0)
            same = std::fabs(value.number - want) <= tolerance;
        else if (value.single)
            same = testing::internal::FloatingPoint<float>(float(value.number))
                       .AlmostEquals(testing::internal::FloatingPoint<float>(float(want)));
        else
            same = value.number == want;
        if (!same) return t[2].text + " is " + got + " (expected " + t[3].text + ")";
        return "";
    }
    if (what == "ended" || what == "running") {
        if (rahmen_.ended() != (what == "ended"))
            return rahmen_.ended() ? "the program has ended" : "the program is still running";
        return "";
    }
    return "unknown expectation " + what;
}

std::string Session::finish() {
    if (platform_.dialogs.pending() != 0)
        return std::to_string(platform_.dialogs.pending()) +
               " queued answer(s) were never asked for";
    return "";
}

void Session::collectFiles(ScenarioRunner::FolderContents& out) const {
    out.clear();
    for (const std::string& name : platform_.files.list("*"))
        if (const ReadResult r = platform_.files.read(name)) out[name] = r.bytes;
}

} // namespace

ScenarioRunner::ScenarioRunner(std::vector<std::filesystem::path> fixtureFolders)
    : fixtureFolders_(std::move(fixtureFolders)) {}

std::vector<std::string> ScenarioRunner::run(const std::string& script,
                                             const std::string& name) const {
    FolderContents ignored;
    return run(script, name, ignored);
}

std::vector<std::string> ScenarioRunner::run(const std::string& script, const std::string& name,
                                             FolderContents& folderAtEnd) const {
    std::vector<std::string> lines;
    std::istringstream in(script);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);

    Session session(fixtureFolders_, folder_);
    std::size_t next = 0;
    while (next < lines.size()) {
        const std::size_t number = next + 1;
        const std::string& line = lines[next++];
        std::vector<Token> tokens;
        std::string error;
        if (tokenize(line, tokens, error) && !tokens.empty() && tokens[0].text[0] != '#' &&
            !tokens[0].quoted) {
            error = session.execute(tokens, lines, next);
        } else if (error.empty() && !tokens.empty() && tokens[0].quoted) {
            error = "a line starts with a command, not a quoted text";
        }
        if (!error.empty()) {
            session.collectFiles(folderAtEnd);
            return {name + ":" + std::to_string(number) + ": " + error};
        }
    }
    session.collectFiles(folderAtEnd);
    if (std::string error = session.finish(); !error.empty())
        return {name + ":" + std::to_string(lines.size()) + ": " + error};
    return {};
}

std::vector<std::string> ScenarioRunner::runFile(const std::filesystem::path& file) const {
    FolderContents ignored;
    return runFile(file, ignored);
}

std::vector<std::string> ScenarioRunner::runFile(const std::filesystem::path& file,
                                                 FolderContents& folderAtEnd) const {
    folderAtEnd.clear();
    std::ifstream in(file, std::ios::binary);
    if (!in) return {file.string() + ": cannot be read"};
    std::ostringstream text;
    text << in.rdbuf();
    return run(text.str(), file.filename().string(), folderAtEnd);
}

} // namespace rahmen
