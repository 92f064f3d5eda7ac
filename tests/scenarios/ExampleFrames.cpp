#include "ExampleFrames.h"

#include "model/Model.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace rahmen {

const DateTime kExampleTime{2026, 12, 8, 10, 20, 30};

namespace {

// Base 1-4, first floor 5-8 at 350 cm, roof 9-12 at 700 cm; 600 cm in X,
// 500 cm in Y.
void setNodes(Model& md) {
    const float xyz[13][3] = {{0, 0, 0},       {0, 0, 0},   {600, 0, 0},   {0, 500, 0},
                              {600, 500, 0},   {0, 0, 350}, {600, 0, 350}, {0, 500, 350},
                              {600, 500, 350}, {0, 0, 700}, {600, 0, 700}, {0, 500, 700},
                              {600, 500, 700}};
    md.NodeCount = 12;
    for (int n = 1; n <= 12; ++n) {
        md.NodeX[n] = xyz[n][0];
        md.NodeY[n] = xyz[n][1];
        md.NodeZ[n] = xyz[n][2];
    }
    md.SupportCount = 4;
    for (int n = 1; n <= 4; ++n)
        md.NodeIsSupport[n] = -1;
}

// Columns 1-4 and 9-12, first-floor beams 5-8, roof beams 13-16, each of the
// type given.
void setMembers(Model& md, const int (&type)[17]) {
    const int ends[17][2] = {{0, 0},  {1, 5},  {2, 6},   {3, 7},  {4, 8},  {5, 6},
                             {7, 8},  {5, 7},  {6, 8},   {5, 9},  {6, 10}, {7, 11},
                             {8, 12}, {9, 10}, {11, 12}, {9, 11}, {10, 12}};
    md.MemberCount = 16;
    for (int m = 1; m <= 16; ++m) {
        const int t = type[m];
        md.MemberStartNode[m] = static_cast<int16_t>(ends[m][0]);
        md.MemberEndNode[m] = static_cast<int16_t>(ends[m][1]);
        md.MemberTypeNo[m] = static_cast<int16_t>(t);
        md.MemberArea[m] = md.TypeArea[t];
        md.MemberIy[m] = md.TypeIy[t];
        md.MemberIz[m] = md.TypeIz[t];
        md.MemberJ[m] = md.TypeJ[t];
        md.MemberShearAreaY[m] = md.TypeShearAreaY[t];
        md.MemberShearAreaZ[m] = md.TypeShearAreaZ[t];
    }
}

// A type typed as numbers shears over its full area.
void setNumberType(Model& md, int t, float area, float iy, float iz, float j) {
    md.TypeArea[t] = md.TypeShearAreaY[t] = md.TypeShearAreaZ[t] = area;
    md.TypeIy[t] = iy;
    md.TypeIz[t] = iz;
    md.TypeJ[t] = j;
}

void setSteel(Model& md, float shapeFactor) {
    md.YoungModulus = 205000; // N/mm²
    md.ShearModulus = 79000;
    md.ShearShapeFactor = shapeFactor;
}

std::vector<std::string> lines(const std::string& bytes) {
    std::vector<std::string> out;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

bool isNumber(const std::string& word, double& value) {
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return !word.empty() && *end == '\0';
}

bool sameWord(const std::string& a, const std::string& b) {
    double x = 0, y = 0;
    if (a == b) return true;
    if (!isNumber(a, x) || !isNumber(b, y)) return false;
    constexpr double kResidue = 1e-9;
    if (std::fabs(x) < kResidue && std::fabs(y) < kResidue) return true;
    // One unit in the last of four significant digits is at most 1e-3 of the
    // value (the mantissa is printed from 10.00 to 99.99).
    return std::fabs(x - y) <= 1.001e-3 * std::max(std::fabs(x), std::fabs(y));
}

// Shown without the line's CR.
std::string lineDifference(std::size_t i, std::string got, std::string want) {
    for (std::string* text : {&got, &want})
        if (!text->empty() && text->back() == '\r') text->pop_back();
    return "line " + std::to_string(i + 1) + ":\n  got  \"" + got + "\"\n  want \"" + want + "\"";
}

} // namespace

void buildTwoStoreyFrame(Model& md) {
    md.DataName = "two_storey";
    setNodes(md);
    md.MemberTypeCount = 2;
    setNumberType(md, 1, 100, 20000, 20000, 30000); // columns
    setNumberType(md, 2, 60, 30000, 2000, 50);      // beams, vertical bending about y
    setMembers(md, {0, 1, 1, 1, 1, 2, 2, 2, 2, 1, 1, 1, 1, 2, 2, 2, 2});
}

void addTwoStoreyLoads(Model& md) {
    setSteel(md, 0);
    for (int n = 9; n <= 12; ++n) {
        md.NodeLoad[6 * n - 5] = 50; // kN in X
        md.NodeLoadFlag[n] = 1;
    }
    md.LoadedNodeCount = 4;
    md.MemberUniformLoad[13][2] = -20; // kN/m, member z
    md.MemberLoadFlag[13] = 1;
    md.LoadedMemberCount = 1;
}

void buildWorkflowFrame(Model& md) {
    md.DataName = "two_storey_pins";
    setNodes(md);
    md.MemberTypeCount = 6;
    setNumberType(md, 1, 100, 20000, 20000, 30000); // lower columns
    setNumberType(md, 2, 80, 15000, 12000, 20000);  // upper columns
    setNumberType(md, 3, 60, 30000, 2000, 50);      // first-floor beams in X
    setNumberType(md, 4, 50, 18000, 1500, 40);      // beams in Y
    setNumberType(md, 5, 45.5f, 22000, 1800, 35);   // the roof beam 11-12
    // 60 × 30 cm: A·B, A³·B/12, B³·A/12 and the torsion constant of the
    // rectangle with half-sides 30 and 15, as single-precision values.
    md.TypeSectionKind[6] = 1;
    md.RectTypeCount = 1;
    md.TypeRectA[6] = 60;
    md.TypeRectB[6] = 30;
    setNumberType(md, 6, 1800, 540000, 135000, 370785.9375f);
    setMembers(md, {0, 1, 1, 1, 1, 3, 3, 4, 4, 2, 2, 2, 2, 6, 5, 4, 4});
    md.MemberAngle[12] = 0.5236f;

    md.PinEndY[7] = -1;
    md.MemberEndPinned[7] = 1;
    md.PinStartY[8] = md.PinStartZ[8] = -1;
    md.MemberStartPinned[8] = 1;
    md.PinnedEndCount = 2;

    md.SpringStart[13][5] = 500000; // 5000 kN·m/rad, kept in kN·cm/rad
    md.SpringEnd[13][5] = 800000;
    md.MemberStartSprung[13] = md.MemberEndSprung[13] = 1;
    md.SprungEndCount = 2;
}

// Nodal loads on nodes 7 and 10, then level totals at 350 cm (X 100, Z -40)
// and 700 cm (X 200, Y 40) shared by the four nodes of each: the shares
// replace the nodal forces, the nodal moments stay.
void addWorkflowLoads(Model& md) {
    setSteel(md, 1.2f);
    for (int n = 5; n <= 8; ++n) {
        md.NodeLoad[6 * n - 5] = 25;
        md.NodeLoad[6 * n - 3] = -10;
        md.NodeLoadFlag[n] = 1;
    }
    for (int n = 9; n <= 12; ++n) {
        md.NodeLoad[6 * n - 5] = 50;
        md.NodeLoad[6 * n - 4] = 10;
        md.NodeLoadFlag[n] = 1;
    }
    md.NodeLoad[6 * 7 - 2] = 150; // 1.5 kN·m about X
    md.NodeLoad[6 * 10] = 200;    // 2 kN·m about Z
    md.LoadedNodeCount = 10;      // two nodal rows and eight level shares

    md.MemberUniformLoad[13][2] = -20;
    md.MemberUniformLoad[5][1] = 3;
    md.MemberUniformLoad[5][2] = -12;
    md.MemberLoadFlag[13] = md.MemberLoadFlag[5] = 1;
    md.LoadedMemberCount = 2;
}

const std::vector<ExampleFrame>& exampleFrames() {
    static const std::vector<ExampleFrame> frames{
        {"two_storey", buildTwoStoreyFrame, addTwoStoreyLoads},
        {"two_storey_pins", buildWorkflowFrame, addWorkflowLoads},
    };
    return frames;
}

std::string firstDifference(const std::string& got, const std::string& want) {
    if (got == want) return "";
    const std::vector<std::string> a = lines(got), b = lines(want);
    for (std::size_t i = 0; i < a.size() || i < b.size(); ++i) {
        const std::string x = i < a.size() ? cp932ToUtf8(a[i]) : "(no line)";
        const std::string y = i < b.size() ? cp932ToUtf8(b[i]) : "(no line)";
        if (x != y) return lineDifference(i, x, y);
    }
    return "the files differ in bytes that are not text (" + std::to_string(got.size()) + " and " +
           std::to_string(want.size()) + " bytes)";
}

std::string reportDifference(const std::string& got, const std::string& want) {
    if (got == want) return "";
    const std::vector<std::string> a = lines(got), b = lines(want);
    for (std::size_t i = 0; i < a.size() || i < b.size(); ++i) {
        const std::string x = i < a.size() ? cp932ToUtf8(a[i]) : "(no line)";
        const std::string y = i < b.size() ? cp932ToUtf8(b[i]) : "(no line)";
        if (x == y) continue;
        const bool sameEnd = (!x.empty() && x.back() == '\r') == (!y.empty() && y.back() == '\r');
        const std::vector<std::string> u = words(x), v = words(y);
        if (!sameEnd || u.size() != v.size() ||
            !std::equal(u.begin(), u.end(), v.begin(), sameWord))
            return lineDifference(i, x, y);
    }
    return "";
}

} // namespace rahmen
