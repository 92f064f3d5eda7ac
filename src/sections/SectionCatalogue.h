#pragma once
// The section catalogues behind the steel section tables: for every row its
// designation (after the leading symbol) and the values printed in the row, as
// text exactly as printed, in the order they stand in the row.

#include "sections/Sections.h"

namespace rahmen {

// H-shapes: fillet radius r (mm), area A (cm²), unit weight (kg/m), Ix, Iy (cm⁴),
// radii of gyration ix, iy (cm), section moduli Zx, Zy (cm³), lateral-buckling
// radius of gyration i_b (cm) and ratio η.
struct HShapeEntry {
    const char* designation;
    const char* values[11];
};

// Square and round pipes: unit weight (kg/m), area (cm²), I (cm⁴), Z (cm³), i (cm).
struct PipeEntry {
    const char* designation;
    const char* values[5];
};

extern const HShapeEntry kHShapeCatalogue[kHShapeRows];
extern const PipeEntry kSquarePipeCatalogue[kSquarePipeRows];
extern const PipeEntry kRoundPipeCatalogue[kRoundPipeRows];

} // namespace rahmen
