#pragma once
// What the plotting window keeps for the pictures it draws: its view of the
// frame, the flags of its controls that the drawings read, and the state of
// the drawing that is running (which one, what it waits for, and the
// displacement scale of a deformation picture). A plain struct the window
// owns and hands to the drawings by reference.

#include "draw/Projection.h"

#include <cstdint>
#include <functional>

namespace rahmen {

// What a running drawing waits for besides the view angles.
enum class DrawingWait : int16_t {
    None,
    FrameLabels, // a key press, then the number labels of the frame diagram
    NodeNumbers  // a key press, then the node numbers of the deformation diagram
};

// The diagram a drawing (FRAME0_ON or DEFORM_ON) runs.
enum class RunningDiagram : int16_t { None, Deformation, Frame };

struct PlotState {
    ViewState view; // DrawState lives here, with the angles and the stored fit

    int16_t DrawingActive = 0;   // 1 while a frame or deformation drawing runs
    int16_t NumberLabelKind = 0; // 0 none, 1 node, 2 member, 3 member-type numbers
    int16_t ShowMemberAxes = 0;  // "部材座標系表示": draw each member's local axes
    int16_t ShowLoads = 0;       // "荷重表示": the load arrows and their values
    int16_t AngleStep = 0;       // 0 waiting for angles, 1 enlarged picture shown

    RunningDiagram running = RunningDiagram::None;
    DrawingWait waiting = DrawingWait::None;

    // Displacement scale of the running deformation drawing (pixels per cm of
    // displacement), fixed at its first fit; deformScaleSet is 0 until then,
    // and stays 0 while no displacement is found, so that every fit recomputes it.
    double DeformScale = 0.0;
    int16_t deformScaleSet = 0;

    // Draws the frame diagram's frame in place of its plain members and node
    // marks, turned and enlarged alike (the 検定比図 colours each member by its
    // ratio, draw/CheckPicture.h); empty: the plain frame.
    std::function<void(const ViewState& view, Canvas& canvas)> framePicture;
};

} // namespace rahmen
