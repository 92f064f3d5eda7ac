#pragma once
// The calculation report (構造計算書): the frame, its sections and loads, the
// results of every chosen load case or combination, the member and storey
// checks, with the program's own pictures, as a Document (platform/Document.h)
// that the GUI prints or writes as PDF.
//
// Sections, in this order, each left out when there is nothing for it: the
// title page; the general view of the frame; nodes, supports, member types
// with their sections, members with pins and springs; the load cases with
// their loads and the combinations (the frame's own loads without cases);
// node displacements and reactions per chosen result; member end forces; the
// plane diagrams (moment curves with the end moments, shear and axial forces)
// of every chosen plane X = const and Y = const; the deformation picture; the
// member check table (NG members first) and its picture; the storey table
// with the drift picture.
//
// Numbers are written with the digits of the analysis data file (DataName.adt)
// and the check and storey reports, so that the document reads as they do.
// The pictures are drawn by the plotting window's drawings into a window of
// their own; the model's results are put back as they were afterwards.

#include "checks/SteelChecks.h"
#include "checks/StoreyCheck.h"
#include "platform/Clock.h"
#include "platform/Document.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace rahmen {

class Canvas;
class Program;
struct Model;

enum class ReportSection : int {
    FrameView,     // 骨組全体図
    Input,         // 節点・支持点・部材タイプ・部材
    Loads,         // 荷重ケースと組合せ
    Displacements, // 節点変位と反力
    EndForces,     // 部材端力
    Diagrams,      // 応力図
    Deformation,   // 変形図
    Checks,        // 部材の検定
    Storeys,       // 層の検定
};
constexpr int kReportSections = 9;

// The heading of a section as the document shows it (with its number).
std::string reportSectionTitle(ReportSection section);

// A frame plane parallel to the Z axis: X = coordinate (axis 'x') or Y =
// coordinate (axis 'y'), cm.
struct ReportPlane {
    char axis = 'x';
    float coordinate = 0;
    std::string name() const; // "X = 600 cm"
    bool operator==(const ReportPlane& o) const {
        return axis == o.axis && coordinate == o.coordinate;
    }
};

// Every plane X = const, then Y = const, in which at least one member lies
// (both its ends at that coordinate), by coordinate.
std::vector<ReportPlane> framePlanes(const Model& model);

struct ReportOptions {
    std::array<bool, kReportSections> sections;
    // The results reported (indices into Program::caseResults); empty: every
    // case and combination. A frame without load cases reports its one
    // analysis whatever this holds.
    std::vector<int> results;
    // The planes drawn in the diagrams; empty: every plane of the frame.
    std::vector<ReportPlane> planes;
    ReportOptions() { sections.fill(true); }
    bool has(ReportSection s) const { return sections[static_cast<std::size_t>(s)]; }
};

// What the report shows but does not work out itself.
struct ReportChecks {
    // The member checks over every combination (checkCombinations); nullptr or
    // empty: no check section.
    const std::vector<MemberCheck>* members = nullptr;
    // The storey checks (checkStoreys); nullptr or with a problem: no storey
    // section.
    const StoreyCheckResult* storeys = nullptr;
    // Draws the picture of the member checks (検定比図) into the canvas;
    // false when it drew nothing. Empty: the plotting window's 検定比図 of
    // the largest ratio over every combination.
    std::function<bool(Program& program, const std::vector<MemberCheck>& rows, Canvas& canvas)>
        checkPicture;
};

// "rahmen 骨組構造３次元解析 Ver 2.20"
extern const char* const kReportProgramName;

// The document of the frame in program.model with its results
// (Program::caseResults, or the model's own after a single analysis).
Document buildReport(Program& program, const ReportOptions& options, const ReportChecks& checks,
                     const DateTime& when);

// The member checks and storey checks of the program's last analysis of all
// cases, as the report shows them: the conditions of DataName.ckc (defaults
// without one). `problem` says why the checks could not be made ("" when
// they were, or when there are no combinations).
struct ReportCheckResults {
    std::vector<MemberCheck> members;
    StoreyCheckResult storeys;
    std::string problem;
};
ReportCheckResults reportCheckResults(Program& program);

} // namespace rahmen
