#pragma once
// The operations of the mouse editing window on the structural model, free of
// the window: each takes the model and what the user picked and typed, and
// either changes the model and returns an empty message, or leaves the model
// exactly as it was and returns the message that says why it was refused.
//
// Node and member numbering stay dense (1..NodeCount, 1..MemberCount). When an
// operation renumbers, everything that belongs to a node or a member moves with
// it: coordinates, support flags and nodal loads of a node; end nodes, section,
// angle, pins, springs, their per-end summaries and the uniform load of a
// member. A slot that is vacated or newly filled is cleared first, so nothing
// of a deleted member turns up on a new one. Every applied operation marks the
// analysis results as out of date (AnalysisDone = 0).
//
// Every length and coincidence check compares nodes as the frame file will
// store them (whole centimetres, storedCoordinate), so that what an operation
// accepts never becomes a member of length 0 when the frame is saved.
//
// EditHistory keeps the steps the window's "元に戻す" takes back, each as the
// bytes the step changed rather than a copy of the model.

#include "draw/Picking.h" // memberBetween

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace rahmen {

struct Model;

// The result of an operation: empty when applied, else the refusal message.
using EditMessage = std::string;

// Coordinate axes of the editing window's plane and line rules.
enum class Axis { X, Y, Z };

// The editing window's operations (EditOperation), numbered as its operation
// radio buttons run from top to bottom; None while no operation is chosen.
enum class EditOp : int16_t {
    None = 0,
    DeleteMembers = 1,    // "部材削除"
    AddMember = 2,        // "部材追加"
    AddNodeAndMember = 3, // "部材・節点追加"
    MovePlane = 4,        // "構面移動"
    MoveLine = 5,         // "直列節点移動"
    MoveNode = 6,         // "節点移動"
    SplitMember = 7,      // "部材分割"
    AddSupports = 8,      // "支持点追加"
    PinsAndSprings = 9,   // "ﾋﾟﾝ･ﾊﾞﾈ付/削"
    AssignType = 10,      // "部材ﾀｲﾌﾟ付加"
};
constexpr int kEditOpCount = 10;

// The coordinate of node n on an axis (cm).
float nodeCoordinate(const Model& model, int n, Axis axis);

// DeleteMembers: removes the members listed (numbers 1..MemberCount, any order,
// duplicates ignored). Nodes stay, also those left without members.
EditMessage deleteMembers(Model& model, const std::vector<int>& members);

// AddMember: appends a member from the smaller to the larger of nodes a and b,
// of member type `type`, with the principal-axis angle in rad.
EditMessage addMember(Model& model, int a, int b, int type, float angle);

// AddNodeAndMember, first step: inserts a node with number p + 1 at (x, y, z); nodes
// above p move up by one. The second step is addMember(p, p + 1, ...).
EditMessage insertNodeAfter(Model& model, int p, float x, float y, float z);

// MovePlane: every node whose coordinate on `axis` equals `from` exactly gets
// `to` there.
EditMessage movePlane(Model& model, Axis axis, float from, float to);

// MoveLine: the nodes of a line parallel to `along` get the two other
// coordinates (in the order X, Y, Z with `along` left out: Z → X and Y, X → Y
// and Z, Y → X and Z).
EditMessage moveLine(Model& model, const std::vector<int>& nodes, Axis along, float first,
                     float second);

// MoveNode: node n gets the coordinates (x, y, z).
EditMessage moveNode(Model& model, int n, float x, float y, float z);

// SplitMember: splits member m at its midpoint. The new node k = (s + e) / 2 + 1
// (s, e its end nodes) is inserted there; m ends at k and a new last member
// runs from k to the old end node, taking m's end releases and end springs.
// Both halves keep m's section, angle and uniform load.
EditMessage splitMember(Model& model, int m);

// AddSupports: the nodes listed become supports (already supported ones stay).
EditMessage addSupports(Model& model, const std::vector<int>& nodes);

// AssignType: the members listed get member type `type` and the angle.
EditMessage assignType(Model& model, const std::vector<int>& members, int type, float angle);

// Appends a member type made from row `row` of the steel table of `kind`
// (2 H-shapes, 3 square pipes, 4 round pipes) and returns its number through
// `type`; refused beyond the type limit or for a row the table lacks.
EditMessage addSteelType(Model& model, int kind, int row, int& type);

// The steps of an editing session that undo takes back, newest first, as far
// back as the opening of the window. A step runs from one begin() to the next,
// so that what a form opened by the operation changes afterwards (the release
// form opened by PinsAndSprings) belongs to it. Each kept step holds only the bytes it
// changed (and the texts, where one changed), plus one copy of the model for
// the whole history; when the kept steps together exceed the memory limit,
// the oldest are dropped.
class EditHistory {
public:
    static constexpr std::size_t kDefaultMemoryLimit = std::size_t{64} << 20; // 64 MiB

    explicit EditHistory(std::size_t memoryLimit = kDefaultMemoryLimit);
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Forgets every step: the editing session starts from the model as it is.
    void clear();
    // An operation starts on the model as it is now; the step before it ends.
    void begin(const Model& model);
    // The operation just begun was refused: the model goes back to where
    // begin() found it, and no step is added.
    void cancel(Model& model);
    // Takes the newest step back; false when there is none.
    bool undo(Model& model);

    // Steps that undo can take back.
    std::size_t steps() const { return steps_.size() + (open_ ? 1 : 0); }
    // True while no step has been dropped: undoing every step returns to the
    // model as clear() found it.
    bool reachesStart() const { return !dropped_; }
    // Memory held by the history: the kept steps and the one copy of the model.
    std::size_t bytes() const;

private:
    struct Step {
        std::vector<std::uint32_t> runs;  // offset and length of each changed run of bytes
        std::vector<unsigned char> bytes; // the bytes of those runs before the step
        std::vector<std::pair<std::uint32_t, std::string>> texts; // changed texts, before
        std::size_t size() const;
    };
    void keepWithinLimit();

    std::size_t limit_;
    std::unique_ptr<Model> last_; // the model where the open step began, or as last seen
    std::deque<Step> steps_;      // closed steps, oldest first
    bool open_ = false;           // a step has begun and is not closed yet
    bool dropped_ = false;
    std::size_t stepBytes_ = 0;
};

} // namespace rahmen
