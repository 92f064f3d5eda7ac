#pragma once
// The structural model: every counter, scalar, table and workflow flag the
// program keeps, under the names the rest of the program uses.
//
// Tables are fixed-size and 1-based: index 0 is never used, numbering starts at
// 1 and the number of entries in use is held in a counter. Element types are as
// the program has always kept them (16-bit counters and flags, single-precision
// tables, double-precision displacements): the numbers printed in the data
// files depend on them.
//
// Units: lengths cm, forces kN (SI) or tf (older units); moments force·cm in the
// load and analysis tables, force·m in MemberEndForce and in the data files.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace rahmen {

constexpr int kMaxNodes = 1500;
constexpr int kMaxMemberTypes = 100;
constexpr int kMaxMembers = 3000;
constexpr int kMaxDof = 6 * kMaxNodes; // 9000
constexpr int kMaxHShapeRows = 100;
constexpr int kMaxPipeRows = 150;

// Moments are held in force·cm in the load and analysis tables and typed and
// shown in force·m (the forms, MemberEndForce, the data files): the factors
// from one to the other.
constexpr float kHeldMomentScale = 100.0f; // force·m → force·cm
constexpr float kMomentCmToM = 0.01f;      // force·cm → force·m

// 98.0665 = 10^3 * 9.80665 / 10^2, the number of N/mm² in one tf/cm².
constexpr float kSiUnitFactor = static_cast<float>(1000.0 * 9.80665 / 100.0);

// A table indexed 0..N (index 0 unused).
template <class T, int N> using Table = std::array<T, N + 1>;
// A two-dimensional table, member (or node) first: Table2<T, 3000, 9>(m)(k).
template <class T, int N, int K> using Table2 = std::array<std::array<T, K + 1>, N + 1>;

// Section kinds of a member type, as kept in TypeSectionKind: properties typed
// as numbers, a rectangle, or a row of one of the three steel section tables.
constexpr int16_t kSectionNumeric = 0;
constexpr int16_t kSectionRectangle = 1;
constexpr int16_t kSectionHShape = 2;
constexpr int16_t kSectionSquarePipe = 3;
constexpr int16_t kSectionRoundPipe = 4;

// Whether a section kind is a row of a steel section table (TypeSteelNo).
constexpr bool isSteelKind(int kind) {
    return kind >= kSectionHShape && kind <= kSectionRoundPipe;
}

// Everything of the model that is plain numbers: trivially copyable, so that
// the editing history may keep and restore it byte by byte.
struct ModelNumbers {
    // ---- counters and scalars
    int16_t NodeCount = 0;            // nodes in use, 1..NodeCount
    int16_t MemberTypeCount = 0;      // member types in use
    int16_t MemberCount = 0;          // members in use
    int16_t SupportCount = 0;         // support nodes
    int16_t PinnedEndCount = 0;       // member ends with at least one pin (both ends count twice)
    int16_t SprungEndCount = 0;       // member ends with at least one non-zero spring constant
    int16_t RectTypeCount = 0;        // member types of section kind 1
    int16_t SteelTypeCount = 0;       // member types of section kinds 2..4
    float UnitFactor = kSiUnitFactor; // 98.0665 SI, 1 older units, 0 not chosen
    float YoungModulus = 0;           // E: N/mm² (SI) or tf/cm² (older units)
    float ShearModulus = 0;           // G, same units as E
    float ShearShapeFactor = 0;       // κ; 0 = shear deformation not taken into account
    int16_t CurrentMember = 0;        // member whose releases the release form edits

    // ---- nodes (1..1500)
    Table<float, kMaxNodes> NodeX{}, NodeY{}, NodeZ{}; // cm, Z vertical
    Table<int16_t, kMaxNodes> NodeIsSupport{};         // -1 support node, 0 free

    // ---- member types (1..100)
    Table<float, kMaxMemberTypes> TypeArea{};          // cm²
    Table<float, kMaxMemberTypes> TypeIy{};            // cm⁴, about member y
    Table<float, kMaxMemberTypes> TypeIz{};            // cm⁴, about member z
    Table<float, kMaxMemberTypes> TypeJ{};             // cm⁴, torsion constant
    Table<float, kMaxMemberTypes> TypeShearAreaY{};    // cm², shear along member y
    Table<float, kMaxMemberTypes> TypeShearAreaZ{};    // cm², shear along member z
    Table<int16_t, kMaxMemberTypes> TypeSectionKind{}; // 0 numbers, 1 rectangle, 2..4 steel tables
    Table<int16_t, kMaxMemberTypes> TypeSteelNo{};     // row of the section table (kinds 2..4)
    Table<float, kMaxMemberTypes> TypeRectA{};         // cm, beam height / column size in Y
    Table<float, kMaxMemberTypes> TypeRectB{};         // cm, beam width / column size in X

    // ---- members (1..3000)
    Table<int16_t, kMaxMembers> MemberStartNode{}, MemberEndNode{};
    Table<int16_t, kMaxMembers> MemberTypeNo{};
    Table<float, kMaxMembers> MemberAngle{}; // rad, principal-axis angle
    Table<float, kMaxMembers> MemberArea{}, MemberIy{}, MemberIz{}, MemberJ{};
    Table<float, kMaxMembers> MemberShearAreaY{}, MemberShearAreaZ{};
    Table<int16_t, kMaxMembers> PinStartX{}, PinStartY{}, PinStartZ{}; // -1 released, 0 fixed
    Table<int16_t, kMaxMembers> PinEndX{}, PinEndY{}, PinEndZ{};
    Table<int16_t, kMaxMembers> MemberStartPinned{}, MemberEndPinned{}; // 1 any pin at that end
    Table<int16_t, kMaxMembers> MemberStartSprung{}, MemberEndSprung{}; // 1 any spring at that end
    // Spring constants, k = 1 axial (force/cm), 2 and 3 unused, 4..6 rotation about
    // local x, y, z (force·cm/rad: 100 times the force·m/rad the user types).
    Table2<float, kMaxMembers, 6> SpringStart{}, SpringEnd{};

    // ---- loads
    Table<float, kMaxDof> NodeLoad{}; // 6n-5..6n: X, Y, Z force, moments (force·cm) of node n
    Table<float, kMaxNodes> NodeLoadFlag{}; // 1 node carries a nodal load
    int16_t LoadedNodeCount = 0;
    Table2<float, kMaxMembers, 2> MemberUniformLoad{}; // force/m, k = 1 local y, 2 local z
    Table<float, kMaxMembers> MemberLoadFlag{};        // 1 member carries a uniform load
    float LoadedMemberCount = 0;

    // ---- results
    Table<double, kMaxDof> NodeDisplacement{};      // cm, rad; global axes
    Table2<float, kMaxMembers, 9> MemberEndForce{}; // k 1..6 force·m, 7..9 force (end N, Qy, Qz)
    Table2<float, kMaxMembers, 4> SpringRotation{}; // rad: start y, start z, end y, end z
    Table2<float, kMaxMembers, 4> PinRotation{};    // rad, as SpringRotation
    Table2<float, kMaxMembers, 14>
        MemberLoadMoment{};                        // force·cm; 5,6,11,12 fixed-end, 13,14 midspan
    Table<float, kMaxDof> EquivalentNodeLoad{};    // equivalent loads at free nodes
    Table<float, kMaxDof> SupportEquivalentLoad{}; // equivalent loads at support nodes
    int16_t AnalysisDone = 0;

    // ---- workflow flags read by the main menu
    int16_t CoordFileState = 0;      // 0 none, 1 DataName.cdt written, 2 coordinates read from .cdt
    int16_t FrameFileState = 0;      // 0 none, 1 DataName.fdt written, 2 frame read from .fdt
    int16_t AnalysisFileWritten = 0; // 1 DataName.adt written since start or last reset
    int16_t GridGenerated = 0;       // 1 the frame and its default loads came from grid generation
    int16_t FrameReady = 0;          // 1 a complete frame from grid generation or a .fdt file
};

static_assert(std::is_trivially_copyable_v<ModelNumbers>,
              "the numbers of the model are kept byte by byte by the editing history");

// The model: its numbers and its texts. Every text is listed by forEachText,
// which the editing history uses; the size check below fails when a member is
// added here without being listed there.
struct Model : ModelNumbers {
    std::string DataName; // base name of all data files (DataName.cdt/.fdt/.adt)
    // The folder of the coordinate or frame file read, when that is not the
    // working folder (empty otherwise): the data's own .cdt and .fdt files
    // are written there again, so that overwriting replaces the file that
    // was read and never a same-named file of the working folder.
    std::string DataFolder;

    // ---- steel section tables (rows as CP932 bytes, cut by byte column)
    Table<std::string, kMaxHShapeRows> HShapeTable{};
    Table<std::string, kMaxPipeRows> SquarePipeTable{};
    Table<std::string, kMaxPipeRows> RoundPipeTable{};

    // Calls f on every text of the model, always in the same order.
    template <class Self, class F> static void forEachText(Self& model, F&& f) {
        f(model.DataName);
        f(model.DataFolder);
        for (auto& row : model.HShapeTable)
            f(row);
        for (auto& row : model.SquarePipeTable)
            f(row);
        for (auto& row : model.RoundPipeTable)
            f(row);
    }
    static constexpr std::size_t kTextCount = 2 + (kMaxHShapeRows + 1) + 2 * (kMaxPipeRows + 1);

    // Full reset: every counter, flag and table back to zero and DataName empty,
    // except TypeShearAreaY/Z and MemberUniformLoad (only meaningful where the
    // type forms rewrite them or MemberLoadFlag is set), the section tables and
    // UnitFactor (which the main menu's reset button sets itself).
    void resetAll();

    // Analysis reset: clears the loads and the results the main menu's analysis
    // reset names, nothing of the frame.
    void resetAnalysis();

    // Copies the six section properties of member type t into member m.
    void copyTypeToMember(int m, int t);

    // Recomputes the pin and spring summaries of both ends of member m and moves
    // PinnedEndCount and SprungEndCount by the changes of the summaries.
    void updateEndSummaries(int m);

    // Recounts PinnedEndCount and SprungEndCount from the summaries of members
    // 1..MemberCount, so that the counts always equal the ends actually listed.
    void recountEndSummaries();
};

static_assert(sizeof(Model) == sizeof(ModelNumbers) + Model::kTextCount * sizeof(std::string),
              "a member added to Model must be a text listed by forEachText, or a number of "
              "ModelNumbers");

// RectTypeCount and SteelTypeCount after a member type's section kind changes
// from oldKind to newKind (kSectionNumeric for a type just added); a count
// already 0 stays 0.
void countSectionKindChange(Model& model, int oldKind, int newKind);

// NodeCount and MemberCount limited to their tables: the counts a drawing or a
// writer may rely on whatever a file left in them.
int drawableNodeCount(const Model& model);
int drawableMemberCount(const Model& model);

// Whether member m is within 1..drawableMemberCount and both its end nodes
// within 1..drawableNodeCount; every picture skips the other members.
bool memberDrawable(const Model& model, int m);

// The file name of a path without its folders (separated by "/" or "\").
std::string fileNameOfPath(const std::string& path);

// The data name of a chosen file path: its file name without the last four
// characters (".fdt").
std::string dataNameFromPath(const std::string& path);

// The name, for the files of the working folder, of the model's own file
// DataName + extension (".cdt" or ".fdt"): in DataFolder when one is set.
std::string modelFileName(const Model& model, const char* extension);

} // namespace rahmen
