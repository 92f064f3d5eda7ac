#include "main/OpenFile.h"

#include "main/Mainform.h"
#include "main/rahmen.h"
#include "model/Program.h"

#include <system_error>

namespace fs = std::filesystem;

namespace rahmen {

namespace {

const MainForm::DataFile* dataFileOf(const fs::path& path) {
    for (const MainForm::DataFile& file : MainForm::dataFiles())
        if (path.extension() == file.extension) return &file;
    return nullptr;
}

std::string extensions() {
    std::string list;
    for (const MainForm::DataFile& file : MainForm::dataFiles())
        list += (list.empty() ? "" : " ") + std::string(file.extension);
    return list;
}

OpenOutcome refuse(Program& p, const std::string& text) {
    p.say(text, MessageButtons::Ok, MessageIcon::Information);
    return OpenOutcome::Refused;
}

} // namespace

StartArgument startArgument(const std::string& argument, const fs::path& current) {
    if (argument.empty()) return {};
    std::error_code ec;
    const fs::path path = fs::absolute(current / argument, ec).lexically_normal();
    const bool file = fs::is_regular_file(path, ec) || dataFileOf(path) != nullptr;
    if (!file) return {argument, ""};
    return {path.parent_path().string(), path.string()};
}

OpenOutcome openGivenFile(Rahmen& rahmen, const std::string& path) {
    Program& p = rahmen.program();
    MainForm& menu = rahmen.mainForm();
    const fs::path file(path);
    const std::string name = file.filename().string();
    const MainForm::DataFile* kind = dataFileOf(file);
    if (!kind)
        return refuse(p, name + " は開けません。\n開けるのはデータファイル（" + extensions() +
                             "）です。");
    for (const Form* form : p.io.desktop.openForms())
        if (form != &menu)
            return refuse(p, "「" + form->caption() +
                                 "」の画面が開いています。\n画面を閉じてから、" + name +
                                 " を開いてください。");
    // Before the first step of the workflow (at start-up and after a reset)
    // the button may be disabled only because the working folder holds no
    // such file; the file's folder does.
    const bool atStart = menu.c("BUTTON27").enabled;
    const Control& button = menu.c(kind->button);
    if (!button.enabled && !atStart)
        return refuse(p, "「" + button.caption + "」は、いまは使えません。\n" + name +
                             " を開くには、全データをﾘｾｯﾄしてください。");

    const fs::path folder = file.parent_path();
    std::error_code ec;
    if (!fs::equivalent(folder, p.io.files.folder(), ec)) {
        fs::current_path(folder, ec);
        if (ec)
            return refuse(p,
                          "作業フォルダ " + folder.string() + " に移れません。\n" + ec.message());
        p.io.files.setFolder(folder);
        // The file buttons as at start-up, for the files of the new folder.
        for (const MainForm::DataFile& each : MainForm::dataFiles())
            menu.c(each.button).enabled = false;
        menu.DAT_ON();
    }
    return (menu.*(kind->read))(path) ? OpenOutcome::Read : OpenOutcome::Failed;
}

} // namespace rahmen
