#pragma once
// The small frame of the coordinate and frame file tests, its golden files and
// a byte replacement, shared by the tests of the file contents and of their
// handlers.

#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace rahmen {
namespace {

const DateTime kWhen{2026, 12, 8, 10, 20, 30};

inline std::string fixture(const std::string& name) {
    std::ifstream in(std::string(RAHMEN_FIXTURES) + "/model_files/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The small frame of the golden files: three nodes, two supports, an H-shape
// type and a rectangle type, a member pinned at both ends and one with a
// rotational and an axial spring at its start.
inline void fillSample(Model& m) {
    m.DataName = "sample";
    m.NodeCount = 3;
    m.MemberCount = 2;
    m.SupportCount = 2;
    m.MemberTypeCount = 2;
    m.NodeX[2] = 250.6f;
    m.NodeY[2] = -120;
    m.NodeX[3] = 250;
    m.NodeZ[3] = 350;
    m.NodeIsSupport[1] = -1;
    m.NodeIsSupport[2] = -1;
    m.TypeArea[1] = 11.85f;
    m.TypeIy[1] = 187;
    m.TypeIz[1] = 14.8f;
    m.TypeJ[1] = 1.5017f;
    m.TypeShearAreaY[1] = 4.3f;
    m.TypeShearAreaZ[1] = 7;
    m.TypeSectionKind[1] = 2;
    m.TypeSteelNo[1] = 0;
    m.HShapeTable[0] = "\x82\x67-100x 50x 5 x 7   7    11.85";
    m.TypeArea[2] = 2400;
    m.TypeIy[2] = 720000;
    m.TypeIz[2] = 320000;
    m.TypeShearAreaY[2] = 2000;
    m.TypeShearAreaZ[2] = 2000;
    m.TypeSectionKind[2] = 1;
    m.TypeRectA[2] = 60;
    m.TypeRectB[2] = 40;
    m.MemberStartNode[1] = 1;
    m.MemberEndNode[1] = 3;
    m.MemberTypeNo[1] = 1;
    m.copyTypeToMember(1, 1);
    m.MemberAngle[1] = -0.5f;
    m.PinStartY[1] = -1;
    m.PinEndZ[1] = -1;
    m.MemberStartNode[2] = 2;
    m.MemberEndNode[2] = 3;
    m.MemberTypeNo[2] = 2;
    m.copyTypeToMember(2, 2);
    m.MemberAngle[2] = 1.5708f;
    m.SpringStart[2][6] = 250; // 2.5 kN·m/rad
    m.SpringStart[2][1] = 1000;
    m.updateEndSummaries(1);
    m.updateEndSummaries(2);
}

inline std::unique_ptr<Model> sample() {
    auto m = std::make_unique<Model>();
    fillSample(*m);
    return m;
}

// Replaces the one occurrence of `from` (UTF-8, converted) in CP932 bytes.
inline std::string replaced(std::string bytes, const std::string& from, const std::string& to) {
    const std::string f = utf8ToCp932(from);
    const auto at = bytes.find(f);
    EXPECT_NE(at, std::string::npos) << from;
    EXPECT_EQ(bytes.find(f, at + 1), std::string::npos) << from;
    if (at != std::string::npos) bytes.replace(at, f.size(), utf8ToCp932(to));
    return bytes;
}

} // namespace
} // namespace rahmen
