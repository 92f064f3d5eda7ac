#pragma once
// The regular grid frame of the grid generation form and the batch command:
// its variables, its counts and the one numbering of its nodes and members.
//
// With nx spans along X, ny along Y and S storeys, floors k = 0 (ground) .. S
// hold NF = (nx+1)·(ny+1) nodes each; node(k, i, j) = k·NF + (i−1)·(ny+1) + j
// for the grid lines i = 1..nx+1 (X) and j = 1..ny+1 (Y). Storey k owns the
// members (k−1)·SM + 1 .. k·SM: first its NC = NF columns, then its
// NY = ny·(nx+1) Y-direction beams, then its NX = nx·(ny+1) X-direction beams,
// each block in the order of its start nodes. A member always starts at the
// lower node number.

#include <cstdint>

namespace rahmen {

struct Model;
class Dialogs;

// The grid variables, kept program-wide between the grid form and the member
// settings form (and by the default loads after a generation).
struct GridVariables {
    float SpanX = 0, SpanY = 0;             // cm
    int32_t SpanCountX = 0, SpanCountY = 0; // nx, ny
    int32_t StoreyCount = 0;                // S
    float StoreyHeight = 0;                 // h, cm
    float GridLengthX = 0, GridLengthY = 0; // SpanX·SpanCountX, SpanY·SpanCountY, cm
    int32_t NodesPerFloor = 0;              // NF
    int32_t ColumnsPerStorey = 0;           // NC = NF
    int32_t YBeamsPerStorey = 0;            // NY
    int32_t XBeamsPerStorey = 0;            // NX
    int32_t MembersPerStorey = 0;           // SM = NC + NY + NX
    int16_t StructureKind = 0;              // 1 steel (S), 2 reinforced concrete (RC)
    float BaseShearCoefficient = 0;         // C0
};

// Node and member counts of a grid, in 64 bits so that no entry wraps.
struct GridCounts {
    int64_t nodes = 0;
    int64_t members = 0;
};
GridCounts gridCounts(int64_t spanCountX, int64_t spanCountY, int64_t storeys);

// Sets the spans and counts and everything derived from them (GridLength,
// NF, NC, NY, NX, SM). The caller has checked the counts against the limits.
void setGridSize(GridVariables& grid, float spanX, float spanY, int32_t spanCountX,
                 int32_t spanCountY, int32_t storeys, float storeyHeight);

// Checks a grid of these counts against the model's tables (1500 nodes, 3000
// members) with the program's limit message; false after the message.
bool checkGridLimits(Dialogs& dialogs, int64_t spanCountX, int64_t spanCountY, int64_t storeys);

// Node number of grid line i (1..nx+1), j (1..ny+1) on floor k (0..S).
int gridNode(const GridVariables& grid, int k, int i, int j);

// Clears everything of an earlier frame — nodes, member types, members,
// supports, pins, springs, loads and results — keeping the unit system, the
// data name, the file states and the section tables.
void clearFrame(Model& model);

// Places the nodes, connects the members storey by storey, makes every ground
// node a fixed support and sets NodeCount, MemberCount and SupportCount. No
// sections, types or loads. The model is cleared first (clearFrame).
void layOutGrid(Model& model, const GridVariables& grid);

// Whether member m of the grid is a column.
bool isGridColumn(const GridVariables& grid, int m);

} // namespace rahmen
