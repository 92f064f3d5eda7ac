#pragma once
// What the tests of the support, release, conditions and load forms share: a
// program on the scripted platform with those forms registered, a stand-in
// main menu holding the buttons their end buttons enable, and a small
// two-bay, two-storey frame.

#include "MenuStandIn.h"
#include "forms/LoadForms.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace rahmen::testing {

class LoadFormsTest : public ::testing::Test {
protected:
    LoadFormsTest() : p(Program::create(platform.services())) {
        registerLoadForms(*p);
        p->mainMenu = &menu;
    }

    Model& m() { return p->model; }

    // The texts of the messages shown so far.
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& call : platform.dialogs.messages())
            texts.push_back(call.text);
        return texts;
    }

    // Nodes 1..9 in three lines of three: bases 1-3 at Z = 0, the first floor
    // 4-6 at Z = 350, the roof 7-9 at Z = 700, bays of 600 cm along X.
    // Members 1-6 are the columns (1-4, 2-5, 3-6, 4-7, 5-8, 6-9), 7-10 the
    // beams (4-5, 5-6, 7-8, 8-9). Bases 1-3 are supports. Steel, SI units.
    void twoBayFrame() {
        Model& md = m();
        md.DataName = "frame1";
        md.NodeCount = 9;
        md.MemberCount = 10;
        md.MemberTypeCount = 1;
        md.SupportCount = 3;
        for (int n = 1; n <= 9; ++n) {
            md.NodeX[n] = 600.0f * ((n - 1) % 3);
            md.NodeZ[n] = 350.0f * ((n - 1) / 3);
        }
        const int ends[10][2] = {{1, 4}, {2, 5}, {3, 6}, {4, 7}, {5, 8},
                                 {6, 9}, {4, 5}, {5, 6}, {7, 8}, {8, 9}};
        md.TypeArea[1] = 100;
        md.TypeIy[1] = 20000;
        md.TypeIz[1] = 8000;
        md.TypeJ[1] = 500;
        md.TypeShearAreaY[1] = 50;
        md.TypeShearAreaZ[1] = 50;
        for (int e = 1; e <= 10; ++e) {
            md.MemberStartNode[e] = static_cast<int16_t>(ends[e - 1][0]);
            md.MemberEndNode[e] = static_cast<int16_t>(ends[e - 1][1]);
            md.MemberTypeNo[e] = 1;
            md.copyTypeToMember(e, 1);
        }
        for (int n = 1; n <= 3; ++n)
            md.NodeIsSupport[n] = -1;
        md.YoungModulus = 205000;
        md.ShearModulus = 79000;
    }

    ScriptedPlatform platform;
    std::unique_ptr<Program> p;
    MenuStandIn menu;
};

} // namespace rahmen::testing
