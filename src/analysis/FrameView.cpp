#include "analysis/FrameView.h"

#include "model/Model.h"

#include <algorithm>
#include <stdexcept>

namespace rahmen {

namespace {

template <class T, std::size_t N> Column<T> column(std::array<T, N>& table) {
    return {table.data(), N};
}

template <class T> Column<T> column(std::vector<T>& table) {
    return {table.data(), table.size()};
}

// The fields both a model and the tables name alike.
template <class Source> FrameView viewOf(Source& s) {
    FrameView v;
    v.NodeCount = s.NodeCount;
    v.MemberCount = s.MemberCount;
    v.UnitFactor = s.UnitFactor;
    v.YoungModulus = s.YoungModulus;
    v.ShearModulus = s.ShearModulus;
    v.ShearShapeFactor = s.ShearShapeFactor;
    v.LoadedMemberCount = s.LoadedMemberCount;
    v.NodeX = column(s.NodeX);
    v.NodeY = column(s.NodeY);
    v.NodeZ = column(s.NodeZ);
    v.NodeIsSupport = column(s.NodeIsSupport);
    v.MemberStartNode = column(s.MemberStartNode);
    v.MemberEndNode = column(s.MemberEndNode);
    v.MemberAngle = column(s.MemberAngle);
    v.MemberArea = column(s.MemberArea);
    v.MemberIy = column(s.MemberIy);
    v.MemberIz = column(s.MemberIz);
    v.MemberJ = column(s.MemberJ);
    v.MemberShearAreaY = column(s.MemberShearAreaY);
    v.MemberShearAreaZ = column(s.MemberShearAreaZ);
    v.PinStartX = column(s.PinStartX);
    v.PinStartY = column(s.PinStartY);
    v.PinStartZ = column(s.PinStartZ);
    v.PinEndX = column(s.PinEndX);
    v.PinEndY = column(s.PinEndY);
    v.PinEndZ = column(s.PinEndZ);
    v.MemberStartPinned = column(s.MemberStartPinned);
    v.MemberEndPinned = column(s.MemberEndPinned);
    v.SpringStart = column(s.SpringStart);
    v.SpringEnd = column(s.SpringEnd);
    v.NodeLoad = column(s.NodeLoad);
    v.MemberUniformLoad = column(s.MemberUniformLoad);
    v.MemberLoadFlag = column(s.MemberLoadFlag);
    v.NodeDisplacement = column(s.NodeDisplacement);
    v.MemberEndForce = column(s.MemberEndForce);
    v.SpringRotation = column(s.SpringRotation);
    v.PinRotation = column(s.PinRotation);
    v.MemberLoadMoment = column(s.MemberLoadMoment);
    v.EquivalentNodeLoad = column(s.EquivalentNodeLoad);
    v.SupportEquivalentLoad = column(s.SupportEquivalentLoad);
    v.AnalysisDone = &s.AnalysisDone;
    return v;
}

} // namespace

int FrameView::nodeRows() const {
    return std::min({NodeX.last(), NodeY.last(), NodeZ.last(), NodeIsSupport.last(),
                     NodeLoad.last() / 6, NodeDisplacement.last() / 6});
}

int FrameView::memberRows() const {
    return std::min({MemberStartNode.last(), MemberEndNode.last(), MemberArea.last(),
                     MemberEndForce.last(), MemberLoadMoment.last(), SpringStart.last()});
}

FrameView frameView(Model& model) {
    return viewOf(model);
}

FrameView frameView(const Model& model) {
    // Only read: the functions that take a const model never write through it.
    return viewOf(const_cast<Model&>(model));
}

void FrameTables::resize(int nodes, int members) {
    // Node numbers are kept in 16 bits, as the model keeps them.
    if (nodes < 0 || members < 0 || nodes > INT16_MAX)
        throw std::length_error("frame tables: node or member count out of range");
    const auto n = static_cast<std::size_t>(nodes) + 1;
    const auto d = 6 * static_cast<std::size_t>(nodes) + 1;
    const auto m = static_cast<std::size_t>(members) + 1;
    auto fresh = [](auto& table, std::size_t size) { table.assign(size, {}); };
    NodeCount = nodes;
    MemberCount = members;
    for (auto* t : {&NodeX, &NodeY, &NodeZ})
        fresh(*t, n);
    fresh(NodeIsSupport, n);
    for (auto* t : {&MemberStartNode, &MemberEndNode, &PinStartX, &PinStartY, &PinStartZ, &PinEndX,
                    &PinEndY, &PinEndZ, &MemberStartPinned, &MemberEndPinned})
        fresh(*t, m);
    for (auto* t : {&MemberAngle, &MemberArea, &MemberIy, &MemberIz, &MemberJ, &MemberShearAreaY,
                    &MemberShearAreaZ, &MemberLoadFlag})
        fresh(*t, m);
    fresh(SpringStart, m);
    fresh(SpringEnd, m);
    fresh(MemberUniformLoad, m);
    fresh(MemberEndForce, m);
    fresh(SpringRotation, m);
    fresh(PinRotation, m);
    fresh(MemberLoadMoment, m);
    for (auto* t : {&NodeLoad, &EquivalentNodeLoad, &SupportEquivalentLoad})
        fresh(*t, d);
    fresh(NodeDisplacement, d);
}

FrameView FrameTables::view() {
    return viewOf(*this);
}

} // namespace rahmen
