#include "report/Report.h"

#include "analysis/MemberResults.h"
#include "checks/CheckConditions.h"
#include "draw/CheckPicture.h"
#include "draw/Form13.h"
#include "draw/StoreyPicture.h"
#include "draw/draw1.h"
#include "draw/draw2.h"
#include "model/Model.h"
#include "model/Program.h"
#include "model/TextFile.h"
#include "platform/Canvas.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace rahmen {

const char* const kReportProgramName = "rahmen 骨組構造３次元解析 Ver 2.20";

namespace {

const char* const kSectionTitles[kReportSections] = {"骨組全体図",
                                                     "骨組の入力データ",
                                                     "荷重ケースと組合せ",
                                                     "節点変位と支持点反力",
                                                     "部材端力",
                                                     "応力図",
                                                     "変形図",
                                                     "部材の検定（許容応力度）",
                                                     "層の検定（層間変形角・剛性率・偏心率）"};

std::string trim(std::string s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

// A value with the digits of the analysis data file ("83.66E-02").
std::string reportNumber(double value) {
    if (!std::isfinite(value)) return "-";
    LineWriter w;
    w.masked("###.##^^^^", value);
    return trim(cp932ToUtf8(w.bytes()));
}

// A check ratio with the digits of the check report ("0.532").
std::string ratioText(double value) {
    LineWriter w;
    w.masked("##.###", value);
    return trim(cp932ToUtf8(w.bytes()));
}

// A length or section property: whole numbers as they are, others with two decimals.
std::string plain(double value) {
    char text[64];
    if (std::fabs(value - std::round(value)) < 1e-6 && std::fabs(value) < 1e12)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string fixed(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}

DocumentColumn col(const std::string& heading, const std::string& unit = "", bool numeric = true) {
    return DocumentColumn{heading, unit, numeric};
}

DocumentColumn textCol(const std::string& heading) {
    return DocumentColumn{heading, "", false};
}

struct Units {
    std::string force, moment, spring, load, stress;
};

Units unitsOf(const Model& m) {
    if (m.UnitFactor == 1.0f) return {"tf", "tf·m", "tf·m/rad", "tf/m", "tf/cm²"};
    return {"kN", "kN·m", "kN·m/rad", "kN/m", "N/mm²"};
}

std::string sectionName(int kind) {
    switch (kind) {
    case kSectionNumeric:
        return "数値入力";
    case kSectionRectangle:
        return "長方形断面";
    case kSectionHShape:
        return "H形鋼";
    case kSectionSquarePipe:
        return "角形鋼管";
    case kSectionRoundPipe:
        return "円形鋼管";
    }
    return "";
}

std::string termName(LoadTerm term) {
    return term == LoadTerm::Long ? "長期" : "短期";
}

std::string kindName(const LoadCase& c) {
    static const char* const names[] = {"固定荷重", "積載荷重", "積雪荷重", "風荷重", "地震荷重"};
    std::string name = names[static_cast<int>(c.kind)];
    if (c.direction == LoadDirection::X) name += " X方向";
    if (c.direction == LoadDirection::Y) name += " Y方向";
    return name;
}

// The results the report goes through: their labels and the result to put
// into the model (nullptr: the model's own single analysis).
struct Shown {
    std::string title;
    const CaseResult* result = nullptr;
};

std::vector<Shown> shownResults(const Program& p, const ReportOptions& o) {
    std::vector<Shown> out;
    if (p.caseResults.empty()) {
        if (p.model.AnalysisDone) out.push_back({"", nullptr});
        return out;
    }
    std::vector<int> chosen = o.results;
    if (chosen.empty())
        for (std::size_t i = 0; i < p.caseResults.size(); ++i)
            chosen.push_back(static_cast<int>(i));
    for (int i : chosen) {
        if (i < 0 || i >= static_cast<int>(p.caseResults.size())) continue;
        const CaseResult& r = p.caseResults[static_cast<std::size_t>(i)];
        const std::string kind = r.combination
                                     ? "組合せ " + r.label + "（" + termName(r.term) + "）"
                                     : "荷重ケース " + r.label;
        out.push_back({kind, &r});
    }
    return out;
}

// The reactions of the result in the model: those the analysis kept, or, for
// the model's own analysis, none (the tables do not hold them).
std::vector<float> reactionsOf(const Shown& s) {
    return s.result ? caseReactions(*s.result) : std::vector<float>{};
}

void showIn(Model& m, const Shown& s) {
    if (s.result) applyCaseResult(m, *s.result);
}

// ---- pictures

// A drawing of draw1 to its enlarged picture with its labels, as the user sees
// it after the angle button and a key.
Canvas enlargedDrawing(Program& p, void (*start)(Program&, PlotState&, Form&), int16_t labels) {
    Form13 window(p);
    PlotState plot;
    plot.NumberLabelKind = labels;
    start(p, plot, window);
    LOOP_END1(p, plot, window);
    DRAW_KEY(p, plot, window);
    return *window.picture();
}

// The 検定比図 over every combination, in the enlarged frame view with its
// ratio labels, as the plotting window draws it.
Canvas checkDrawing(Program& p, const std::vector<MemberCheck>& rows) {
    Form13 window(p);
    PlotState plot;
    const std::vector<double> ratios = memberRatios(rows, p.model.MemberCount, "");
    const bool none = !nothingCheckedReason(rows).empty();
    plot.framePicture = [&](const ViewState& view, Canvas& canvas) {
        drawCheckPicture(p.model, view, canvas, ratios, "検定比図　全組合せの最大",
                         none ? "検定できる部材がありません" : "");
    };
    FRAME0_ON(p, plot, window);
    LOOP_END1(p, plot, window);
    DRAW_KEY(p, plot, window);
    return *window.picture();
}

Canvas planeDrawing(Program& p, const ReportPlane& plane) {
    Form13 window(p);
    StressSelection picks = planeSelection(p.model, plane.axis, plane.coordinate);
    FORCE_ON(p, picks, window);
    return *window.picture();
}

// ---- sections

void titlePage(Document& d, const Model& m, const DateTime& when) {
    const Units u = unitsOf(m);
    d.title = "構造計算書";
    char date[32];
    std::snprintf(date, sizeof date, "%04d年%02d月%02d日", when.year, when.month, when.day);
    const bool older = m.UnitFactor == 1.0f;
    d.titleFields = {
        {"データ名", m.DataName.empty() ? "（名前なし）" : m.DataName},
        {"作成日", date},
        {"単位系", older ? "旧単位（tf, cm, rad）" : "SI単位（kN, cm, rad）"},
        {"プログラム", kReportProgramName},
        {"解析", "線形静的解析（マトリックス変位法、3次元骨組）"},
        {"ヤング係数 E", plain(m.YoungModulus) + " " + u.stress},
        {"せん断弾性係数 G", plain(m.ShearModulus) + " " + u.stress},
        {"せん断に対する形状係数 κ",
         m.ShearShapeFactor == 0 ? "0（せん断変形を考慮しない）" : plain(m.ShearShapeFactor)},
        {"節点数・部材数", std::to_string(m.NodeCount) + "・" + std::to_string(m.MemberCount)},
    };
    d.header = m.DataName.empty() ? "構造計算書" : "構造計算書  " + m.DataName;
}

void inputSection(Document& d, const Model& m) {
    const Units u = unitsOf(m);
    d.heading(reportSectionTitle(ReportSection::Input));
    d.subheading("節点座標（全体座標系）");
    DocumentTable nodes;
    nodes.columns = {col("節点"), col("X", "cm"), col("Y", "cm"), col("Z", "cm"), textCol("支持")};
    for (int n = 1; n <= m.NodeCount; ++n)
        nodes.rows.push_back({std::to_string(n), plain(m.NodeX[n]), plain(m.NodeY[n]),
                              plain(m.NodeZ[n]), m.NodeIsSupport[n] == -1 ? "固定" : ""});
    d.table(std::move(nodes));

    if (m.SupportCount > 0) {
        d.subheading("支持点（固定）");
        DocumentTable supports;
        supports.columns = {col("節点"), col("X", "cm"), col("Y", "cm"), col("Z", "cm")};
        for (int n = 1; n <= m.NodeCount; ++n)
            if (m.NodeIsSupport[n] == -1)
                supports.rows.push_back(
                    {std::to_string(n), plain(m.NodeX[n]), plain(m.NodeY[n]), plain(m.NodeZ[n])});
        d.table(std::move(supports));
    }

    d.subheading("部材タイプと断面");
    DocumentTable types;
    types.columns = {col("タイプ"),   textCol("断面表"), textCol("断面"),
                     col("A", "cm²"), col("Iy", "cm⁴"),  col("Iz", "cm⁴"),
                     col("J", "cm⁴"), col("Ay", "cm²"),  col("Az", "cm²")};
    for (int t = 1; t <= m.MemberTypeCount; ++t) {
        std::string designation;
        const int kind = m.TypeSectionKind[t];
        if (isSteelKind(kind)) {
            for (int k = 1; k <= m.MemberCount && designation.empty(); ++k) {
                if (m.MemberTypeNo[k] != t) continue;
                CheckSection section;
                std::string reason;
                if (memberCheckSection(m, k, section, reason)) designation = section.name;
            }
        } else if (kind == kSectionRectangle) {
            designation = plain(m.TypeRectB[t]) + "×" + plain(m.TypeRectA[t]) + " cm";
        }
        types.rows.push_back({std::to_string(t), sectionName(kind), designation,
                              plain(m.TypeArea[t]), plain(m.TypeIy[t]), plain(m.TypeIz[t]),
                              plain(m.TypeJ[t]), plain(m.TypeShearAreaY[t]),
                              plain(m.TypeShearAreaZ[t])});
    }
    if (!types.rows.empty()) d.table(std::move(types));

    d.subheading("部材（ピン: -1 が解放、バネ: 回転バネ定数）");
    DocumentTable members;
    members.columns = {col("部材"),
                       col("始点"),
                       col("終点"),
                       col("タイプ"),
                       col("主軸角", "rad"),
                       textCol("ピン 始端 y/z"),
                       textCol("ピン 終端 y/z"),
                       col("バネ 始端 y", u.spring),
                       col("バネ 始端 z", u.spring),
                       col("バネ 終端 y", u.spring),
                       col("バネ 終端 z", u.spring)};
    auto pin = [](int y, int z) { return std::to_string(y) + " / " + std::to_string(z); };
    for (int k = 1; k <= m.MemberCount; ++k) {
        members.rows.push_back(
            {std::to_string(k), std::to_string(m.MemberStartNode[k]),
             std::to_string(m.MemberEndNode[k]), std::to_string(m.MemberTypeNo[k]),
             fixed(m.MemberAngle[k], 4), pin(m.PinStartY[k], m.PinStartZ[k]),
             pin(m.PinEndY[k], m.PinEndZ[k]), reportNumber(m.SpringStart[k][5] / 100.0),
             reportNumber(m.SpringStart[k][6] / 100.0), reportNumber(m.SpringEnd[k][5] / 100.0),
             reportNumber(m.SpringEnd[k][6] / 100.0)});
    }
    d.table(std::move(members));
}

// The loads held in the model's load tables now.
void loadTables(Document& d, const Model& m) {
    const Units u = unitsOf(m);
    DocumentTable nodal;
    nodal.columns = {col("節点"),        col("PX", u.force),  col("PY", u.force),
                     col("PZ", u.force), col("MX", u.moment), col("MY", u.moment),
                     col("MZ", u.moment)};
    for (int n = 1; n <= m.NodeCount; ++n) {
        if (m.NodeLoadFlag[n] != 1) continue;
        std::vector<std::string> row{std::to_string(n)};
        for (int k = 1; k <= 3; ++k)
            row.push_back(reportNumber(m.NodeLoad[6 * n - 6 + k]));
        for (int k = 4; k <= 6; ++k)
            row.push_back(reportNumber(kMomentCmToM * m.NodeLoad[6 * n - 6 + k]));
        nodal.rows.push_back(std::move(row));
    }
    DocumentTable uniform;
    uniform.columns = {col("部材"), col("wy", u.load), col("wz", u.load)};
    for (int k = 1; k <= m.MemberCount; ++k)
        if (m.MemberLoadFlag[k] == 1)
            uniform.rows.push_back({std::to_string(k), reportNumber(m.MemberUniformLoad[k][1]),
                                    reportNumber(m.MemberUniformLoad[k][2])});
    const bool none = nodal.rows.empty() && uniform.rows.empty();
    if (!nodal.rows.empty()) {
        d.paragraph("節点荷重（全体座標系）");
        d.table(std::move(nodal));
    }
    if (!uniform.rows.empty()) {
        d.paragraph("等分布荷重（部材座標系）");
        d.table(std::move(uniform));
    }
    if (none) d.paragraph("荷重はありません。");
}

void loadSection(Document& d, Program& p) {
    Model& m = p.model;
    const LoadCaseSet& set = p.loadCases;
    d.heading(reportSectionTitle(ReportSection::Loads));
    if (set.cases.empty() || p.caseResults.empty()) {
        d.subheading("荷重");
        loadTables(d, m);
        return;
    }
    d.subheading("荷重ケース");
    DocumentTable cases;
    cases.columns = {textCol("ケース"), textCol("種類"), col("節点荷重数"), col("部材荷重数")};
    for (const LoadCase& c : set.cases)
        cases.rows.push_back({c.label, kindName(c), std::to_string(c.nodeLoads.size()),
                              std::to_string(c.memberLoads.size())});
    d.table(std::move(cases));
    for (const CaseResult& r : p.caseResults) {
        if (r.combination) continue;
        d.subheading("荷重ケース " + r.label + " の荷重");
        applyCaseResult(m, r);
        loadTables(d, m);
    }
    if (!set.combinations.empty()) {
        d.subheading("荷重の組合せ");
        DocumentTable combos;
        combos.columns = {textCol("組合せ"), textCol("期間"), textCol("式")};
        for (const Combination& k : set.combinations)
            combos.rows.push_back({k.label, termName(k.term), combinationExpression(k)});
        d.table(std::move(combos));
    }
}

void displacementSection(Document& d, Program& p, const std::vector<Shown>& shown) {
    Model& m = p.model;
    const Units u = unitsOf(m);
    d.heading(reportSectionTitle(ReportSection::Displacements));
    for (const Shown& s : shown) {
        showIn(m, s);
        d.subheading((s.title.empty() ? std::string() : s.title + "  ") + "節点変位（全体座標系）");
        DocumentTable disp;
        disp.columns = {col("節点"),      col("δX", "cm"),  col("δY", "cm"), col("δZ", "cm"),
                        col("θX", "rad"), col("θY", "rad"), col("θZ", "rad")};
        for (int n = 1; n <= m.NodeCount; ++n) {
            std::vector<std::string> row{std::to_string(n)};
            for (int k = 1; k <= 6; ++k)
                row.push_back(reportNumber(m.NodeDisplacement[6 * n - 6 + k]));
            disp.rows.push_back(std::move(row));
        }
        d.table(std::move(disp));
        const std::vector<float> reaction = reactionsOf(s);
        if (reaction.empty() || m.SupportCount == 0) continue;
        d.subheading((s.title.empty() ? std::string() : s.title + "  ") +
                     "支持点反力（全体座標系）");
        DocumentTable react;
        react.columns = {col("節点"),        col("RX", u.force),  col("RY", u.force),
                         col("RZ", u.force), col("MX", u.moment), col("MY", u.moment),
                         col("MZ", u.moment)};
        auto at = [&](int dof) {
            return dof < static_cast<int>(reaction.size()) ? reaction[static_cast<std::size_t>(dof)]
                                                           : 0.0f;
        };
        for (int n = 1; n <= m.NodeCount; ++n) {
            if (m.NodeIsSupport[n] != -1) continue;
            std::vector<std::string> row{std::to_string(n)};
            for (int k = 1; k <= 3; ++k)
                row.push_back(reportNumber(at(6 * n - 6 + k)));
            for (int k = 4; k <= 6; ++k)
                row.push_back(reportNumber(kMomentCmToM * at(6 * n - 6 + k)));
            react.rows.push_back(std::move(row));
        }
        d.table(std::move(react));
    }
}

void endForceSection(Document& d, Program& p, const std::vector<Shown>& shown) {
    Model& m = p.model;
    const Units u = unitsOf(m);
    d.heading(reportSectionTitle(ReportSection::EndForces));
    for (const Shown& s : shown) {
        showIn(m, s);
        d.subheading((s.title.empty() ? std::string() : s.title + "  ") + "部材端力（部材座標系）");
        DocumentTable t;
        t.columns = {col("部材"),         textCol("位置"),    col("N", u.force),
                     col("Qy", u.force),  col("Qz", u.force), col("Mx", u.moment),
                     col("My", u.moment), col("Mz", u.moment)};
        for (int k = 1; k <= m.MemberCount; ++k) {
            const auto& f = m.MemberEndForce[k];
            const SectionForces start = memberEndForces(m, k).start;
            t.rows.push_back({std::to_string(k), "始点", reportNumber(start.N),
                              reportNumber(start.Qy), reportNumber(start.Qz), reportNumber(f[1]),
                              reportNumber(f[2]), reportNumber(f[3])});
            t.rows.push_back({"", "終点", reportNumber(f[7]), reportNumber(f[8]),
                              reportNumber(f[9]), reportNumber(f[4]), reportNumber(f[5]),
                              reportNumber(f[6])});
        }
        d.table(std::move(t));
    }
}

void diagramSection(Document& d, Program& p, const std::vector<Shown>& shown,
                    const std::vector<ReportPlane>& planes) {
    if (planes.empty()) return;
    Model& m = p.model;
    d.heading(reportSectionTitle(ReportSection::Diagrams));
    d.paragraph("各構面の曲げモーメント図（部材端と中間の値）と、部材ごとのせん断力・軸力の値。");
    for (const Shown& s : shown) {
        showIn(m, s);
        for (const ReportPlane& plane : planes) {
            const Canvas picture = planeDrawing(p, plane);
            d.picture(picture, (s.title.empty() ? std::string() : s.title + "  ") + "構面 " +
                                   plane.name() + "  曲げモーメント・せん断力・軸力");
        }
    }
}

void deformationSection(Document& d, Program& p, const std::vector<Shown>& shown) {
    Model& m = p.model;
    d.heading(reportSectionTitle(ReportSection::Deformation));
    for (const Shown& s : shown) {
        showIn(m, s);
        d.picture(enlargedDrawing(p, DEFORM_ON, 1),
                  (s.title.empty() ? std::string() : s.title + "  ") + "変形図（節点番号）");
    }
}

std::string checkPlace(const PointCheck& point) {
    switch (point.place) {
    case CheckPlace::Start:
        return "始端";
    case CheckPlace::End:
        return "終端";
    case CheckPlace::Span:
        return "中間 x=" + fixed(point.x, 2) + "m";
    }
    return "";
}

void checkSection(Document& d, Program& p, const ReportChecks& checks) {
    const std::vector<MemberCheck>& rows = *checks.members;
    d.heading(reportSectionTitle(ReportSection::Checks));
    d.paragraph("平成13年国交省告示第1024号による許容応力度検定。長期の組合せは長期、短期の組合せは"
                "短期許容応力度で検定し、部材ごとに全組合せのうち最大の検定比を示します"
                "（NG の部材が先）。");
    std::vector<const MemberCheck*> governing = governingRows(rows);
    std::stable_sort(
        governing.begin(), governing.end(),
        [](const MemberCheck* a, const MemberCheck* b) { return a->ng() && !b->ng(); });
    DocumentTable t;
    t.columns = {col("部材"),       textCol("断面"), textCol("鋼種"),     col("F", "N/mm²"),
                 textCol("組合せ"), textCol("期間"), textCol("検定項目"), textCol("位置"),
                 col("検定比"),     textCol("判定")};
    int ng = 0;
    for (const MemberCheck* r : governing) {
        if (!r->checked) {
            t.rows.push_back({std::to_string(r->member), r->section, "", "", "", "", "検定外",
                              r->reason, "-", ""});
            continue;
        }
        ng += r->ng();
        const PointCheck& g = r->governing();
        t.rows.push_back({std::to_string(r->member), r->section, r->grade, plain(r->F),
                          r->combination, termName(r->term),
                          checkName(g.governing, g.sigmaAxial < 0), checkPlace(g),
                          ratioText(r->ratio), r->ng() ? "NG" : "OK"});
    }
    d.table(std::move(t));
    d.paragraph("NG の部材数: " + std::to_string(ng));
    // The picture of the ratios (検定比図): the caller's drawing when it hands
    // one in, else that of the plotting window over every combination.
    Canvas canvas;
    if (!checks.checkPicture)
        d.picture(checkDrawing(p, rows), "検定比図");
    else if (checks.checkPicture(p, rows, canvas))
        d.picture(canvas, "検定比図");
}

std::string ratioOrDash(const std::optional<double>& v, int digits) {
    return v ? fixed(*v, digits) : "-";
}

void storeySection(Document& d, const StoreyCheckResult& r) {
    d.heading(reportSectionTitle(ReportSection::Storeys));
    DocumentTable storeys;
    storeys.columns = {col("層"), col("下端 Z", "cm"), col("上端 Z", "cm"), col("階高", "cm"),
                       col("柱の数")};
    for (const Storey& s : r.layout.storeys)
        storeys.rows.push_back({std::to_string(s.number), plain(s.bottom), plain(s.top),
                                plain(s.height), std::to_string(s.columns.size())});
    d.table(std::move(storeys));
    DocumentTable t;
    t.columns = {textCol("方向"), textCol("ケース"), col("層"), col("層間変形角", "1/x"),
                 col("δ̄", "cm"),  col("Rs"),         col("Re"), textCol("判定")};
    for (const StoreyRow& row : r.rows)
        t.rows.push_back(
            {directionName(row.direction), row.caseLabel, std::to_string(row.storey),
             row.driftAngle && *row.driftAngle > 0
                 ? "1/" + std::to_string(static_cast<long>(std::lround(1.0 / *row.driftAngle)))
                 : "-",
             row.meanDrift ? reportNumber(*row.meanDrift) : "-", ratioOrDash(row.Rs, 3),
             ratioOrDash(row.Re, 3), row.judgement});
    d.table(std::move(t));
    d.paragraph("判定: 層間変形角 1/" +
                std::to_string(static_cast<long>(std::lround(1.0 / r.limits.driftAngle))) +
                " 以下、剛性率 " + fixed(r.limits.stiffnessRatio, 2) + " 以上、偏心率 " +
                fixed(r.limits.eccentricityRatio, 2) + " 以下。重心は " + r.massLabel +
                " の柱軸力から求めています。");
    Canvas drift;
    drawStoreyDrifts(drift, r);
    d.picture(drift, "層間変形角");
}

} // namespace

std::string reportSectionTitle(ReportSection section) {
    const int i = static_cast<int>(section);
    return std::to_string(i + 1) + ". " + kSectionTitles[i];
}

std::string ReportPlane::name() const {
    return std::string(axis == 'x' ? "X" : "Y") + " = " + plain(coordinate) + " cm";
}

std::vector<ReportPlane> framePlanes(const Model& m) {
    std::vector<ReportPlane> out;
    for (char axis : {'x', 'y'}) {
        const auto& coord = axis == 'x' ? m.NodeX : m.NodeY;
        std::set<float> values;
        for (int k = 1; k <= m.MemberCount; ++k)
            if (coord[m.MemberStartNode[k]] == coord[m.MemberEndNode[k]])
                values.insert(coord[m.MemberStartNode[k]]);
        for (float v : values)
            out.push_back({axis, v});
    }
    return out;
}

Document buildReport(Program& p, const ReportOptions& o, const ReportChecks& checks,
                     const DateTime& when) {
    Model& m = p.model;
    // What the model shows now, put back at the end: every section may put
    // another case into its tables.
    const CaseResult before = captureCaseResult(m, "", {});
    const int16_t analysed = m.AnalysisDone;

    Document d;
    titlePage(d, m, when);
    const std::vector<Shown> shown = shownResults(p, o);
    const bool results = !shown.empty();

    if (o.has(ReportSection::FrameView) && m.MemberCount > 0) {
        d.heading(reportSectionTitle(ReportSection::FrameView));
        d.picture(enlargedDrawing(p, FRAME0_ON, 2), "骨組図（部材番号）");
        d.picture(enlargedDrawing(p, FRAME0_ON, 1), "骨組図（節点番号）");
    }
    if (o.has(ReportSection::Input) && m.NodeCount > 0) inputSection(d, m);
    if (o.has(ReportSection::Loads) && results) loadSection(d, p);
    if (o.has(ReportSection::Displacements) && results) displacementSection(d, p, shown);
    if (o.has(ReportSection::EndForces) && results && m.MemberCount > 0)
        endForceSection(d, p, shown);
    if (o.has(ReportSection::Diagrams) && results && m.MemberCount > 0) {
        std::vector<ReportPlane> planes = o.planes.empty() ? framePlanes(m) : o.planes;
        diagramSection(d, p, shown, planes);
    }
    if (o.has(ReportSection::Deformation) && results && m.MemberCount > 0)
        deformationSection(d, p, shown);
    if (o.has(ReportSection::Checks) && checks.members && !checks.members->empty() &&
        nothingCheckedReason(*checks.members).empty())
        checkSection(d, p, checks);
    if (o.has(ReportSection::Storeys) && checks.storeys && checks.storeys->problem.empty() &&
        !checks.storeys->rows.empty())
        storeySection(d, *checks.storeys);

    applyCaseResult(m, before);
    m.AnalysisDone = analysed;
    return d;
}

ReportCheckResults reportCheckResults(Program& p) {
    ReportCheckResults out;
    bool combinations = false;
    for (const CaseResult& r : p.caseResults)
        combinations = combinations || r.combination;
    if (!combinations && p.loadCases.cases.empty()) return out;
    Model& m = p.model;
    const CaseResult before = captureCaseResult(m, "", {});
    if (combinations) {
        CheckConditions conditions;
        out.problem = readCheckConditions(p.io.files, m, conditions);
        if (out.problem.empty()) out.members = checkCombinations(m, p.caseResults, conditions);
    }
    out.storeys = checkStoreys(m, p.loadCases, p.caseResults);
    applyCaseResult(m, before);
    return out;
}

} // namespace rahmen
