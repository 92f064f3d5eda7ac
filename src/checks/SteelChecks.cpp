#include "checks/SteelChecks.h"

#include "checks/SteelGrades.h"
#include "model/Model.h"
#include "model/TextFile.h"
#include "platform/Files.h"
#include "platform/Sjis.h"
#include "sections/SectionCatalogue.h"
#include "sections/Sections.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rahmen {

namespace {

double value(const char* printed) {
    return sectionNumber(printed);
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

} // namespace

bool memberCheckSection(const Model& model, int m, CheckSection& s, std::string& reason) {
    return typeCheckSection(model, model.MemberTypeNo[m], s, reason);
}

bool typeCheckSection(const Model& model, int t, CheckSection& s, std::string& reason) {
    s = {};
    if (t < 1 || t > std::min<int>(model.MemberTypeCount, kMaxMemberTypes)) {
        reason = "部材タイプがありません（タイプ番号 " + std::to_string(t) + "）";
        return false;
    }
    const int kind = model.TypeSectionKind[t];
    if (!isSteelKind(kind)) {
        reason = "部材タイプ " + std::to_string(t) + " は断面表の断面ではありません（" +
                 (kind == kSectionRectangle ? "長方形断面" : "数値入力の断面") + "）";
        return false;
    }
    const int row = model.TypeSteelNo[t];
    if (row < 0 || row >= sectionRowCount(kind)) {
        reason = "部材タイプ " + std::to_string(t) + " の断面表の行 " + std::to_string(row) +
                 " がありません";
        return false;
    }
    const std::string& text = builtInSectionRow(kind, row);
    auto num = [&](int first, int width) {
        return sectionNumber(sectionField(text, first, width));
    };
    s.kind = kind;
    s.name = trimmed(cp932ToUtf8(sectionDesignation(text)));
    if (kind == kSectionHShape) {
        const HShapeEntry& e = kHShapeCatalogue[row];
        const double h = num(4, 3) / 10, b = num(8, 3) / 10;
        const double tw = num(12, 3) / 10, tf = num(16, 2) / 10;
        s.A = value(e.values[1]);
        s.iy = value(e.values[5]);
        s.iz = value(e.values[6]);
        s.Zy = value(e.values[7]);
        s.Zz = value(e.values[8]);
        s.ib = value(e.values[9]);
        s.eta = value(e.values[10]);
        // The web carries the shear of the strong-axis bending (Qz), the two
        // flanges that of the weak axis (Qy).
        s.shearAreaZ = (h - 2 * tf) * tw;
        s.shearAreaY = 2 * b * tf;
    } else {
        const PipeEntry& e =
            kind == kSectionSquarePipe ? kSquarePipeCatalogue[row] : kRoundPipeCatalogue[row];
        s.A = value(e.values[1]);
        s.Zy = s.Zz = value(e.values[3]);
        s.iy = s.iz = value(e.values[4]);
        s.shearAreaY = s.shearAreaZ = s.A / 2;
    }
    if (s.A <= 0 || s.Zy <= 0 || s.Zz <= 0 || s.iy <= 0 || s.iz <= 0) {
        reason = "断面 " + s.name + " の断面性能が読めません";
        return false;
    }
    return true;
}

double newtonsPerForceUnit(const Model& model) {
    // The older units' tf is 9806.65 N.
    return model.UnitFactor == 1.0f ? 9806.65 : 1000.0;
}

std::string checkName(CheckKind kind, bool compression) {
    switch (kind) {
    case CheckKind::AxialAndBending:
        return compression ? "圧縮+曲げ" : "引張+曲げ";
    case CheckKind::BendingLessAxial:
        return compression ? "曲げ-圧縮" : "曲げ-引張";
    case CheckKind::ShearY:
        return "せん断y";
    case CheckKind::ShearZ:
        return "せん断z";
    }
    return {};
}

namespace {

// Whether the brace distance is the member length (its default): only then
// are the member's end moments those of the braced length.
bool bracedOverTheWholeLength(double lb, double L) {
    return std::abs(lb - L) <= 1e-6 * std::max(1.0, L);
}

// The points inside the span (m from the start) where the shear of a plane
// changes sign: there its bending moment has its extreme inside the span, the
// largest of the span or, when an end moment is larger, the largest of the
// other sign (the sagging moment of a beam between hogging ends). The shears
// are linear along the member.
std::vector<double> zeroShearPoints(const Model& model, int m, double L) {
    const SectionForces a = forcesAt(model, m, 0), b = forcesAt(model, m, L);
    std::vector<double> points;
    for (auto [q0, q1] : {std::pair{a.Qz, b.Qz}, std::pair{a.Qy, b.Qy}}) {
        if (!((q0 > 0 && q1 < 0) || (q0 < 0 && q1 > 0))) continue;
        const double x = L * q0 / (q0 - q1);
        if (x > 1e-9 * L && x < L * (1 - 1e-9) &&
            std::find(points.begin(), points.end(), x) == points.end())
            points.push_back(x);
    }
    return points;
}

PointCheck checkPoint(const Model& model, int m, double x, CheckPlace place, const CheckSection& s,
                      const AllowableStresses& f) {
    const double n = newtonsPerForceUnit(model);
    PointCheck p;
    p.place = place;
    p.x = x;
    p.forces = forcesAt(model, m, x);
    const SectionForces& q = p.forces;
    // force / cm² → N/mm²: n/100; force·m / cm³ → N·mm / mm³: n.
    p.sigmaAxial = q.N * n / (s.A * 100);
    p.sigmaBy = std::abs(q.My) * n / s.Zy;
    p.sigmaBz = std::abs(q.Mz) * n / s.Zz;
    p.tauY = std::abs(q.Qy) * n / (s.shearAreaY * 100);
    p.tauZ = std::abs(q.Qz) * n / (s.shearAreaZ * 100);
    const double bending = p.sigmaBy / f.fbStrong + p.sigmaBz / f.fbWeak;
    if (p.sigmaAxial < 0) {
        const double sc = -p.sigmaAxial;
        p.ratios[0] = sc / f.fc + bending;
        p.ratios[1] = (p.sigmaBy + p.sigmaBz - sc) / f.ft;
    } else {
        const double st = p.sigmaAxial;
        p.ratios[0] = (st + p.sigmaBy + p.sigmaBz) / f.ft;
        p.ratios[1] = bending - st / f.ft;
    }
    p.ratios[2] = p.tauY / f.fs;
    p.ratios[3] = p.tauZ / f.fs;
    for (int k = 0; k < kCheckKinds; ++k)
        if (p.ratios[k] > p.ratio || k == 0) {
            p.ratio = p.ratios[k];
            p.governing = static_cast<CheckKind>(k);
        }
    return p;
}

} // namespace

AllowableStresses memberAllowables(const Model& model, int m, const CheckSection& s,
                                   const MemberCheckCondition& k, double F, double& lambda,
                                   double& C) {
    const double L = memberLength(model, m); // cm
    const double lb = k.lb > 0 ? k.lb : L;
    lambda = std::max(k.kx * L / s.iy, k.ky * L / s.iz);
    AllowableStresses a;
    a.ft = tensionAllowable(F);
    a.fs = shearAllowable(F);
    a.fc = compressionAllowable(F, lambda);
    a.fbWeak = a.ft;
    C = 1;
    if (s.kind == kSectionHShape) {
        if (bracedOverTheWholeLength(lb, L)) {
            const double Lm = L / 100;
            double span = 0;
            for (double x : zeroShearPoints(model, m, Lm))
                span = std::max(span, std::abs(forcesAt(model, m, x).My));
            C = momentGradientFactor(forcesAt(model, m, 0).My, forcesAt(model, m, Lm).My, span);
        }
        a.fbStrong = hStrongAxisBendingAllowable(F, lb / s.ib, s.eta, C);
    } else {
        a.fbStrong = a.ft;
    }
    return a;
}

std::vector<MemberCheck> checkMembers(const Model& model, const CheckConditions& conditions,
                                      const std::string& combination, LoadTerm term) {
    std::vector<MemberCheck> rows;
    const int members = drawableMemberCount(model);
    rows.reserve(members);
    for (int m = 1; m <= members; ++m) {
        MemberCheck row;
        row.member = m;
        row.combination = combination;
        row.term = term;
        CheckSection s;
        const double L = memberLength(model, m);
        if (!memberDrawable(model, m) || L <= 0) {
            row.reason = "部材の長さがありません";
        } else if (memberCheckSection(model, m, s, row.reason)) {
            const int t = model.MemberTypeNo[m];
            row.grade = conditions.gradeOf(t);
            const SteelGrade* grade = findSteelGrade(row.grade);
            if (!grade) {
                row.reason = "鋼種 " + row.grade + " はありません";
            } else {
                row.checked = true;
                row.section = s.name;
                row.F = grade->F;
                const AllowableStresses longTerm = memberAllowables(
                    model, m, s, conditions.memberCondition(m), row.F, row.lambda, row.C);
                row.allowable = term == LoadTerm::Long ? longTerm : shortTerm(longTerm);
                const double Lm = L / 100;
                row.points.push_back(checkPoint(model, m, 0, CheckPlace::Start, s, row.allowable));
                row.points.push_back(checkPoint(model, m, Lm, CheckPlace::End, s, row.allowable));
                for (double x : zeroShearPoints(model, m, Lm))
                    row.points.push_back(
                        checkPoint(model, m, x, CheckPlace::Span, s, row.allowable));
                for (std::size_t i = 0; i < row.points.size(); ++i)
                    if (row.points[i].ratio > row.ratio || i == 0) {
                        row.ratio = row.points[i].ratio;
                        row.governingPoint = static_cast<int>(i);
                    }
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<MemberCheck> checkCombinations(Model& model, const std::vector<CaseResult>& results,
                                           const CheckConditions& conditions) {
    std::vector<MemberCheck> rows;
    for (const CaseResult& r : results) {
        if (!r.combination || !applyCaseResult(model, r)) continue;
        std::vector<MemberCheck> more = checkMembers(model, conditions, r.label, r.term);
        rows.insert(rows.end(), std::make_move_iterator(more.begin()),
                    std::make_move_iterator(more.end()));
    }
    return rows;
}

std::vector<const MemberCheck*> governingRows(const std::vector<MemberCheck>& rows) {
    int members = 0;
    for (const MemberCheck& r : rows)
        members = std::max(members, r.member);
    std::vector<const MemberCheck*> by(members + 1, nullptr);
    for (const MemberCheck& r : rows) {
        const MemberCheck*& g = by[r.member];
        if (!g || (r.checked && (!g->checked || r.ratio > g->ratio))) g = &r;
    }
    std::vector<const MemberCheck*> out;
    for (const MemberCheck* g : by)
        if (g) out.push_back(g);
    return out;
}

std::string nothingCheckedReason(const std::vector<MemberCheck>& rows) {
    if (rows.empty()) return "検定する荷重の組合せがありません。";
    for (const MemberCheck& r : rows)
        if (r.checked) return {};
    return "検定できる部材がありません。部材タイプに断面表（H形鋼・角形鋼管・円形鋼管）の断面が"
           "ありません（数値入力・長方形の断面は検定しません）。";
}

namespace {

std::string csvNumber(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v == 0 ? 0.0 : v);
    return buf;
}

std::string placeName(CheckPlace place) {
    switch (place) {
    case CheckPlace::Start:
        return "始端";
    case CheckPlace::End:
        return "終端";
    case CheckPlace::Span:
        return "中間";
    }
    return {};
}

const char* termName(LoadTerm term) {
    return term == LoadTerm::Long ? "長期" : "短期";
}

// A text field of the CSV: the designations hold no comma, but a reason or
// a label might one day.
std::string csvText(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string governingName(const PointCheck& p) {
    return checkName(p.governing, p.sigmaAxial < 0);
}

} // namespace

std::string checkCsv(const Model& model, const std::vector<MemberCheck>& rows) {
    const bool si = model.UnitFactor != 1.0f;
    const std::string force = si ? "(kN)" : "(tf)";
    const std::string moment = si ? "(kN·m)" : "(tf·m)";
    const std::string stress = "(N/mm²)";
    std::string csv = "\xEF\xBB\xBF部材,組合せ,期間,断面,鋼種,F" + stress +
                      ",検定比,判定,検定項目,位置,x(m),N" + force + ",Qy" + force + ",Qz" + force +
                      ",My" + moment + ",Mz" + moment + ",ft" + stress + ",fc" + stress + ",fb" +
                      stress + ",fs" + stress + ",λ,C,軸力+曲げ,曲げ-軸力,せん断y,せん断z,備考\r\n";
    for (const MemberCheck& r : rows) {
        csv += std::to_string(r.member) + "," + csvText(r.combination) + "," + termName(r.term);
        if (!r.checked) {
            csv += ",,,,,検定外" + std::string(19, ',') + csvText(r.reason) + "\r\n";
            continue;
        }
        const PointCheck& p = r.governing();
        const AllowableStresses& f = r.allowable;
        csv += "," + csvText(r.section) + "," + r.grade + "," + csvNumber(r.F) + "," +
               csvNumber(r.ratio) + "," + (r.ng() ? "NG" : "OK") + "," + governingName(p) + "," +
               placeName(p.place) + "," + csvNumber(p.x);
        for (double v : {p.forces.N, p.forces.Qy, p.forces.Qz, p.forces.My, p.forces.Mz, f.ft, f.fc,
                         f.fbStrong, f.fs, r.lambda, r.C})
            csv += "," + csvNumber(v);
        for (double v : p.ratios)
            csv += "," + csvNumber(v);
        csv += ",\r\n";
    }
    return csv;
}

std::string checkReport(const Model& model, const std::vector<MemberCheck>& rows) {
    LineWriter w(model.DataName + ".chk");
    w.text("許容応力度検定  データ名: ").itemText(model.DataName).endLine();
    w.text("（平成13年国交省告示第1024号、日本建築学会「鋼構造設計規準」。長期の組合せは長期、"
           "短期の組合せは短期許容応力度）")
        .endLine();
    w.endLine();
    w.text(" 部材   検定比  判定  組合せ    期間  検定項目    位置            断面               "
           "鋼種")
        .endLine();
    const std::vector<const MemberCheck*> governing = governingRows(rows);
    const MemberCheck* largest = nullptr;
    int ng = 0, unchecked = 0;
    for (const MemberCheck* r : governing) {
        w.masked("#####", r->member);
        if (!r->checked) {
            ++unchecked;
            w.text("      -   検定外  ").text(r->reason).endLine();
            continue;
        }
        if (!largest || r->ratio > largest->ratio) largest = r;
        ng += r->ng();
        const PointCheck& p = r->governing();
        w.masked("   ##.###", r->ratio).text(r->ng() ? "  NG    " : "  OK    ");
        w.text(r->combination).tab(38).text(termName(r->term)).tab(44).text(governingName(p));
        w.tab(56).text(placeName(p.place));
        if (p.place == CheckPlace::Span) w.masked(" x=##.##m", p.x);
        w.tab(72).text(r->section).tab(91).text(r->grade).endLine();
    }
    w.endLine();
    if (largest) {
        w.text("最大検定比: ").masked("##.###", largest->ratio);
        w.text("  部材 ").number(largest->member).text(" 組合せ ").text(largest->combination);
        w.text(" ").text(governingName(largest->governing())).endLine();
    } else {
        w.text("最大検定比: -  ").text(nothingCheckedReason(rows)).endLine();
    }
    w.text("NG の部材数: ").number(ng).endLine();
    w.text("検定しない部材数: ").number(unchecked).endLine();
    return w.bytes();
}

std::string writeCheckFiles(Files& files, const Model& model, const std::string& name,
                            const std::vector<MemberCheck>& rows) {
    const std::string csv = name + "_CHK.csv";
    if (const FileResult r = files.writeAtomic(csv, checkCsv(model, rows)); !r)
        return csv + ": 検定結果のファイルを書けませんでした。" + r.error;
    const std::string report = name + ".chk";
    if (const FileResult r = files.writeAtomic(report, checkReport(model, rows)); !r)
        return report + ": 検定結果のファイルを書けませんでした。" + r.error;
    return "";
}

} // namespace rahmen
