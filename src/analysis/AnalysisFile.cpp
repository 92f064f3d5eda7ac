#include "analysis/AnalysisFile.h"

#include "analysis/MemberResults.h"
#include "analysis/ana.h"
#include "model/CountsLine.h"
#include "model/Limits.h"
#include "model/Model.h"
#include "model/NumberedList.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace rahmen {

namespace {

// ---------------------------------------------------------------------------
// Texts of the report

const char* const kStars = "       ***************************************************************";
const char* const kTitle = "              骨組構造３次元解析･ZEN　for Windows  Version 2.0";
const char* const kUnitsOlder = " 解析単位 :　旧単位　";
const char* const kUnitsSi = " 解析単位 :　SI単位　";

// Column line 2 of the member list, with its leading blanks: the reader tells
// the layout of the member lines by it.
const char* const kMemberColumn2Older = "  No. (下)→ 終点   部材角(rad)     (cm4)     ;Iz     "
                                        "(tf･m/rad)     (tf･m/rad)    有 → -1    有 → -1";
const char* const kMemberColumn2Si = "  No. (下)→ 終点   部材角(rad)     (cm4)     ;Iz     "
                                     "(kN･m/rad)     (kN･m/rad)    有 → -1    有 → -1";
// The same lines of files of the older layout, leading blanks removed.
const char* const kLegacyColumn2A =
    "No.   (rad)    終点→  番号　  (kN･cm/rad)     (kN･cm/rad)     ピン   バネ";
const char* const kLegacyColumn2B = "No. (下)→ 終点   部材角(rad)     (cm4)     ;Iz     "
                                    "(kN･m/rad)     (kN･m/rad)     終ﾋﾟﾝ   終ﾊﾞﾈ";

// The end-force column line as the reader finds it (leading blanks removed).
const char* const kEndForceColumnTon =
    "No. 位置    N(ton)    Qy(ton)    Qz(ton)     Mx(t・m)   My(t・m)   Mz(t・m)";
const char* const kEndForceColumnKn =
    "No. 位置    N(kN)     Qy(kN)     Qz(kN)      Mx(kN・m)  My(kN・m)  Mz(kN・m)";

const char* const kLoadColumns =
    "  No.     X方向       Y方向       Z方向      X軸周り     Y軸周り     Z軸周り";
const char* const kRotationColumns =
    "部材No.ｙ軸周り(rad)←始点→ｚ軸周り(rad) ／ ｙ軸周り(rad)←終点→ｚ軸周り(rad)";

const char* const kLoadMask = "###.##^^^^  ";
const char* const kForceMask = "###.##^^^^ ";

// ---------------------------------------------------------------------------
// What the lists hold (shared by the writer and the reader)

// A member end is listed with its spring rotations when it has a rotational
// spring about member y or z, the springs the file shows.
bool startSprungYZ(const Model& md, int m) {
    return md.SpringStart[m][5] != 0 || md.SpringStart[m][6] != 0;
}
bool endSprungYZ(const Model& md, int m) {
    return md.SpringEnd[m][5] != 0 || md.SpringEnd[m][6] != 0;
}
// A member is listed with its pin rotations when a pin about y or z is set at
// exactly one of its ends, the pins the file shows.
bool startPinnedYZ(const Model& md, int m) {
    return md.PinStartY[m] != 0 || md.PinStartZ[m] != 0;
}
bool endPinnedYZ(const Model& md, int m) {
    return md.PinEndY[m] != 0 || md.PinEndZ[m] != 0;
}

// ---------------------------------------------------------------------------
// Writer

void emptyLines(LineWriter& w, int count) {
    for (int i = 0; i < count; ++i)
        w.endLine();
}

// A list title: `lead` blanks, four 0x04 bytes, `lead` blanks, the title, `lead`
// blanks, four 0x04 bytes and the tail.
void listTitle(LineWriter& w, int lead, const char* title, const char* tail) {
    const std::string blanks(static_cast<std::size_t>(lead), ' ');
    w.text(blanks).byte04(4).text(blanks).text(title).text(blanks).byte04(4).text(tail).endLine();
}

void writeMemberList(LineWriter& w, const Model& md, int members, bool older) {
    emptyLines(w, 2);
    w.text("    ").byte04(4).text(" 部材条件リスト ").byte04(4);
    w.text("   （部材座標系）                単位：cm").endLine();
    w.endLine();
    w.text(" 部材 (上)→ 始点   断面積(c㎡)   断面2次ﾓｰﾒﾝﾄ;Iy    y 軸回りバネ   z 軸回りバネ  "
           "y軸回りﾋﾟﾝ  z軸回りﾋﾟﾝ")
        .endLine();
    w.text(older ? kMemberColumn2Older : kMemberColumn2Si).endLine();
    for (int m = 1; m <= members; ++m) {
        w.masked("####", m)
            .masked("         ###", md.MemberStartNode[m])
            .masked("   ########.##", md.MemberArea[m])
            .masked("      ########.##", md.MemberIy[m])
            .maskedHeld("      ##.####^^^^", md.SpringStart[m][5], 100)
            .maskedHeld("     ##.####^^^^", md.SpringStart[m][6], 100)
            .masked("      ##", md.PinStartY[m])
            .masked("          ##", md.PinStartZ[m])
            .endLine();
        w.masked("             ###", md.MemberEndNode[m])
            .masked("        #.####", md.MemberAngle[m])
            .masked("      ########.##", md.MemberIz[m])
            .maskedHeld("      ##.####^^^^", md.SpringEnd[m][5], 100)
            .maskedHeld("     ##.####^^^^", md.SpringEnd[m][6], 100)
            .masked("      ##", md.PinEndY[m])
            .masked("          ##", md.PinEndZ[m])
            .endLine();
    }
}

void writeLoads(LineWriter& w, const Model& md, int nodes, int members, int loadedNodes,
                int loadedMembers, bool older) {
    emptyLines(w, 2);
    listTitle(w, 2, "荷重条件リスト", "   (節点荷重;全体座標系/等分布荷重;部材座標系）");
    if (loadedNodes != 0) {
        w.endLine();
        w.text(
             older
                 ? " 節点  |---------- 軸方向力(t) ---------|  |------- モーメント（t・m) -------|"
                 : " 節点  |---------- 軸方向力(kN) ---------|  |------- モーメント（kN・m) "
                   "-------|")
            .endLine();
        w.text(kLoadColumns).endLine();
        for (int n = 1; n <= nodes; ++n) {
            if (md.NodeLoadFlag[n] != 1) continue;
            w.masked("####   ", n);
            for (int k = 1; k <= 3; ++k)
                w.masked(kLoadMask, md.NodeLoad[6 * n - 6 + k]);
            for (int k = 4; k <= 6; ++k)
                w.masked(kLoadMask, kMomentCmToM * md.NodeLoad[6 * n - 6 + k]);
            w.endLine();
        }
    }
    if (loadedMembers != 0) {
        w.endLine();
        w.text(older ? " 部材No　　　　   y方向(t/m)            z方向(t/m)"
                     : " 部材No           y方向(kN/m)           z方向(kN/m)")
            .endLine();
        for (int m = 1; m <= members; ++m) {
            if (md.MemberLoadFlag[m] != 1) continue;
            w.masked("####   ", m)
                .masked("           ###.##^^^^  ", md.MemberUniformLoad[m][1])
                .masked("          ###.##^^^^  ", md.MemberUniformLoad[m][2])
                .endLine();
        }
    }
}

void writeEndForces(LineWriter& w, const Model& md, int members, bool older) {
    emptyLines(w, 2);
    listTitle(w, 2, "部材端力リスト", "   （部材座標系）");
    w.endLine();
    w.text("  No. 位置").tab(14).text(older ? "N(ton)" : "N(kN)");
    w.tab(24).text(older ? "Qy(ton)" : "Qy(kN)").tab(34).text(older ? " Qz(ton)" : " Qz(kN)");
    w.tab(47).text(older ? "Mx(t・m)" : "Mx(kN・m)").tab(58).text(older ? "My(t・m)" : "My(kN・m)");
    w.tab(69).text(older ? "Mz(t・m)" : "Mz(kN・m)").endLine();
    for (int m = 1; m <= members; ++m) {
        const auto& f = md.MemberEndForce[m];
        const SectionForces start = memberEndForces(md, m).start;
        w.masked("####", m).text("  始点: ");
        w.masked(kForceMask, start.N).masked(kForceMask, start.Qy).masked(kForceMask, start.Qz);
        w.text("  ").masked(kForceMask, f[1]).masked(kForceMask, f[2]).masked(kForceMask, f[3]);
        w.endLine();
        w.text("      終点: ");
        w.masked(kForceMask, f[7]).masked(kForceMask, f[8]).masked(kForceMask, f[9]);
        w.text("  ").masked(kForceMask, f[4]).masked(kForceMask, f[5]).masked(kForceMask, f[6]);
        w.endLine();
        if (md.MemberLoadFlag[m] == 1) {
            const auto moments = intermediateMaxMoments(md, m);
            w.text("　　　　　　　　　　　　　　　中間最大モーメント(絶対値): ");
            w.masked(kForceMask, moments[0]).masked(kForceMask, moments[1]).endLine();
        }
    }
}

void writeRotations(LineWriter& w, const Model& md, int members) {
    bool first = true;
    if (md.SprungEndCount != 0) {
        for (int m = 1; m <= members; ++m) {
            const bool start = startSprungYZ(md, m);
            const bool end = endSprungYZ(md, m);
            if (!start && !end) continue;
            if (first) {
                emptyLines(w, 2);
                w.text(" ").byte04(3).text(" バネ部材;接続節点の変位後位置に対する;回転角リスト ");
                w.byte04(3).text(" (部材座標系)").endLine();
                w.endLine();
                w.text(kRotationColumns).endLine();
                first = false;
            }
            if (start)
                w.masked("####", m)
                    .masked("   ###.##^^^^", md.SpringRotation[m][1])
                    .masked("           ###.##^^^^", md.SpringRotation[m][2])
                    .endLine();
            if (end)
                w.masked(" ###", m)
                    .text(std::string(34, ' '))
                    .masked("       ###.##^^^^", md.SpringRotation[m][3])
                    .masked("           ###.##^^^^", md.SpringRotation[m][4])
                    .endLine();
        }
    }
    first = true;
    if (md.PinnedEndCount != 0) {
        for (int m = 1; m <= members; ++m) {
            if (startPinnedYZ(md, m) == endPinnedYZ(md, m)) continue;
            if (first) {
                emptyLines(w, 2);
                w.text(" ").byte04(3);
                w.text(" 片側ピン部材;変位後部材角(始点→終点)に対する;回転角リスト ");
                w.byte04(3).text("（部材座標系）").endLine();
                w.endLine();
                w.text(kRotationColumns).endLine();
                first = false;
            }
            w.masked("####", m)
                .masked("   ###.##^^^^", md.PinRotation[m][1])
                .masked("           ###.##^^^^", md.PinRotation[m][2])
                .masked("       ###.##^^^^", md.PinRotation[m][3])
                .masked("           ###.##^^^^", md.PinRotation[m][4])
                .endLine();
        }
    }
}

// ---------------------------------------------------------------------------
// Reader

// A double as a float, saturated at the largest finite float.
float saturated(double v) {
    const double most = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(v, -most, most));
}

class ReportReader {
public:
    ReportReader(Model& model, ItemReader& in) : md(model), in(in) {}

    Model& md;
    ItemReader& in;

    [[noreturn]] void fail(int line, const std::string& problem) {
        throw DataFileError(in.fileName(), line, problem);
    }

    // A whole number within lo..hi; `describe` gives the problem for one outside.
    template <class Describe> int whole(const char* what, long lo, long hi, Describe describe) {
        const int line = in.line();
        const double v = in.readWhole(what);
        if (v < lo || v > hi) fail(line, describe(v));
        return static_cast<int>(v);
    }

    // The next number of a numbered list (see NumberedList).
    int listed(NumberedList& list) {
        list.expectLine();
        const int line = in.line();
        const double v = in.readWhole(list.what());
        return list.take(static_cast<long>(std::clamp(v, -1e9, 1e9)), line);
    }

    // A number within 1..last, the number of a node or member.
    int index(const char* what, int last) {
        return whole(what, 1, last, [&](double v) {
            char text[160];
            std::snprintf(text, sizeof text, "%s %.10g は 1 から %d の範囲にありません", what, v,
                          last);
            return std::string(text);
        });
    }
    int node() { return index("節点番号", md.NodeCount); }
    int member() { return index("部材番号", md.MemberCount); }

    // Any other number: a value or a flag, held `scale` times what the file
    // shows. Refused beyond the program's largest value, which no writer
    // writes, so that whatever is read can be written again.
    double value(double scale = 1) {
        const int line = in.line();
        const double held = in.readValue("数値") * scale;
        if (!withinLargestValue(held)) fail(line, tooLargeMessage("数値", held));
        return held;
    }
    // A rotational spring, held `scale` times what the file shows; never
    // negative.
    float spring(double scale) {
        const int line = in.line();
        const double held = value(scale);
        if (held < 0) fail(line, negativeMessage("バネ定数", held / scale));
        return static_cast<float>(held);
    }
    float single() { return static_cast<float>(value()); }

    // A pin flag: any value other than 0 means pinned (-1).
    int16_t pin() { return value() != 0 ? -1 : 0; }
    // A per-end summary flag (1 / 0).
    int16_t flag() { return value() != 0 ? 1 : 0; }

    // A value that the next line replaces (the start line of the end forces):
    // stored as a float, however large.
    float provisional() { return saturated(in.readNumber()); }

    // Whether the lines of a list go on: a list ends at an empty line.
    bool listGoesOn() { return !in.peekText().empty(); }
};

// Two items ahead, without moving: for the lists an older file may have without
// a count.
std::string textAfterNext(const ItemReader& in) {
    ItemReader probe = in;
    probe.skipItems(1);
    return probe.atEnd() ? std::string() : probe.readText();
}

bool startsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

struct LoadCounts {
    int nodes = 0;
    int members = -1;     // -1: the file has no count of loaded members
    int frameNodes = 0;   // the node count of the file's frame
    int frameMembers = 0; // its member count
};

// The counts line (and the material line's place): the loaded counts are
// returned, the others stored when `md` is given. Steps 4 and 5 of the full
// reader, without the name.
LoadCounts readCounts(ReportReader& r, Model* md, int& supportCount) {
    LoadCounts loads;
    CountsLine line(r.in);
    const int nodes = line.count("節点数", kMaxNodes);
    const int members = line.count("部材数", kMaxMembers);
    supportCount = line.optionalCount("支持点数", nodes);
    const int pinned = line.count("ﾋﾟﾝ接合数", 2 * kMaxMembers);
    const int sprung = line.count("ﾊﾞﾈ接合数", 2 * kMaxMembers);
    loads.nodes = line.count("荷重点数", kMaxNodes);
    loads.members = line.optionalCount("等分布荷重材数", kMaxMembers);
    if (loads.members >= 0) r.in.skipItems(1);
    loads.frameNodes = nodes;
    loads.frameMembers = members;
    if (md) {
        md->NodeCount = static_cast<int16_t>(nodes);
        md->MemberCount = static_cast<int16_t>(members);
        md->PinnedEndCount = static_cast<int16_t>(pinned);
        md->SprungEndCount = static_cast<int16_t>(sprung);
        md->LoadedNodeCount = static_cast<int16_t>(loads.nodes);
        md->LoadedMemberCount = static_cast<float>(loads.members < 0 ? 0 : loads.members);
    }
    return loads;
}

// Node load lines, at most `count` of them and up to the end of the list.
// `store` says whether node n's load is taken. Returns the lines read.
// `factor` converts the file's force unit into the model's.
template <class Store>
int readNodeLoads(ReportReader& r, int count, Store store, double factor = 1.0) {
    NumberedList loaded(r.in, "荷重点の節点番号", r.md.NodeCount, {"節点荷重", "荷重点数", count});
    int lines = 0;
    for (; lines < count && r.listGoesOn(); ++lines) {
        const int n = r.listed(loaded);
        float load[6];
        for (int k = 0; k < 6; ++k)
            load[k] = static_cast<float>(r.value((k < 3 ? 1 : 100) * factor));
        if (!store(n)) continue;
        for (int k = 0; k < 6; ++k)
            r.md.NodeLoad[6 * n - 5 + k] = load[k];
        r.md.NodeLoadFlag[n] = 1;
    }
    loaded.expectEnd();
    return lines;
}

// Uniform load lines; `count` -1 when the file has no count: then a list is
// read when the next item but one is its header.
int readMemberLoads(ReportReader& r, int count, double factor = 1.0) {
    if (count < 0) {
        if (!startsWith(textAfterNext(r.in), "部材No")) return 0;
        count = kMaxMembers;
    }
    if (count == 0) return 0;
    r.in.skipItems(2);
    NumberedList loaded(r.in, "等分布荷重の部材番号", r.md.MemberCount,
                        {"等分布荷重", "等分布荷重材数", count});
    int lines = 0;
    for (; lines < count && r.listGoesOn(); ++lines) {
        const int m = r.listed(loaded);
        r.md.MemberLoadFlag[m] = 1;
        r.md.MemberUniformLoad[m][1] = static_cast<float>(r.value(factor));
        r.md.MemberUniformLoad[m][2] = static_cast<float>(r.value(factor));
    }
    loaded.expectEnd();
    return lines;
}

// After the load lists come two empty lines and the displacement list's
// title. A list whose count says it is not there (a count of 0) would stand
// in between; a count the lists went past is caught at their ends.
void expectLoadListsEnd(const ItemReader& in, const LoadCounts& loads) {
    ItemReader probe = in;
    for (int k = 0; k < 2 && !probe.atEnd() && probe.peekText().empty(); ++k)
        probe.skipItems(1);
    if (probe.atEnd()) return; // a truncated file fails where its next list is read
    const int line = probe.line();
    const std::string item = probe.readText();
    if (item.find("節点変位リスト") != std::string::npos) return;
    std::string problem = "荷重条件リストの後に節点変位リストがありません";
    if (loads.nodes == 0 && startsWith(item, "節点"))
        problem = "荷重点数が 0 ですが、節点荷重の行があります";
    else if (loads.members == 0 && startsWith(item, "部材No"))
        problem = "等分布荷重材数が 0 ですが、等分布荷重の行があります";
    throw DataFileError(in.fileName(), line, problem);
}

void readMembersCurrent(ReportReader& r) {
    Model& md = r.md;
    NumberedList members(r.in, "部材番号", md.MemberCount,
                         {"部材条件リスト", "部材数", md.MemberCount});
    for (int i = 0; i < md.MemberCount; ++i) {
        const int m = r.listed(members);
        md.MemberStartNode[m] = static_cast<int16_t>(r.node());
        md.MemberArea[m] = r.single();
        md.MemberIy[m] = r.single();
        md.SpringStart[m][5] = r.spring(100);
        md.SpringStart[m][6] = r.spring(100);
        md.PinStartY[m] = r.pin();
        md.PinStartZ[m] = r.pin();
        md.MemberEndNode[m] = static_cast<int16_t>(r.node());
        md.MemberAngle[m] = r.single();
        md.MemberIz[m] = r.single();
        md.SpringEnd[m][5] = r.spring(100);
        md.SpringEnd[m][6] = r.spring(100);
        md.PinEndY[m] = r.pin();
        md.PinEndZ[m] = r.pin();
        // The file shows no torsion pins and no axial or torsion springs: a
        // member read from it has none.
        md.PinStartX[m] = md.PinEndX[m] = 0;
        for (int k = 1; k <= 4; ++k)
            md.SpringStart[m][k] = md.SpringEnd[m][k] = 0;
        md.MemberStartSprung[m] = startSprungYZ(md, m) ? 1 : 0;
        md.MemberEndSprung[m] = endSprungYZ(md, m) ? 1 : 0;
        md.MemberStartPinned[m] = startPinnedYZ(md, m) ? 1 : 0;
        md.MemberEndPinned[m] = endPinnedYZ(md, m) ? 1 : 0;
        md.MemberLoadFlag[m] = 0;
        md.MemberUniformLoad[m][1] = md.MemberUniformLoad[m][2] = 0;
    }
}

// Files of the older layout: no sections, the spring constants as they stand
// and the per-end summaries instead of the pins per axis.
void readMembersLegacy(ReportReader& r) {
    Model& md = r.md;
    NumberedList members(r.in, "部材番号", md.MemberCount,
                         {"部材条件リスト", "部材数", md.MemberCount});
    for (int i = 0; i < md.MemberCount; ++i) {
        const int m = r.listed(members);
        md.MemberAngle[m] = r.single();
        md.MemberStartNode[m] = static_cast<int16_t>(r.node());
        md.SpringStart[m][5] = r.spring(1);
        md.SpringStart[m][6] = r.spring(1);
        md.MemberStartPinned[m] = r.flag();
        md.MemberStartSprung[m] = r.flag();
        md.MemberEndNode[m] = static_cast<int16_t>(r.node());
        md.SpringEnd[m][5] = r.spring(1);
        md.SpringEnd[m][6] = r.spring(1);
        md.MemberEndPinned[m] = r.flag();
        md.MemberEndSprung[m] = r.flag();
        md.MemberLoadFlag[m] = 0;
        md.MemberUniformLoad[m][1] = md.MemberUniformLoad[m][2] = 0;
    }
}

// Reaction lines: the nodes become support nodes, the values are not kept.
// `count` -1 when the file has no support count: then the list is read when
// it is there.
int readReactions(ReportReader& r, int count) {
    ItemReader& in = r.in;
    const bool counted = count >= 0;
    if (!counted) {
        ItemReader probe = in;
        probe.skipItems(2);
        if (probe.atEnd() || probe.readText().find("支持点反力") == std::string::npos) return 0;
        count = kMaxNodes;
    }
    in.skipItems(6);
    NumberedList supports(in, "支持点の節点番号", r.md.NodeCount,
                          {"支持点反力リスト", "支持点数", count});
    int lines = 0;
    for (; lines < count && r.listGoesOn(); ++lines) {
        const int n = r.listed(supports);
        for (int k = 0; k < 6; ++k)
            r.value();
        r.md.NodeIsSupport[n] = -1;
    }
    if (counted && lines < count) supports.expectLine();
    supports.expectEnd();
    return lines;
}

void setUnits(Model& md, ReportUnits units) {
    md.UnitFactor = units == ReportUnits::Si      ? kSiUnitFactor
                    : units == ReportUnits::Older ? 1.0f
                                                  : 0.0f;
}

void readEndForces(ReportReader& r) {
    Model& md = r.md;
    ItemReader& in = r.in;
    for (;;) {
        const std::string item = in.readText();
        if (item == kEndForceColumnTon) {
            md.UnitFactor = 1;
            break;
        }
        if (md.UnitFactor != 1 && item == kEndForceColumnKn) {
            md.UnitFactor = kSiUnitFactor;
            break;
        }
    }
    NumberedList members(in, "部材番号", md.MemberCount,
                         {"部材端力リスト", "部材数", md.MemberCount});
    for (int i = 0; i < md.MemberCount; ++i) {
        const int m = r.listed(members);
        auto& f = md.MemberEndForce[m];
        in.readText();
        for (int k = 7; k <= 9; ++k)
            f[k] = -r.provisional();
        for (int k = 1; k <= 3; ++k)
            f[k] = r.single();
        in.readText();
        for (int k = 7; k <= 9; ++k)
            f[k] = r.single();
        for (int k = 4; k <= 6; ++k)
            f[k] = r.single();
        if (md.MemberLoadFlag[m] == 1) in.skipItems(2);
    }
    members.expectEnd();
}

void readRotations(ReportReader& r) {
    Model& md = r.md;
    if (md.SprungEndCount != 0) {
        bool first = true;
        for (int m = 1; m <= md.MemberCount; ++m) {
            if (md.MemberStartSprung[m] == 0 && md.MemberEndSprung[m] == 0) continue;
            if (first) r.in.skipItems(5);
            first = false;
            if (md.MemberStartSprung[m] != 0) {
                m = r.member();
                md.SpringRotation[m][1] = r.single();
                md.SpringRotation[m][2] = r.single();
            }
            if (md.MemberEndSprung[m] != 0) {
                m = r.member();
                md.SpringRotation[m][3] = r.single();
                md.SpringRotation[m][4] = r.single();
            }
        }
    }
    if (md.PinnedEndCount != 0) {
        bool first = true;
        for (int m = 1; m <= md.MemberCount; ++m) {
            if ((md.MemberStartPinned[m] != 0) == (md.MemberEndPinned[m] != 0)) continue;
            if (first) r.in.skipItems(5);
            first = false;
            m = r.member();
            for (int k = 1; k <= 4; ++k)
                md.PinRotation[m][k] = r.single();
        }
    }
}

// The simple-beam midspan moments of the uniform loads (force·cm), which the
// file does not list but the stress diagrams of a loaded member need.
void restoreMidspanMoments(Model& md) {
    for (int m = 1; m <= md.MemberCount; ++m) {
        if (md.MemberLoadFlag[m] != 1) {
            md.MemberLoadMoment[m][13] = md.MemberLoadMoment[m][14] = 0;
            continue;
        }
        const double length = memberLength(md, m); // cm
        const double wy = 0.01 * md.MemberUniformLoad[m][1];
        const double wz = 0.01 * md.MemberUniformLoad[m][2];
        md.MemberLoadMoment[m][13] = saturated(simpleBeamMoment(wz, length));
        md.MemberLoadMoment[m][14] = saturated(simpleBeamMoment(wy, length));
    }
}

} // namespace

// ---------------------------------------------------------------------------

namespace {

// The counts the report's counts line states: of the nodes and members
// listed, the supports and the loaded nodes and members among them.
struct ReportCounts {
    int nodes = 0;
    int members = 0;
    int supports = 0;
    int loadedNodes = 0;
    int loadedMembers = 0;
};

ReportCounts reportCounts(const Model& md) {
    ReportCounts c;
    c.nodes = std::clamp<int>(md.NodeCount, 0, kMaxNodes);
    c.members = std::clamp<int>(md.MemberCount, 0, kMaxMembers);
    for (int n = 1; n <= c.nodes; ++n) {
        c.supports += md.NodeIsSupport[n] == -1;
        c.loadedNodes += md.NodeLoadFlag[n] == 1;
    }
    for (int m = 1; m <= c.members; ++m)
        c.loadedMembers += md.MemberLoadFlag[m] == 1;
    return c;
}

// The title, the unit system and date, the data name, the counts line and the
// material constants.
void writeReportHeader(LineWriter& w, const Model& md, const ReportCounts& c, bool older,
                       const DateTime& when) {
    w.endLine().text(kStars).endLine().endLine().text(kTitle).endLine().endLine();
    w.text(kStars).endLine().endLine();
    w.text(older ? kUnitsOlder : kUnitsSi).zone().text("　解析日時: ").date(when).text("  ");
    w.time(when).endLine();
    emptyLines(w, 2);
    w.text(" デ ー タ 名: ").itemText(md.DataName).endLine();
    w.endLine();
    w.text(" 節点数:").number(c.nodes).zone().text("部材数:").number(c.members).zone();
    w.text("支持点数:").number(c.supports).zone().text("ﾋﾟﾝ接合数:").number(md.PinnedEndCount);
    w.zone().text("ﾊﾞﾈ接合数:").number(md.SprungEndCount).zone().text("荷重点数:");
    w.number(c.loadedNodes).zone().text("等分布荷重材数:").number(c.loadedMembers).endLine();
    w.endLine();
    w.text(older ? " 弾性係数 Ｅ(t/cm2):" : " 弾性係数 Ｅ(N/mm2):").number(md.YoungModulus).zone();
    w.text(older ? "せん断弾性係数 Ｇ(t/cm2):" : "せん断弾性係数 Ｇ(N/mm2):");
    w.number(md.ShearModulus).zone().text("  せん断に対する形状係数　κ:");
    w.number(md.ShearShapeFactor).endLine();
}

void writeNodeCoordinates(LineWriter& w, const Model& md, int nodes) {
    emptyLines(w, 2);
    w.text("    ").byte04(4).text(" 節点座標リスト ").byte04(4);
    w.text("   (全体座標系）                 単位：cm").endLine();
    w.endLine();
    w.tab(5).text("No.").tab(15).text("X 座標 ").tab(30).text("Y 座標").tab(45).text("Z 座標");
    w.endLine();
    for (int n = 1; n <= nodes; ++n)
        w.masked("  #####", n)
            .masked("         #####", md.NodeX[n])
            .masked("          #####", md.NodeY[n])
            .masked("          #####", md.NodeZ[n])
            .endLine();
}

void writeDisplacements(LineWriter& w, const Model& md, int nodes) {
    emptyLines(w, 2);
    listTitle(w, 2, "節点変位リスト", "   (全体座標系）");
    w.endLine();
    w.text(" 節点  |---------- 変位 (cm) -----------|  |----------- 回転角(rad) --------|");
    w.endLine().text(kLoadColumns).endLine();
    for (int n = 1; n <= nodes; ++n) {
        w.masked("####   ", n);
        for (int k = 1; k <= 6; ++k)
            w.masked(kLoadMask, md.NodeDisplacement[6 * n - 6 + k]);
        w.endLine();
    }
}

// The support nodes' reactions, forces and force·m.
void writeReactions(LineWriter& w, const Model& md, const std::vector<float>& reaction, int nodes,
                    bool older) {
    emptyLines(w, 2);
    listTitle(w, 2, "支持点反力リスト", "   (全体座標系）");
    w.endLine();
    w.text(older ? " 節点  |---------- ﾍﾞｸﾄﾙ( t ) ----------|  |---------- ﾓｰﾒﾝﾄ (t･m) ---------|"
                 : " 節点  |--------- ﾍﾞｸﾄﾙ( kN ) ----------|  |--------- ﾓｰﾒﾝﾄ (kN･m) ---------|");
    w.endLine().text(kLoadColumns).endLine();
    auto reactionAt = [&](int d) {
        return d < static_cast<int>(reaction.size()) ? reaction[static_cast<std::size_t>(d)] : 0.0f;
    };
    for (int n = 1; n <= nodes; ++n) {
        if (md.NodeIsSupport[n] != -1) continue;
        w.masked("####   ", n);
        for (int k = 1; k <= 3; ++k)
            w.masked(kLoadMask, reactionAt(6 * n - 6 + k));
        for (int k = 4; k <= 6; ++k)
            w.masked(kLoadMask, kMomentCmToM * reactionAt(6 * n - 6 + k));
        w.endLine();
    }
}

} // namespace

std::string analysisReport(const Model& md, const std::vector<float>& reaction,
                           const DateTime& when) {
    const bool older = md.UnitFactor == 1.0f;
    const ReportCounts c = reportCounts(md);
    LineWriter w(md.DataName + ".adt");
    // About 250 bytes a node and 520 a member (their lines in every list).
    w.reserve(4096 + 250 * static_cast<std::size_t>(c.nodes) +
              520 * static_cast<std::size_t>(c.members));
    writeReportHeader(w, md, c, older, when);
    writeNodeCoordinates(w, md, c.nodes);
    writeMemberList(w, md, c.members, older);
    writeLoads(w, md, c.nodes, c.members, c.loadedNodes, c.loadedMembers, older);
    writeDisplacements(w, md, c.nodes);
    writeReactions(w, md, reaction, c.nodes, older);
    writeEndForces(w, md, c.members, older);
    writeRotations(w, md, c.members);
    return w.bytes();
}

ReportUnits readReportUnits(ItemReader& in) {
    in.skipItems(8);
    const std::string item = in.readTextBytes();
    const std::string word = item.size() >= 8 ? item.substr(2, 6) : std::string();
    if (word == utf8ToCp932("SI単位")) return ReportUnits::Si;
    if (word == utf8ToCp932("旧単位")) return ReportUnits::Older;
    return ReportUnits::Unknown;
}

void readAnalysisReport(Model& md, ItemReader& in) {
    ReportReader r(md, in);
    setUnits(md, readReportUnits(in));

    in.skipItems(5); // the rest of the date line, two empty lines
    in.skipItems(2); // the name line (the name comes from the file's path)
    in.skipItems(1);
    int supportCount = -1;
    const LoadCounts loads = readCounts(r, &md, supportCount);
    if (supportCount >= 0) md.SupportCount = static_cast<int16_t>(supportCount);

    in.readText();
    md.YoungModulus = r.single();
    in.readText();
    md.ShearModulus = r.single();
    in.readText();
    md.ShearShapeFactor = r.single();

    in.skipItems(5);
    NumberedList nodes(in, "節点番号", md.NodeCount, {"節点座標リスト", "節点数", md.NodeCount});
    for (int i = 0; i < md.NodeCount; ++i) {
        const int n = r.listed(nodes);
        md.NodeX[n] = r.single();
        md.NodeY[n] = r.single();
        md.NodeZ[n] = r.single();
        // What the file says of the node comes further down.
        md.NodeIsSupport[n] = 0;
        md.NodeLoadFlag[n] = 0;
        for (int k = 6 * n - 5; k <= 6 * n; ++k)
            md.NodeLoad[k] = 0;
    }
    nodes.expectEnd();

    in.skipItems(5);
    const int columnLine = in.line();
    const std::string column = in.readText();
    const auto trimmed = [](const char* s) { return std::string(s).substr(2); };
    if (column == trimmed(kMemberColumn2Older) || column == trimmed(kMemberColumn2Si))
        readMembersCurrent(r);
    else if (column == kLegacyColumn2A || column == kLegacyColumn2B)
        readMembersLegacy(r);
    else if (md.MemberCount > 0)
        r.fail(columnLine, "部材条件リストの見出しが読めません");
    // Every member was listed once, so none is left without its nodes.
    expectListEnd(in, {"部材条件リスト", "部材数", md.MemberCount});

    in.skipItems(3);
    if (loads.nodes != 0) {
        in.skipItems(3);
        md.LoadedNodeCount =
            static_cast<int16_t>(readNodeLoads(r, loads.nodes, [](int) { return true; }));
    }
    md.LoadedMemberCount = static_cast<float>(readMemberLoads(r, loads.members));
    expectLoadListsEnd(in, loads);

    in.skipItems(6);
    NumberedList displaced(in, "節点番号", md.NodeCount,
                           {"節点変位リスト", "節点数", md.NodeCount});
    for (int i = 0; i < md.NodeCount; ++i) {
        const int n = r.listed(displaced);
        for (int k = 6 * n - 5; k <= 6 * n; ++k)
            md.NodeDisplacement[k] = r.value();
    }
    displaced.expectEnd();

    md.SupportCount = static_cast<int16_t>(readReactions(r, supportCount));
    readEndForces(r);
    readRotations(r);

    md.recountEndSummaries();
    restoreMidspanMoments(md);
}

namespace {

// The loaded counts as the load flags of the model's nodes and members say.
void recountLoads(Model& md) {
    int loadedNodes = 0, loadedMembers = 0;
    for (int n = 1; n <= md.NodeCount; ++n)
        loadedNodes += md.NodeLoadFlag[n] == 1;
    for (int m = 1; m <= md.MemberCount; ++m)
        loadedMembers += md.MemberLoadFlag[m] == 1;
    md.LoadedNodeCount = static_cast<int16_t>(loadedNodes);
    md.LoadedMemberCount = static_cast<float>(loadedMembers);
}

void readLoadsOnly(Model& md, ItemReader& in, std::vector<int>& skippedSupports,
                   const ReportLoadOptions& options) {
    ReportReader r(md, in);
    in.skipItems(5);
    in.skipItems(2);
    in.skipItems(1);
    int supportCount = -1;
    const int countsLine = in.line();
    const LoadCounts loads = readCounts(r, nullptr, supportCount);
    if (options.sameFrame &&
        (loads.frameNodes != md.NodeCount || loads.frameMembers != md.MemberCount))
        r.fail(countsLine, "節点数 " + std::to_string(loads.frameNodes) + "・部材数 " +
                               std::to_string(loads.frameMembers) +
                               " の解析データです。画面の骨組は節点数 " +
                               std::to_string(md.NodeCount) + "・部材数 " +
                               std::to_string(md.MemberCount) + " です");

    // The file's loads replace those of the model: a load picked or read
    // before must not stay beside them.
    const int nodes = std::clamp<int>(md.NodeCount, 0, kMaxNodes);
    const int members = std::clamp<int>(md.MemberCount, 0, kMaxMembers);
    for (int n = 1; n <= nodes; ++n) {
        md.NodeLoadFlag[n] = 0;
        for (int k = 6 * n - 5; k <= 6 * n; ++k)
            md.NodeLoad[k] = 0;
    }
    for (int m = 1; m <= members; ++m) {
        md.MemberLoadFlag[m] = 0;
        md.MemberUniformLoad[m][1] = md.MemberUniformLoad[m][2] = 0;
    }

    const std::string title = utf8ToCp932("荷重条件");
    for (;;) {
        const std::string item = in.readTextBytes();
        if (item.size() >= 14 && item.compare(6, 8, title) == 0) break;
    }
    if (loads.nodes != 0) {
        in.skipItems(3);
        readNodeLoads(
            r, loads.nodes,
            [&](int n) {
                if (md.NodeIsSupport[n] != -1) return true;
                if (std::find(skippedSupports.begin(), skippedSupports.end(), n) ==
                    skippedSupports.end())
                    skippedSupports.push_back(n);
                return false;
            },
            options.factor);
    }
    readMemberLoads(r, loads.members, options.factor);
    expectLoadListsEnd(in, loads);
}

} // namespace

void readReportLoads(Model& md, ItemReader& in, std::vector<int>& skippedSupports,
                     const ReportLoadOptions& options) {
    // Loads stored before a failure stay, and the counts follow them.
    try {
        readLoadsOnly(md, in, skippedSupports, options);
    } catch (...) {
        recountLoads(md);
        throw;
    }
    recountLoads(md);
}

} // namespace rahmen
