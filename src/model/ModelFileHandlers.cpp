#include "model/ModelFileHandlers.h"

#include "model/DataName.h"
#include "model/ModelFiles.h"
#include "model/Program.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace rahmen {

const char* const kExistingFileMessage =
    "既存のﾃﾞｰﾀがありますﾃﾞｨﾚｸﾄﾘｰより移動してＯＫを押してください。";
const char* const kUnknownUnitsMessage =
    "バネデータのある旧データファイルです\n\n"
    "バネデータの単位系を確認して、解析単位系を選択してください。";

namespace {

// The folder of a file chosen in the open-file dialog, "" when it is the
// working folder.
std::string folderOfChosenFile(Program& p, const std::string& path) {
    const fs::path folder = p.io.files.path(path).parent_path();
    std::error_code ec;
    if (fs::equivalent(folder, p.io.files.folder(), ec) || ec) return {};
    return folder.string();
}

// Writes one of the two files; false after a message when it failed.
bool writeFile(Program& p, const std::string& name,
               std::string (*build)(const Model&, const DateTime&)) {
    std::string bytes;
    try {
        bytes = build(p.model, p.io.clock.now());
    } catch (const DataFileError& e) {
        p.progress.closeWindow();
        p.say(std::string("ファイルを書き込めませんでした。\n") + e.what());
        return false;
    }
    const FileResult written = p.io.files.writeAtomic(name, bytes);
    if (!written) {
        p.progress.closeWindow();
        p.say("ファイルを書き込めませんでした。\n" + written.error);
        return false;
    }
    return true;
}

// Opens the chosen file and runs `read` on it; the outcome, after a message
// when the file could not be read.
template <class Read>
ReadOutcome readFile(Program& p, const std::string& path, const char* progressText, Read read) {
    p.progress.announce(p.FontOffset, progressText);
    const ReadResult file = p.io.files.read(path);
    if (!file) {
        p.progress.closeWindow();
        p.say("ファイルを読めませんでした。\n" + file.error);
        return ReadOutcome::Failed;
    }
    ItemReader in(file.bytes, fileNameOfPath(path));
    try {
        read(in);
    } catch (const DataFileError& e) {
        p.progress.closeWindow();
        p.say(std::string("ファイルの読込みを中止しました。\n") + e.what());
        return ReadOutcome::Failed;
    }
    return ReadOutcome::Done;
}

} // namespace

bool BUTTON69_ON(Program& p) {
    const std::string name = modelFileName(p.model, ".cdt");
    if (p.io.files.exists(name)) p.say(kExistingFileMessage);
    p.progress.announce(p.FontOffset, "　　　座標データ書込み中");
    if (!writeFile(p, name, coordinateFileBytes)) return false;
    p.progress.closeWindow();
    p.model.CoordFileState = 1;
    return true;
}

bool BUTTON70_ON(Program& p, bool rewrite) {
    Model& m = p.model;
    const std::string name = modelFileName(m, ".fdt");
    if (!rewrite && p.io.files.exists(name)) p.say(kExistingFileMessage);
    p.progress.announce(p.FontOffset, "　　　座標／骨組データ書込み中");
    // The counts line must state the ends the lists hold, whatever a form did
    // to the counters meanwhile; the unit line and the lock below follow it.
    m.recountEndSummaries();
    if (!writeFile(p, name, frameFileBytes)) return false;
    // The coordinate file is superseded, but only once the frame file exists.
    const std::string coordinates = modelFileName(m, ".cdt");
    if (p.io.files.exists(coordinates) && p.io.files.remove(coordinates)) m.CoordFileState = 0;
    p.progress.closeWindow();
    m.FrameFileState = 1;
    // Spring constants are held in the units they were typed in: from now on
    // the unit system may not change.
    if (m.SprungEndCount != 0) {
        if (m.UnitFactor == 1.0f)
            p.SiUnitsClosed = 1;
        else
            p.OlderUnitsClosed = 1;
    }
    return true;
}

ReadOutcome CALLCDT_ON(Program& p, const std::optional<std::string>& chosen) {
    const auto path =
        chosen ? chosen : p.io.dialogs.openFile("座標データの呼出", "データ(*.cdt)", "*.cdt");
    if (!path) return ReadOutcome::Cancelled;
    Model& m = p.model;
    const ReadOutcome outcome = readFile(p, *path, "　　　座標データ呼出し中",
                                         [&](ItemReader& in) { readCoordinateFile(m, in); });
    if (outcome != ReadOutcome::Done) return outcome;
    m.DataName = dataNameFromPath(*path);
    // Coordinates read from anywhere go on to a frame of the working folder.
    m.DataFolder.clear();
    p.progress.closeWindow();
    p.menuEnable({"BUTTON28", "BUTTON70"},
                 {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"});
    m.CoordFileState = 2;
    return ReadOutcome::Done;
}

ReadOutcome CALLFDT_ON(Program& p, const std::optional<std::string>& chosen) {
    const auto path =
        chosen ? chosen : p.io.dialogs.openFile("座標/骨組データの呼出", "データ(*.fdt)", "*.fdt");
    if (!path) return ReadOutcome::Cancelled;
    Model& m = p.model;
    UnitLine unit = UnitLine::Unknown;
    const ReadOutcome outcome = readFile(p, *path, "　　座標/骨組データ呼出し中",
                                         [&](ItemReader& in) { unit = readFrameFile(m, in); });
    if (outcome != ReadOutcome::Done) return outcome;

    // The unit system is set only once the whole file was read, so that a
    // failed reading leaves the unit factor and the menu's buttons agreeing.
    // A file that names its system closes the other one.
    switch (unit) {
    case UnitLine::Si:
        m.UnitFactor = kSiUnitFactor;
        p.OlderUnitsClosed = 1;
        break;
    case UnitLine::Older:
        m.UnitFactor = 1.0f;
        p.SiUnitsClosed = 1;
        break;
    case UnitLine::Common:
        m.UnitFactor = kSiUnitFactor;
        break;
    case UnitLine::Unknown:
        m.UnitFactor = 0.0f;
        break;
    }
    if (unit != UnitLine::Unknown) p.UnitsToShow = 1;

    m.DataName = dataNameFromPath(*path);
    // A frame read from another folder is saved again over the file read.
    m.DataFolder = folderOfChosenFile(p, *path);
    p.progress.closeWindow();
    p.menuEnable({"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93", "BUTTON70"},
                 {"BUTTON27", "BUTTON91", "BUTTON52", "BUTTON68", "BUTTON84"});
    m.FrameFileState = 2;
    m.FrameReady = 1;

    if (m.UnitFactor == 0.0f) {
        if (m.SprungEndCount == 0) {
            m.UnitFactor = kSiUnitFactor;
        } else {
            // Springs in units nobody recorded: the user must choose before
            // anything that depends on the unit system can start.
            p.UnitsToShow = 2;
            p.say(kUnknownUnitsMessage);
        }
    }
    return ReadOutcome::Done;
}

} // namespace rahmen
