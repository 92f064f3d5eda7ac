#include "model/LoadCases.h"

#include "model/AnalysisInput.h"
#include "model/CountsLine.h"
#include "model/Limits.h"
#include "model/Model.h"
#include "model/NumberedList.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace rahmen {

namespace {

constexpr std::size_t kLongestLabel = 8;

bool isLetter(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

const LoadCase* findCase(const std::vector<LoadCase>& cases, const std::string& label) {
    for (const LoadCase& c : cases)
        if (c.label == label) return &c;
    return nullptr;
}

// The shortest decimal in plain digits that reads back to the same double
// (never with an exponent: the expression reads no exponents).
std::string plainFactor(double value) {
    char text[400];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
    return std::string(text, end);
}

} // namespace

std::string labelProblem(const std::string& label) {
    if (label.empty()) return "ラベルが入力されていません。";
    if (label.size() > kLongestLabel)
        return "ラベルが長すぎます。ラベルは " + std::to_string(kLongestLabel) +
               " 文字までにしてください。";
    for (char ch : label)
        if (!isLetter(ch) && !isDigit(ch) && ch != '_')
            return "ラベルに使えない文字があります。\r\n"
                   "使える文字は英字、数字と「_」です。";
    if (!isLetter(label[0])) return "ラベルは英字で始めてください。";
    return {};
}

std::string parseCombination(const std::string& expression, const std::vector<LoadCase>& cases,
                             std::vector<CombinationTerm>& terms) {
    terms.clear();
    std::size_t at = 0;
    const auto skipBlanks = [&] {
        while (at < expression.size() && expression[at] == ' ')
            ++at;
    };
    skipBlanks();
    if (at == expression.size()) return "組合せ式が入力されていません。";
    for (int n = 1; at < expression.size(); ++n) {
        const std::size_t start = at;
        double sign = 1;
        if (expression[at] == '+' || expression[at] == '-') {
            sign = expression[at] == '-' ? -1 : 1;
            ++at;
            skipBlanks();
        } else if (n > 1) {
            return "組合せ式の " + std::to_string(n) + " 項目の前に「+」か「-」がありません。";
        }
        // The factor: digits with an optional point, none for 1.
        const std::size_t factorStart = at;
        bool digits = false;
        while (at < expression.size() && (isDigit(expression[at]) || expression[at] == '.')) {
            digits = digits || isDigit(expression[at]);
            ++at;
        }
        const std::string factorText = expression.substr(factorStart, at - factorStart);
        const std::size_t labelStart = at;
        while (at < expression.size() &&
               (isLetter(expression[at]) || isDigit(expression[at]) || expression[at] == '_'))
            ++at;
        const std::string label = expression.substr(labelStart, at - labelStart);
        std::size_t end = at;
        while (end < expression.size() && expression[end] != '+' && expression[end] != '-')
            ++end;
        const std::string termText = expression.substr(start, end - start);
        double factor = 1;
        const bool points = std::count(factorText.begin(), factorText.end(), '.') > 1;
        if (!factorText.empty()) {
            if (!digits || points)
                factor = NAN;
            else
                factor = std::strtod(factorText.c_str(), nullptr);
        }
        skipBlanks();
        const bool ends = at == expression.size() || expression[at] == '+' || expression[at] == '-';
        if (label.empty() || !isLetter(label[0]) || !ends || std::isnan(factor))
            return "組合せ式の " + std::to_string(n) + " 項目（" + termText + "）が読めません。";
        if (!withinLargestValue(factor))
            return "組合せ式の " + std::to_string(n) + " 項目の係数が大きすぎます（" + factorText +
                   "）。";
        if (!findCase(cases, label)) return "荷重ケース " + label + " はありません。";
        terms.push_back({sign * factor, label});
    }
    return {};
}

std::string combinationExpression(const Combination& combination) {
    std::string text;
    for (const CombinationTerm& t : combination.terms) {
        const bool negative = std::signbit(t.factor);
        if (negative)
            text += '-';
        else if (!text.empty())
            text += '+';
        const double size = std::fabs(t.factor);
        if (size != 1) text += plainFactor(size);
        text += t.caseLabel;
    }
    return text;
}

// The combinations of 施行令 第82条 (allowable stress design):
//   long-term   常時          G+P              (heavy snow also 積雪時 G+P+0.7S)
//   short-term  積雪時        G+P+S
//               暴風時        G+P+W            (heavy snow also G+P+0.35S+W)
//               地震時        G+P+K            (heavy snow: G+P+0.35S+K instead)
// Wind and earthquake act in either sense along each axis: a case in X gives
// the combinations with +W and with -W.
std::vector<Combination> codeCombinations(const std::vector<LoadCase>& cases, bool heavySnow) {
    std::vector<CombinationTerm> base;
    std::vector<CombinationTerm> snow;
    const auto ofKind = [&](LoadKind kind, std::vector<CombinationTerm>& terms) {
        for (const LoadCase& c : cases)
            if (c.kind == kind) terms.push_back({1, c.label});
    };
    ofKind(LoadKind::Dead, base);
    ofKind(LoadKind::Live, base);
    ofKind(LoadKind::Snow, snow);
    const auto scaled = [](std::vector<CombinationTerm> terms, double factor) {
        for (CombinationTerm& t : terms)
            t.factor *= factor;
        return terms;
    };
    const auto joined = [](std::vector<CombinationTerm> a, const std::vector<CombinationTerm>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };

    std::vector<Combination> out;
    int longCount = 0;
    int shortCount = 0;
    const auto add = [&](LoadTerm term, std::vector<CombinationTerm> terms) {
        if (terms.empty()) return;
        const int n = term == LoadTerm::Long ? ++longCount : ++shortCount;
        out.push_back(
            {(term == LoadTerm::Long ? "L" : "S") + std::to_string(n), term, std::move(terms)});
    };
    const bool snowCases = !snow.empty();
    add(LoadTerm::Long, base);
    if (heavySnow && snowCases) add(LoadTerm::Long, joined(base, scaled(snow, 0.7)));
    if (snowCases) add(LoadTerm::Short, joined(base, snow));
    for (LoadKind kind : {LoadKind::Wind, LoadKind::Seismic}) {
        for (const LoadCase& c : cases) {
            if (c.kind != kind) continue;
            const bool withSnow = heavySnow && snowCases;
            if (kind == LoadKind::Wind || !withSnow)
                for (double sense : {1.0, -1.0})
                    add(LoadTerm::Short, joined(base, {{sense, c.label}}));
            if (withSnow)
                for (double sense : {1.0, -1.0})
                    add(LoadTerm::Short,
                        joined(joined(base, scaled(snow, 0.35)), {{sense, c.label}}));
        }
    }
    return out;
}

void addCaseLoads(Model& m, const LoadCase& c, double factor) {
    const int nodes = std::clamp<int>(m.NodeCount, 0, kMaxNodes);
    const int members = std::clamp<int>(m.MemberCount, 0, kMaxMembers);
    for (const CaseNodeLoad& l : c.nodeLoads) {
        const int n = l.node;
        if (n < 1 || n > nodes) continue;
        // Counted once however many cases load the node (the form counts its
        // rows; for one case on an unloaded frame the two agree).
        if (m.NodeLoadFlag[n] != 1) markNodeLoaded(m, n);
        for (int j = 0; j < 3; ++j) {
            m.NodeLoad[6 * n - 5 + j] += static_cast<float>(factor * l.force[j]);
            m.NodeLoad[6 * n - 2 + j] +=
                kHeldMomentScale * static_cast<float>(factor * l.moment[j]);
        }
    }
    for (const CaseMemberLoad& l : c.memberLoads) {
        if (l.member < 1 || l.member > members) continue;
        markMemberLoaded(m, l.member);
        m.MemberUniformLoad[l.member][1] += static_cast<float>(factor * l.wy);
        m.MemberUniformLoad[l.member][2] += static_cast<float>(factor * l.wz);
    }
}

LoadTerm usualTerm(const Combination& combination, const std::vector<LoadCase>& cases) {
    for (const CombinationTerm& t : combination.terms)
        for (const LoadCase& c : cases)
            if (c.label == t.caseLabel && c.kind != LoadKind::Dead && c.kind != LoadKind::Live)
                return LoadTerm::Short;
    return LoadTerm::Long;
}

void takeCaseLoads(const Model& m, LoadCase& c) {
    c.nodeLoads.clear();
    c.memberLoads.clear();
    const int nodes = std::clamp<int>(m.NodeCount, 0, kMaxNodes);
    const int members = std::clamp<int>(m.MemberCount, 0, kMaxMembers);
    for (int n = 1; n <= nodes; ++n) {
        if (m.NodeLoadFlag[n] != 1) continue;
        CaseNodeLoad l;
        l.node = n;
        for (int j = 0; j < 3; ++j) {
            l.force[j] = m.NodeLoad[6 * n - 5 + j];
            l.moment[j] = m.NodeLoad[6 * n - 2 + j] / kHeldMomentScale;
        }
        c.nodeLoads.push_back(l);
    }
    for (int e = 1; e <= members; ++e)
        if (m.MemberLoadFlag[e] == 1)
            c.memberLoads.push_back({e, m.MemberUniformLoad[e][1], m.MemberUniformLoad[e][2]});
}

// ---------------------------------------------------------------------------
// The load-case file

namespace {

constexpr const char* kHeading = "荷重ケースと組合せ";
constexpr const char* kKinds = "GPSWK";

const char* directionText(LoadDirection d) {
    return d == LoadDirection::X ? "X" : d == LoadDirection::Y ? "Y" : "-";
}

} // namespace

std::string loadCaseFileBytes(const LoadCaseSet& set) {
    LineWriter w;
    w.text(kHeading).endLine();
    w.text("荷重ケース数: ").number(static_cast<double>(set.cases.size()));
    w.text(" 組合せ数: ").number(static_cast<double>(set.combinations.size())).endLine();
    w.endLine();
    int number = 0;
    for (const LoadCase& c : set.cases) {
        w.text("荷重ケース: ").number(++number).text(", ラベル: ").text(c.label);
        w.text(", 種類: ").text(std::string(1, kKinds[static_cast<int>(c.kind)]));
        w.text(", 方向: ").text(directionText(c.direction));
        w.text(", 節点荷重数: ").number(static_cast<double>(c.nodeLoads.size()));
        w.text(" 部材荷重数: ").number(static_cast<double>(c.memberLoads.size())).endLine();
        for (const CaseNodeLoad& l : c.nodeLoads) {
            w.masked("  #####", l.node);
            for (float f : l.force)
                w.number(f);
            for (float f : l.moment)
                w.number(f);
            w.endLine();
        }
        w.endLine();
        for (const CaseMemberLoad& l : c.memberLoads)
            w.masked("  #####", l.member).number(l.wy).number(l.wz).endLine();
        w.endLine();
    }
    number = 0;
    for (const Combination& k : set.combinations) {
        w.masked("  #####", ++number).text(", ").text(k.label);
        w.text(k.term == LoadTerm::Long ? ", 長期, " : ", 短期, ").text(combinationExpression(k));
        w.endLine();
    }
    w.endLine();
    return w.bytes();
}

namespace {

class LcdReader {
public:
    LcdReader(ItemReader& in, int nodes, int members) : in_(in), nodes_(nodes), members_(members) {}

    [[noreturn]] void fail(int line, const std::string& problem) {
        throw DataFileError(in_.fileName(), line, problem);
    }

    // A label, refused when it is not one or names a case or combination
    // read before.
    std::string label() {
        const int line = in_.line();
        std::string text = in_.readText();
        const std::string problem = labelProblem(text);
        if (!problem.empty()) fail(line, problem + "（" + text + "）");
        if (std::find(labels_.begin(), labels_.end(), text) != labels_.end())
            fail(line, "ラベル " + text + " が二度あります。");
        labels_.push_back(text);
        return text;
    }

    float value(const std::string& what, ValueRange range) {
        const int line = in_.line();
        const double v = in_.readValue(what);
        if (v < range.least || v > range.most) fail(line, tooLargeMessage(what, v));
        return static_cast<float>(v);
    }

    // A case after its number.
    void readCase(LoadCase& c) {
        in_.readText();
        c.label = label();
        in_.readText();
        int line = in_.line();
        const std::string kind = in_.readText();
        const char* found = kind.size() == 1 ? std::strchr(kKinds, kind[0]) : nullptr;
        if (!found || kind[0] == 0) fail(line, "荷重の種類 " + kind + " はありません。");
        c.kind = static_cast<LoadKind>(found - kKinds);
        in_.readText();
        line = in_.line();
        const std::string direction = in_.readText();
        const bool lateral = c.kind == LoadKind::Wind || c.kind == LoadKind::Seismic;
        if (lateral && direction == "X")
            c.direction = LoadDirection::X;
        else if (lateral && direction == "Y")
            c.direction = LoadDirection::Y;
        else if (!lateral && direction == "-")
            c.direction = LoadDirection::None;
        else
            fail(line, "荷重 " + kind + " の方向 " + direction + " は指定できません。");
        CountsLine counts(in_);
        const int nodeLoads = counts.count("節点荷重数", kMaxNodes);
        const int memberLoads = counts.count("部材荷重数", kMaxMembers);

        NumberedList nodeList(in_, "節点番号", nodes_, {"節点荷重リスト", "節点荷重数", nodeLoads});
        for (int i = 0; i < nodeLoads; ++i) {
            nodeList.expectLine();
            CaseNodeLoad l;
            line = in_.line();
            l.node = nodeList.take(
                static_cast<long>(std::clamp(in_.readWhole("節点番号"), -1e9, 1e9)), line);
            for (float& f : l.force)
                f = value("荷重", kAnyValue);
            for (float& f : l.moment)
                f = value("モーメント荷重", kMomentLoad);
            c.nodeLoads.push_back(l);
        }
        nodeList.expectEnd();
        in_.skipItems(1);
        NumberedList memberList(in_, "部材番号", members_,
                                {"部材荷重リスト", "部材荷重数", memberLoads});
        for (int i = 0; i < memberLoads; ++i) {
            memberList.expectLine();
            CaseMemberLoad l;
            line = in_.line();
            l.member = memberList.take(
                static_cast<long>(std::clamp(in_.readWhole("部材番号"), -1e9, 1e9)), line);
            l.wy = value("等分布荷重", kAnyValue);
            l.wz = value("等分布荷重", kAnyValue);
            c.memberLoads.push_back(l);
        }
        memberList.expectEnd();
        in_.skipItems(1);
    }

    void readCombination(Combination& k, const std::vector<LoadCase>& cases) {
        k.label = label();
        int line = in_.line();
        const std::string term = in_.readText();
        if (term == "長期")
            k.term = LoadTerm::Long;
        else if (term == "短期")
            k.term = LoadTerm::Short;
        else
            fail(line, "組合せの区分 " + term + " はありません（長期か短期）。");
        line = in_.line();
        const std::string problem = parseCombination(in_.readText(), cases, k.terms);
        if (!problem.empty()) fail(line, problem);
    }

    ItemReader& in_;
    int nodes_;
    int members_;
    std::vector<std::string> labels_;
};

} // namespace

void readLoadCaseFile(ItemReader& in, LoadCaseSet& set, int nodeCount, int memberCount) {
    set = {};
    LcdReader r(in, std::clamp(nodeCount, 0, kMaxNodes), std::clamp(memberCount, 0, kMaxMembers));
    in.skipItems(1);
    CountsLine counts(in);
    const int caseCount = counts.count("荷重ケース数", kMaxLoadCases);
    const int combinationCount = counts.count("組合せ数", kMaxCombinations);
    in.skipItems(1);
    NumberedList caseList(in, "荷重ケース番号", caseCount,
                          {"荷重ケース", "荷重ケース数", caseCount});
    for (int i = 0; i < caseCount; ++i) {
        caseList.expectLine();
        in.skipItems(1);
        const int line = in.line();
        caseList.take(static_cast<long>(std::clamp(in.readWhole("荷重ケース番号"), -1e9, 1e9)),
                      line);
        LoadCase c;
        r.readCase(c);
        set.cases.push_back(std::move(c));
    }
    NumberedList combinationList(in, "組合せ番号", combinationCount,
                                 {"組合せリスト", "組合せ数", combinationCount});
    for (int i = 0; i < combinationCount; ++i) {
        combinationList.expectLine();
        const int line = in.line();
        combinationList.take(static_cast<long>(std::clamp(in.readWhole("組合せ番号"), -1e9, 1e9)),
                             line);
        Combination k;
        r.readCombination(k, set.cases);
        set.combinations.push_back(std::move(k));
    }
    combinationList.expectEnd();
}

} // namespace rahmen
