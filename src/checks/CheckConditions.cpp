#include "checks/CheckConditions.h"

#include "checks/SteelGrades.h"
#include "model/CountsLine.h"
#include "model/Limits.h"
#include "model/Model.h"
#include "model/NumberedList.h"
#include "platform/Files.h"

#include <algorithm>

namespace rahmen {

namespace {

constexpr const char* kHeading = "許容応力度検定の条件";

// A whole number item clamped so that a huge one still reaches the range check.
long wholeNumber(ItemReader& in, const std::string& what) {
    return static_cast<long>(std::clamp(in.readWhole(what), -1e9, 1e9));
}

double notNegative(ItemReader& in, const std::string& what) {
    const int line = in.line();
    const double v = in.readValue(what);
    if (v < 0) throw DataFileError(in.fileName(), line, negativeMessage(what, v));
    return v;
}

} // namespace

const std::string& CheckConditions::gradeOf(int t) const {
    static const std::string standard = kDefaultSteelGrade;
    const auto found = grades.find(t);
    return found == grades.end() ? standard : found->second;
}

MemberCheckCondition CheckConditions::memberCondition(int m) const {
    const auto found = members.find(m);
    return found == members.end() ? MemberCheckCondition{} : found->second;
}

std::string checkConditionsFileBytes(const CheckConditions& c) {
    LineWriter w;
    w.text(kHeading).endLine();
    w.text("鋼種指定数: ").number(static_cast<double>(c.grades.size()));
    w.text(" 部材条件数: ").number(static_cast<double>(c.members.size())).endLine();
    w.endLine();
    for (const auto& [type, grade] : c.grades)
        w.masked("  #####", type).text(", ").text(grade).endLine();
    w.endLine();
    for (const auto& [member, k] : c.members)
        w.masked("  #####", member).number(k.lb).number(k.kx).number(k.ky).endLine();
    w.endLine();
    return w.bytes();
}

void readCheckConditionsFile(ItemReader& in, CheckConditions& c, int typeCount, int memberCount) {
    c = {};
    typeCount = std::clamp(typeCount, 0, kMaxMemberTypes);
    memberCount = std::clamp(memberCount, 0, kMaxMembers);
    in.skipItems(1);
    CountsLine counts(in);
    const int gradeCount = counts.count("鋼種指定数", typeCount);
    const int memberConditionCount = counts.count("部材条件数", memberCount);
    in.skipItems(1);

    NumberedList types(in, "部材タイプ番号", typeCount, {"鋼種リスト", "鋼種指定数", gradeCount});
    for (int i = 0; i < gradeCount; ++i) {
        types.expectLine();
        const int line = in.line();
        const int t = types.take(wholeNumber(in, "部材タイプ番号"), line);
        const int gradeLine = in.line();
        const std::string grade = in.readText();
        if (!findSteelGrade(grade))
            throw DataFileError(in.fileName(), gradeLine, "鋼種 " + grade + " はありません。");
        c.grades[t] = grade;
    }
    types.expectEnd();
    in.skipItems(1);

    NumberedList members(in, "部材番号", memberCount,
                         {"部材条件リスト", "部材条件数", memberConditionCount});
    for (int i = 0; i < memberConditionCount; ++i) {
        members.expectLine();
        const int line = in.line();
        const int m = members.take(wholeNumber(in, "部材番号"), line);
        MemberCheckCondition k;
        k.lb = notNegative(in, "横補剛間隔");
        k.kx = notNegative(in, "座屈長さ係数 kx");
        k.ky = notNegative(in, "座屈長さ係数 ky");
        c.members[m] = k;
    }
    members.expectEnd();
}

FileResult writeCheckConditions(Files& files, const std::string& dataName,
                                const CheckConditions& conditions) {
    std::string bytes;
    try {
        bytes = checkConditionsFileBytes(conditions);
    } catch (const DataFileError& e) {
        return {false, e.what()};
    }
    return files.writeAtomic(dataName + kCheckConditionsExtension, bytes);
}

std::string readCheckConditions(const Files& files, const Model& model,
                                CheckConditions& conditions) {
    conditions = {};
    const std::string name = modelFileName(model, kCheckConditionsExtension);
    if (!files.exists(name)) return {};
    const ReadResult file = files.read(name);
    if (!file) return file.error;
    try {
        ItemReader in(file.bytes, fileNameOfPath(name));
        readCheckConditionsFile(in, conditions, model.MemberTypeCount, model.MemberCount);
    } catch (const DataFileError& e) {
        conditions = {};
        return e.what();
    }
    return {};
}

} // namespace rahmen
