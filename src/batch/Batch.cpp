#include "batch/Batch.h"
#include "batch/BatchPdf.h"

#include "analysis/AnalysisFile.h"
#include "analysis/AnalysisFileHandlers.h"
#include "analysis/CaseReports.h"
#include "analysis/LoadCaseAnalysis.h"
#include "analysis/ana.h"
#include "batch/BatchChecks.h"
#include "batch/BatchDialogs.h"
#include "batch/GridFrame.h"
#include "checks/StoreyCheck.h"
#include "model/AnalysisInput.h"
#include "model/DataName.h"
#include "model/Form12.h"
#include "model/Limits.h"
#include "model/LoadCases.h"
#include "model/Model.h"
#include "model/ModelFileHandlers.h"
#include "model/ModelFiles.h"
#include "model/Program.h"
#include "model/TextFile.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace rahmen {

namespace {

// ---------------------------------------------------------------------------
// Command line

std::optional<double> parseNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseCount(const std::string& text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    for (char ch : text)
        if (ch < '0' || ch > '9') return std::nullopt;
    return std::atoi(text.c_str());
}

// A message box text on one line of the error stream.
std::string oneLine(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.replace(at, 2, " ");
    return text;
}

// The options followed by one value.
const char* const kValueOptions[] = {"--loads",         "--material", "--E",   "--G",
                                     "--kappa",         "--units",    "--out", "--reanalyse",
                                     "--shuffle-nodes", "--cases"};

// The options that may be given again, each time with one value.
const char* const kListOptions[] = {"--case", "--combo", "--term", "--grade", "--lb", "--lk"};

bool takesValue(const std::string& arg) {
    for (const char* name : kValueOptions)
        if (arg == name) return true;
    return false;
}

bool takesValues(const std::string& arg) {
    for (const char* name : kListOptions)
        if (arg == name) return true;
    return false;
}

} // namespace

namespace {

// The command line taken apart: options with their values, the files, and
// the four words after --generate-grid.
struct Arguments {
    std::map<std::string, std::string> values;
    std::map<std::string, std::vector<std::string>> lists; // --case, --combo, --term
    std::vector<std::string> files;
    std::vector<std::string> grid;
    bool generate = false;
    bool help = false;
    bool timings = false;
    bool storeys = false;
    bool check = false; // --check
    bool pdf = false;   // --pdf

    bool given(const char* name) const { return values.count(name) != 0; }
    const std::string& value(const char* name) const { return values.at(name); }
    bool caseLists() const {
        return lists.count("--case") || lists.count("--combo") || lists.count("--term");
    }
};

std::vector<std::string> listOf(const Arguments& a, const char* name) {
    const auto found = a.lists.find(name);
    return found == a.lists.end() ? std::vector<std::string>{} : found->second;
}

// Splits the arguments; the problem, or "" when they split cleanly.
std::string splitArguments(const std::vector<std::string>& args, Arguments& a) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            a.help = true;
            return "";
        }
        if (arg == "--timings") {
            a.timings = true;
        } else if (arg == "--storeys") {
            a.storeys = true;
        } else if (arg == "--check") {
            a.check = true;
        } else if (arg == "--pdf") {
            a.pdf = true;
        } else if (arg == "--generate-grid") {
            if (a.generate) return "--generate-grid が二度指定されています。";
            a.generate = true;
            if (i + 4 >= args.size())
                return "--generate-grid には BX BY STOREYS NAME の四つが必要です。";
            a.grid.assign(args.begin() + static_cast<long>(i) + 1,
                          args.begin() + static_cast<long>(i) + 5);
            i += 4;
        } else if (takesValues(arg)) {
            if (i + 1 >= args.size()) return arg + " の値がありません。";
            a.lists[arg].push_back(args[++i]);
        } else if (takesValue(arg)) {
            if (i + 1 >= args.size()) return arg + " の値がありません。";
            if (a.values.count(arg)) return arg + " が二度指定されています。";
            a.values[arg] = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "知らないオプションです: " + arg;
        } else {
            a.files.push_back(arg);
        }
    }
    return "";
}

// --generate-grid BX BY STOREYS NAME [--shuffle-nodes SEED].
std::string gridCommand(const Arguments& a, BatchOptions& o) {
    const bool shuffle = a.given("--shuffle-nodes");
    if (!a.files.empty() || a.values.size() != (shuffle ? 1u : 0u) || !a.lists.empty() ||
        a.timings || a.check)
        return "--generate-grid には --shuffle-nodes 以外の引数を付けられません。";
    if (shuffle) {
        const auto seed = parseCount(a.value("--shuffle-nodes"));
        if (!seed || *seed < 1)
            return "--shuffle-nodes の SEED は 1 以上の整数です: " + a.value("--shuffle-nodes");
        o.gridShuffleSeed = static_cast<unsigned>(*seed);
    }
    const auto bx = parseCount(a.grid[0]), by = parseCount(a.grid[1]), st = parseCount(a.grid[2]);
    if (!bx || !by || !st || *bx < 1 || *by < 1 || *st < 1)
        return "--generate-grid の BX BY STOREYS は 1 以上の整数です。";
    const long nodes = gridNodeCount(*bx, *by, *st);
    const long members = gridMemberCount(*bx, *by, *st);
    if (nodes > kMaxNodes || members > kMaxMembers)
        return "格子骨組の節点数 " + std::to_string(nodes) + "、部材数 " + std::to_string(members) +
               " が上限（節点 " + std::to_string(kMaxNodes) + "、部材 " +
               std::to_string(kMaxMembers) + "）を超えます。";
    const std::string& name = a.grid[3];
    if (name.empty()) return "--generate-grid の NAME が空です。";
    // The files go into the current folder: the name is a data name.
    if (const std::string problem = dataNameProblem(name); !problem.empty())
        return "--generate-grid " + name + ": " + oneLine(problem);
    o.mode = BatchMode::GenerateGrid;
    o.gridBaysX = *bx;
    o.gridBaysY = *by;
    o.gridStoreys = *st;
    o.gridName = name;
    return "";
}

// --material, or --E with --G.
std::string materialOptions(const Arguments& a, BatchOptions& o) {
    if (a.given("--material") && (a.given("--E") || a.given("--G")))
        return "--material と --E/--G は一緒に使えません。";
    if (a.given("--material")) {
        const std::string& name = a.value("--material");
        if (name == "steel")
            o.material = Material::Steel;
        else if (name == "concrete")
            o.material = Material::Concrete;
        else
            return "--material は steel か concrete です: " + name;
    } else if (a.given("--E") || a.given("--G")) {
        if (!a.given("--E") || !a.given("--G")) return "--E と --G は二つとも指定してください。";
        for (const char* name : {"--E", "--G"}) {
            const auto value = parseNumber(a.value(name));
            if (!value || *value <= 0.0 || !withinLargestValue(*value))
                return std::string(name) + " は " + kLargestValueText +
                       " までの正の数値です: " + a.value(name);
            (name[2] == 'E' ? o.youngModulus : o.shearModulus) = static_cast<float>(*value);
        }
        o.material = Material::Direct;
    }
    return "";
}

// LABEL=VALUE of --case, --combo and --term; false without the '='.
bool splitLabelled(const std::string& text, std::string& label, std::string& value) {
    const std::size_t at = text.find('=');
    if (at == std::string::npos) return false;
    label = text.substr(0, at);
    value = text.substr(at + 1);
    return true;
}

bool labelTaken(const LoadCaseSet& set, const std::string& label) {
    for (const LoadCase& c : set.cases)
        if (c.label == label) return true;
    for (const Combination& c : set.combinations)
        if (c.label == label) return true;
    return false;
}

// --case LABEL=LOADS.adt …, --combo LABEL=EXPR …, --term LABEL=long|short, or
// --cases DATA.lcd alone.
std::string caseOptions(const Arguments& a, BatchOptions& o) {
    const auto list = [&a](const char* name) {
        const auto found = a.lists.find(name);
        return found == a.lists.end() ? std::vector<std::string>{} : found->second;
    };
    if (a.given("--cases")) {
        if (a.caseLists())
            return "--cases の荷重ケースファイルには --case, --combo, --term を付けられません。";
        o.caseSetFile = a.value("--cases");
        return "";
    }
    if (list("--case").empty())
        return "--combo と --term には --case で荷重ケースを指定してください。";
    std::string label, value;
    for (const std::string& text : list("--case")) {
        if (!splitLabelled(text, label, value) || value.empty())
            return "--case は LABEL=LOADS.adt の形で指定します: " + text;
        LoadCase c;
        if (std::string problem = caseKindProblem(label, c); !problem.empty())
            return "--case " + text + ": " + problem;
        if (labelTaken(o.cases, label)) return "--case " + label + " が二度指定されています。";
        o.cases.cases.push_back(c);
        o.caseFiles.push_back(value);
    }
    for (const std::string& text : list("--combo")) {
        Combination c;
        if (!splitLabelled(text, c.label, value))
            return "--combo は LABEL=EXPR の形で指定します: " + text;
        std::string problem = labelProblem(c.label);
        if (problem.empty() && labelTaken(o.cases, c.label))
            problem = c.label + " は荷重ケースか組合せの名前に使われています。";
        if (problem.empty()) problem = parseCombination(value, o.cases.cases, c.terms);
        if (!problem.empty()) return "--combo " + text + ": " + problem;
        c.term = usualTerm(c, o.cases.cases);
        o.cases.combinations.push_back(c);
    }
    std::vector<std::string> termed;
    for (const std::string& text : list("--term")) {
        if (!splitLabelled(text, label, value) || (value != "long" && value != "short"))
            return "--term は LABEL=long か LABEL=short の形で指定します: " + text;
        if (std::find(termed.begin(), termed.end(), label) != termed.end())
            return "--term " + label + " が二度指定されています。";
        termed.push_back(label);
        auto& combinations = o.cases.combinations;
        const auto found = std::find_if(combinations.begin(), combinations.end(),
                                        [&](const Combination& c) { return c.label == label; });
        if (found == combinations.end())
            return "--term " + text + ": " + label + " は --combo で指定した組合せではありません。";
        found->term = value == "long" ? LoadTerm::Long : LoadTerm::Short;
    }
    return "";
}

// FRAME.fdt --loads LOADS.adt (or load cases) and the analysis conditions.
std::string analyseCommand(const Arguments& a, BatchOptions& o) {
    if (a.files.empty()) return "骨組データファイル（.fdt）を指定してください。";
    if (a.files.size() > 1) return "骨組データファイルは一つだけ指定できます。";
    const bool cases = a.given("--cases") || a.caseLists();
    // The member checks: --check with the case options, --grade, --lb and --lk with --check.
    const bool conditions =
        a.lists.count("--grade") || a.lists.count("--lb") || a.lists.count("--lk");
    if ((a.check || conditions) && !cases)
        return "--check には荷重ケース（--case と --combo、または --cases）を指定してください。";
    if (conditions && !a.check) return "--grade, --lb, --lk は --check と使います。";
    o.checks.check = a.check;
    if (std::string problem =
            parseCheckOptions(listOf(a, "--grade"), listOf(a, "--lb"), listOf(a, "--lk"), o.checks);
        !problem.empty())
        return problem;
    if (cases && a.given("--loads"))
        return "--loads と荷重ケース（--case, --cases）は一緒に使えません。";
    if (!cases && !a.given("--loads"))
        return "荷重を読む解析データファイルを --loads で指定してください。";
    o.mode = cases ? BatchMode::AnalyseCases : BatchMode::Analyse;
    o.frame = a.files[0];
    if (cases) {
        if (std::string problem = caseOptions(a, o); !problem.empty()) return problem;
        if (o.out)
            if (std::string problem = caseReportNamesProblem(*o.out, o.cases); !problem.empty())
                return "--out " + problem;
    } else {
        o.loads = a.value("--loads");
    }
    if (std::string problem = materialOptions(a, o); !problem.empty()) return problem;
    if (a.given("--kappa")) {
        const auto value = parseNumber(a.value("--kappa"));
        if (!value || *value < 0.0 || !withinLargestValue(*value))
            return std::string("--kappa は 0 以上 ") + kLargestValueText +
                   " までの数値です: " + a.value("--kappa");
        o.kappa = static_cast<float>(*value);
    }
    if (a.given("--units")) {
        const std::string& name = a.value("--units");
        if (name == "si")
            o.unitFactor = kSiUnitFactor;
        else if (name == "old")
            o.unitFactor = 1.0f;
        else
            return "--units は si か old です: " + name;
    }
    return "";
}

// --reanalyse REPORT.adt, which takes its conditions from the report.
std::string reanalyseCommand(const Arguments& a, BatchOptions& o) {
    if (!a.files.empty()) return "--reanalyse には骨組データファイルを付けられません。";
    if (!a.lists.empty() || a.given("--cases") || a.check)
        return "--reanalyse には荷重ケース（--case, --combo, --term, --cases）を付けられません。";
    for (const char* other : {"--loads", "--material", "--E", "--G", "--kappa", "--units"})
        if (a.given(other))
            return std::string("--reanalyse は解析データ自身の条件で解析します（") + other +
                   " は使えません）。";
    o.mode = BatchMode::Reanalyse;
    o.report = a.value("--reanalyse");
    return "";
}

std::string commandOf(const Arguments& a, BatchOptions& o) {
    if (a.generate) return gridCommand(a, o);
    if (a.given("--shuffle-nodes")) return "--shuffle-nodes は --generate-grid と使います。";
    if (a.given("--out")) {
        const std::string& out = a.value("--out");
        if (out.empty()) return "--out の名前が空です。";
        if (const std::string problem = dataNameProblem(out); !problem.empty())
            return "--out " + out + ": " + oneLine(problem);
        o.out = out;
    }
    return a.given("--reanalyse") ? reanalyseCommand(a, o) : analyseCommand(a, o);
}

} // namespace

ParsedCommand parseBatchCommand(const std::vector<std::string>& args) {
    ParsedCommand parsed;
    if (args.empty()) {
        parsed.error = "引数がありません。";
        return parsed;
    }
    Arguments a;
    parsed.error = splitArguments(args, a);
    if (a.help) {
        parsed.error.clear();
        parsed.options.mode = BatchMode::Help;
        return parsed;
    }
    if (parsed.error.empty()) parsed.error = commandOf(a, parsed.options);
    if (parsed.error.empty() && a.storeys && parsed.options.mode != BatchMode::AnalyseCases)
        parsed.error = "--storeys には荷重ケース（--case か --cases）を指定してください。";
    parsed.options.timings = a.timings;
    parsed.options.storeys = a.storeys;
    if (parsed.error.empty() && a.pdf && parsed.options.mode != BatchMode::AnalyseCases)
        parsed.error = "--pdf には荷重ケース（--case か --cases）を指定してください。";
    parsed.options.pdf = a.pdf;
    return parsed;
}

std::string batchUsage() {
    return "使い方:\n"
           "  rahmen-batch FRAME.fdt --loads LOADS.adt [--material steel|concrete | --E 値 --G "
           "値]\n"
           "               [--kappa K] [--units si|old] [--out NAME] [--timings]\n"
           "  rahmen-batch FRAME.fdt --case LABEL=LOADS.adt ... [--combo LABEL=EXPR ...]\n"
           "               [--term LABEL=long|short] [条件は上と同じ] [--out NAME] [--timings]\n"
           "  rahmen-batch FRAME.fdt --cases DATA.lcd [条件は上と同じ] [--out NAME] [--timings]\n"
           "               [--storeys] [--pdf]（--case の形にも付けられます）\n"
           "  （荷重ケースとともに）--check [--grade TYPE=GRADE ...] [--lb MEMBER=CM ...]\n"
           "               [--lk MEMBER=KX,KY ...]\n"
           "  rahmen-batch --reanalyse REPORT.adt [--out NAME] [--timings]\n"
           "  rahmen-batch --generate-grid BX BY STOREYS NAME [--shuffle-nodes SEED]\n"
           "  rahmen-batch --help\n"
           "\n"
           "骨組データファイル FRAME.fdt を読み、解析データファイル LOADS.adt の荷重（節点荷重と\n"
           "等分布荷重）を加えて解析し、解析データファイル NAME.adt "
           "を現在のフォルダーに書きます。\n"
           "支持点の荷重は除きます。\n"
           "  --loads LOADS.adt    荷重を読む解析データファイル（必須）\n"
           "  --material steel     スチールの標準 E = 205000, G = 79000 N/mm2\n"
           "                       （旧単位 2100, 810 t/cm2）。既定\n"
           "  --material concrete  コンクリートの標準 E = 210, G = 90 t/cm2（SI単位ではその\n"
           "                       98.0665 倍の N/mm2）\n"
           "  --E 値 --G 値        ヤング係数とせん断弾性係数（SI単位 N/mm2、旧単位 t/cm2）\n"
           "  --kappa K            せん断に対する形状係数 κ（既定 0: せん断変形を無視）\n"
           "  --units si|old       解析単位系。既定は骨組データの単位系、バネのない骨組では\n"
           "                       荷重ファイルの単位系。指定したときは、単位系の違う荷重\n"
           "                       ファイルの数値を換算せずに読み込みます（指定がなければ\n"
           "                       読み込みません）\n"
           "  --out NAME           書き出す解析データの名前（既定: 読んだファイルのデータ名）。\n"
           "                       現在のフォルダーのデータ名で、フォルダーは付けられません。\n"
           "                       同名の解析データがあれば置き換えます\n"
           "  --timings            読込み・解析・書込みの時間を標準出力に表示します\n"
           "--case LABEL=LOADS.adt  荷重ケース LABEL の荷重を解析データファイル LOADS.adt から\n"
           "              読みます（--loads と同じ読み方）。ケースごとに指定します。LABEL "
           "は英字で\n"
           "              始まる 8 文字以内の英数字と _ で、最初の文字が種類です: G 固定、P "
           "積載、\n"
           "              S 積雪、W 風、K 地震。W と K には方向 X か Y を続けます（KX, WY）。\n"
           "--combo LABEL=EXPR  荷重ケースの組合せ（例: L1=G+P, S1=G+P-KX, S2=G+P+0.35S+KY）。\n"
           "              係数はケース名の前に、逆向きは負の係数で書きます。\n"
           "--term LABEL=long|short  組合せ LABEL の期間（長期・短期）。既定は W, K, S の\n"
           "              ケースを含む組合せが短期、それ以外が長期です（多雪区域の長期\n"
           "              G+P+0.7S は --term で long を指定します）。\n"
           "--cases DATA.lcd  荷重ケースと組合せを荷重ケースファイルから読みます（--case,\n"
           "              --combo, --term とは一緒に使えません）。単位系は --units で指定\n"
           "              します（既定は骨組データの単位系か SI単位）。\n"
           "              荷重ケースを使うと、ケースと組合せごとに解析データ NAME_LABEL.adt を、\n"
           "              組合せの包絡線を NAME_ENV.csv（UTF-8）を現在のフォルダーに書きます。\n"
           "--storeys     荷重ケースの解析のあとに、地震荷重のケース（KX, KY）による層の検定\n"
           "              （層間変形角・剛性率・偏心率、施行令 第82条の2、第82条の6）を行い、\n"
           "              NAME_STY.csv（UTF-8）と NAME.sty（CP932 のテキスト）を書きます。\n"
           "              重心は最初の長期の組合せ（なければ固定荷重のケース）の柱軸力から、\n"
           "              判定は 1/200、0.6、0.15 です。\n"
           "--check       組合せごとに鋼部材の許容応力度検定（平成13年国交省告示第1024号）を\n"
           "              して、部材・組合せごとの検定比を NAME_CHK.csv（UTF-8）に、部材ごとの\n"
           "              最大検定比と NG の部材数を NAME.chk に書きます。長期の組合せは長期、\n"
           "              短期の組合せは短期許容応力度で検定します。断面表（H形鋼・角形鋼管・\n"
           "              円形鋼管）の断面の部材タイプだけを検定し、ほかの部材は「検定外」です。\n"
           "              条件は骨組のデータ名の .ckc ファイルがあればそれを読み、次で変えます。\n"
           "--grade TYPE=GRADE  部材タイプ TYPE の鋼種（既定 SN400B）: SS400, SN400A/B/C,\n"
           "              STK400, STKR400（F = 235）, SN490B/C, SM490A, STK490, STKR490\n"
           "              （F = 325）, BCR295（F = 295）\n"
           "--lb MEMBER=CM  部材 MEMBER の圧縮フランジの横補剛間隔 lb（cm、既定は部材長さ）\n"
           "--lk MEMBER=KX,KY  部材 MEMBER の座屈長さ係数（強軸 KX、弱軸 KY、既定 1,1:\n"
           "              座屈長さ = 係数 × 部材長さ）\n"
           "--pdf         計算書（構造計算書: 骨組・断面・荷重・ケースと組合せごとの変位・反力・\n"
           "              部材端力・構面ごとの応力図・変形図、--check の検定表、--storeys の\n"
           "              層の検定表）を NAME.pdf に書きます。フォントは埋め込みます。ページは\n"
           "              Qt で描く部品 rahmen-batch-pdf.so（GUI とともにビルドされます）を\n"
           "              このときだけ読み込んで描きます（画面は要りません）。\n"
           "--reanalyse   解析データファイルを読み、そのヤング係数・せん断弾性係数・κで\n"
           "              解析し直します。骨組は下の終了コードの説明のとおりです。\n"
           "--generate-grid  ベンチマーク用の格子骨組 NAME.fdt とその荷重 NAME_loads.adt を\n"
           "              現在のフォルダーに書きます（BX × BY スパン 600 cm、STOREYS 層\n"
           "              350 cm、1 階柱脚固定）。NAME はデータ名で、フォルダーは付けられません。\n"
           "              --shuffle-nodes SEED で同じ骨組の節点番号を乱数（SEED）で並べ替えます。\n"
           "\n"
           "メッセージは標準エラー出力に、ファイル名を付けて書きます。\n"
           "終了コード: 0 成功、1 入力を受け付けない・骨組が不安定・書込みの失敗、\n"
           "2 使い方の誤り。\n"
           "--reanalyse は、解析データのデータ名の骨組データファイル NAME.fdt が解析データと\n"
           "同じフォルダーにあればその断面・ピン・バネで解析し、使ったファイルを標準エラー出力に\n"
           "書きます（骨組が解析データと合わなければ終了コード 1）。骨組データファイルがなければ\n"
           "解析データの骨組で解析し、終了コード 0 でも、解析データにない次の値を仮定した結果です\n"
           "（標準エラー出力にも書きます）: ねじり定数 J = Iy + Iz、せん断用断面積 Ay = Az =\n"
           "断面積 A、部材 x 軸周り（ねじり）のピンとバネ・軸方向バネはなし。\n";
}

std::string caseKindProblem(const std::string& label, LoadCase& c) {
    if (std::string problem = labelProblem(label); !problem.empty()) return problem;
    const char* const naming =
        "荷重ケースの名前は種類の文字 G（固定）, P（積載）, S（積雪）, W（風）, K（地震）で始め、"
        "W と K には方向 X か Y を続けます（例: G, P2, KX, WY）: ";
    static const struct {
        char letter;
        LoadKind kind;
    } kKinds[] = {{'G', LoadKind::Dead},
                  {'P', LoadKind::Live},
                  {'S', LoadKind::Snow},
                  {'W', LoadKind::Wind},
                  {'K', LoadKind::Seismic}};
    for (const auto& k : kKinds) {
        if (label[0] != k.letter) continue;
        c.label = label;
        c.kind = k.kind;
        c.direction = LoadDirection::None;
        if (k.kind != LoadKind::Wind && k.kind != LoadKind::Seismic) return "";
        if (label.size() >= 2 && (label[1] == 'X' || label[1] == 'Y')) {
            c.direction = label[1] == 'X' ? LoadDirection::X : LoadDirection::Y;
            return "";
        }
        return naming + label;
    }
    return naming + label;
}

void setStandardMaterial(Model& m, Material material) {
    switch (material) {
    case Material::Steel:
        setSteelConstants(m);
        break;
    case Material::Concrete:
        setConcreteConstants(m);
        break;
    case Material::Direct:
        break;
    }
}

namespace {

// The questions of the program with the answer a batch run gives.
const char* const kExistingReportQuestion = "既存の解析データがあります";
const char* const kUnitQuestion = "解析単位と荷重の単位が違います";

using Stopwatch = std::chrono::steady_clock;

double msSince(Stopwatch::time_point start) {
    return std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count();
}

// One program without a window, in the current folder.
struct BatchRun {
    BatchDialogs dialogs;
    Files files{std::filesystem::current_path()};
    SystemClock clock;
    Desktop desktop;
    std::unique_ptr<Program> program;

    explicit BatchRun(std::ostream& err) : dialogs(err) {
        program = Program::create({dialogs, files, clock, desktop});
        // The output file was named on the command line: an existing one is
        // replaced (the report is written to a temporary file and renamed, so
        // a report analysed again in place is read before it is replaced).
        dialogs.answerQuestion(kExistingReportQuestion, MessageResult::No,
                               "既存の解析データを置き換えます。");
    }
};

struct Timings {
    double readFrame = 0, readLoads = 0, analysis = 0, write = 0;
    AnalysisTimes phases; // inside the analysis
};

// When the command started (runBatch), for the time it took in all.
Stopwatch::time_point commandStart = Stopwatch::now();

// The phases inside the analysis and the command's own time from runBatch on,
// after the lines of --timings (ms; what the process spends before and after
// is the wall clock's time less command-ms).
void printPhases(std::ostream& out, const AnalysisTimes& a) {
    out << "numbering-ms " << 1e3 * a.bandWidth << "\nassembly-ms "
        << 1e3 * (a.assembly + a.supports) << "\ndecomposition-ms " << 1e3 * a.decomposition
        << "\nequivalent-loads-ms " << 1e3 * a.equivalentLoads << "\nsubstitution-ms "
        << 1e3 * a.substitution << "\nend-forces-ms " << 1e3 * a.endForces << '\n';
}

void printCommandTime(std::ostream& out) {
    out << "command-ms " << msSince(commandStart) << '\n';
}

// The analysis and the report, with DataName already set. True when both
// succeeded.
bool analyseAndWrite(BatchRun& run, const std::string& subject, Timings& t) {
    Program& p = *run.program;
    p.SkipAnalysisFile = 0;
    bool written = false;
    double writeMs = 0;
    const ReportWriter writer = [&](Model&, const std::vector<float>& reaction, AnalysisProgress&) {
        run.dialogs.setSubject(p.model.DataName + ".adt");
        const auto start = Stopwatch::now();
        written = writeAnalysisFile(p, reaction);
        writeMs = msSince(start);
        run.dialogs.setSubject(subject);
    };
    run.dialogs.setSubject(subject);
    const auto start = Stopwatch::now();
    const bool analysed = ANALYSIS_ON(p, writer, &t.phases);
    t.analysis = msSince(start) - writeMs;
    t.write = writeMs;
    p.progress.closeWindow();
    return analysed && written;
}

// The unit system a report file names, when it can be read.
ReportUnits reportUnitsOf(Files& files, const std::string& path) {
    const ReadResult file = files.read(path);
    if (!file) return ReportUnits::Unknown;
    try {
        ItemReader in(file.bytes, path);
        return readReportUnits(in);
    } catch (const DataFileError&) {
        return ReportUnits::Unknown;
    }
}

const char* unitName(float unitFactor) {
    return unitFactor == 1.0f ? "旧単位" : "SI単位";
}

// The analysis unit system: the frame's when its springs fix it, otherwise
// --units or that of the report `loads` names (SI without one). False when
// refused (reported).
bool chooseUnits(BatchRun& run, const BatchOptions& o, const std::string& loads) {
    Model& m = run.program->model;
    // Springs tie a frame file to the unit system it was written in; without
    // them it holds nothing that depends on units, and the loads decide.
    if (m.SprungEndCount != 0) {
        if (m.UnitFactor == 0.0f) {
            if (!o.unitFactor) {
                run.dialogs.report("解析単位系を --units si か --units old で指定してください。");
                return false;
            }
            m.UnitFactor = *o.unitFactor;
        } else if (o.unitFactor && *o.unitFactor != m.UnitFactor) {
            run.dialogs.report(std::string("バネデータは") + unitName(m.UnitFactor) +
                               "の骨組です。--units " + (*o.unitFactor == 1.0f ? "old" : "si") +
                               " では解析できません。");
            return false;
        }
    } else if (o.unitFactor) {
        m.UnitFactor = *o.unitFactor;
    } else {
        m.UnitFactor = !loads.empty() && reportUnitsOf(run.files, loads) == ReportUnits::Older
                           ? 1.0f
                           : kSiUnitFactor;
    }
    // Loads in the other unit system are taken over unconverted only when the
    // unit system was given on the command line.
    run.dialogs.answerQuestion(kUnitQuestion,
                               o.unitFactor ? MessageResult::Yes : MessageResult::No);
    return true;
}

// The loads of an analysis data file in place of the model's, without those on
// supports. False when refused (reported).
bool readLoads(BatchRun& run, const std::string& loads, const std::string& frame) {
    Program& p = *run.program;
    run.dialogs.setSubject(loads);
    run.dialogs.queueOpenFile(loads);
    if (!CALL_LOAD(p, UnitChange::KeepNumbers)) {
        // The reason is already shown; a refused unit question gets the way round it.
        const bool otherUnits = run.dialogs.lastMessage().rfind(kUnitQuestion, 0) == 0;
        run.dialogs.report(otherUnits ? "荷重を読み込みませんでした。単位系の違う荷重は "
                                        "--units で解析単位系を指定したときだけ読み込みます。"
                                      : "荷重を読み込みませんでした。");
        return false;
    }
    run.dialogs.setSubject(frame);
    stripSupportLoads(p);
    // As the load form, no analysis without any load.
    if (p.model.LoadedNodeCount == 0 && p.model.LoadedMemberCount == 0) {
        run.dialogs.setSubject(loads);
        run.dialogs.report("荷重がありません。解析しません。");
        return false;
    }
    return true;
}

void setConditions(Model& m, const BatchOptions& o) {
    if (o.material == Material::Direct) {
        m.YoungModulus = o.youngModulus;
        m.ShearModulus = o.shearModulus;
    } else {
        setStandardMaterial(m, o.material);
    }
    m.ShearShapeFactor = o.kappa;
}

int analyseFrame(const BatchOptions& o, std::ostream& out, std::ostream& err) {
    BatchRun run(err);
    Program& p = *run.program;
    Model& m = p.model;
    Timings t;

    run.dialogs.setSubject(o.frame);
    run.dialogs.queueOpenFile(o.frame);
    auto start = Stopwatch::now();
    if (CALLFDT_ON(p) != ReadOutcome::Done) return kBatchRefused;
    t.readFrame = msSince(start);

    if (!chooseUnits(run, o, o.loads)) return kBatchRefused;
    start = Stopwatch::now();
    if (!readLoads(run, o.loads, o.frame)) return kBatchRefused;
    t.readLoads = msSince(start);
    setConditions(m, o);

    if (o.out) m.DataName = *o.out;
    run.dialogs.setInputAnswer(o.out);
    if (!analyseAndWrite(run, o.frame, t)) return kBatchRefused;
    if (o.timings) {
        out << "nodes " << m.NodeCount << "\nmembers " << m.MemberCount << "\nread-frame-ms "
            << t.readFrame << "\nread-loads-ms " << t.readLoads << "\nanalysis-ms " << t.analysis
            << "\nwrite-ms " << t.write << '\n';
        printPhases(out, t.phases);
        printCommandTime(out);
    }
    return kBatchSuccess;
}

// The cases and combinations of a load-case file. False when refused (reported).
bool readCaseSet(BatchRun& run, const std::string& path, LoadCaseSet& set) {
    run.dialogs.setSubject(path);
    const ReadResult file = run.files.read(path);
    try {
        if (!file) throw std::runtime_error(file.error);
        ItemReader in(file.bytes, fileNameOfPath(path));
        const Model& m = run.program->model;
        readLoadCaseFile(in, set, m.NodeCount, m.MemberCount);
    } catch (const std::exception& e) {
        run.dialogs.report(std::string("荷重ケースファイルを読めませんでした。\n") + e.what());
        return false;
    }
    if (set.cases.empty()) {
        run.dialogs.report("荷重ケースがありません。解析しません。");
        return false;
    }
    return true;
}

// Writes the reports of the cases and combinations on a thread of its own
// while the next one is formed: each file is written, put on the disk and
// renamed as Files::writeAtomic does, in the order handed on; the failures
// are kept for the end.
class BackgroundFiles {
public:
    explicit BackgroundFiles(Files& files) : files_(files), thread_([this] { run(); }) {}
    ~BackgroundFiles() { finish(); }

    FileResult write(const std::string& name, std::string bytes) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            queue_.emplace_back(name, std::move(bytes));
        }
        wake_.notify_one();
        return {true, ""};
    }

    // Waits for every file; the names and messages of those that failed, in order.
    std::vector<std::pair<std::string, std::string>> finish() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        if (thread_.joinable()) thread_.join();
        return failures_;
    }

private:
    void run() {
        for (;;) {
            std::pair<std::string, std::string> job;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return done_ || !queue_.empty(); });
                if (queue_.empty()) return;
                job = std::move(queue_.front());
                queue_.pop_front();
            }
            const FileResult r = files_.writeAtomic(job.first, job.second);
            if (!r) failures_.emplace_back(job.first, r.error);
        }
    }

    Files& files_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::pair<std::string, std::string>> queue_;
    bool done_ = false;
    std::vector<std::pair<std::string, std::string>> failures_; // the thread's until joined
    std::thread thread_;
};

int analyseCases(const BatchOptions& o, std::ostream& out, std::ostream& err,
                 const BatchPdfWriter& pdf) {
    BatchRun run(err);
    Program& p = *run.program;
    Model& m = p.model;
    Timings t;

    run.dialogs.setSubject(o.frame);
    run.dialogs.queueOpenFile(o.frame);
    auto start = Stopwatch::now();
    if (CALLFDT_ON(p) != ReadOutcome::Done) return kBatchRefused;
    t.readFrame = msSince(start);

    LoadCaseSet set = o.cases;
    start = Stopwatch::now();
    if (!chooseUnits(run, o, o.caseFiles.empty() ? std::string() : o.caseFiles.front()))
        return kBatchRefused;
    if (!o.caseSetFile.empty() && !readCaseSet(run, o.caseSetFile, set)) return kBatchRefused;
    for (std::size_t i = 0; i < o.caseFiles.size(); ++i) {
        if (!readLoads(run, o.caseFiles[i], o.frame)) return kBatchRefused;
        takeCaseLoads(m, set.cases[i]);
    }
    t.readLoads = msSince(start);
    setConditions(m, o);

    const std::string name = o.out ? *o.out : m.DataName;
    run.dialogs.setSubject(o.frame);
    if (std::string problem = caseReportNamesProblem(name, set); !problem.empty()) {
        run.dialogs.report("解析データの名前に使えません: " + problem);
        return kBatchRefused;
    }

    CheckConditions conditions;
    std::vector<MemberCheck> checks;
    if (o.checks.check) {
        if (std::string problem = batchCheckConditions(run.files, m, o.checks, conditions);
            !problem.empty()) {
            run.dialogs.report("検定の条件: " + problem);
            return kBatchRefused;
        }
    }
    double writeMs = 0;
    BackgroundFiles background(p.io.files);
    Stopwatch::time_point writeStart;
    CaseReportOptions reports;
    reports.name = name;
    reports.beforeWrite = [&](const std::string& file) {
        run.dialogs.setSubject(file);
        writeStart = Stopwatch::now();
    };
    reports.write = [&](const std::string& file, std::string bytes) {
        return background.write(file, std::move(bytes));
    };
    reports.afterWrite = [&] {
        writeMs += msSince(writeStart);
        run.dialogs.setSubject(o.frame);
    };
    p.SkipAnalysisFile = 0;
    start = Stopwatch::now();
    const CaseReportOutcome outcome = analyseCaseReports(p, set, reports);
    p.progress.closeWindow();
    t.analysis = msSince(start) - writeMs;
    t.write = writeMs;
    if (!outcome.analysed) return kBatchRefused;
    bool written = outcome.written;
    start = Stopwatch::now();
    for (const auto& [file, error] : background.finish()) {
        run.dialogs.setSubject(file);
        p.say("解析データファイル " + file + " を作成できませんでした。\r\n" + error);
        written = false;
    }
    t.write += msSince(start);
    StoreyCheckResult storeys;
    if (o.checks.check) {
        start = Stopwatch::now();
        checks = checkCombinations(m, p.caseResults, conditions);
        run.dialogs.setSubject(name + "_CHK.csv");
        if (const std::string why = nothingCheckedReason(checks); !why.empty())
            run.dialogs.report(why);
        if (const std::string problem = writeCheckFiles(run.files, m, name, checks);
            !problem.empty()) {
            run.dialogs.report(problem);
            written = false;
        }
        t.write += msSince(start);
    }
    if (o.storeys) {
        // The storey checks; a frame without storeys or seismic cases is told
        // why and gets no table.
        start = Stopwatch::now();
        storeys = checkStoreys(m, set, p.caseResults);
        run.dialogs.setSubject(o.frame);
        if (!storeys.problem.empty()) {
            run.dialogs.report(storeys.problem);
            written = false;
        } else
            for (const auto& [file, bytes] :
                 {std::pair{name + "_STY.csv", storeyCsv(storeys)},
                  std::pair{name + ".sty", utf8ToCp932(storeyReportText(storeys, name))}})
                if (const FileResult r = run.files.writeAtomic(file, bytes); !r) {
                    run.dialogs.setSubject(file);
                    run.dialogs.report("層の検定のファイルを書けませんでした。\n" + r.error);
                    written = false;
                }
        t.write += msSince(start);
    }
    if (o.pdf) {
        // The calculation report of every case and combination with the checks made.
        start = Stopwatch::now();
        run.dialogs.setSubject(name + ".pdf");
        p.loadCases = set;
        m.DataName = name;
        // Without a writer given, the renderer's module is opened now.
        BatchPdfModule module;
        if (!pdf) module = openBatchPdfModule();
        const BatchPdfWriter& writer = pdf ? pdf : module.writer;
        if (!writer) {
            run.dialogs.report(module.problem);
            written = false;
        } else if (const std::optional<std::string> bytes = writer(
                       p, o.checks.check ? &checks : nullptr, o.storeys ? &storeys : nullptr);
                   !bytes) {
            run.dialogs.report("計算書の PDF を作成できませんでした。");
            written = false;
        } else if (const FileResult r = run.files.writeAtomic(name + ".pdf", *bytes); !r) {
            run.dialogs.report("計算書を書けませんでした。\n" + r.error);
            written = false;
        }
        t.write += msSince(start);
    }
    if (!written) return kBatchRefused;
    if (o.timings) {
        const LoadCaseTimes& c = outcome.times;
        out << "nodes " << m.NodeCount << "\nmembers " << m.MemberCount << "\ncases "
            << set.cases.size() << "\ncombinations " << set.combinations.size()
            << "\nread-frame-ms " << t.readFrame << "\nread-loads-ms " << t.readLoads
            << "\nanalysis-ms " << t.analysis << "\nwrite-ms " << t.write << '\n';
        AnalysisTimes frame = c.frame;
        frame.equivalentLoads = c.loadVectors;
        frame.substitution = c.substitution;
        frame.endForces = c.caseResults;
        printPhases(out, frame);
        out << "combinations-ms " << 1e3 * c.combinations << "\nenvelope-ms " << 1e3 * c.envelope
            << '\n';
        printCommandTime(out);
    }
    return kBatchSuccess;
}

// What a report does not hold and a re-analysis without the frame file
// assumes, one line each (the analysis takes a torsion constant of 0 as
// Iy + Iz and a shear area of 0 as the area).
const char* const kAssumedWithoutFrame[] = {
    "ねじり定数 J: 全部材で Iy + Iz",
    "せん断用断面積 Ay, Az: 全部材で断面積 A（κ が 0 でなければ結果に影響します）",
    "部材 x 軸周り（ねじり）のピン: なし",
    "軸方向バネと部材 x 軸周りのバネ: なし",
};

// A value of the report against the frame file's: equal to the report's
// digits, `step` being the last place the report writes (relative to the
// value for the masks with an exponent).
bool agrees(double fromReport, double fromFrame, double step, bool relative = false) {
    const double place = relative ? step * std::fabs(fromFrame) : step;
    return std::fabs(fromReport - fromFrame) <= 0.5 * place * 1.0001 + 1e-9;
}

// The first thing in which a report's frame and a frame file differ, as a
// message; empty when the frame file is the report's own.
std::string frameDisagreement(const Model& r, const Model& f) {
    if (r.NodeCount != f.NodeCount || r.MemberCount != f.MemberCount)
        return "節点数・部材数が違います（解析データ " + std::to_string(r.NodeCount) + "・" +
               std::to_string(r.MemberCount) + "、骨組データ " + std::to_string(f.NodeCount) +
               "・" + std::to_string(f.MemberCount) + "）";
    for (int n = 1; n <= r.NodeCount; ++n) {
        if (r.NodeX[n] != std::round(f.NodeX[n]) || r.NodeY[n] != std::round(f.NodeY[n]) ||
            r.NodeZ[n] != std::round(f.NodeZ[n]))
            return "節点 " + std::to_string(n) + " の座標が違います";
        if ((r.NodeIsSupport[n] == -1) != (f.NodeIsSupport[n] == -1))
            return "節点 " + std::to_string(n) + " の支持が違います";
    }
    for (int m = 1; m <= r.MemberCount; ++m) {
        const std::string member = "部材 " + std::to_string(m) + " の";
        if (r.MemberStartNode[m] != f.MemberStartNode[m] ||
            r.MemberEndNode[m] != f.MemberEndNode[m])
            return member + "節点が違います";
        if (!agrees(r.MemberArea[m], f.MemberArea[m], 0.01) ||
            !agrees(r.MemberIy[m], f.MemberIy[m], 0.01) ||
            !agrees(r.MemberIz[m], f.MemberIz[m], 0.01) ||
            !agrees(r.MemberAngle[m], f.MemberAngle[m], 0.0001))
            return member + "断面か部材角が違います";
        if ((r.PinStartY[m] != 0) != (f.PinStartY[m] != 0) ||
            (r.PinStartZ[m] != 0) != (f.PinStartZ[m] != 0) ||
            (r.PinEndY[m] != 0) != (f.PinEndY[m] != 0) ||
            (r.PinEndZ[m] != 0) != (f.PinEndZ[m] != 0))
            return member + "ピンが違います";
        for (int k = 5; k <= 6; ++k)
            if (!agrees(r.SpringStart[m][k], f.SpringStart[m][k], 1e-4, true) ||
                !agrees(r.SpringEnd[m][k], f.SpringEnd[m][k], 1e-4, true))
                return member + "バネが違います";
    }
    return {};
}

// The frame file beside a report that names the same data, read; nothing
// when there is none. Refusals are reported; `refused` tells them apart.
std::unique_ptr<Model> frameBeside(BatchRun& run, const std::string& report,
                                   const std::string& dataName, std::string& framePath,
                                   bool& refused) {
    refused = false;
    framePath = (std::filesystem::path(report).parent_path() / (dataName + ".fdt")).string();
    if (dataName.empty() || !run.files.exists(framePath)) return nullptr;
    run.dialogs.setSubject(framePath);
    const ReadResult file = run.files.read(framePath);
    auto frame = std::make_unique<Model>();
    try {
        if (!file) throw std::runtime_error(file.error);
        ItemReader in(file.bytes, fileNameOfPath(framePath));
        const UnitLine unit = readFrameFile(*frame, in);
        frame->recountEndSummaries();
        // Springs hold numbers of the unit system they were typed in.
        const bool older = run.program->model.UnitFactor == 1.0f;
        if (frame->SprungEndCount != 0 &&
            ((unit == UnitLine::Si && older) || (unit == UnitLine::Older && !older)))
            throw std::runtime_error("バネデータの単位系が解析データと違います");
    } catch (const std::exception& e) {
        run.dialogs.report(std::string("骨組データを読めませんでした。\n") + e.what());
        refused = true;
        return nullptr;
    }
    const std::string difference = frameDisagreement(run.program->model, *frame);
    if (!difference.empty()) {
        run.dialogs.report("解析データの骨組と合いません: " + difference +
                           "。\n骨組データを移すか名前を変えると、解析データだけで解析します。");
        refused = true;
        return nullptr;
    }
    return frame;
}

int reanalyse(const BatchOptions& o, std::ostream& out, std::ostream& err) {
    BatchRun run(err);
    Program& p = *run.program;
    Timings t;

    run.dialogs.setSubject(o.report);
    run.dialogs.queueOpenFile(o.report);
    const auto start = Stopwatch::now();
    if (!CALLADT_ON(p)) return kBatchRefused;
    if (p.model.UnitFactor == 0.0f) {
        run.dialogs.report("解析単位が読み取れません（SI単位でも旧単位でもありません）。");
        return kBatchRefused;
    }

    // The report lacks torsion constants, shear areas and torsion pins and
    // springs: the frame file of its data name gives them when it is there,
    // so that the analysis is the first one again. The report's loads,
    // constants and units stay.
    std::string framePath;
    bool refused = false;
    if (auto frame = frameBeside(run, o.report, p.model.DataName, framePath, refused)) {
        Model& r = p.model;
        Model& f = *frame;
        f.DataName = r.DataName;
        f.UnitFactor = r.UnitFactor;
        f.YoungModulus = r.YoungModulus;
        f.ShearModulus = r.ShearModulus;
        f.ShearShapeFactor = r.ShearShapeFactor;
        f.NodeLoad = r.NodeLoad;
        f.NodeLoadFlag = r.NodeLoadFlag;
        f.LoadedNodeCount = r.LoadedNodeCount;
        f.MemberUniformLoad = r.MemberUniformLoad;
        f.MemberLoadFlag = r.MemberLoadFlag;
        f.LoadedMemberCount = r.LoadedMemberCount;
        r = f;
        run.dialogs.setSubject(o.report);
        run.dialogs.report("骨組データ " + framePath + " の断面・ピン・バネで解析します。");
    } else if (refused) {
        return kBatchRefused;
    } else {
        run.dialogs.setSubject(o.report);
        std::string warning = "骨組データ " + framePath +
                              " がないため、解析データの骨組で解析します。解析データにない"
                              "次の値を仮定しました（最初の解析と結果が違うことがあります）:";
        for (const char* assumed : kAssumedWithoutFrame)
            warning += std::string("\n  ") + assumed;
        run.dialogs.report(warning);
    }
    t.readFrame = msSince(start);
    Model& m = p.model;
    stripSupportLoads(p);

    if (o.out) m.DataName = *o.out;
    run.dialogs.setInputAnswer(o.out);
    if (!analyseAndWrite(run, o.report, t)) return kBatchRefused;
    if (o.timings) {
        out << "nodes " << m.NodeCount << "\nmembers " << m.MemberCount << "\nread-report-ms "
            << t.readFrame << "\nanalysis-ms " << t.analysis << "\nwrite-ms " << t.write << '\n';
        printPhases(out, t.phases);
        printCommandTime(out);
    }
    return kBatchSuccess;
}

int generateGrid(const BatchOptions& o, std::ostream& err) {
    Files files(std::filesystem::current_path());
    SystemClock clock;
    const std::string problem = writeGridFiles(files, o.gridName, o.gridBaysX, o.gridBaysY,
                                               o.gridStoreys, clock.now(), o.gridShuffleSeed);
    if (problem.empty()) return kBatchSuccess;
    BatchDialogs dialogs(err);
    dialogs.setSubject(o.gridName + ".fdt");
    dialogs.report(problem);
    return kBatchRefused;
}

} // namespace

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const BatchPdfWriter& pdf) {
    commandStart = Stopwatch::now();
    const ParsedCommand parsed = parseBatchCommand(args);
    if (!parsed.error.empty()) {
        err << "rahmen-batch: " << parsed.error << "\n\n" << batchUsage();
        return kBatchUsageError;
    }
    const BatchOptions& o = parsed.options;
    switch (o.mode) {
    case BatchMode::Help:
        out << batchUsage();
        return kBatchSuccess;
    case BatchMode::Analyse:
        return analyseFrame(o, out, err);
    case BatchMode::AnalyseCases:
        return analyseCases(o, out, err, pdf);
    case BatchMode::Reanalyse:
        return reanalyse(o, out, err);
    case BatchMode::GenerateGrid:
        return generateGrid(o, err);
    }
    return kBatchUsageError;
}

} // namespace rahmen
