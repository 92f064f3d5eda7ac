#pragma once
// The mouse editing window FORM8 "マウス骨組修正": the frame in its own 3-D
// view, the ten editing operations, picking nodes with the mouse (and through
// them members, axes and planes), the value fields and the member type or
// steel section list, the enlarged view, undo, and the end that writes the
// frame file again. The operations themselves are in FrameEdit.h; this form
// only gathers what they need and shows the result.

#include "draw/Projection.h"
#include "edit/FrameEdit.h"
#include "platform/Form.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rahmen {

class Program;
struct Model;

class Form8 : public Form {
public:
    explicit Form8(Program& program);
    ~Form8() override;

    // ---- editing state (one set for this window)
    EditOp EditOperation = EditOp::None;
    int16_t SelectMethod = 0;     // 1..3 deletion, 4..6 type assignment
    bool PlaneSelectMode = false; // CHECK13
    std::vector<int> EditPickedNodes;
    int16_t TypeListKind = 0; // COMBO8: 0 member types, 1 H, 2 box, 3 pipe, -1 choosing
    int16_t ModelModified = 0;
    int16_t EditLoopRequest = 0; // 0 wait, 1 enlarged, 2 end, 3 redraw after an operation
    ViewState view;

    // Members marked for the operation, lying in the picked plane or along the
    // first axis; nodes marked on the picked axis or plane (1-based).
    std::vector<char> memberSelected, memberMarked, nodeMarked;
    int chosenMember = 0; // SplitMember and PinsAndSprings

    // Steps that "元に戻す" can take back.
    std::size_t undoDepth() const { return history_.steps(); }
    // Memory the undo history holds.
    std::size_t undoBytes() const { return history_.bytes(); }

    void FORM8_START();
    void FORM8_MOUSEDOWN(MouseButton button, int x, int y);
    void HSCROLL2_CHANGE();
    void chooseOperation(EditOp operation); // RADIO47_ON … RADIO62_ON, ADD_ON
    void chooseMethod(int button);          // RADIO52, RADIO53, RADIO54 (1, 2, 3)
    void RADIO63_ON();
    void RADIO64_ON();
    void FIPLANE_ON();  // CHECK13
    void FIPLANE_OFF(); // BUTTON88
    void ENTER_ON();    // BUTTON87
    void CTRDR_ON();    // BUTTON86
    void UNDO_ON();     // BUTTON152 "元に戻す"
    void BUTTON150_ON();
    void MOFR1HP_ON();

    // Redraws the picture (normal or enlarged as now shown).
    void DRAW_ON();

protected:
    void start() override { FORM8_START(); }

private:
    struct Line {
        bool set = false;
        Axis along = Axis::Z;
        float first = 0, second = 0; // the two common coordinates (X, Y, Z order)
        float from = 0, to = 0;      // range along the line
    };
    struct Plane {
        bool set = false;
        Axis axis = Axis::X;
        float value = 0;
    };

    // Back from the enlarged view: the next picture is the normal one and
    // "拡大" can be pressed again.
    void showNormalView();
    void clearSelection();
    void setStatus(const std::string& text);
    std::string operationStatus() const;
    void showFields(const char* a, const char* b, const char* c);
    void showTypeChoice();
    void fillTypeList();
    void fillSectionList(int family);
    void pickLeft(int node);
    void pickRight(int node);
    void pickPlaneNode(int node);
    // What a new pick selects, one function per operation.
    void afterPick(int node);
    void pickedForDeletion(int node);
    void pickedMemberEnds();
    void pickedNodeToJoin(int node);
    void pickedLine();
    void pickedNodeToMove(int node);
    void pickedMemberBetween();
    void pickedSupport(int node);
    void pickedOppositePlaneNode(int node);
    void showNodeFields(int node);
    void showAngleAndTypeChoice();
    bool lineFrom(int a, int b, Line& line, bool mark);
    void selectMembersOnLines();
    bool onLine(const Line& line, int node) const;
    bool chooseType(Model& model, int& type);
    bool readAngle(float& angle);
    bool readNumber(const char* edit, float& value, const char* message);
    bool readCoordinates(float& x, float& y, float& z);
    std::vector<int> selectedMembers() const;
    int firstPick() const;
    // The operation button's work, one function per operation.
    void applyDeletion();
    void applyNewMember();
    void applyNodeAndMember();
    void insertPickedNode(int after);
    void applyPlaneMove();
    void applyLineMove();
    void applyNodeMove();
    void applySplit();
    void applySupports();
    void applyRelease();
    void applyType();
    void finish(const EditMessage& result);
    void applied();
    void refused(const EditMessage& message);
    void pushUndo();
    bool writeFiles();
    int nearest(int x, int y) const;

    Program& p_;
    Line line1_, line2_;
    Plane plane_;
    bool enlarged_ = false;
    bool insertStep2_ = false; // AddNodeAndMember: node added, member next
    EditHistory history_;
};

// Registers FORM8 with the program's form registry.
void registerEditForms(Program& program);

} // namespace rahmen
