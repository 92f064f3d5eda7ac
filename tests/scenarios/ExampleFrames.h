#pragma once
// The frames of the example data files under examples/, built directly in the
// model with literal values, as the input forms leave them:
//
// - two_storey: the two-storey steel frame of one bay in each direction whose
//   results three independent programs agree on (12 nodes, 16 members, two
//   member types, four fixed supports, κ = 0; 50 kN in X at each roof node
//   and 20 kN/m downwards on the roof beam 9-10);
// - two_storey_pins: the same geometry as entered through every input form by
//   the scenario workflow_two_storey_frame_to_report_file.scn: six member
//   types (one a 60 × 30 cm rectangle), a turned column, pins and springs,
//   κ = 1.2, nodal, level and uniform member loads.
//
// Each frame comes in two steps, as the forms build it: the frame itself
// (what the coordinate and frame files hold) and then the analysis
// conditions and loads (what the report adds).

#include "platform/Clock.h"

#include <string>
#include <vector>

namespace rahmen {

struct Model;

// The date and time written into the example files (the scripted platform's
// clock, so that a scenario writes the same bytes).
extern const DateTime kExampleTime;

struct ExampleFrame {
    std::string name; // DataName and the files' base name
    void (*buildFrame)(Model&);
    void (*addConditionsAndLoads)(Model&);
};

// The example frames, in the order their files are listed.
const std::vector<ExampleFrame>& exampleFrames();

void buildTwoStoreyFrame(Model& md);
void addTwoStoreyLoads(Model& md);
void buildWorkflowFrame(Model& md);
void addWorkflowLoads(Model& md);

// "" when the two files are equal; otherwise the first line (1-based) where
// they differ, with both versions of it as text, for a readable failure.
std::string firstDifference(const std::string& got, const std::string& want);

// As firstDifference for two reports of the same analysis made by builds of
// the program compiled differently: lines agree word for word, except that a
// printed number may differ by one unit in its last digit (4 significant
// digits) and that numbers below 1e-9 in size count as zero. Those are the
// rounding residues of a zero (a shear of -94.37E-16 kN) that change with the
// compiler's floating-point contraction, e.g. the fused multiply-add of the
// AVX2 build.
std::string reportDifference(const std::string& got, const std::string& want);

} // namespace rahmen
