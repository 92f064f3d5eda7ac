#include "model/ModelFiles.h"

#include "model/Limits.h"
#include "model/Model.h"
#include "model/NumberedList.h"
#include "model/Program.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace rahmen {

const char* const kExistingFileMessage =
    "既存のﾃﾞｰﾀがありますﾃﾞｨﾚｸﾄﾘｰより移動してＯＫを押してください。";
const char* const kUnknownUnitsMessage =
    "バネデータのある旧データファイルです\n\n"
    "バネデータの単位系を確認して、解析単位系を選択してください。";

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
        const int line = in_.line();
        const long n = whole(what);
        if (n < 0 || n > limit)
            throw DataFileError(in_.fileName(), line, limitMessage(what, n, limit));
        return static_cast<int16_t>(n);
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

// Sets a unit radio button of the main menu, when there is one.
void setRadio(Program& p, const char* name, std::optional<bool> checked,
              std::optional<bool> enabled) {
    if (!p.mainMenu || !p.mainMenu->has(name)) return;
    Control& radio = p.mainMenu->c(name);
    if (checked) radio.checked = *checked;
    if (enabled) radio.enabled = *enabled;
}

// The folder of a file chosen in the open-file dialog, "" when it is the
// working folder.
std::string folderOfChosenFile(Program& p, const std::string& path) {
    const fs::path folder = p.io.files.path(path).parent_path();
    std::error_code ec;
    if (fs::equivalent(folder, p.io.files.folder(), ec) || ec) return {};
    return folder.string();
}

// Writes one of the two files; false after a message when it failed.
bool writeFile(Program& p, const std::string& name,
               std::string (*build)(const Model&, const DateTime&)) {
    std::string bytes;
    try {
        bytes = build(p.model, p.io.clock.now());
    } catch (const DataFileError& e) {
        p.progress.closeWindow();
        p.say(std::string("ファイルを書き込めませんでした。\n") + e.what());
        return false;
    }
    const FileResult written = p.io.files.writeAtomic(name, bytes);
    if (!written) {
        p.progress.closeWindow();
        p.say("ファイルを書き込めませんでした。\n" + written.error);
        return false;
    }
    return true;
}

// Opens the chosen file and runs `read` on it; the outcome, after a message
// when the file could not be read.
template <class Read>
ReadOutcome readFile(Program& p, const std::string& path, const char* progressText, Read read) {
    p.progress.announce(p.FontOffset, progressText);
    const ReadResult file = p.io.files.read(path);
    if (!file) {
        p.progress.closeWindow();
        p.say("ファイルを読めませんでした。\n" + file.error);
        return ReadOutcome::Failed;
    }
    ItemReader in(file.bytes, fileNameOfPath(path));
    try {
        read(in);
    } catch (const DataFileError& e) {
        p.progress.closeWindow();
        p.say(std::string("ファイルの読込みを中止しました。\n") + e.what());
        return ReadOutcome::Failed;
    }
    return ReadOutcome::Done;
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
    r.text();
    m.NodeCount = r.count("節点数", kMaxNodes);
    r.text();
    m.MemberCount = r.count("部材数", kMaxMembers);
    r.text();
    m.SupportCount = r.count("支持点数", kMaxNodes);
    r.text();
    m.MemberTypeCount = r.count("部材タイプ数", kMaxMemberTypes);
    r.skip(5);
    readNodeList(r, m);
}

// ---------------------------------------------------------------------------
// Frame file

std::string frameFileBytes(const Model& m, const DateTime& when) {
    const Listed listed = countListed(m);
    const bool older = m.UnitFactor == 1.0f;
    const int nodes = upTo(m.NodeCount, kMaxNodes);
    const int types = upTo(m.MemberTypeCount, kMaxMemberTypes);
    const int members = upTo(m.MemberCount, kMaxMembers);

    LineWriter w(m.DataName + ".fdt");
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
    return w.bytes();
}

UnitLine readFrameFile(Model& m, ItemReader& in) {
    FieldReader r(in);
    clearFrameTables(m);

    r.skip(8);
    const UnitLine unit = unitLineOf(in.readTextBytes());
    r.skip(5); // date and time, two empty lines
    r.text();  // the data name's label and the name (the chosen file's name is used)
    r.text();
    r.skip(1);

    r.text();
    m.NodeCount = r.count("節点数", kMaxNodes);
    r.text();
    m.MemberCount = r.count("部材数", kMaxMembers);
    r.text();
    m.SupportCount = r.count("支持点数", kMaxNodes);
    r.text();
    m.PinnedEndCount = r.count("ﾋﾟﾝ接合数", 2L * kMaxMembers);
    r.text();
    m.SprungEndCount = r.count("ﾊﾞﾈ接合数", 2L * kMaxMembers);
    r.text();
    m.MemberTypeCount = r.count("部材ﾀｲﾌﾟ数", kMaxMemberTypes);

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
    return unit;
}

// ---------------------------------------------------------------------------
// Handlers

bool BUTTON69_ON(Program& p) {
    const std::string name = modelFileName(p.model, ".cdt");
    if (p.io.files.exists(name)) p.say(kExistingFileMessage);
    p.progress.announce(p.FontOffset, "　　　座標データ書込み中");
    if (!writeFile(p, name, coordinateFileBytes)) return false;
    p.progress.closeWindow();
    p.model.CoordFileState = 1;
    return true;
}

bool BUTTON70_ON(Program& p, bool rewrite) {
    Model& m = p.model;
    const std::string name = modelFileName(m, ".fdt");
    if (!rewrite && p.io.files.exists(name)) p.say(kExistingFileMessage);
    p.progress.announce(p.FontOffset, "　　　座標／骨組データ書込み中");
    // The counts line must state the ends the lists hold, whatever a form did
    // to the counters meanwhile; the unit line and the lock below follow it.
    m.recountEndSummaries();
    if (!writeFile(p, name, frameFileBytes)) return false;
    // The coordinate file is superseded, but only once the frame file exists.
    const std::string coordinates = modelFileName(m, ".cdt");
    if (p.io.files.exists(coordinates) && p.io.files.remove(coordinates)) m.CoordFileState = 0;
    p.progress.closeWindow();
    m.FrameFileState = 1;
    // Spring constants are held in the units they were typed in: from now on
    // the unit system may not change.
    if (m.SprungEndCount != 0) {
        if (m.UnitFactor == 1.0f)
            setRadio(p, "RADIO65", std::nullopt, false);
        else
            setRadio(p, "RADIO66", std::nullopt, false);
    }
    return true;
}

ReadOutcome CALLCDT_ON(Program& p) {
    const auto path = p.io.dialogs.openFile("座標データの呼出", "データ(*.cdt)", "*.cdt");
    if (!path) return ReadOutcome::Cancelled;
    Model& m = p.model;
    const ReadOutcome outcome = readFile(p, *path, "　　　座標データ呼出し中",
                                         [&](ItemReader& in) { readCoordinateFile(m, in); });
    if (outcome != ReadOutcome::Done) return outcome;
    m.DataName = dataNameFromPath(*path);
    // Coordinates read from anywhere go on to a frame of the working folder.
    m.DataFolder.clear();
    p.progress.closeWindow();
    p.menuEnable({"BUTTON28", "BUTTON70"},
                 {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"});
    m.CoordFileState = 2;
    return ReadOutcome::Done;
}

ReadOutcome CALLFDT_ON(Program& p) {
    const auto path = p.io.dialogs.openFile("座標/骨組データの呼出", "データ(*.fdt)", "*.fdt");
    if (!path) return ReadOutcome::Cancelled;
    Model& m = p.model;
    UnitLine unit = UnitLine::Unknown;
    const ReadOutcome outcome = readFile(p, *path, "　　座標/骨組データ呼出し中",
                                         [&](ItemReader& in) { unit = readFrameFile(m, in); });
    if (outcome != ReadOutcome::Done) return outcome;

    // The unit system is set only once the whole file was read, so that a
    // failed reading leaves the unit factor and its radio buttons agreeing.
    switch (unit) {
    case UnitLine::Si:
        m.UnitFactor = kSiUnitFactor;
        setRadio(p, "RADIO65", true, std::nullopt);
        setRadio(p, "RADIO66", false, false);
        break;
    case UnitLine::Older:
        m.UnitFactor = 1.0f;
        setRadio(p, "RADIO65", false, false);
        setRadio(p, "RADIO66", true, std::nullopt);
        break;
    case UnitLine::Common:
        m.UnitFactor = kSiUnitFactor;
        setRadio(p, "RADIO65", true, std::nullopt);
        setRadio(p, "RADIO66", false, std::nullopt);
        break;
    case UnitLine::Unknown:
        m.UnitFactor = 0.0f;
        break;
    }

    m.DataName = dataNameFromPath(*path);
    // A frame read from another folder is saved again over the file read.
    m.DataFolder = folderOfChosenFile(p, *path);
    p.progress.closeWindow();
    p.menuEnable({"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93", "BUTTON70"},
                 {"BUTTON27", "BUTTON91", "BUTTON52", "BUTTON68", "BUTTON84"});
    m.FrameFileState = 2;
    m.FrameReady = 1;

    if (m.UnitFactor == 0.0f) {
        if (m.SprungEndCount == 0) {
            m.UnitFactor = kSiUnitFactor;
        } else {
            // Springs in units nobody recorded: the user must choose before
            // anything that depends on the unit system can start.
            setRadio(p, "RADIO65", false, std::nullopt);
            p.say(kUnknownUnitsMessage);
        }
    }
    return ReadOutcome::Done;
}

} // namespace rahmen
