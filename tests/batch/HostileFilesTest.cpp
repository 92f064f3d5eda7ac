// The hostile files of fixtures/hostile/ (truncations, counts beyond the
// tables and the lists, NaN, infinite and huge numbers, numbers out of range
// and given twice) and links and folders in place of files, made here: every
// reader and rahmen-batch are run over each. Each case must end in a message
// (never a crash: this suite also runs under the sanitizers), be refused with
// the line and the fault expected.txt gives, and no run may write anything
// outside its folder.

#include "analysis/AnalysisFile.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "model/TextFile.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace rahmen;
namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = fs::path(RAHMEN_FIXTURES) / "hostile";
const fs::path kExamples = RAHMEN_EXAMPLES;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct Refusal {
    int line = 0;
    std::string message;
    bool loadsToo = false; // the loads reader refuses the report alike
};

// expected.txt: per case "file<TAB>line<TAB>the fault", the refusal of the
// reader of its kind, with "<TAB>loads" when the fault is in what the loads
// reader reads too.
std::map<std::string, Refusal> expectedRefusals() {
    std::map<std::string, Refusal> cases;
    std::istringstream in(bytesOf(kCorpus / "expected.txt"));
    std::string line;
    while (std::getline(in, line)) {
        const auto a = line.find('\t'), b = line.find('\t', a + 1);
        if (line.empty() || line[0] == '#' || b == std::string::npos) continue;
        const auto c = line.find('\t', b + 1);
        cases[line.substr(0, a)] = {std::stoi(line.substr(a + 1, b - a - 1)),
                                    line.substr(b + 1, c == std::string::npos ? c : c - b - 1),
                                    c != std::string::npos && line.substr(c + 1) == "loads"};
    }
    return cases;
}

enum class Reader { Coordinates, Frame, Report, Loads };

// Runs one reader over the bytes: the refusal, or nothing when it read them.
// Any other exception fails the test.
std::optional<DataFileError> readWith(Reader reader, const std::string& bytes,
                                      const std::string& name) {
    auto model = std::make_unique<Model>();
    try {
        if (reader == Reader::Loads) {
            ItemReader frame(bytesOf(kExamples / "two_storey.fdt"), "two_storey.fdt");
            readFrameFile(*model, frame);
        }
        ItemReader in(bytes, name);
        std::vector<int> skipped;
        switch (reader) {
        case Reader::Coordinates:
            readCoordinateFile(*model, in);
            break;
        case Reader::Frame:
            readFrameFile(*model, in);
            break;
        case Reader::Report:
            readAnalysisReport(*model, in);
            break;
        case Reader::Loads:
            readReportUnits(in);
            readReportLoads(*model, in, skipped, {1.0, true});
            break;
        }
    } catch (const DataFileError& e) {
        return e;
    }
    return std::nullopt;
}

Reader readerOf(const fs::path& file) {
    const std::string ext = file.extension().string();
    return ext == ".cdt" ? Reader::Coordinates : ext == ".fdt" ? Reader::Frame : Reader::Report;
}

struct BatchRun {
    int status = -1; // -1: ended by a signal
    std::string err;
};

std::string quoted(const std::string& text) {
    std::string q = "'";
    for (char ch : text)
        q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return q + "'";
}

// Every entry under a folder with its kind and bytes, to see that nothing
// changed there.
void snapshotInto(const fs::path& folder, const fs::path& base,
                  std::map<std::string, std::string>& all) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const fs::path p = entry.path();
        const std::string rel = p.lexically_relative(base).string();
        const fs::file_status s = fs::symlink_status(p);
        if (fs::is_symlink(s)) {
            all[rel] = "link " + fs::read_symlink(p).string();
        } else if (fs::is_directory(s)) {
            all[rel] = "folder";
            snapshotInto(p, base, all);
        } else {
            all[rel] = bytesOf(p);
        }
    }
}

std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> all;
    snapshotInto(folder, folder, all);
    return all;
}

class HostileFiles : public ::testing::Test {
protected:
    fs::path root, work, outside;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "rahmen-hostile-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        work = root / "work";
        outside = root / "outside";
        fs::create_directories(work);
        fs::create_directories(outside);
        fs::copy_file(kExamples / "two_storey.fdt", outside / "victim.fdt");
        fs::copy_file(kExamples / "two_storey.adt", outside / "victim.adt");
        fs::copy_file(kExamples / "two_storey.fdt", work / "frame.fdt");
        fs::copy_file(kExamples / "two_storey.adt", work / "loads.adt");
    }
    void TearDown() override { fs::remove_all(root); }

    BatchRun batch(const std::vector<std::string>& args) {
        std::string command = "cd " + quoted(work.string()) + " && " + quoted(RAHMEN_BATCH);
        for (const std::string& arg : args)
            command += " " + quoted(arg);
        command += " >/dev/null 2>" + quoted((root / "stderr").string()) + " </dev/null";
        const int raw = std::system(command.c_str());
        BatchRun r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.err = bytesOf(root / "stderr");
        fs::remove(root / "stderr");
        return r;
    }

    // Runs rahmen-batch on a case, which `refused` says it must refuse: exit
    // status 1 and a message naming the case, or 0; nothing written but
    // out.adt, and nothing at all outside the folder.
    void batchOver(const std::vector<std::string>& args, const std::string& name, bool refused) {
        const auto before = snapshot(root);
        const BatchRun r = batch(args);
        const std::string what = name + " (" + args[0] + " " + args[1] + ")\n" + r.err;
        ASSERT_NE(r.status, -1) << what;
        if (refused) {
            EXPECT_EQ(r.status, 1) << what;
        }
        if (r.status != 0) {
            EXPECT_EQ(r.status, 1) << what;
            EXPECT_TRUE(contains(r.err, name)) << what;
        }
        fs::remove(work / "out.adt");
        EXPECT_EQ(snapshot(root), before) << what;
    }
};

} // namespace

TEST_F(HostileFiles, EveryReaderAndTheBatchEndEachCaseInAMessage) {
    const auto expected = expectedRefusals();
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(kCorpus)) {
        const fs::path file = entry.path();
        const std::string name = file.filename().string();
        if (name == "expected.txt") continue;
        ++cases;
        SCOPED_TRACE(name);
        const std::string bytes = bytesOf(file);

        for (Reader reader : {Reader::Coordinates, Reader::Frame, Reader::Report, Reader::Loads}) {
            const auto refusal = readWith(reader, bytes, name);
            if (refusal) {
                EXPECT_TRUE(contains(refusal->what(), name + " の ")) << refusal->what();
            }
            const auto it = expected.find(name);
            const bool loadsToo = it != expected.end() && it->second.loadsToo;
            if (reader != readerOf(file) && !(reader == Reader::Loads && loadsToo)) continue;
            if (it == expected.end()) {
                ADD_FAILURE() << "not in expected.txt";
                continue;
            }
            if (!refusal) {
                ADD_FAILURE() << "read without a message";
                continue;
            }
            EXPECT_EQ(refusal->line(), it->second.line) << refusal->what();
            EXPECT_TRUE(contains(refusal->what(), it->second.message)) << refusal->what();
        }

        fs::copy_file(file, work / name);
        if (readerOf(file) == Reader::Report) {
            batchOver({"--reanalyse", name, "--out", "out"}, name, true);
            batchOver({"frame.fdt", "--loads", name, "--out", "out"}, name,
                      expected.count(name) && expected.at(name).loadsToo);
            // A case's loads are read as --loads reads them.
            if (expected.count(name) && expected.at(name).loadsToo)
                batchOver({"frame.fdt", "--case", "G=" + name, "--out", "out"}, name, true);
        } else {
            batchOver({name, "--loads", "loads.adt", "--out", "out"}, name, true);
        }
        fs::remove(work / name);
    }
    EXPECT_EQ(cases, static_cast<int>(expected.size()));
}

TEST_F(HostileFiles, LinksAndFoldersInPlaceOfFiles) {
    for (const char* folder : {"folder.fdt", "folder.cdt", "folder.adt"})
        fs::create_directory(work / folder);
    fs::create_symlink("nowhere.fdt", work / "dangling.fdt");
    fs::create_symlink("loop.adt", work / "loop.adt");
    fs::create_symlink("folder.fdt", work / "to_folder.fdt");
    struct Case {
        std::vector<std::string> args;
        std::string named;
    } refused[] = {
        {{"folder.fdt", "--loads", "loads.adt", "--out", "out"}, "folder.fdt"},
        {{"folder.cdt", "--loads", "loads.adt", "--out", "out"}, "folder.cdt"},
        {{"frame.fdt", "--loads", "folder.adt", "--out", "out"}, "folder.adt"},
        {{"--reanalyse", "folder.adt", "--out", "out"}, "folder.adt"},
        {{"dangling.fdt", "--loads", "loads.adt", "--out", "out"}, "dangling.fdt"},
        {{"to_folder.fdt", "--loads", "loads.adt", "--out", "out"}, "to_folder.fdt"},
        {{"frame.fdt", "--loads", "loop.adt", "--out", "out"}, "loop.adt"},
        {{"--reanalyse", "loop.adt", "--out", "out"}, "loop.adt"},
        // The report's own name taken by a folder.
        {{"frame.fdt", "--loads", "loads.adt", "--out", "folder"}, "folder.adt"},
    };
    for (const Case& c : refused)
        batchOver(c.args, c.named, true);

    // Files reached through links are read; the report replaces a link of
    // its name, never the file outside that the link names.
    fs::create_symlink("../outside/victim.fdt", work / "linked.fdt");
    fs::create_symlink("../outside/victim.adt", work / "linked.adt");
    const auto outsideBefore = snapshot(outside);
    const BatchRun r = batch({"linked.fdt", "--loads", "linked.adt", "--out", "linked"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::is_symlink(work / "linked.adt"));
    EXPECT_TRUE(contains(cp932ToUtf8(bytesOf(work / "linked.adt")), "名: linked\r\n"));
    EXPECT_EQ(snapshot(outside), outsideBefore);
}
