// The analysis data file as written: the exact bytes of two small frames (one
// in each unit system), the writer's dialogs and progress texts, the lists that
// must agree with the reader, and write → read round trips.
#include "analysis/AnalysisFile.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace rahmen {
namespace {

std::string fixture(const std::string& name) {
    std::ifstream in(std::string(RAHMEN_FIXTURES) + "/adt/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A small frame with every kind of line the file has: two supports, a column
// with a start spring, a loaded beam with springs at both ends, a member pinned
// at its end only, one pinned at both ends, a loaded member with an end spring,
// a member with a principal-axis angle, two loaded nodes; results filled in
// directly.
void buildFrame(Model& md, bool older) {
    md.DataName = "portal";
    md.UnitFactor = older ? 1.0f : kSiUnitFactor;
    md.YoungModulus = older ? 2100 : 205000;
    md.ShearModulus = older ? 810 : 79000;
    md.ShearShapeFactor = 1.2f;
    md.NodeCount = 6;
    const float xyz[7][3] = {{0, 0, 0},         {0, 0, 0},       {0, 0, 350},
                             {600.4f, 0, 350},  {600, 0, 0},     {0, 500, 350},
                             {600, 500, 349.5f}};
    for (int n = 1; n <= 6; ++n) {
        md.NodeX[n] = xyz[n][0];
        md.NodeY[n] = xyz[n][1];
        md.NodeZ[n] = xyz[n][2];
    }
    md.NodeIsSupport[1] = md.NodeIsSupport[4] = -1;
    md.SupportCount = 2;

    md.MemberCount = 6;
    const int ends[7][2] = {{0, 0}, {1, 2}, {2, 3}, {3, 4}, {2, 5}, {3, 6}, {5, 6}};
    for (int m = 1; m <= 6; ++m) {
        md.MemberStartNode[m] = static_cast<int16_t>(ends[m][0]);
        md.MemberEndNode[m] = static_cast<int16_t>(ends[m][1]);
        md.MemberArea[m] = 100.5f + m;
        md.MemberIy[m] = 12000.25f * m;
        md.MemberIz[m] = 4000.5f * m;
    }
    md.MemberAngle[6] = 0.5236f;
    md.SpringStart[1][5] = 5.0e6f;  // kN·cm/rad
    md.SpringStart[2][6] = 2.0e6f;
    md.SpringEnd[2][6] = 3.5e6f;
    md.PinEndY[3] = -1;
    md.PinStartZ[4] = -1;
    md.PinEndZ[4] = -1;
    md.SpringEnd[5][5] = 1.25e7f;
    for (int m = 1; m <= 6; ++m)
        md.updateEndSummaries(m);

    md.NodeLoad[6 * 5 - 3] = older ? -2.5f : -20;       // node 5, Z
    md.NodeLoad[6 * 6 - 5] = older ? 1.0f : 10;         // node 6, X
    md.NodeLoad[6 * 6 - 1] = older ? 50.0f : 500;       // node 6, about Y (force·cm)
    md.NodeLoadFlag[5] = md.NodeLoadFlag[6] = 1;
    md.LoadedNodeCount = 2;
    md.MemberUniformLoad[2][1] = older ? 0.3f : 3;
    md.MemberUniformLoad[2][2] = older ? -1.2f : -12;
    md.MemberUniformLoad[5][1] = older ? -0.2f : -2;
    md.MemberLoadFlag[2] = md.MemberLoadFlag[5] = 1;
    md.LoadedMemberCount = 2;

    // Results as an analysis would leave them.
    for (int n = 1; n <= 6; ++n)
        for (int k = 1; k <= 6; ++k)
            md.NodeDisplacement[6 * n - 6 + k] =
                md.NodeIsSupport[n] ? 0.0 : (k <= 3 ? 0.0125 : -0.000347) * (n + k) * (k % 2 ? 1 : -1);
    for (int m = 1; m <= 6; ++m)
        for (int k = 1; k <= 9; ++k)
            md.MemberEndForce[m][k] = (k % 3 == 0 ? -1.0f : 1.0f) * (1.5f * m + 0.25f * k);
    md.MemberLoadMoment[2][13] = -12 * 0.01f * 600.4f * 600.4f / 8 * (older ? 0.1f : 1);
    md.MemberLoadMoment[2][14] = 3 * 0.01f * 600.4f * 600.4f / 8 * (older ? 0.1f : 1);
    md.MemberLoadMoment[5][14] = -2 * 0.01f * 500 * 500 / 8 * (older ? 0.1f : 1);
    md.SpringRotation[1][1] = 0.00123f;
    md.SpringRotation[1][2] = 0;
    md.SpringRotation[2][1] = 0;
    md.SpringRotation[2][2] = -0.000456f;
    md.SpringRotation[2][3] = 0;
    md.SpringRotation[2][4] = 0.000789f;
    md.SpringRotation[5][3] = -2.5e-5f;
    md.PinRotation[3][3] = 0.0042f;
    md.PinRotation[3][4] = 0;
    md.AnalysisDone = 1;
}

std::vector<float> frameReactions(bool older) {
    std::vector<float> r(6 * 6 + 1, 0.0f);
    const float scale = older ? 0.1f : 1.0f;
    const float values[6] = {-5.25f, 0.75f, 61.5f, 120.0f, -830.5f, 3.0f};
    for (int k = 1; k <= 6; ++k) {
        r[static_cast<std::size_t>(k)] = values[k - 1] * scale;
        r[static_cast<std::size_t>(18 + k)] = -values[k - 1] * scale * 0.5f;
    }
    return r;
}

class AnalysisFileWrite : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    std::unique_ptr<Program> program = Program::create(platform.services());
    Model& md = program->model;

    std::string written(const std::string& name) {
        auto r = platform.files.read(name);
        EXPECT_TRUE(r.ok) << r.error;
        return r.bytes;
    }
    // Writes the frame and compares with the fixture; on a difference the
    // bytes written are kept beside the test run for a look.
    void expectGolden(bool older, const std::string& fixtureName) {
        buildFrame(md, older);
        ASSERT_TRUE(writeAnalysisFile(*program, frameReactions(older)));
        const std::string bytes = written("portal.adt");
        const std::string expected = fixture(fixtureName);
        if (bytes != expected) {
            std::ofstream(fixtureName + ".actual", std::ios::binary) << bytes;
            FAIL() << "differs from " << fixtureName << "; written to " << fixtureName
                   << ".actual";
        }
    }
};

TEST_F(AnalysisFileWrite, SiFrameIsWrittenByteForByte) { expectGolden(false, "portal_si.adt"); }

TEST_F(AnalysisFileWrite, OlderUnitsFrameIsWrittenByteForByte) {
    expectGolden(true, "portal_older.adt");
}

} // namespace
} // namespace rahmen
