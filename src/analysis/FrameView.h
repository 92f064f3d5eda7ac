#pragma once
// What the analysis reads and writes of a frame, as a plain view: the counts,
// the material constants, and one pointer and size per table, under the
// model's names and with the model's 1-based indexing (entry 0 unused).
//
// frameView(model) looks at a model's fixed tables; FrameTables keeps the
// same columns in vectors of any size, so that frames past the model's tables
// can be analysed (the benchmarks). The program's limits are checked where
// the user enters data and by checkAnalysisModel, not here: a view's only
// limits are the sizes of its columns.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rahmen {

struct Model;

// A table seen through a pointer: entries 0 .. size - 1, entry 0 unused.
template <class T> struct Column {
    T* data = nullptr;
    std::size_t size = 0;

    T& operator[](std::size_t i) const { return data[i]; }
    // The largest index the column holds.
    int last() const { return size > 0 ? static_cast<int>(size - 1) : 0; }
};

// Rows of a two-dimensional table (member first): column[m][k].
template <class T, int K> using RowColumn = Column<std::array<T, K + 1>>;

struct FrameView {
    // ---- counts and constants (read)
    int NodeCount = 0;
    int MemberCount = 0;
    float UnitFactor = 0;
    float YoungModulus = 0;
    float ShearModulus = 0;
    float ShearShapeFactor = 0;
    float LoadedMemberCount = 0;

    // ---- nodes
    Column<float> NodeX, NodeY, NodeZ;
    Column<int16_t> NodeIsSupport; // -1 support node

    // ---- members
    Column<int16_t> MemberStartNode, MemberEndNode;
    Column<float> MemberAngle;
    Column<float> MemberArea, MemberIy, MemberIz, MemberJ;
    Column<float> MemberShearAreaY, MemberShearAreaZ; // 0 stands for the area (filled in)
    Column<int16_t> PinStartX, PinStartY, PinStartZ, PinEndX, PinEndY, PinEndZ;
    Column<int16_t> MemberStartPinned, MemberEndPinned;
    RowColumn<float, 6> SpringStart, SpringEnd;

    // ---- loads
    Column<float> NodeLoad; // per degree of freedom
    RowColumn<float, 2> MemberUniformLoad;
    Column<float> MemberLoadFlag;

    // ---- results and load work (written)
    Column<double> NodeDisplacement;
    RowColumn<float, 9> MemberEndForce;
    RowColumn<float, 4> SpringRotation;
    RowColumn<float, 4> PinRotation;
    RowColumn<float, 14> MemberLoadMoment;
    Column<float> EquivalentNodeLoad;
    Column<float> SupportEquivalentLoad;
    int16_t* AnalysisDone = nullptr; // set to 1 by a finished analysis, when given

    // The largest node and member numbers all the node and member columns hold.
    int nodeRows() const;
    int memberRows() const;
};

// A view of the model's tables, made in O(1). The analysis's functions that
// take a const Model look through such a view and only read it.
FrameView frameView(Model& model);
FrameView frameView(const Model& model);

// Columns of a frame of any size, each of `nodes` or `members` (+ 1) entries,
// zero when made; view() sees them with their counts as set here.
struct FrameTables {
    int NodeCount = 0;
    int MemberCount = 0;
    float UnitFactor = 0;
    float YoungModulus = 0;
    float ShearModulus = 0;
    float ShearShapeFactor = 0;
    float LoadedMemberCount = 0;
    int16_t AnalysisDone = 0;

    std::vector<float> NodeX, NodeY, NodeZ;
    std::vector<int16_t> NodeIsSupport;
    std::vector<int16_t> MemberStartNode, MemberEndNode;
    std::vector<float> MemberAngle, MemberArea, MemberIy, MemberIz, MemberJ;
    std::vector<float> MemberShearAreaY, MemberShearAreaZ;
    std::vector<int16_t> PinStartX, PinStartY, PinStartZ, PinEndX, PinEndY, PinEndZ;
    std::vector<int16_t> MemberStartPinned, MemberEndPinned;
    std::vector<std::array<float, 7>> SpringStart, SpringEnd;
    std::vector<float> NodeLoad;
    std::vector<std::array<float, 3>> MemberUniformLoad;
    std::vector<float> MemberLoadFlag;
    std::vector<double> NodeDisplacement;
    std::vector<std::array<float, 10>> MemberEndForce;
    std::vector<std::array<float, 5>> SpringRotation, PinRotation;
    std::vector<std::array<float, 15>> MemberLoadMoment;
    std::vector<float> EquivalentNodeLoad, SupportEquivalentLoad;

    // Room for node numbers 1..nodes and member numbers 1..members, every
    // entry zero; the counts are set to the same.
    void resize(int nodes, int members);
    FrameView view();
};

} // namespace rahmen
