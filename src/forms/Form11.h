#pragma once
// The member property modification form FORM11 ("部材性能修正"): changes the
// sections of a frame that already exists. It adds member types or overwrites
// existing ones — from a steel section table, from rectangle sizes or from
// typed section properties — and re-links members from one type to another,
// all members of a type or only those on a given span or floor. Every change
// goes into the model at once (after the user's "yes"); "終了" writes the
// frame file again.
//
// Each change is computed into locals first and stored only once every check
// has passed and the user has confirmed, so that a "no" or a refused number
// leaves the type tables and the kind counts exactly as they were.

#include "model/Model.h"
#include "platform/Form.h"

#include <cstdint>
#include <string>

namespace rahmen {

class Program;
struct SteelSection;

class Form11 : public Form {
public:
    // Steel family chosen with RADIO38..RADIO40.
    static constexpr int16_t kNoFamily = 0;
    static constexpr int16_t kHShapeFamily = 1;
    static constexpr int16_t kSquarePipeFamily = 2;
    static constexpr int16_t kRoundPipeFamily = 3;

    // Re-link filter chosen with RADIO41..RADIO44 (0: none chosen, which
    // takes every member of the old type as "全部材" does).
    static constexpr int16_t kNoFilter = 0;
    static constexpr int16_t kAllMembers = 1;
    static constexpr int16_t kXMembers = 2;
    static constexpr int16_t kYMembers = 3;
    static constexpr int16_t kZMembers = 4;

    explicit Form11(Program& program);

    int16_t SteelFamily = kNoFamily;
    int16_t RelinkFilter = kNoFilter;

    void FORM11_START();
    void FORM11_INITXP();
    void FORM11_END();

    void RADIO38_ON(); // "H形鋼"
    void RAIO39_ON();  // "□鋼管"
    void RADIO40_ON(); // "○鋼管"
    void RADIO41_ON(); // "全部材"
    void RADIO42_ON(); // "X方向部材"
    void RADIO43_ON(); // "Y方向部材"
    void RADIO44_ON(); // "Z方向部材"

    void SETSTEEL_ON(); // BUTTON71: a type from the selected steel section
    void BUTTON50_ON(); // a rectangle type from its sizes A and B
    void BUTTON62_ON(); // a type from typed section properties
    void BUTTON33_ON(); // "変更": re-link members to another type
    void BUTTON53_ON(); // "終了": writes the frame file again when something changed
    void BUTTON97_ON(); // "キャンセル" (BUTTON94): closes without writing
    void SECTABHP_ON(); // "ヘルプ"

protected:
    void start() override { FORM11_START(); }
    void end() override { FORM11_END(); }

private:
    // What a section change does to type t once confirmed.
    struct TypeChange {
        float Area = 0, Iy = 0, Iz = 0, J = 0, ShearAreaY = 0, ShearAreaZ = 0;
        float RectA = 0, RectB = 0;
        int16_t SectionKind = kSectionNumeric;
        int16_t SteelNo = 0;
    };
    enum class Answer { Stored, Refused, NoToAdd };

    void chooseFamily(int16_t family);
    void chooseFilter(int16_t filter, const char* axis);
    // The type number typed into EDIT163; false, after a message, when it is
    // below 1, more than one beyond the type count or beyond the table.
    bool typeNumber(long& t);
    // Asks to overwrite type t or to add it, then stores the change and moves
    // the kind counts from the kind t had before.
    Answer confirmAndStore(int t, const TypeChange& change);
    // Copies the properties of type t into every member of that type; the
    // number of members whose copies changed.
    int refreshMembersOf(int t);
    // After a stored change: the modified flag, "キャンセル" disabled, the
    // analysis results dropped, the next free type number shown.
    void changed();
    void showNextTypeNumber();

    Program& p_;
};

} // namespace rahmen
