#include "edit/FrameEdit.h"

#include "model/Limits.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "sections/Sections.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <type_traits>
#include <utility>

namespace rahmen {
namespace {

bool validNode(const Model& m, int n) {
    return n >= 1 && n <= m.NodeCount;
}
bool validMember(const Model& m, int k) {
    return k >= 1 && k <= m.MemberCount;
}

// ---- per-node and per-member slots

void copyNode(Model& m, int from, int to) {
    m.NodeX[to] = m.NodeX[from];
    m.NodeY[to] = m.NodeY[from];
    m.NodeZ[to] = m.NodeZ[from];
    m.NodeIsSupport[to] = m.NodeIsSupport[from];
    m.NodeLoadFlag[to] = m.NodeLoadFlag[from];
    for (int d = 0; d < 6; ++d)
        m.NodeLoad[6 * to - d] = m.NodeLoad[6 * from - d];
}

void clearNode(Model& m, int n) {
    m.NodeX[n] = m.NodeY[n] = m.NodeZ[n] = 0;
    m.NodeIsSupport[n] = 0;
    m.NodeLoadFlag[n] = 0;
    for (int d = 0; d < 6; ++d)
        m.NodeLoad[6 * n - d] = 0;
}

void copyMember(Model& m, int from, int to) {
    m.MemberStartNode[to] = m.MemberStartNode[from];
    m.MemberEndNode[to] = m.MemberEndNode[from];
    m.MemberTypeNo[to] = m.MemberTypeNo[from];
    m.MemberAngle[to] = m.MemberAngle[from];
    m.MemberArea[to] = m.MemberArea[from];
    m.MemberIy[to] = m.MemberIy[from];
    m.MemberIz[to] = m.MemberIz[from];
    m.MemberJ[to] = m.MemberJ[from];
    m.MemberShearAreaY[to] = m.MemberShearAreaY[from];
    m.MemberShearAreaZ[to] = m.MemberShearAreaZ[from];
    m.PinStartX[to] = m.PinStartX[from];
    m.PinStartY[to] = m.PinStartY[from];
    m.PinStartZ[to] = m.PinStartZ[from];
    m.PinEndX[to] = m.PinEndX[from];
    m.PinEndY[to] = m.PinEndY[from];
    m.PinEndZ[to] = m.PinEndZ[from];
    m.MemberStartPinned[to] = m.MemberStartPinned[from];
    m.MemberEndPinned[to] = m.MemberEndPinned[from];
    m.MemberStartSprung[to] = m.MemberStartSprung[from];
    m.MemberEndSprung[to] = m.MemberEndSprung[from];
    m.SpringStart[to] = m.SpringStart[from];
    m.SpringEnd[to] = m.SpringEnd[from];
    m.MemberUniformLoad[to] = m.MemberUniformLoad[from];
    m.MemberLoadFlag[to] = m.MemberLoadFlag[from];
}

void clearMember(Model& m, int k) {
    m.MemberStartNode[k] = m.MemberEndNode[k] = 0;
    m.MemberTypeNo[k] = 0;
    m.MemberAngle[k] = 0;
    m.MemberArea[k] = m.MemberIy[k] = m.MemberIz[k] = m.MemberJ[k] = 0;
    m.MemberShearAreaY[k] = m.MemberShearAreaZ[k] = 0;
    m.PinStartX[k] = m.PinStartY[k] = m.PinStartZ[k] = 0;
    m.PinEndX[k] = m.PinEndY[k] = m.PinEndZ[k] = 0;
    m.MemberStartPinned[k] = m.MemberEndPinned[k] = 0;
    m.MemberStartSprung[k] = m.MemberEndSprung[k] = 0;
    m.SpringStart[k].fill(0);
    m.SpringEnd[k].fill(0);
    m.MemberUniformLoad[k].fill(0);
    m.MemberLoadFlag[k] = 0;
}

// Opens node slot k (1..NodeCount+1) by moving nodes k..NodeCount up by one and
// renumbering the member ends that refer to them. NodeCount grows by one.
void openNodeSlot(Model& m, int k) {
    for (int n = m.NodeCount; n >= k; --n)
        copyNode(m, n, n + 1);
    clearNode(m, k);
    ++m.NodeCount;
    for (int i = 1; i <= m.MemberCount; ++i) {
        if (m.MemberStartNode[i] >= k) ++m.MemberStartNode[i];
        if (m.MemberEndNode[i] >= k) ++m.MemberEndNode[i];
    }
}

// The coordinate of node n on an axis, as a reference into the model's table.
template <class M> auto& coordinateOf(M& m, int n, Axis axis) {
    return axis == Axis::X ? m.NodeX[n] : axis == Axis::Y ? m.NodeY[n] : m.NodeZ[n];
}

// Whether two points are one point in the saved frame, whose files keep whole
// centimetres: every length and coincidence check compares them this way.
bool samePoint(float ax, float ay, float az, float bx, float by, float bz) {
    return storedCoordinate(ax) == storedCoordinate(bx) &&
           storedCoordinate(ay) == storedCoordinate(by) &&
           storedCoordinate(az) == storedCoordinate(bz);
}

bool samePoint(const Model& m, int a, int b) {
    return samePoint(m.NodeX[a], m.NodeY[a], m.NodeZ[a], m.NodeX[b], m.NodeY[b], m.NodeZ[b]);
}

// The first member whose two ends now lie on one point, 0 when none does.
int zeroLengthMember(const Model& m) {
    for (int k = 1; k <= m.MemberCount; ++k)
        if (samePoint(m, m.MemberStartNode[k], m.MemberEndNode[k])) return k;
    return 0;
}

std::string zeroLengthMessage(int member) {
    return "部材 " + std::to_string(member) + " の長さが 0 になるため、移動できません。";
}

// Applies a change of node coordinates only when no member gets zero length;
// otherwise puts the coordinates back and returns the refusal.
template <class Change> EditMessage moveNodes(Model& m, Change change) {
    const auto oldX = m.NodeX, oldY = m.NodeY, oldZ = m.NodeZ;
    change();
    if (const int k = zeroLengthMember(m)) {
        m.NodeX = oldX;
        m.NodeY = oldY;
        m.NodeZ = oldZ;
        return zeroLengthMessage(k);
    }
    m.AnalysisDone = 0;
    return {};
}

std::string limitText(const char* what, long count, long limit) {
    return limitMessage(what, count, limit);
}

EditMessage checkType(const Model& m, int type) {
    if (type < 1 || type > m.MemberTypeCount) return "部材タイプを選択してください。";
    return {};
}

} // namespace

float nodeCoordinate(const Model& model, int n, Axis axis) {
    return coordinateOf(model, n, axis);
}

EditMessage deleteMembers(Model& m, const std::vector<int>& members) {
    std::set<int> doomed;
    for (int k : members)
        if (validMember(m, k)) doomed.insert(k);
    if (doomed.empty()) return "削除する部材を選択してください。";
    // From the top down, so that the numbers still to come stay valid.
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        const int k = *it;
        if (m.MemberLoadFlag[k] == 1) m.LoadedMemberCount -= 1;
        for (int i = k; i < m.MemberCount; ++i)
            copyMember(m, i + 1, i);
        clearMember(m, m.MemberCount);
        --m.MemberCount;
    }
    m.recountEndSummaries();
    m.AnalysisDone = 0;
    return {};
}

EditMessage addMember(Model& m, int a, int b, int type, float angle) {
    if (!validNode(m, a) || !validNode(m, b)) return "節点を選択してください。";
    if (auto refused = checkType(m, type); !refused.empty()) return refused;
    if (a == b) return "始点と終点が同じ節点です。";
    if (samePoint(m, a, b)) return "始点と終点が同じ位置にあるため、部材の長さが 0 になります。";
    if (const int k = memberBetween(m, a, b))
        return "節点 " + std::to_string(a) + " と " + std::to_string(b) + " の間には部材 " +
               std::to_string(k) + " があります。";
    if (m.MemberCount + 1 > kMaxMembers) return limitText("部材数", m.MemberCount + 1, kMaxMembers);
    const int k = ++m.MemberCount;
    clearMember(m, k);
    m.MemberStartNode[k] = static_cast<int16_t>(std::min(a, b));
    m.MemberEndNode[k] = static_cast<int16_t>(std::max(a, b));
    m.MemberAngle[k] = angle;
    m.MemberTypeNo[k] = static_cast<int16_t>(type);
    m.copyTypeToMember(k, type);
    m.AnalysisDone = 0;
    return {};
}

EditMessage insertNodeAfter(Model& m, int p, float x, float y, float z) {
    if (!validNode(m, p)) return "節点を選択してください。";
    if (samePoint(m.NodeX[p], m.NodeY[p], m.NodeZ[p], x, y, z))
        return "選択した節点と同じ位置には節点を追加できません。";
    if (m.NodeCount + 1 > kMaxNodes) return limitText("節点数", m.NodeCount + 1, kMaxNodes);
    openNodeSlot(m, p + 1);
    m.NodeX[p + 1] = x;
    m.NodeY[p + 1] = y;
    m.NodeZ[p + 1] = z;
    m.AnalysisDone = 0;
    return {};
}

EditMessage movePlane(Model& m, Axis axis, float from, float to) {
    return moveNodes(m, [&] {
        for (int n = 1; n <= m.NodeCount; ++n)
            if (coordinateOf(m, n, axis) == from) coordinateOf(m, n, axis) = to;
    });
}

EditMessage moveLine(Model& m, const std::vector<int>& nodes, Axis along, float first,
                     float second) {
    for (int n : nodes)
        if (!validNode(m, n)) return "節点を選択してください。";
    const Axis a = along == Axis::X ? Axis::Y : Axis::X;
    const Axis b = along == Axis::Z ? Axis::Y : Axis::Z;
    return moveNodes(m, [&] {
        for (int n : nodes) {
            coordinateOf(m, n, a) = first;
            coordinateOf(m, n, b) = second;
        }
    });
}

EditMessage moveNode(Model& m, int n, float x, float y, float z) {
    if (!validNode(m, n)) return "節点を選択してください。";
    return moveNodes(m, [&] {
        m.NodeX[n] = x;
        m.NodeY[n] = y;
        m.NodeZ[n] = z;
    });
}

EditMessage splitMember(Model& m, int k) {
    if (!validMember(m, k)) return "分割する部材を選択してください。";
    if (m.NodeCount + 1 > kMaxNodes) return limitText("節点数", m.NodeCount + 1, kMaxNodes);
    if (m.MemberCount + 1 > kMaxMembers) return limitText("部材数", m.MemberCount + 1, kMaxMembers);
    const int s = m.MemberStartNode[k], e = m.MemberEndNode[k];
    if (!validNode(m, s) || !validNode(m, e)) return "部材の節点番号が正しくありません。";
    const float mx = m.NodeX[s] + (m.NodeX[e] - m.NodeX[s]) / 2;
    const float my = m.NodeY[s] + (m.NodeY[e] - m.NodeY[s]) / 2;
    const float mz = m.NodeZ[s] + (m.NodeZ[e] - m.NodeZ[s]) / 2;
    // A half as short as a centimetre would have no length in the saved frame.
    if (samePoint(m.NodeX[s], m.NodeY[s], m.NodeZ[s], mx, my, mz) ||
        samePoint(m.NodeX[e], m.NodeY[e], m.NodeZ[e], mx, my, mz))
        return "部材 " + std::to_string(k) + " は短すぎるため、分割できません。";
    const int mid = (s + e) / 2 + 1;
    openNodeSlot(m, mid);
    m.NodeX[mid] = mx;
    m.NodeY[mid] = my;
    m.NodeZ[mid] = mz;

    // The second half: m's section, angle and load; m's end releases and springs.
    const int half = ++m.MemberCount;
    copyMember(m, k, half);
    m.MemberStartNode[half] = static_cast<int16_t>(mid);
    m.PinStartX[half] = m.PinStartY[half] = m.PinStartZ[half] = 0;
    m.SpringStart[half].fill(0);
    m.MemberEndNode[k] = static_cast<int16_t>(mid);
    m.PinEndX[k] = m.PinEndY[k] = m.PinEndZ[k] = 0;
    m.SpringEnd[k].fill(0);
    if (m.MemberLoadFlag[k] == 1) m.LoadedMemberCount += 1;
    // The summaries follow the moved releases; m's end and the new start are free.
    m.MemberStartPinned[half] = m.MemberStartSprung[half] = 0;
    m.MemberEndPinned[k] = m.MemberEndSprung[k] = 0;
    m.recountEndSummaries();
    m.AnalysisDone = 0;
    return {};
}

EditMessage addSupports(Model& m, const std::vector<int>& nodes) {
    if (nodes.empty()) return "節点を選択してください。";
    for (int n : nodes)
        if (!validNode(m, n)) return "節点を選択してください。";
    for (int n : nodes) {
        if (m.NodeIsSupport[n] == -1) continue;
        m.NodeIsSupport[n] = -1;
        ++m.SupportCount;
    }
    m.AnalysisDone = 0;
    return {};
}

EditMessage assignType(Model& m, const std::vector<int>& members, int type, float angle) {
    if (auto refused = checkType(m, type); !refused.empty()) return refused;
    bool any = false;
    for (int k : members) {
        if (!validMember(m, k)) continue;
        m.MemberAngle[k] = angle;
        m.MemberTypeNo[k] = static_cast<int16_t>(type);
        m.copyTypeToMember(k, type);
        any = true;
    }
    if (!any) return "部材を選択してください。";
    m.AnalysisDone = 0;
    return {};
}

EditMessage addSteelType(Model& m, int kind, int row, int& type) {
    if (m.MemberTypeCount + 1 > kMaxMemberTypes)
        return limitText("部材種類数", m.MemberTypeCount + 1, kMaxMemberTypes);
    const auto section = SteelSectionProperties(m, kind, row, SquarePipeShear::HalfArea);
    if (!section) return "形鋼を選択してください。";
    type = ++m.MemberTypeCount;
    storeSteelSection(m, type, *section);
    ++m.SteelTypeCount;
    return {};
}

} // namespace rahmen

// ---- undo history

namespace rahmen {
namespace {

// Every text of the model, numbered in the fixed order of Model::forEachText.
template <class M> auto textsOf(M& m) {
    using Text = std::conditional_t<std::is_const_v<M>, const std::string, std::string>;
    std::vector<Text*> texts;
    texts.reserve(Model::kTextCount);
    Model::forEachText(m, [&texts](Text& text) { texts.push_back(&text); });
    return texts;
}

// The plain numbers of a model as bytes (ModelNumbers is trivially copyable,
// so they may be compared and copied as such).
const unsigned char* bytesOf(const Model& m) {
    return reinterpret_cast<const unsigned char*>(static_cast<const ModelNumbers*>(&m));
}
unsigned char* bytesOf(Model& m) {
    return reinterpret_cast<unsigned char*>(static_cast<ModelNumbers*>(&m));
}

// The first byte at or after i (below end) in which x and y differ, else end.
// Equal blocks are skipped whole.
std::size_t nextDifference(const unsigned char* x, const unsigned char* y, std::size_t i,
                           std::size_t end) {
    constexpr std::size_t kBlock = 256;
    while (i < end) {
        if (i % kBlock == 0 && end - i >= kBlock) {
            if (std::memcmp(x + i, y + i, kBlock) == 0) {
                i += kBlock;
                continue;
            }
        }
        if (x[i] != y[i]) return i;
        ++i;
    }
    return end;
}

// Makes `to` equal to `from`. With a record, the bytes and texts of `to` that
// change are kept there first. Runs of changed bytes fewer than kJoin bytes
// apart are kept as one run, which costs less than a run's header.
template <class Record> void makeEqual(Model& to, const Model& from, Record* record) {
    constexpr std::size_t kJoin = 8;
    unsigned char* x = bytesOf(to);
    const unsigned char* y = bytesOf(from);
    {
        constexpr std::size_t end = sizeof(ModelNumbers);
        std::size_t i = 0;
        while ((i = nextDifference(x, y, i, end)) < end) {
            std::size_t last = i + 1;
            for (std::size_t j = last; j < end && j < last + kJoin; ++j)
                if (x[j] != y[j]) last = j + 1;
            if (record) {
                record->runs.push_back(static_cast<std::uint32_t>(i));
                record->runs.push_back(static_cast<std::uint32_t>(last - i));
                record->bytes.insert(record->bytes.end(), x + i, x + last);
            }
            std::memcpy(x + i, y + i, last - i);
            i = last;
        }
    }
    const auto toTexts = textsOf(to);
    const auto fromTexts = textsOf(from);
    for (std::size_t t = 0; t < toTexts.size(); ++t) {
        if (*toTexts[t] == *fromTexts[t]) continue;
        if (record) record->texts.emplace_back(static_cast<std::uint32_t>(t), *toTexts[t]);
        *toTexts[t] = *fromTexts[t];
    }
}

} // namespace

std::size_t EditHistory::Step::size() const {
    std::size_t n = sizeof(Step) + runs.capacity() * sizeof(runs[0]) + bytes.capacity() +
                    texts.capacity() * sizeof(texts[0]);
    for (const auto& t : texts)
        n += t.second.capacity();
    return n;
}

EditHistory::EditHistory(std::size_t memoryLimit) : limit_(memoryLimit) {}
EditHistory::~EditHistory() = default;

void EditHistory::clear() {
    steps_.clear();
    open_ = false;
    dropped_ = false;
    stepBytes_ = 0;
}

void EditHistory::begin(const Model& model) {
    if (!last_) {
        last_ = std::make_unique<Model>(model);
    } else if (open_) {
        // The open step ends here: it changed *last_ into the model as it is now.
        Step step;
        makeEqual(*last_, model, &step);
        step.runs.shrink_to_fit();
        step.bytes.shrink_to_fit();
        stepBytes_ += step.size();
        steps_.push_back(std::move(step));
        keepWithinLimit();
    } else {
        makeEqual<Step>(*last_, model, nullptr);
    }
    open_ = true;
}

void EditHistory::cancel(Model& model) {
    if (!open_) return;
    makeEqual<Step>(model, *last_, nullptr);
    open_ = false;
}

bool EditHistory::undo(Model& model) {
    if (open_) {
        cancel(model);
        return true;
    }
    if (steps_.empty()) return false;
    const Step& step = steps_.back();
    unsigned char* to = bytesOf(model);
    std::size_t at = 0;
    for (std::size_t r = 0; r + 1 < step.runs.size(); r += 2) {
        std::memcpy(to + step.runs[r], step.bytes.data() + at, step.runs[r + 1]);
        at += step.runs[r + 1];
    }
    const auto texts = textsOf(model);
    for (const auto& [t, text] : step.texts)
        *texts[t] = text;
    stepBytes_ -= step.size();
    steps_.pop_back();
    makeEqual<Step>(*last_, model, nullptr);
    return true;
}

std::size_t EditHistory::bytes() const {
    return stepBytes_ + (last_ ? sizeof(Model) : 0);
}

void EditHistory::keepWithinLimit() {
    while (stepBytes_ > limit_ && !steps_.empty()) {
        stepBytes_ -= steps_.front().size();
        steps_.pop_front();
        dropped_ = true;
    }
}

} // namespace rahmen
