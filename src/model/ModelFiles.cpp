#include "model/ModelFiles.h"

#include "model/CountsLine.h"
#include "model/Limits.h"
#include "model/Model.h"
#include "model/NumberedList.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rahmen {

namespace {

// ---------------------------------------------------------------------------
// Layout shared by both files

constexpr const char* kTitle = "              骨組構造３次元解析･ZEN　for Windows  Version 2.0";
constexpr const char* kCoordinateHeading = "   (全体座標系）                 単位：cm";

// Fields of the node, type, member, pin and spring lines.
constexpr const char* kNodeNo = "  #####";
constexpr const char* kNodeX = "         #####";
constexpr const char* kNodeYZ = "          #####";

// The counts loops never run past a table, whatever a count says.
int upTo(int count, int limit) {
    return std::clamp(count, 0, limit);
}

void writeBanner(LineWriter& w) {
    const std::string stars = std::string(7, ' ') + std::string(63, '*');
    w.endLine();
    w.text(stars).endLine();
    w.endLine();
    w.text(kTitle).endLine();
    w.endLine();
    w.text(stars).endLine();
    w.endLine();
}

void writeCoordinateColumns(LineWriter& w, const char* first) {
    w.tab(first[0] == 'N' ? 5 : 3).text(first);
    w.tab(15).text("X 座標 ").tab(30).text("Y 座標").tab(45).text("Z 座標").endLine();
}

void writeNodeLine(LineWriter& w, const Model& m, int i) {
    w.masked(kNodeNo, i).masked(kNodeX, storedCoordinate(m.NodeX[i]));
    w.masked(kNodeYZ, storedCoordinate(m.NodeY[i]));
    w.masked(kNodeYZ, storedCoordinate(m.NodeZ[i])).endLine();
}

// A list heading of the frame file: the title between two runs of five 0x04
// bytes, and an optional tail.
void writeFramedHeading(LineWriter& w, const char* title, const char* tail = "") {
    w.text("    ").byte04(5).text(std::string(" ") + title + " ").byte04(5).text(tail).endLine();
}

// What the frame file lists, counted from the model rather than taken from
// its counters, so that every count the file states matches its records.
struct Listed {
    int supports = 0;
    int pinnedEnds = 0;
    int sprungEnds = 0;
    int rectTypes = 0;
    int steelTypes = 0;
};

// The capacity of the section table of a steel kind (rows 0..capacity).
int tableCapacity(int kind) {
    return kind == kSectionHShape ? kMaxHShapeRows : kMaxPipeRows;
}

// Row `row` of the section table of a steel kind; the caller keeps row within
// the table's capacity.
template <class AnyModel> auto& tableRow(AnyModel& m, int kind, int row) {
    switch (kind) {
    case kSectionHShape:
        return m.HShapeTable[row];
    case kSectionSquarePipe:
        return m.SquarePipeTable[row];
    default:
        return m.RoundPipeTable[row];
    }
}

Listed countListed(const Model& m) {
    Listed l;
    for (int i = 1; i <= upTo(m.NodeCount, kMaxNodes); ++i)
        l.supports += m.NodeIsSupport[i] == -1;
    for (int i = 1; i <= upTo(m.MemberCount, kMaxMembers); ++i) {
        l.pinnedEnds += (m.MemberStartPinned[i] == 1) + (m.MemberEndPinned[i] == 1);
        l.sprungEnds += (m.MemberStartSprung[i] == 1) + (m.MemberEndSprung[i] == 1);
    }
    for (int t = 1; t <= upTo(m.MemberTypeCount, kMaxMemberTypes); ++t) {
        l.rectTypes += m.TypeSectionKind[t] == kSectionRectangle;
        l.steelTypes += isSteelKind(m.TypeSectionKind[t]);
    }
    return l;
}

// The designation written for a steel type: the first 17 bytes of its table
// row (the field is 17 bytes wide), as text, without the blanks around it that
// the reader would drop. A row never filled (no section form opened) gives
// "-": an empty field would let the reader take the next line as the
// designation.
std::string steelDesignation(const Model& m, int t) {
    const int kind = m.TypeSectionKind[t];
    const int row = m.TypeSteelNo[t];
    std::string text;
    if (row >= 0 && row <= tableCapacity(kind)) text = tableRow(m, kind, row).substr(0, 17);
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "-";
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    return cp932ToUtf8(text);
}

// ---------------------------------------------------------------------------
// Reading

class FieldReader {
public:
    explicit FieldReader(ItemReader& in) : in_(in) {}

    void skip(int items) { in_.skipItems(items); }
    std::string text() { return in_.readText(); }
    void number() { in_.readNumber(); }

    // A count, refused above `limit` with the program's limit message.
    int16_t count(const char* what, long limit) {
        return static_cast<int16_t>(readCount(in_, what, limit));
    }

    // A number that chooses or names a table entry: first..last.
    int16_t index(const char* what, long first, long last) {
        const int line = in_.line();
        const long n = whole(what);
        if (n < first || n > last)
            throw DataFileError(in_.fileName(), line,
                                std::string(what) + " " + std::to_string(n) + " は " +
                                    std::to_string(first) + " から " + std::to_string(last) +
                                    " の範囲にありません");
        return static_cast<int16_t>(n);
    }

    // The next number of a numbered list (see NumberedList).
    int16_t listed(NumberedList& list) {
        list.expectLine();
        const int line = in_.line();
        return static_cast<int16_t>(list.take(whole(list.what().c_str()), line));
    }

    // A whole number kept in a 16-bit table (flags).
    int16_t integer(const char* what) { return index(what, INT16_MIN, INT16_MAX); }

    // A value kept in a single-precision table.
    float single(const char* what) { return static_cast<float>(in_.readValue(what)); }

    // A spring constant as the file shows it, held `scale` times that: never
    // negative, and within the program's largest value once scaled.
    float spring(double scale) {
        const char* what = "バネ定数";
        const int line = in_.line();
        const double shown = in_.readValue(what);
        if (shown < 0) throw DataFileError(in_.fileName(), line, negativeMessage(what, shown));
        if (!withinLargestValue(shown * scale))
            throw DataFileError(in_.fileName(), line, tooLargeMessage(what, shown * scale));
        return static_cast<float>(shown * scale);
    }

    ItemReader& items() { return in_; }

private:
    long whole(const char* what) {
        // Beyond any limit either way; clamped so that the conversion is defined.
        return static_cast<long>(std::clamp(in_.readWhole(what), -1e9, 1e9));
    }

    ItemReader& in_;
};

void clearFrameTables(Model& m) {
    // Whole tables assigned empty: one block clear each, not a loop over
    // every element (the fuzzing build counts each step of such a loop).
    m.NodeIsSupport = {};
    for (auto* table :
         {&m.PinStartX, &m.PinStartY, &m.PinStartZ, &m.PinEndX, &m.PinEndY, &m.PinEndZ})
        *table = {};
    m.SpringStart = {};
    m.SpringEnd = {};
}

// The unit line's 6 bytes after the leading full-width blank.
UnitLine unitLineOf(const std::string& item) {
    const std::string key = item.size() > 2 ? item.substr(2, 6) : std::string();
    if (key == utf8ToCp932("SI単位")) return UnitLine::Si;
    if (key == utf8ToCp932("旧単位")) return UnitLine::Older;
    if (key == utf8ToCp932("共通単")) return UnitLine::Common;
    return UnitLine::Unknown;
}

// The node list both files share: per node its number and coordinates, every
// node once.
void readNodeList(FieldReader& r, Model& m) {
    NumberedList nodes(r.items(), "節点番号", m.NodeCount,
                       {"節点座標リスト", "節点数", m.NodeCount});
    for (int i = 1; i <= m.NodeCount; ++i) {
        const int n = r.listed(nodes);
        m.NodeX[n] = r.single("X 座標");
        m.NodeY[n] = r.single("Y 座標");
        m.NodeZ[n] = r.single("Z 座標");
    }
    nodes.expectEnd();
}

} // namespace

double storedCoordinate(float cm) {
    // The masks' rounding of a whole-number field, done before printing.
    return std::round(static_cast<double>(cm));
}

// ---------------------------------------------------------------------------
// Coordinate file

std::string coordinateFileBytes(const Model& m, const DateTime& when) {
    LineWriter w(m.DataName + ".cdt");
    writeBanner(w);
    w.text(" 座標データファイル").itemText(m.DataName).text(".cdt").zone();
    w.text(" 入力日時  ").date(when).text("  ").time(when).endLine();
    w.endLine();
    w.endLine();
    w.text(" データ名: ").itemText(m.DataName).endLine();
    w.endLine();
    w.text(" 節点数:").number(m.NodeCount).zone().text("部材数:").number(m.MemberCount).zone();
    w.text("支持点数:").number(m.SupportCount).zone();
    w.text(" 部材タイプ数:").number(m.MemberTypeCount).endLine();
    w.endLine();
    w.endLine();
    w.text("    ").byte04(4).text(" 節点座標リスト ").byte04(4).endLine();
    w.endLine();
    writeCoordinateColumns(w, "No.");
    for (int i = 1; i <= upTo(m.NodeCount, kMaxNodes); ++i)
        writeNodeLine(w, m, i);
    return w.bytes();
}

void readCoordinateFile(Model& m, ItemReader& in) {
    FieldReader r(in);
    r.skip(13); // banner, file line, the data name's label
    r.text();   // the data name (the chosen file's name is used)
    r.skip(1);
    CountsLine counts(in);
    m.NodeCount = static_cast<int16_t>(counts.count("節点数", kMaxNodes));
    m.MemberCount = static_cast<int16_t>(counts.count("部材数", kMaxMembers));
    m.SupportCount = static_cast<int16_t>(counts.count("支持点数", kMaxNodes));
    m.MemberTypeCount = static_cast<int16_t>(counts.count("部材タイプ数", kMaxMemberTypes));
    r.skip(5);
    readNodeList(r, m);
}

// ---------------------------------------------------------------------------
// Frame file

namespace {

// The banner, the unit line (the units matter only with springs), the data
// name and the counts line.
void writeFrameHeader(LineWriter& w, const Model& m, const Listed& listed, const DateTime& when) {
    const bool older = m.UnitFactor == 1.0f;
    writeBanner(w);
    if (listed.sprungEnds == 0)
        w.text(" ﾃﾞｰﾀ単位 :　共通単位　");
    else if (older)
        w.text(" ﾃﾞｰﾀ単位 :　旧単位　");
    else
        w.text(" ﾃﾞｰﾀ解析単位 :　SI単位　");
    w.zone().text("　解析日時: ").date(when).text("  ").time(when).endLine();
    w.endLine();
    w.endLine();
    w.text(" デ ー タ 名: ").itemText(m.DataName).endLine();
    w.endLine();

    w.text(" 節点数:").number(m.NodeCount).zone().text("部材数:").number(m.MemberCount).zone();
    w.text("支持点数:").number(listed.supports).zone();
    w.text("ﾋﾟﾝ接合数:").number(listed.pinnedEnds).zone();
    w.text("ﾊﾞﾈ接合数:").number(listed.sprungEnds).zone();
    w.text("部材ﾀｲﾌﾟ数:").number(m.MemberTypeCount).endLine();
}

// The node list and the support list, in node order.
void writeFrameNodes(LineWriter& w, const Model& m) {
    const int nodes = upTo(m.NodeCount, kMaxNodes);
    // Nodes.
    w.endLine();
    w.endLine();
    w.text("    ").byte04(4).text(" 節点座標リスト ").byte04(4).text(kCoordinateHeading).endLine();
    w.endLine();
    writeCoordinateColumns(w, "No.");
    for (int i = 1; i <= nodes; ++i)
        writeNodeLine(w, m, i);

    // Supports, in node order.
    w.endLine();
    w.endLine();
    w.text("   ").byte04(4).text(" 支持点座標リスト ").byte04(4).text(kCoordinateHeading).endLine();
    w.endLine();
    writeCoordinateColumns(w, "節点No.");
    for (int i = 1; i <= nodes; ++i)
        if (m.NodeIsSupport[i] == -1) writeNodeLine(w, m, i);
}

// The member types and the line of how many there are of each section kind.
void writeTypeList(LineWriter& w, const Model& m, const Listed& listed) {
    const int types = upTo(m.MemberTypeCount, kMaxMemberTypes);
    // Member types.
    w.endLine();
    w.endLine();
    writeFramedHeading(w, "部材タイプリスト");
    w.endLine();
    w.text(" ﾀｲﾌﾟ    断面積    断面2次ﾓｰﾒﾝﾄ   断面2次ﾓｰﾒﾝﾄ   ねじり定数  せん断用断面積　"
           "せん断用断面積   断面ﾀｲﾌﾟ")
        .endLine();
    w.text("  No.    (c㎡)      Iy  (cm4)      Iz  (cm4)　　  　(cm4) 　  　Ay　(c㎡)　　 　Az　"
           "(c㎡)　     No")
        .endLine();
    for (int t = 1; t <= types; ++t) {
        w.masked(" ###", t).masked("########.##", m.TypeArea[t]);
        w.masked("   #######^^^^", m.TypeIy[t]).masked("    #######^^^^", m.TypeIz[t]);
        w.masked("    ######^^^^", m.TypeJ[t]).masked("   ########.##", m.TypeShearAreaY[t]);
        w.masked("    ########.##", m.TypeShearAreaZ[t]).masked("      ###", m.TypeSectionKind[t]);
        w.endLine();
    }

    w.endLine();
    w.text("断面タイプ　　　無指定(0) :")
        .number(m.MemberTypeCount - listed.rectTypes - listed.steelTypes)
        .zone();
    w.text("長方形断面(1) :").number(listed.rectTypes).zone();
    w.text("形鋼(2～4) :").number(listed.steelTypes).endLine();
}

// The steel designations and the rectangle sizes of the types that have them.
void writeSectionLists(LineWriter& w, const Model& m, const Listed& listed) {
    const int types = upTo(m.MemberTypeCount, kMaxMemberTypes);
    if (listed.steelTypes != 0) {
        w.endLine();
        w.endLine();
        writeFramedHeading(w, "形鋼断面リスト");
        w.endLine();
        w.text(" ﾀｲﾌﾟNo.   鋼材No　　　形状寸法 (単位　mm)　").endLine();
        for (int t = 1; t <= types; ++t) {
            if (!isSteelKind(m.TypeSectionKind[t])) continue;
            w.masked(" ###", t).masked("       ###", m.TypeSteelNo[t]);
            w.maskedText("           &               &", steelDesignation(m, t)).endLine();
        }
    }

    if (listed.rectTypes != 0) {
        w.endLine();
        w.endLine();
        writeFramedHeading(w, "長方形断面リスト");
        w.text("ﾀｲﾌﾟNo            Ａ寸法            Ｂ寸法（単位　cm）").endLine();
        for (int t = 1; t <= types; ++t) {
            if (m.TypeSectionKind[t] != kSectionRectangle) continue;
            w.masked("###", t).masked("                ####", m.TypeRectA[t]);
            w.masked("              ####", m.TypeRectB[t]).endLine();
        }
    }
}

void writeFrameMembers(LineWriter& w, const Model& m) {
    const int members = upTo(m.MemberCount, kMaxMembers);
    // Members, two lines each.
    w.endLine();
    w.endLine();
    writeFramedHeading(w, "部材条件リスト");
    w.endLine();
    w.text(" 部材 (上)→ 始点   部材ﾀｲﾌﾟNo    断面2次ﾓｰﾒﾝﾄ;Iy   捩り定数 (cm4)   せん断用   ;Ay   "
           "始ﾋﾟﾝ　 始ﾊﾞﾈ")
        .endLine();
    w.text("  No. (下)→ 終点   断面積(c㎡)     (cm4)     ;Iz   部材角   (rad)   断面積(c㎡);Az   "
           "終ﾋﾟﾝ   終ﾊﾞﾈ")
        .endLine();
    for (int i = 1; i <= members; ++i) {
        w.masked("####", i).masked("         ###", m.MemberStartNode[i]);
        w.masked("        ###   ", m.MemberTypeNo[i]).masked("     #######^^^^", m.MemberIy[i]);
        w.masked("      ######^^^^", m.MemberJ[i]);
        w.masked("      ########.##", m.MemberShearAreaY[i]);
        w.masked("         #", m.MemberStartPinned[i]).masked("       #", m.MemberStartSprung[i]);
        w.endLine();
        w.masked("             ###", m.MemberEndNode[i]).masked("   ########.##", m.MemberArea[i]);
        w.masked("     #######^^^^", m.MemberIz[i]).masked("          #.####", m.MemberAngle[i]);
        w.masked("      ########.##", m.MemberShearAreaZ[i]);
        w.masked("         #", m.MemberEndPinned[i]).masked("       #", m.MemberEndSprung[i]);
        w.endLine();
    }
}

// The pins of every member with a pinned end, one record per member.
void writePinList(LineWriter& w, const Model& m, const Listed& listed) {
    const int members = upTo(m.MemberCount, kMaxMembers);
    if (listed.pinnedEnds != 0) {
        w.endLine();
        w.endLine();
        writeFramedHeading(w, "ヒンジ条件リスト", "         自由 =-1 / 固定 = 0");
        w.endLine();
        w.text(" 部材No. [始点] Ｘ軸周り/Ｙ軸周り/Ｚ軸周り  [終点] Ｘ軸周り/Ｙ軸周り/Ｚ軸周り")
            .endLine();
        for (int i = 1; i <= members; ++i) {
            if (m.MemberStartPinned[i] != 1 && m.MemberEndPinned[i] != 1) continue;
            w.masked(" ####", i).masked("     ###", m.MemberStartNode[i]);
            w.tab(18).number(m.PinStartX[i]).tab(27).number(m.PinStartY[i]);
            w.tab(36).number(m.PinStartZ[i]).endLine();
            w.masked("      ###", m.MemberEndNode[i]);
            w.tab(53).number(m.PinEndX[i]).tab(62).number(m.PinEndY[i]);
            w.tab(71).number(m.PinEndZ[i]).endLine();
        }
    }
}

// The springs of every member with a sprung end, in the file's units.
void writeSpringList(LineWriter& w, const Model& m, const Listed& listed) {
    const bool older = m.UnitFactor == 1.0f;
    const int members = upTo(m.MemberCount, kMaxMembers);
    if (listed.sprungEnds != 0) {
        w.endLine();
        w.endLine();
        writeFramedHeading(w, "バネ条件リスト",
                           older ? "            単位　tf･m/rad  tf/cm"
                                 : "            単位　kN･m/rad　kN/cm");
        w.endLine();
        w.text(" 部材No.  [始/終]     Ｘ軸周り　/　Ｙ軸周り　/　Ｚ軸周り　/　Ｘ軸方向　").endLine();
        // Rotational springs are held in force·cm/rad and written in force·m/rad.
        for (int i = 1; i <= members; ++i) {
            if (m.MemberStartSprung[i] != 1 && m.MemberEndSprung[i] != 1) continue;
            const auto& s = m.SpringStart[i];
            const auto& e = m.SpringEnd[i];
            w.masked(" ####", i).masked("    ###", m.MemberStartNode[i]);
            w.maskedHeld("         ##.###^^^^", s[4], 100).maskedHeld("   ##.###^^^^", s[5], 100);
            w.maskedHeld("   ##.###^^^^", s[6], 100).masked("   ##.###^^^^", s[1]).endLine();
            w.masked("             ###", m.MemberEndNode[i]);
            w.maskedHeld("     ##.###^^^^", e[4], 100).maskedHeld("   ##.###^^^^", e[5], 100);
            w.maskedHeld("   ##.###^^^^", e[6], 100).masked("   ##.###^^^^", e[1]).endLine();
        }
    }
}

} // namespace

std::string frameFileBytes(const Model& m, const DateTime& when) {
    const Listed listed = countListed(m);
    LineWriter w(m.DataName + ".fdt");
    writeFrameHeader(w, m, listed, when);
    writeFrameNodes(w, m);
    writeTypeList(w, m, listed);
    writeSectionLists(w, m, listed);
    writeFrameMembers(w, m);
    writePinList(w, m, listed);
    writeSpringList(w, m, listed);
    return w.bytes();
}

namespace {

// The unit line, the data name (skipped: the chosen file's name is used) and
// the counts line.
UnitLine readFrameHeader(FieldReader& r, Model& m) {
    ItemReader& in = r.items();
    r.skip(8);
    const UnitLine unit = unitLineOf(in.readTextBytes());
    r.skip(5); // date and time, two empty lines
    r.text();  // the data name's label and the name (the chosen file's name is used)
    r.text();
    r.skip(1);

    CountsLine counts(in);
    m.NodeCount = static_cast<int16_t>(counts.count("節点数", kMaxNodes));
    m.MemberCount = static_cast<int16_t>(counts.count("部材数", kMaxMembers));
    m.SupportCount = static_cast<int16_t>(counts.count("支持点数", kMaxNodes));
    m.PinnedEndCount = static_cast<int16_t>(counts.count("ﾋﾟﾝ接合数", 2L * kMaxMembers));
    m.SprungEndCount = static_cast<int16_t>(counts.count("ﾊﾞﾈ接合数", 2L * kMaxMembers));
    m.MemberTypeCount = static_cast<int16_t>(counts.count("部材ﾀｲﾌﾟ数", kMaxMemberTypes));
    return unit;
}

// The node list and the support list.
void readFrameNodes(FieldReader& r, Model& m) {
    ItemReader& in = r.items();
    r.skip(5);
    readNodeList(r, m);

    r.skip(5);
    NumberedList supports(in, "支持点の節点番号", m.NodeCount,
                          {"支持点座標リスト", "支持点数", m.SupportCount});
    for (int i = 1; i <= m.SupportCount; ++i) {
        const int n = r.listed(supports);
        r.number(); // the support's coordinates repeat the node list
        r.number();
        r.number();
        m.NodeIsSupport[n] = -1;
    }
    supports.expectEnd();
}

void readTypeList(FieldReader& r, Model& m) {
    ItemReader& in = r.items();
    r.skip(6);
    NumberedList types(in, "部材タイプ番号", m.MemberTypeCount,
                       {"部材タイプリスト", "部材ﾀｲﾌﾟ数", m.MemberTypeCount});
    for (int t = 1; t <= m.MemberTypeCount; ++t) {
        r.listed(types); // types are listed in order; the number is not used
        m.TypeArea[t] = r.single("断面積");
        m.TypeIy[t] = r.single("Iy");
        m.TypeIz[t] = r.single("Iz");
        m.TypeJ[t] = r.single("ねじり定数");
        m.TypeShearAreaY[t] = r.single("せん断用断面積 Ay");
        m.TypeShearAreaZ[t] = r.single("せん断用断面積 Az");
        m.TypeSectionKind[t] = r.index("断面タイプ", 0, kSectionRoundPipe);
    }
    types.expectEnd();
}

// The section-kind counts and the steel and rectangle lists they announce.
void readSectionLists(FieldReader& r, Model& m) {
    ItemReader& in = r.items();
    r.skip(2);
    r.number(); // types without a section kind
    r.text();
    m.RectTypeCount = r.count("長方形断面数", kMaxMemberTypes);
    r.text();
    m.SteelTypeCount = r.count("形鋼断面数", kMaxMemberTypes);

    if (m.SteelTypeCount != 0) {
        r.skip(5);
        for (int t = 1; t <= m.MemberTypeCount; ++t) {
            const int kind = m.TypeSectionKind[t];
            if (!isSteelKind(kind)) continue;
            r.number();
            const int row = r.index("鋼材No", 0, tableCapacity(kind));
            m.TypeSteelNo[t] = static_cast<int16_t>(row);
            // The row holds the designation until a section form rebuilds the
            // table; a later save writes it again from there.
            tableRow(m, kind, row) = in.readTextBytes();
        }
    }

    if (m.RectTypeCount != 0) {
        r.skip(4);
        for (int t = 1; t <= m.MemberTypeCount; ++t) {
            if (m.TypeSectionKind[t] != kSectionRectangle) continue;
            r.number();
            m.TypeRectA[t] = r.single("Ａ寸法");
            m.TypeRectB[t] = r.single("Ｂ寸法");
        }
    }
}

void readFrameMembers(FieldReader& r, Model& m) {
    ItemReader& in = r.items();
    r.skip(6);
    NumberedList members(in, "部材番号", m.MemberCount,
                         {"部材条件リスト", "部材数", m.MemberCount});
    for (int i = 1; i <= m.MemberCount; ++i) {
        r.listed(members); // members are listed in order; the number is not used
        m.MemberStartNode[i] = r.index("始点の節点番号", 0, m.NodeCount);
        m.MemberTypeNo[i] = r.index("部材タイプ番号", 0, m.MemberTypeCount);
        m.MemberIy[i] = r.single("Iy");
        m.MemberJ[i] = r.single("捩り定数");
        m.MemberShearAreaY[i] = r.single("せん断用断面積 Ay");
        m.MemberStartPinned[i] = r.integer("始ﾋﾟﾝ");
        m.MemberStartSprung[i] = r.integer("始ﾊﾞﾈ");
        m.MemberEndNode[i] = r.index("終点の節点番号", 0, m.NodeCount);
        m.MemberArea[i] = r.single("断面積");
        m.MemberIz[i] = r.single("Iz");
        m.MemberAngle[i] = r.single("部材角");
        m.MemberShearAreaZ[i] = r.single("せん断用断面積 Az");
        m.MemberEndPinned[i] = r.integer("終ﾋﾟﾝ");
        m.MemberEndSprung[i] = r.integer("終ﾊﾞﾈ");
    }
    members.expectEnd();
}

void readPinList(FieldReader& r, Model& m) {
    ItemReader& in = r.items();
    // One record per member, standing for two ends when both are pinned.
    if (m.PinnedEndCount != 0) {
        r.skip(5);
        NumberedList pinned(in, "ピンの部材番号", m.MemberCount,
                            {"ヒンジ条件リスト", "ﾋﾟﾝ接合数", m.PinnedEndCount});
        for (int k = 1; k <= m.PinnedEndCount; ++k) {
            const int i = r.listed(pinned);
            r.number();
            m.PinStartX[i] = r.integer("ピン");
            m.PinStartY[i] = r.integer("ピン");
            m.PinStartZ[i] = r.integer("ピン");
            r.number();
            m.PinEndX[i] = r.integer("ピン");
            m.PinEndY[i] = r.integer("ピン");
            m.PinEndZ[i] = r.integer("ピン");
            if (m.MemberStartPinned[i] == 1 && m.MemberEndPinned[i] == 1) ++k;
        }
        pinned.expectEnd();
    }
}

void readSpringList(FieldReader& r, Model& m) {
    ItemReader& in = r.items();
    if (m.SprungEndCount != 0) {
        r.skip(5);
        NumberedList sprung(in, "バネの部材番号", m.MemberCount,
                            {"バネ条件リスト", "ﾊﾞﾈ接合数", m.SprungEndCount});
        for (int k = 1; k <= m.SprungEndCount; ++k) {
            const int i = r.listed(sprung);
            auto& s = m.SpringStart[i];
            auto& e = m.SpringEnd[i];
            r.number(); // the start node
            for (int k : {4, 5, 6})
                s[k] = r.spring(100.0);
            s[1] = r.spring(1.0);
            r.number(); // the end node
            for (int k : {4, 5, 6})
                e[k] = r.spring(100.0);
            e[1] = r.spring(1.0);
            if (m.MemberStartSprung[i] == 1 && m.MemberEndSprung[i] == 1) ++k;
        }
        sprung.expectEnd();
    }
}

} // namespace

UnitLine readFrameFile(Model& m, ItemReader& in) {
    FieldReader r(in);
    clearFrameTables(m);
    const UnitLine unit = readFrameHeader(r, m);
    readFrameNodes(r, m);
    readTypeList(r, m);
    readSectionLists(r, m);
    readFrameMembers(r, m);
    readPinList(r, m);
    readSpringList(r, m);
    return unit;
}

} // namespace rahmen
