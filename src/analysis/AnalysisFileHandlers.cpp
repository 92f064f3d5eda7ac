#include "analysis/AnalysisFileHandlers.h"

#include "analysis/AnalysisFile.h"
#include "model/DataName.h"
#include "model/Program.h"

#include <optional>

namespace rahmen {

namespace {

const char* const kZeta = "ζζζζζζζζζζζζζζζζζζζζζζζ";
const char* const kEta = "ηηηηηηηηηηηηηηηηηηηηηηη";

// A report chosen in the open-file dialog and read whole, with the progress
// window showing the reading. Nothing when the dialog was cancelled or the
// file could not be read (reported, window closed).
struct ChosenReport {
    std::string path;
    std::string bytes;
};

std::optional<ChosenReport> openChosenReport(Program& p,
                                             const std::optional<std::string>& chosen = {}) {
    const auto path =
        chosen ? chosen : p.io.dialogs.openFile("解析データの呼出", "データ(*.adt)", "*.adt");
    if (!path) return std::nullopt;
    p.progress.announce(p.FontOffset, "　　　解析データ呼出し中");
    ReadResult file = p.io.files.read(*path);
    if (!file) {
        p.progress.closeWindow();
        p.say("解析データファイルを開けません。\r\n" + file.error);
        return std::nullopt;
    }
    return ChosenReport{*path, std::move(file.bytes)};
}

} // namespace

bool writeAnalysisFile(Program& p, const std::vector<float>& reaction,
                       const ReportFileWrite& write) {
    if (p.SkipAnalysisFile == -1) return false;
    Model& md = p.model;
    const char* const prompt = "作成される解析ﾃﾞｰﾀﾌｧｲﾙの名前を入力してください";
    // A cancelled prompt keeps the name there is.
    auto askName = [&] {
        auto answer = askDataName(p, prompt);
        if (answer) md.DataName = *answer;
        return answer.has_value();
    };
    if (md.DataName.empty()) askName();
    // A new name that exists too is asked about again, so that no other report
    // is replaced without the user's "No"; "No" or a cancelled prompt replaces
    // the file of the name there is.
    while (p.io.files.exists(md.DataName + ".adt")) {
        const auto answer =
            p.say("既存の解析データがあります、新しいデータ名を入力しますか？\r\n\r\n"
                  "同名データ作成は既存ﾃﾞｰﾀをﾃﾞｨﾚｸﾄﾘｰより移動→いいえﾎﾞﾀﾝ",
                  MessageButtons::YesNo, MessageIcon::Question);
        if (answer != MessageResult::Yes || !askName()) break;
    }
    return writeReportFile(p, reaction, write);
}

bool writeReportFile(Program& p, const std::vector<float>& reaction, const ReportFileWrite& write) {
    Model& md = p.model;
    if (!p.progress.isOpen()) p.progress.begin(p.FontOffset);
    p.progress.step("データファイル作成中");
    for (int i = 0; i < 7; ++i)
        p.progress.print(kZeta);

    const std::string fileName = md.DataName + ".adt";
    std::string bytes;
    try {
        bytes = analysisReport(md, reaction, p.io.clock.now());
    } catch (const DataFileError& e) {
        p.say(std::string("解析データファイルを作成できませんでした。\r\n") + e.what());
        return false;
    }
    const FileResult written =
        write ? write(fileName, std::move(bytes)) : p.io.files.writeAtomic(fileName, bytes);
    if (!written) {
        p.say("解析データファイル " + fileName + " を作成できませんでした。\r\n" + written.error);
        return false;
    }
    md.AnalysisFileWritten = 1;
    p.progress.step(" データファイルが作成されました。");
    for (int i = 0; i < 7; ++i)
        p.progress.print(kEta);
    return true;
}

bool CALLADT_ON(Program& p, const std::optional<std::string>& chosen) {
    const auto report = openChosenReport(p, chosen);
    if (!report) return false;
    ItemReader in(report->bytes, fileNameOfPath(report->path));
    bool ok = true;
    std::string problem;
    try {
        readAnalysisReport(p.model, in);
    } catch (const DataFileError& e) {
        ok = false;
        problem = e.what();
    }
    if (p.model.UnitFactor != 0) p.UnitsToShow = 1;
    p.progress.closeWindow();
    if (!ok) {
        p.say("解析データの読込みを中止しました。\r\n" + problem);
        return false;
    }
    p.model.AnalysisDone = 1;
    p.model.DataName = dataNameFromPath(report->path);
    p.menuEnable({"BUTTON4", "BUTTON88"},
                 {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"});
    return true;
}

bool CALL_LOAD(Program& p, UnitChange change) {
    const auto report = openChosenReport(p);
    if (!report) return false;
    ItemReader in(report->bytes, fileNameOfPath(report->path));
    std::vector<int> skipped;
    try {
        const ReportUnits units = readReportUnits(in);
        const bool programOlder = p.model.UnitFactor == 1.0f;
        ReportLoadOptions options;
        options.sameFrame = true;
        if ((units == ReportUnits::Si && programOlder) ||
            (units == ReportUnits::Older && !programOlder)) {
            if (p.say("解析単位と荷重の単位が違います、読込みますか", MessageButtons::YesNo,
                      MessageIcon::Question) != MessageResult::Yes) {
                p.progress.closeWindow();
                return false;
            }
            // 1 tf = 9.80665 kN, for forces, moments and line loads alike.
            if (change == UnitChange::Convert)
                options.factor = programOlder ? 1 / 9.80665 : 9.80665;
        }
        readReportLoads(p.model, in, skipped, options);
    } catch (const DataFileError& e) {
        p.progress.closeWindow();
        p.say(std::string("荷重の読込みを中止しました。\r\n") + e.what());
        return false;
    }
    p.progress.closeWindow();
    // As the load form strips a support's load before the analysis, with its
    // message for each node.
    for (int n : skipped)
        p.say("支持点" + std::to_string(n) + " は荷重付加点から除きます。");
    return true;
}

} // namespace rahmen
