#include "checks/StoreyCheck.h"

#include "analysis/MemberStiffness.h"
#include "model/Model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace rahmen {

namespace {

// Member numbers as a list for a note, the first few only.
std::string memberList(const std::vector<int>& members) {
    std::string text;
    const std::size_t shown = std::min<std::size_t>(members.size(), 10);
    for (std::size_t i = 0; i < shown; ++i)
        text += (i ? ", " : "") + std::to_string(members[i]);
    if (members.size() > shown) text += " ほか " + std::to_string(members.size() - shown) + " 本";
    return text;
}

std::string fixed(double v, int decimals) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v == 0 ? 0.0 : v);
    return buf;
}

std::string general(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6g", v == 0 ? 0.0 : v);
    return buf;
}

} // namespace

const char* directionName(LoadDirection direction) {
    return direction == LoadDirection::Y ? "Y" : "X";
}

StoreyLayout findStoreys(const Model& model) {
    StoreyLayout layout;
    const int nodes = drawableNodeCount(model), members = drawableMemberCount(model);
    std::vector<bool> used(static_cast<std::size_t>(nodes) + 1, false);
    for (int m = 1; m <= members; ++m)
        if (memberDrawable(model, m))
            used[model.MemberStartNode[m]] = used[model.MemberEndNode[m]] = true;

    bool anySupport = false;
    double base = 0;
    for (int n = 1; n <= nodes; ++n)
        if (model.NodeIsSupport[n] == -1 && (!anySupport || model.NodeZ[n] < base)) {
            base = model.NodeZ[n];
            anySupport = true;
        }
    if (!anySupport) {
        layout.problem = "支持点がないため、層を求められません。";
        return layout;
    }

    // Levels: the node heights above the base, taken in order; a height more
    // than the tolerance above the first of the current level starts a new one.
    std::vector<int> level(static_cast<std::size_t>(nodes) + 1, -1);
    std::vector<int> order;
    for (int n = 1; n <= nodes; ++n)
        if (used[n] && model.NodeZ[n] >= base - kLevelTolerance) order.push_back(n);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return model.NodeZ[a] < model.NodeZ[b]; });
    std::vector<double> sum{0}, first{base};
    std::vector<int> count{0};
    for (int n : order) {
        const double z = model.NodeZ[n];
        if (z > first.back() + kLevelTolerance) {
            first.push_back(z);
            sum.push_back(0);
            count.push_back(0);
        }
        level[n] = int(first.size()) - 1;
        sum.back() += z;
        ++count.back();
    }
    for (std::size_t k = 0; k < first.size(); ++k)
        layout.levels.push_back(k == 0 ? base : sum[k] / count[k]);
    if (layout.levels.size() < 2) {
        layout.problem = "最も低い支持点より上に節点がないため、層を求められません。";
        return layout;
    }
    for (std::size_t k = 1; k < layout.levels.size(); ++k) {
        Storey s;
        s.number = int(k);
        s.bottom = layout.levels[k - 1];
        s.top = layout.levels[k];
        s.height = s.top - s.bottom;
        layout.storeys.push_back(s);
    }

    std::vector<int> slanted, spanning;
    for (int m = 1; m <= members; ++m) {
        if (!memberDrawable(model, m)) continue;
        int a = model.MemberStartNode[m], b = model.MemberEndNode[m];
        if (level[a] < 0 || level[b] < 0 || level[a] == level[b]) continue;
        if (level[a] > level[b]) std::swap(a, b);
        const double dx = double(model.NodeX[b]) - model.NodeX[a];
        const double dy = double(model.NodeY[b]) - model.NodeY[a];
        if (std::hypot(dx, dy) > kPlumbTolerance) {
            slanted.push_back(m);
            continue;
        }
        if (level[b] != level[a] + 1) {
            spanning.push_back(m);
            continue;
        }
        StoreyColumn c;
        c.member = m;
        c.lower = a;
        c.upper = b;
        c.x = (double(model.NodeX[a]) + model.NodeX[b]) / 2;
        c.y = (double(model.NodeY[a]) + model.NodeY[b]) / 2;
        layout.storeys[std::size_t(level[b]) - 1].columns.push_back(c);
    }
    if (!slanted.empty())
        layout.notes.push_back("鉛直でない部材（上下端の水平のずれ " + fixed(kPlumbTolerance, 0) +
                               " cm 超）は柱としません: 部材 " + memberList(slanted));
    if (!spanning.empty())
        layout.notes.push_back("二つ以上の層にまたがる鉛直部材は柱としません: 部材 " +
                               memberList(spanning));
    bool anyColumn = false;
    for (const Storey& s : layout.storeys) {
        if (s.columns.empty())
            layout.notes.push_back("層 " + std::to_string(s.number) +
                                   "（Z = " + fixed(s.bottom, 1) + "～" + fixed(s.top, 1) +
                                   " cm）に柱がありません。");
        anyColumn = anyColumn || !s.columns.empty();
    }
    if (!anyColumn) layout.problem = "柱（上下の階を結ぶ鉛直部材）がないため、層を求められません。";
    return layout;
}

namespace {

const CaseResult* findResult(const std::vector<CaseResult>& results, const std::string& label) {
    for (const CaseResult& r : results)
        if (r.label == label) return &r;
    return nullptr;
}

// The force of column c along the global axis `axis` (0 X, 1 Y, 2 Z) at its
// upper end, as the stored end forces (member axes, at the end node) give it.
double upperEndForce(const Model& model, const CaseResult& r, const StoreyColumn& c, int axis) {
    const int m = c.member;
    const double dx =
        double(model.NodeX[model.MemberEndNode[m]]) - model.NodeX[model.MemberStartNode[m]];
    const double dy =
        double(model.NodeY[model.MemberEndNode[m]]) - model.NodeY[model.MemberStartNode[m]];
    const double dz =
        double(model.NodeZ[model.MemberEndNode[m]]) - model.NodeZ[model.MemberStartNode[m]];
    const Axes axes = memberAxes(dx, dy, dz, model.MemberAngle[m]);
    const auto& f = r.endForce[std::size_t(m) - 1];
    double local[3] = {f[6], f[7], f[8]};
    if (model.MemberStartNode[m] == c.upper) {
        // At the start: the end's forces reversed, less the span's uniform load.
        const double lengthM = std::sqrt(dx * dx + dy * dy + dz * dz) / 100;
        const bool loaded = r.memberLoadFlag[std::size_t(m) - 1] == 1;
        const auto& w = r.memberUniformLoad[std::size_t(m) - 1];
        local[0] = -local[0];
        local[1] = -local[1] - (loaded ? w[0] * lengthM : 0.0);
        local[2] = -local[2] - (loaded ? w[1] * lengthM : 0.0);
    }
    return local[0] * axes[0][axis] + local[1] * axes[1][axis] + local[2] * axes[2][axis];
}

double displacement(const CaseResult& r, int node, int dof) {
    return r.displacement[std::size_t(6 * (node - 1) + dof - 1)];
}

// Drifts, shears and stiffnesses of one storey's columns under one case.
std::vector<ColumnDrift> columnDrifts(const Model& model, const CaseResult& r, const Storey& s,
                                      LoadDirection direction) {
    const int dof = direction == LoadDirection::Y ? 2 : 1;
    std::vector<ColumnDrift> out;
    // Drifts below this (cm) are the noise of a case without load along the direction.
    constexpr double kNoDrift = 1e-9;
    for (const StoreyColumn& c : s.columns) {
        ColumnDrift d;
        d.member = c.member;
        d.x = c.x;
        d.y = c.y;
        d.drift = displacement(r, c.upper, dof) - displacement(r, c.lower, dof);
        d.shear = upperEndForce(model, r, c, dof - 1);
        if (std::fabs(d.drift) > kNoDrift) d.stiffness = d.shear / d.drift;
        out.push_back(d);
    }
    return out;
}

struct Rigidity {
    std::optional<double> centre; // lx from Dy (Y case) or ly from Dx (X case)
    double sum = 0;               // Σ D
    bool complete = false;        // every column has its D
};

// Σ D·coordinate / Σ D over the columns that have a D.
Rigidity rigidity(const std::vector<ColumnDrift>& columns, LoadDirection direction) {
    Rigidity out;
    double moment = 0;
    int counted = 0;
    for (const ColumnDrift& c : columns) {
        if (!c.stiffness) continue;
        out.sum += *c.stiffness;
        moment += *c.stiffness * (direction == LoadDirection::X ? c.y : c.x);
        ++counted;
    }
    out.complete = counted == int(columns.size()) && counted > 0;
    if (counted > 0 && out.sum > 0) out.centre = moment / out.sum;
    return out;
}

std::string ratioText(double angle) {
    return "1/" + std::to_string(static_cast<long>(std::lround(1.0 / angle)));
}

// The case of the other direction paired with the index-th case of one.
const std::string* pairedCase(const std::vector<std::string>& other, std::size_t index) {
    if (other.empty()) return nullptr;
    return &other[index < other.size() ? index : 0];
}

} // namespace

StoreyCheckResult checkStoreys(const Model& model, const LoadCaseSet& set,
                               const std::vector<CaseResult>& results, const StoreyLimits& limits) {
    StoreyCheckResult out;
    out.limits = limits;
    out.olderUnits = model.UnitFactor == 1.0f;
    out.layout = findStoreys(model);
    if (!out.layout.problem.empty()) {
        out.problem = out.layout.problem;
        return out;
    }
    std::vector<std::string> cases[2]; // X, Y
    for (const LoadCase& c : set.cases)
        if (c.kind == LoadKind::Seismic && c.direction != LoadDirection::None)
            cases[c.direction == LoadDirection::Y].push_back(c.label);
    if (cases[0].empty() && cases[1].empty()) {
        out.problem = "地震荷重のケース（KX, KY など）がないため、層の検定ができません。";
        return out;
    }
    if (results.empty()) {
        out.problem = "荷重ケースの解析結果がありません。先に荷重ケースを解析してください。";
        return out;
    }
    for (const CaseResult& r : results)
        if (r.nodeCount != model.NodeCount || r.memberCount != model.MemberCount) {
            out.problem = "解析結果 " + r.label + " の節点数・部材数が骨組と合いません。" +
                          "骨組を変えたあとは解析し直してください。";
            return out;
        }
    for (int d = 0; d < 2; ++d)
        for (const std::string& label : cases[d])
            if (!findResult(results, label)) {
                out.problem = "荷重ケース " + label + " の解析結果がありません。";
                return out;
            }
    for (int d = 0; d < 2; ++d)
        if (cases[d].empty())
            out.notes.push_back(
                std::string(d ? "Y" : "X") + " 方向の地震荷重のケースがありません。" +
                (d ? "Y" : "X") + " 方向の層間変形角・剛性率と、" + (d ? "X" : "Y") +
                " 方向の偏心率（" + (d ? "Dy" : "Dx") + " が要ります）は求めません。");

    // The centre of mass: the column axial forces of the long-term combination.
    const CaseResult* mass = nullptr;
    for (const Combination& c : set.combinations)
        if (c.term == LoadTerm::Long && (mass = findResult(results, c.label))) break;
    if (!mass)
        for (const LoadCase& c : set.cases)
            if (c.kind == LoadKind::Dead && (mass = findResult(results, c.label))) break;
    if (mass)
        out.massLabel = mass->label;
    else
        out.notes.push_back("長期の組合せも固定荷重のケースもないため、重心と偏心率は求めません。");

    const std::vector<Storey>& storeys = out.layout.storeys;
    for (int d = 0; d < 2; ++d) {
        const LoadDirection direction = d ? LoadDirection::Y : LoadDirection::X;
        for (std::size_t ci = 0; ci < cases[d].size(); ++ci) {
            const std::string& label = cases[d][ci];
            const CaseResult& r = *findResult(results, label);
            const std::string* other = pairedCase(cases[1 - d], ci);
            const CaseResult* otherResult = other ? findResult(results, *other) : nullptr;
            const std::size_t first = out.rows.size();
            for (const Storey& s : storeys) {
                StoreyRow row;
                row.storey = s.number;
                row.direction = direction;
                row.caseLabel = label;
                row.otherCase = other ? *other : "";
                row.height = s.height;
                if (s.columns.empty()) {
                    row.notes.push_back("柱がありません。");
                    out.rows.push_back(row);
                    continue;
                }
                row.columns = columnDrifts(model, r, s, direction);
                double largest = -1, total = 0;
                for (const ColumnDrift& c : row.columns) {
                    total += c.drift;
                    if (std::fabs(c.drift) > largest) {
                        largest = std::fabs(c.drift);
                        row.governingColumn = c.member;
                    }
                }
                row.driftAngle = largest / s.height;
                row.meanDrift = total / double(row.columns.size());
                if (std::fabs(*row.meanDrift) > 1e-9)
                    row.rs = s.height / std::fabs(*row.meanDrift);
                else
                    row.notes.push_back("平均層間変形が 0 です（" +
                                        std::string(directionName(direction)) +
                                        " 方向の荷重がないか、層が剛です）。");

                // Centre of rigidity and torsional stiffness: D along X from
                // the X case, along Y from the Y case.
                const std::vector<ColumnDrift> others =
                    otherResult ? columnDrifts(model, *otherResult, s,
                                               d ? LoadDirection::X : LoadDirection::Y)
                                : std::vector<ColumnDrift>{};
                const std::vector<ColumnDrift>& dx = d ? others : row.columns;
                const std::vector<ColumnDrift>& dy = d ? row.columns : others;
                const Rigidity rx = rigidity(dx, LoadDirection::X);
                const Rigidity ry = rigidity(dy, LoadDirection::Y);
                row.ly = rx.centre;
                row.lx = ry.centre;
                if (!dx.empty() && !rx.complete)
                    row.notes.push_back("層間変形 0 の柱は Dx に数えません。");
                if (!dy.empty() && !ry.complete)
                    row.notes.push_back("層間変形 0 の柱は Dy に数えません。");
                if (row.lx && row.ly) {
                    double kr = 0;
                    for (const ColumnDrift& c : dx)
                        if (c.stiffness) kr += *c.stiffness * (c.y - *row.ly) * (c.y - *row.ly);
                    for (const ColumnDrift& c : dy)
                        if (c.stiffness) kr += *c.stiffness * (c.x - *row.lx) * (c.x - *row.lx);
                    row.KR = kr;
                    if (kr > 0) {
                        row.rex = std::sqrt(kr / rx.sum);
                        row.rey = std::sqrt(kr / ry.sum);
                    } else {
                        row.notes.push_back("ねじり剛性 KR が正でないため、偏心率は求めません。");
                    }
                } else if (other) {
                    row.notes.push_back("D の和が正にならないため、剛心を求められません。");
                } else {
                    row.notes.push_back(std::string(d ? "X" : "Y") +
                                        " 方向の地震荷重のケースがないため、偏心率は求めません。");
                }
                if (mass) {
                    double weight = 0, wx = 0, wy = 0;
                    for (const StoreyColumn& c : s.columns) {
                        // Compression positive: the axial force at the end
                        // node is tension positive.
                        const double n = -mass->endForce[std::size_t(c.member) - 1][6];
                        weight += n;
                        wx += n * c.x;
                        wy += n * c.y;
                    }
                    if (weight > 0) {
                        row.gx = wx / weight;
                        row.gy = wy / weight;
                    } else {
                        row.notes.push_back(
                            out.massLabel +
                            " の柱の軸力（圧縮）の和が正でないため、重心を求めません。");
                    }
                }
                if (row.gx && row.gy && row.rex && row.rey)
                    row.Re = d ? std::fabs(*row.gx - *row.lx) / *row.rey
                               : std::fabs(*row.gy - *row.ly) / *row.rex;
                out.rows.push_back(row);
            }

            // Stiffness ratios over the storeys of this case.
            double sum = 0;
            int count = 0;
            std::vector<int> missing;
            for (std::size_t i = first; i < out.rows.size(); ++i) {
                if (out.rows[i].rs) {
                    sum += *out.rows[i].rs;
                    ++count;
                } else {
                    missing.push_back(out.rows[i].storey);
                }
            }
            if (missing.empty() && count > 0) {
                for (std::size_t i = first; i < out.rows.size(); ++i)
                    out.rows[i].Rs = *out.rows[i].rs / (sum / count);
            } else {
                std::string list;
                for (int k : missing)
                    list += (list.empty() ? "" : ", ") + std::to_string(k);
                out.notes.push_back(label + ": 層 " + list +
                                    " の rs が求まらないため、剛性率は求めません。");
            }
        }
    }

    for (StoreyRow& row : out.rows) {
        bool fails = false, missing = false;
        if (row.driftAngle) {
            if (*row.driftAngle > limits.driftAngle * (1 + 1e-12)) {
                fails = true;
                row.notes.push_back("層間変形角 " + ratioText(*row.driftAngle) + " が " +
                                    ratioText(limits.driftAngle) + " を超えます。");
            }
        } else {
            missing = true;
        }
        if (row.Rs) {
            if (*row.Rs < limits.stiffnessRatio) {
                fails = true;
                row.notes.push_back("剛性率 " + fixed(*row.Rs, 2) + " が " +
                                    fixed(limits.stiffnessRatio, 2) + " 未満です。");
            }
        } else {
            missing = true;
        }
        if (row.Re) {
            if (*row.Re > limits.eccentricityRatio) {
                fails = true;
                row.notes.push_back("偏心率 " + fixed(*row.Re, 3) + " が " +
                                    fixed(limits.eccentricityRatio, 2) + " を超えます。");
            }
        } else {
            missing = true;
        }
        row.judgement = fails ? "NG" : missing ? "-" : "OK";
    }
    return out;
}

namespace {

std::string optionalNumber(const std::optional<double>& v) {
    return v ? general(*v) : "";
}

std::string joined(const std::vector<std::string>& notes, const char* separator) {
    std::string text;
    for (const std::string& n : notes)
        text += (text.empty() ? "" : separator) + n;
    return text;
}

} // namespace

std::string storeyCsv(const StoreyCheckResult& result) {
    const std::string f = result.olderUnits ? "tf" : "kN";
    std::string csv = "\xEF\xBB\xBF層,方向,荷重,h(cm),δ̄(cm),層間変形角,1/x,最大の柱,rs,剛性率,"
                      "lx(cm),ly(cm),gx(cm),gy(cm),KR(" +
                      f + "·cm),rex(cm),rey(cm),偏心率,判定,備考\r\n";
    for (const StoreyRow& r : result.rows) {
        csv += std::to_string(r.storey) + "," + directionName(r.direction) + "," + r.caseLabel +
               "," + general(r.height) + "," + optionalNumber(r.meanDrift) + "," +
               optionalNumber(r.driftAngle) + "," +
               (r.driftAngle && *r.driftAngle > 0 ? ratioText(*r.driftAngle) : std::string()) +
               "," + (r.governingColumn ? std::to_string(r.governingColumn) : std::string()) + "," +
               optionalNumber(r.rs) + "," + optionalNumber(r.Rs) + "," + optionalNumber(r.lx) +
               "," + optionalNumber(r.ly) + "," + optionalNumber(r.gx) + "," +
               optionalNumber(r.gy) + "," + optionalNumber(r.KR) + "," + optionalNumber(r.rex) +
               "," + optionalNumber(r.rey) + "," + optionalNumber(r.Re) + "," + r.judgement + "," +
               joined(r.notes, " ") + "\r\n";
    }
    return csv;
}

namespace {

// Right-aligned in `width` columns.
std::string cell(const std::string& text, std::size_t width) {
    return text.size() >= width ? " " + text : std::string(width - text.size(), ' ') + text;
}

std::string cell(const std::optional<double>& v, int decimals, std::size_t width) {
    return cell(v ? fixed(*v, decimals) : std::string("-"), width);
}

} // namespace

std::string storeyReportText(const StoreyCheckResult& result, const std::string& dataName) {
    const std::string f = result.olderUnits ? "tf" : "kN";
    std::string t;
    auto line = [&t](const std::string& text) { t += text + "\r\n"; };
    line("");
    line("     層間変形角・剛性率・偏心率リスト    （施行令 第82条の2、第82条の6）");
    line("");
    line(" デ ー タ 名: " + dataName);
    line("");
    if (!result.problem.empty()) {
        line(" " + result.problem);
        return t;
    }
    line("     層リスト                                     単位：cm");
    line("");
    line("   層      下端 Z      上端 Z     階高 h    柱数");
    for (const Storey& s : result.layout.storeys)
        line(cell(std::to_string(s.number), 5) + cell(fixed(s.bottom, 1), 12) +
             cell(fixed(s.top, 1), 12) + cell(fixed(s.height, 1), 11) +
             cell(std::to_string(s.columns.size()), 8));
    for (const std::string& n : result.layout.notes)
        line(" " + n);
    line("");
    line(" 重心: " + (result.massLabel.empty() ? std::string("（求めません）")
                                               : result.massLabel + " の柱軸力による"));
    for (const std::string& n : result.notes)
        line(" " + n);

    std::string current;
    for (const StoreyRow& r : result.rows) {
        const std::string key = r.caseLabel;
        if (key != current) {
            current = key;
            line("");
            line("     荷重 " + r.caseLabel + "（" + directionName(r.direction) + " 方向" +
                 (r.otherCase.empty() ? std::string()
                                      : "、直交方向の D は " + r.otherCase + " による") +
                 "）        単位：cm, " + f);
            line("");
            line("   層    階高 h   平均δ      層間変形角   最大の柱  剛性率   "
                 "    lx       ly       gx       gy        KR   偏心率  判定");
        }
        line(cell(std::to_string(r.storey), 5) + cell(fixed(r.height, 1), 10) +
             cell(r.meanDrift, 4, 10) +
             cell(r.driftAngle && *r.driftAngle > 0
                      ? fixed(*r.driftAngle, 5) + " " + ratioText(*r.driftAngle)
                      : std::string(r.driftAngle ? "0" : "-"),
                  15) +
             cell(r.governingColumn ? std::to_string(r.governingColumn) : std::string("-"), 9) +
             cell(r.Rs, 2, 8) + cell(r.lx, 1, 9) + cell(r.ly, 1, 9) + cell(r.gx, 1, 9) +
             cell(r.gy, 1, 9) + cell(r.KR ? general(*r.KR) : std::string("-"), 11) +
             cell(r.Re, 3, 8) + cell(r.judgement, 5));
        for (const std::string& n : r.notes)
            line("         層 " + std::to_string(r.storey) + ": " + n);
    }
    line("");
    line(" 判定: 層間変形角 " + ratioText(result.limits.driftAngle) + " 以下、剛性率 " +
         fixed(result.limits.stiffnessRatio, 1) + " 以上、偏心率 " +
         fixed(result.limits.eccentricityRatio, 2) + " 以下で OK（- は求まらない値があるもの）。");
    return t;
}

} // namespace rahmen
