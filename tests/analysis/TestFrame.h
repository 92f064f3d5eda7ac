#pragma once
// Small frames built directly in the model for the analysis tests, in SI
// units: E = 205000 N/mm², G = 79000 N/mm², i.e. 20500 and 7900 kN/cm² in
// the analysis.

#include "analysis/ana.h"
#include "model/Model.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rahmen::test {

struct Frame {
    std::unique_ptr<Model> owner = std::make_unique<Model>();
    Model& m = *owner;

    Frame() {
        m.UnitFactor = kSiUnitFactor;
        m.YoungModulus = 205000;
        m.ShearModulus = 79000;
    }
    int node(float x, float y, float z, bool support = false) {
        const int n = ++m.NodeCount;
        m.NodeX[n] = x;
        m.NodeY[n] = y;
        m.NodeZ[n] = z;
        if (support) {
            m.NodeIsSupport[n] = -1;
            ++m.SupportCount;
        }
        return n;
    }
    int member(int i, int j, float A, float Iy, float Iz, float J, float angle = 0) {
        const int k = ++m.MemberCount;
        m.MemberStartNode[k] = static_cast<int16_t>(i);
        m.MemberEndNode[k] = static_cast<int16_t>(j);
        m.MemberArea[k] = A;
        m.MemberIy[k] = Iy;
        m.MemberIz[k] = Iz;
        m.MemberJ[k] = J;
        m.MemberAngle[k] = angle;
        return k;
    }
    void load(int n, int k, float v) {
        m.NodeLoad[6 * (n - 1) + k] = v;
        m.NodeLoadFlag[n] = 1;
    }
    void uniform(int k, float wy, float wz) { // kN/m, member axes
        m.MemberUniformLoad[k][1] = wy;
        m.MemberUniformLoad[k][2] = wz;
        m.MemberLoadFlag[k] = 1;
        m.LoadedMemberCount += 1;
    }
    double disp(int n, int k) const { return m.NodeDisplacement[6 * (n - 1) + k]; }
};

// The portal of four columns and four beams the analysis tests share, without
// loads: a pinned beam end (member 5), end springs (6), a torsion release (7),
// a turned column (2), shear deformation; the older units when `si` is false.
inline Frame releasedPortal(bool si) {
    Frame f;
    if (!si) {
        f.m.UnitFactor = 1.0f;
        f.m.YoungModulus = 2100;
        f.m.ShearModulus = 810;
    }
    f.m.ShearShapeFactor = 1.2f;
    const float xy[4][2] = {{0, 0}, {600, 0}, {0, 500}, {600, 500}};
    for (float z : {0.0f, 400.0f})
        for (const auto& p : xy)
            f.node(p[0], p[1], z, z == 0);
    for (int i = 1; i <= 4; ++i)
        f.member(i, i + 4, 120, 25000, 18000, 30000, i == 2 ? 0.5f : 0);
    const int b1 = f.member(5, 6, 60, 30000, 2000, 50);
    const int b2 = f.member(7, 8, 60, 30000, 2000, 50);
    const int b3 = f.member(5, 7, 60, 30000, 2000, 50);
    f.member(6, 8, 60, 30000, 2000, 50);
    f.m.PinEndY[b1] = -1;
    f.m.SpringStart[b2][5] = 8e5;
    f.m.SpringEnd[b2][6] = 3e5;
    f.m.PinStartX[b3] = -1;
    for (int m : {b1, b2, b3})
        f.m.updateEndSummaries(m); // the pinned and sprung flags of the ends
    return f;
}

struct RecordingProgress : AnalysisProgress {
    std::vector<std::string> steps, lines;
    void step(const std::string& text) override { steps.push_back(text); }
    void print(const std::string& line) override { lines.push_back(line); }
};

inline AnalysisOutcome run(Frame& f) {
    RecordingProgress progress;
    return runAnalysis(f.m, progress);
}

inline float reaction(const AnalysisOutcome& out, int n, int k) {
    return out.Reaction[6 * (n - 1) + k];
}

} // namespace rahmen::test
