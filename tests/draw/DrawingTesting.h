#pragma once
// What the drawing tests share: a program on the scripted platform, a stand-in
// for the plotting window with the controls the drawings use, and counting of
// display-list items.

#include "draw/PlotState.h"
#include "model/Program.h"
#include "platform/Form.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace rahmen::testing {

class PlotWindowStandIn : public Form {
public:
    PlotWindowStandIn() : Form("FORM13", "データ作図", 680, 600) {
        addHScroll("HSCROLL1", 80, 520, 490, 20);
        addVScroll("VSCROLL1", 0, 40, 20, 450);
        addVScroll("VSCROLL2", 640, 50, 20, 440);
        addLabel("TEXT54", "", 10, 550, 670, 20);
        for (const char* name : {"RADIO57", "RADIO58", "RADIO59"})
            addRadio(name, "", 0, 0, 10, 10, "numbers");
        addCheck("CHECK17", "", 0, 0, 10, 10);
        for (const char* name : {"BUTTON67", "BUTTON69", "BUTTON79"})
            addButton(name, "", 0, 0, 10, 10);
        addPicture("PICTURE", 0, 0, 680, 600);
    }
};

class DrawingTest : public ::testing::Test {
protected:
    DrawingTest() : p(Program::create(platform.services())) {}

    Model& m() { return p->model; }
    Canvas& canvas() { return *window.picture(); }

    void node(int n, float x, float y, float z) {
        m().NodeX[n] = x;
        m().NodeY[n] = y;
        m().NodeZ[n] = z;
        if (n > m().NodeCount) m().NodeCount = static_cast<int16_t>(n);
    }
    void member(int k, int s, int e) {
        m().MemberStartNode[k] = static_cast<int16_t>(s);
        m().MemberEndNode[k] = static_cast<int16_t>(e);
        m().MemberTypeNo[k] = 1;
        if (k > m().MemberCount) m().MemberCount = static_cast<int16_t>(k);
    }
    // A portal in the X-Z plane: columns 1-2 and 4-3, 300 cm high, beam 2-3
    // of 600 cm; supports at 1 and 4.
    void portal() {
        node(1, 0, 0, 0);
        node(2, 0, 0, 300);
        node(3, 600, 0, 300);
        node(4, 600, 0, 0);
        member(1, 1, 2);
        member(2, 2, 3);
        member(3, 4, 3);
        m().NodeIsSupport[1] = m().NodeIsSupport[4] = -1;
    }

    std::vector<Primitive> items(Shape shape, int colour = -1) {
        std::vector<Primitive> found;
        for (const Primitive& item : canvas().items())
            if (item.shape == shape && (colour < 0 || item.color == colour)) found.push_back(item);
        return found;
    }

    static void expectAt(double x, double y, double wantX, double wantY) {
        EXPECT_NEAR(x, wantX, 1e-3);
        EXPECT_NEAR(y, wantY, 1e-3);
    }

    ScriptedPlatform platform;
    std::unique_ptr<Program> p;
    PlotWindowStandIn window;
    PlotState plot;
};

} // namespace rahmen::testing
