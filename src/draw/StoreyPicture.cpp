#include "draw/StoreyPicture.h"

#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rahmen {

namespace {

constexpr int kTitleFont = 11;
constexpr int kLabelFont = 9;

std::string fixed(double v, int decimals) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v == 0 ? 0.0 : v);
    return buf;
}

std::string ratio(double angle) {
    return "1/" + std::to_string(static_cast<long>(std::lround(1.0 / angle)));
}

// Text with its top-left corner near pixel (x, y), on the canvas's text grid.
void textAt(Canvas& canvas, double x, double y, const std::string& text, int color,
            int size = kLabelFont) {
    canvas.text(std::max(0, int(std::lround(x / Canvas::ColumnWidth))),
                std::max(0, int(std::lround(y / Canvas::RowHeight))), text, color, size);
}

// An outlined box filled by horizontal lines.
void bar(Canvas& canvas, double x1, double y1, double x2, double y2, int color) {
    for (double y = y1; y <= y2; y += 2)
        canvas.line(x1, y, x2, y, color);
    canvas.line(x1, y1, x2, y1, color);
    canvas.line(x2, y1, x2, y2, color);
    canvas.line(x2, y2, x1, y2, color);
    canvas.line(x1, y2, x1, y1, color);
}

std::string firstCase(const StoreyCheckResult& result, LoadDirection direction) {
    for (const StoreyRow& r : result.rows)
        if (r.direction == direction) return r.caseLabel;
    return "";
}

// The message of a result that could not be checked.
bool drawProblem(Canvas& canvas, const StoreyCheckResult& result) {
    if (result.problem.empty()) return false;
    textAt(canvas, 40, 280, result.problem, kStoreyFailColor, kTitleFont);
    return true;
}

// One panel of drift bars, between x0 and x1.
void driftPanel(Canvas& canvas, const StoreyCheckResult& result, LoadDirection direction,
                const std::string& label, double x0, double x1) {
    const char* name = directionName(direction);
    const double top = 60, bottom = 520;
    if (label.empty()) {
        textAt(canvas, x0, 30, std::string(name) + " 方向", 0, kTitleFont);
        textAt(canvas, x0, 280, std::string(name) + " 方向の地震荷重のケースがありません。",
               kStoreyFailColor);
        return;
    }
    std::vector<const StoreyRow*> rows;
    for (const StoreyRow& r : result.rows)
        if (r.caseLabel == label) rows.push_back(&r);
    textAt(canvas, x0, 30, std::string(name) + " 方向（" + label + "）", 0, kTitleFont);
    if (rows.empty()) return;

    // The scale: the limit at two thirds of the width unless a storey drifts more.
    const double limit = result.limits.driftAngle;
    double largest = limit * 1.5;
    for (const StoreyRow* r : rows)
        if (r->driftAngle) largest = std::max(largest, *r->driftAngle * 1.1);
    const double left = x0 + 40, right = x1 - 10;
    const double scale = (right - left) / largest;
    const double band = (bottom - top) / double(rows.size());

    canvas.line(left, top, left, bottom, 0);
    canvas.line(left, bottom, right, bottom, 0);
    textAt(canvas, left - 2, bottom + 4, "0", 0);
    const double lx = left + limit * scale;
    canvas.line(lx, top - 10, lx, bottom, kStoreyFailColor);
    textAt(canvas, lx - 12, bottom + 4, ratio(limit), kStoreyFailColor);
    textAt(canvas, left, bottom + 22, "層間変形角", 0);

    // Storey 1 at the bottom.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const StoreyRow& r = *rows[i];
        const double yb = bottom - band * double(i), yt = yb - band;
        const double y1 = yt + band * 0.3, y2 = yb - band * 0.3;
        textAt(canvas, x0, (y1 + y2) / 2 - 5, std::to_string(r.storey) + "層", 0);
        const int color = r.judgement == "NG" ? kStoreyFailColor : kStoreyBarColor;
        if (r.driftAngle && *r.driftAngle > 0) {
            bar(canvas, left, y1, left + *r.driftAngle * scale, y2, color);
            textAt(canvas, left + 4, y1 - 11, ratio(*r.driftAngle), color);
        } else {
            textAt(canvas, left + 4, y1 - 11, r.driftAngle ? "変形 0" : "柱なし", color);
        }
        std::string ratios = "Rs " + (r.Rs ? fixed(*r.Rs, 2) : std::string("-")) + "  Re " +
                             (r.Re ? fixed(*r.Re, 3) : std::string("-"));
        textAt(canvas, left + 4, y2 + 1, ratios, color);
    }
}

} // namespace

void drawStoreyDrifts(Canvas& canvas, const StoreyCheckResult& result, const std::string& xCase,
                      const std::string& yCase) {
    canvas.clear();
    textAt(canvas, 10, 0, "層間変形角・剛性率・偏心率", 0, kTitleFont);
    if (drawProblem(canvas, result)) return;
    const double half = canvas.width() / 2.0;
    driftPanel(canvas, result, LoadDirection::X,
               xCase.empty() ? firstCase(result, LoadDirection::X) : xCase, 10, half - 10);
    driftPanel(canvas, result, LoadDirection::Y,
               yCase.empty() ? firstCase(result, LoadDirection::Y) : yCase, half + 10,
               canvas.width() - 10.0);
    textAt(canvas, 10, canvas.height() - 30,
           "赤線: 層間変形角の制限 " + ratio(result.limits.driftAngle) + "、剛性率 Rs ≧ " +
               fixed(result.limits.stiffnessRatio, 1) + "、偏心率 Re ≦ " +
               fixed(result.limits.eccentricityRatio, 2) + "（赤は NG の層）",
           0);
}

void drawStoreyPlan(Canvas& canvas, const StoreyCheckResult& result, int storey,
                    const std::string& caseLabel) {
    canvas.clear();
    if (drawProblem(canvas, result)) return;
    const Storey* s = nullptr;
    for (const Storey& candidate : result.layout.storeys)
        if (candidate.number == storey) s = &candidate;
    if (!s) {
        textAt(canvas, 40, 280, "層 " + std::to_string(storey) + " はありません。",
               kStoreyFailColor, kTitleFont);
        return;
    }
    const StoreyRow* row = nullptr;
    for (const StoreyRow& r : result.rows)
        if (r.storey == storey && (caseLabel.empty() || r.caseLabel == caseLabel)) {
            row = &r;
            break;
        }
    textAt(canvas, 10, 0,
           std::to_string(storey) + "層 平面" + (row ? "（荷重 " + row->caseLabel + "）" : ""), 0,
           kTitleFont);
    if (s->columns.empty()) {
        textAt(canvas, 40, 280, "この層には柱がありません。", kStoreyFailColor, kTitleFont);
        return;
    }

    // The plan of every storey's columns fits the picture, so that the storeys
    // share one scale and one position.
    double minX = s->columns[0].x, maxX = minX, minY = s->columns[0].y, maxY = minY;
    for (const Storey& each : result.layout.storeys)
        for (const StoreyColumn& c : each.columns) {
            minX = std::min(minX, c.x);
            maxX = std::max(maxX, c.x);
            minY = std::min(minY, c.y);
            maxY = std::max(maxY, c.y);
        }
    const double left = 60, right = canvas.width() - 60.0, top = 60, bottom = 480;
    const double spanX = std::max(maxX - minX, 1.0), spanY = std::max(maxY - minY, 1.0);
    const double scale = std::min((right - left) / spanX, (bottom - top) / spanY);
    const double ox = (left + right) / 2 - (minX + maxX) / 2 * scale;
    const double oy = (top + bottom) / 2 + (minY + maxY) / 2 * scale;
    auto px = [&](double x) { return ox + x * scale; };
    auto py = [&](double y) { return oy - y * scale; }; // Y upward

    for (const StoreyColumn& c : s->columns) {
        const double x = px(c.x), y = py(c.y);
        canvas.line(x - 4, y - 4, x + 4, y - 4, kColumnColor);
        canvas.line(x + 4, y - 4, x + 4, y + 4, kColumnColor);
        canvas.line(x + 4, y + 4, x - 4, y + 4, kColumnColor);
        canvas.line(x - 4, y + 4, x - 4, y - 4, kColumnColor);
        textAt(canvas, x + 6, y + 2, std::to_string(c.member), kColumnColor, 8);
    }
    if (row && row->gx && row->gy) {
        const double x = px(*row->gx), y = py(*row->gy);
        canvas.filledCircle(x, y, 6, kMassColor);
        textAt(canvas, x + 9, y - 16, "重心 G", kMassColor);
    }
    if (row && row->lx && row->ly) {
        const double x = px(*row->lx), y = py(*row->ly);
        canvas.circle(x, y, 8, kRigidityColor);
        canvas.line(x - 11, y, x + 11, y, kRigidityColor);
        canvas.line(x, y - 11, x, y + 11, kRigidityColor);
        textAt(canvas, x + 11, y + 4, "剛心 S", kRigidityColor);
    }

    // The legend and the numbers.
    const double legend = 510;
    canvas.line(20, legend + 1, 28, legend + 1, kColumnColor);
    canvas.line(28, legend + 1, 28, legend + 9, kColumnColor);
    canvas.line(28, legend + 9, 20, legend + 9, kColumnColor);
    canvas.line(20, legend + 9, 20, legend + 1, kColumnColor);
    textAt(canvas, 34, legend, "柱（部材番号）", kColumnColor);
    canvas.filledCircle(180, legend + 5, 5, kMassColor);
    std::string mass = "重心 G";
    if (row && row->gx && row->gy)
        mass += " (" + fixed(*row->gx, 1) + ", " + fixed(*row->gy, 1) + ")";
    textAt(canvas, 190, legend, mass, kMassColor);
    canvas.circle(400, legend + 5, 6, kRigidityColor);
    std::string rigidity = "剛心 S";
    if (row && row->lx && row->ly)
        rigidity += " (" + fixed(*row->lx, 1) + ", " + fixed(*row->ly, 1) + ")";
    textAt(canvas, 410, legend, rigidity, kRigidityColor);
    if (!row) return;
    std::string ratios;
    for (const StoreyRow& r : result.rows)
        if (r.storey == storey && (r.caseLabel == row->caseLabel || r.caseLabel == row->otherCase))
            ratios += std::string(ratios.empty() ? "" : "  ") + "Re" + directionName(r.direction) +
                      " (" + r.caseLabel + ") = " + (r.Re ? fixed(*r.Re, 3) : std::string("-"));
    textAt(canvas, 20, legend + 20, ratios + "  単位 cm", 0);
    if (row->KR)
        textAt(canvas, 20, legend + 40,
               "KR = " + fixed(*row->KR, 0) + (result.olderUnits ? " tf·cm" : " kN·cm") +
                   (row->rex ? "  rex = " + fixed(*row->rex, 1) : std::string()) +
                   (row->rey ? "  rey = " + fixed(*row->rey, 1) : std::string()),
               0);
}

} // namespace rahmen
