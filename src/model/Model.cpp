#include "model/Model.h"

#include <algorithm>
#include <filesystem>
#include <memory>

namespace rahmen {

namespace {

template <class A> void zero(A& table) {
    table.fill({});
}

bool anyPin(int16_t x, int16_t y, int16_t z) {
    return x == -1 || y == -1 || z == -1;
}

bool anySpring(const std::array<float, 7>& k) {
    return std::any_of(k.begin() + 1, k.end(), [](float v) { return v != 0.0f; });
}

} // namespace

void Model::resetAll() {
    // Keep what survives a reset, clear everything by assigning a fresh model,
    // then put the survivors back. This cannot forget a table added later.
    auto shearY = TypeShearAreaY;
    auto shearZ = TypeShearAreaZ;
    auto uniform = MemberUniformLoad;
    auto hShapes = std::move(HShapeTable);
    auto squares = std::move(SquarePipeTable);
    auto rounds = std::move(RoundPipeTable);

    const float unitFactor = UnitFactor;           // the unit system is the main menu's to set
    *this = std::move(*std::make_unique<Model>()); // the model is too large for the stack
    UnitFactor = unitFactor;

    TypeShearAreaY = shearY;
    TypeShearAreaZ = shearZ;
    MemberUniformLoad = uniform;
    HShapeTable = std::move(hShapes);
    SquarePipeTable = std::move(squares);
    RoundPipeTable = std::move(rounds);
}

void Model::resetAnalysis() {
    zero(MemberLoadFlag);
    zero(MemberEndForce);
    zero(NodeLoad);
    zero(NodeDisplacement);
    zero(NodeLoadFlag);
    LoadedNodeCount = 0;
    LoadedMemberCount = 0;
    AnalysisFileWritten = 0;
    AnalysisDone = 0;
}

void Model::copyTypeToMember(int m, int t) {
    MemberArea[m] = TypeArea[t];
    MemberShearAreaY[m] = TypeShearAreaY[t];
    MemberShearAreaZ[m] = TypeShearAreaZ[t];
    MemberIy[m] = TypeIy[t];
    MemberIz[m] = TypeIz[t];
    MemberJ[m] = TypeJ[t];
}

void Model::updateEndSummaries(int m) {
    auto follow = [](int16_t& summary, bool now, int16_t& count) {
        const int16_t value = now ? 1 : 0;
        if (summary == 0 && value == 1) ++count;
        if (summary == 1 && value == 0) --count;
        summary = value;
    };
    follow(MemberStartPinned[m], anyPin(PinStartX[m], PinStartY[m], PinStartZ[m]), PinnedEndCount);
    follow(MemberEndPinned[m], anyPin(PinEndX[m], PinEndY[m], PinEndZ[m]), PinnedEndCount);
    follow(MemberStartSprung[m], anySpring(SpringStart[m]), SprungEndCount);
    follow(MemberEndSprung[m], anySpring(SpringEnd[m]), SprungEndCount);
}

void Model::recountEndSummaries() {
    PinnedEndCount = 0;
    SprungEndCount = 0;
    for (int m = 1; m <= MemberCount; ++m) {
        PinnedEndCount += MemberStartPinned[m] + MemberEndPinned[m];
        SprungEndCount += MemberStartSprung[m] + MemberEndSprung[m];
    }
}

void countSectionKindChange(Model& m, int oldKind, int newKind) {
    const bool wasRect = oldKind == kSectionRectangle, isRect = newKind == kSectionRectangle;
    if (wasRect && !isRect && m.RectTypeCount > 0) --m.RectTypeCount;
    if (isSteelKind(oldKind) && !isSteelKind(newKind) && m.SteelTypeCount > 0) --m.SteelTypeCount;
    if (!wasRect && isRect) ++m.RectTypeCount;
    if (!isSteelKind(oldKind) && isSteelKind(newKind)) ++m.SteelTypeCount;
}

int drawableNodeCount(const Model& model) {
    return std::clamp<int>(model.NodeCount, 0, kMaxNodes);
}

int drawableMemberCount(const Model& model) {
    return std::clamp<int>(model.MemberCount, 0, kMaxMembers);
}

bool memberDrawable(const Model& model, int m) {
    if (m < 1 || m > drawableMemberCount(model)) return false;
    const int nodes = drawableNodeCount(model);
    const int s = model.MemberStartNode[m], e = model.MemberEndNode[m];
    return s >= 1 && s <= nodes && e >= 1 && e <= nodes;
}

std::string fileNameOfPath(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string dataNameFromPath(const std::string& path) {
    std::string name = fileNameOfPath(path);
    name.resize(name.size() >= 4 ? name.size() - 4 : 0);
    return name;
}

std::string modelFileName(const Model& m, const char* extension) {
    const std::string name = m.DataName + extension;
    if (m.DataFolder.empty()) return name;
    return (std::filesystem::path(m.DataFolder) / name).string();
}

} // namespace rahmen
