#pragma once
// The conditions of the member checks: per member type its steel grade, per
// member the distance lb between the braces of the compression flange and
// the buckling length factors of its two axes. Whatever is not given takes
// its default (SN400B; lb = the member length; factors 1), so a frame checks
// without any conditions at all.
//
// Kept in a file of their own, DataName.ckc (CP932, CR LF): a heading, the
// counts line (鋼種指定数, 部材条件数), an empty line, the numbered list of the
// types given a grade ("    3, SN490B"), an empty line, the numbered list
// of the members given conditions (member, lb in cm with 0 for the member
// length, kx, ky), an empty line.

#include "model/TextFile.h"

#include <map>
#include <string>

namespace rahmen {

struct Model;
class Files;
struct FileResult;

struct MemberCheckCondition {
    double lb = 0; // cm; 0: the member length
    // Buckling length factors: lk = k × the member length, kx for buckling
    // about the section's strong axis (the table's ix, member y), ky about
    // its weak axis (iy, member z).
    double kx = 1, ky = 1;
};

struct CheckConditions {
    std::map<int, std::string> grades;           // member type → grade name
    std::map<int, MemberCheckCondition> members; // member → its conditions

    // The grade of member type t (kDefaultSteelGrade unless given).
    const std::string& gradeOf(int t) const;
    // The conditions of member m (the defaults unless given).
    MemberCheckCondition memberCondition(int m) const;
};

// The extension of the conditions file.
constexpr const char* kCheckConditionsExtension = ".ckc";

// The file's bytes. Throws DataFileError for a value beyond the program's
// range.
std::string checkConditionsFileBytes(const CheckConditions& conditions);

// Reads a conditions file into `conditions` (replacing what it held). Type
// and member numbers must lie within 1..typeCount and 1..memberCount. Throws
// DataFileError naming the file and line when the file is malformed: a count
// beyond its limit, a list that disagrees with its count, a number given
// twice or outside its range, an unknown grade, a negative length or factor.
void readCheckConditionsFile(ItemReader& in, CheckConditions& conditions, int typeCount,
                             int memberCount);

// DataName.ckc written atomically into the folder of `files`.
FileResult writeCheckConditions(Files& files, const std::string& dataName,
                                const CheckConditions& conditions);

// DataName.ckc of the folder read for the frame in `model`; no file gives
// the defaults. The problem ("" when read or absent).
std::string readCheckConditions(const Files& files, const Model& model,
                                CheckConditions& conditions);

} // namespace rahmen
