#include "ModelValues.h"

#include "model/Program.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

namespace rahmen {

namespace {

struct Accessor {
    int dims = 0; // 0 scalar, 1 or 2 indices
    int n1 = 0;   // largest first index
    int n2 = 0;   // largest second index
    bool integral = false;
    bool single = false;
    std::function<double(Program&, int, int)> get;
    std::function<void(Program&, int, int, double)> set;
};

template <class T> void describe(Accessor& a) {
    a.integral = std::is_integral_v<T>;
    a.single = std::is_same_v<T, float>;
}

template <class T> Accessor scalar(T Model::*field) {
    Accessor a;
    describe<T>(a);
    a.get = [field](Program& p, int, int) { return double(p.model.*field); };
    a.set = [field](Program& p, int, int, double v) { p.model.*field = static_cast<T>(v); };
    return a;
}

template <class T> Accessor programScalar(T Program::*field) {
    Accessor a;
    describe<T>(a);
    a.get = [field](Program& p, int, int) { return double(p.*field); };
    a.set = [field](Program& p, int, int, double v) { p.*field = static_cast<T>(v); };
    return a;
}

template <class T, std::size_t N> Accessor table(std::array<T, N> Model::*field) {
    Accessor a;
    describe<T>(a);
    a.dims = 1;
    a.n1 = int(N) - 1;
    a.get = [field](Program& p, int i, int) { return double((p.model.*field)[i]); };
    a.set = [field](Program& p, int i, int, double v) { (p.model.*field)[i] = static_cast<T>(v); };
    return a;
}

template <class T, std::size_t N, std::size_t K>
Accessor table2(std::array<std::array<T, K>, N> Model::*field) {
    Accessor a;
    describe<T>(a);
    a.dims = 2;
    a.n1 = int(N) - 1;
    a.n2 = int(K) - 1;
    a.get = [field](Program& p, int i, int k) { return double((p.model.*field)[i][k]); };
    a.set = [field](Program& p, int i, int k, double v) {
        (p.model.*field)[i][k] = static_cast<T>(v);
    };
    return a;
}

const std::map<std::string, Accessor>& accessors() {
    static const std::map<std::string, Accessor> all = [] {
        std::map<std::string, Accessor> m;
// Fields of the model's numbers, taken as members of Model itself.
#define FIELD(name) static_cast<decltype(Model::name) Model::*>(&Model::name)
#define SCALAR(name) m[#name] = scalar(FIELD(name))
#define TABLE(name) m[#name] = table(FIELD(name))
#define TABLE2(name) m[#name] = table2(FIELD(name))
        SCALAR(NodeCount);
        SCALAR(MemberTypeCount);
        SCALAR(MemberCount);
        SCALAR(SupportCount);
        SCALAR(PinnedEndCount);
        SCALAR(SprungEndCount);
        SCALAR(RectTypeCount);
        SCALAR(SteelTypeCount);
        SCALAR(UnitFactor);
        SCALAR(YoungModulus);
        SCALAR(ShearModulus);
        SCALAR(ShearShapeFactor);
        SCALAR(CurrentMember);
        SCALAR(LoadedNodeCount);
        SCALAR(LoadedMemberCount);
        SCALAR(AnalysisDone);
        SCALAR(CoordFileState);
        SCALAR(FrameFileState);
        SCALAR(AnalysisFileWritten);
        SCALAR(GridGenerated);
        SCALAR(FrameReady);
        TABLE(NodeX);
        TABLE(NodeY);
        TABLE(NodeZ);
        TABLE(NodeIsSupport);
        TABLE(TypeArea);
        TABLE(TypeIy);
        TABLE(TypeIz);
        TABLE(TypeJ);
        TABLE(TypeShearAreaY);
        TABLE(TypeShearAreaZ);
        TABLE(TypeSectionKind);
        TABLE(TypeSteelNo);
        TABLE(TypeRectA);
        TABLE(TypeRectB);
        TABLE(MemberStartNode);
        TABLE(MemberEndNode);
        TABLE(MemberTypeNo);
        TABLE(MemberAngle);
        TABLE(MemberArea);
        TABLE(MemberIy);
        TABLE(MemberIz);
        TABLE(MemberJ);
        TABLE(MemberShearAreaY);
        TABLE(MemberShearAreaZ);
        TABLE(PinStartX);
        TABLE(PinStartY);
        TABLE(PinStartZ);
        TABLE(PinEndX);
        TABLE(PinEndY);
        TABLE(PinEndZ);
        TABLE(MemberStartPinned);
        TABLE(MemberEndPinned);
        TABLE(MemberStartSprung);
        TABLE(MemberEndSprung);
        TABLE2(SpringStart);
        TABLE2(SpringEnd);
        TABLE(NodeLoad);
        TABLE(NodeLoadFlag);
        TABLE2(MemberUniformLoad);
        TABLE(MemberLoadFlag);
        TABLE(NodeDisplacement);
        TABLE2(MemberEndForce);
        TABLE2(SpringRotation);
        TABLE2(PinRotation);
        TABLE2(MemberLoadMoment);
#undef SCALAR
#undef TABLE
#undef TABLE2
#undef FIELD
        m["MenuRequest"] = programScalar(&Program::MenuRequest);
        m["FontOffset"] = programScalar(&Program::FontOffset);
        m["SkipAnalysisFile"] = programScalar(&Program::SkipAnalysisFile);
        m["PinSpringChoice"] = programScalar(&Program::PinSpringChoice);
        m["TypeFormMode"] = programScalar(&Program::TypeFormMode);
        m["LoadInputMode"] = programScalar(&Program::LoadInputMode);
        return m;
    }();
    return all;
}

bool parseInt(const std::string& text, int& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < -100000 || v > 100000) return false;
    out = int(v);
    return true;
}

// Splits "Name[i,k]" and finds the accessor; an error text, or "".
std::string locate(const std::string& ref, const Accessor*& accessor, int& i, int& k) {
    const auto open = ref.find('[');
    const std::string name = ref.substr(0, open);
    auto found = accessors().find(name);
    if (found == accessors().end()) return "no model value named " + name;
    accessor = &found->second;
    int given = 0;
    i = k = 0;
    if (open != std::string::npos) {
        if (ref.back() != ']') return "bad index in " + ref;
        const std::string inside = ref.substr(open + 1, ref.size() - open - 2);
        const auto comma = inside.find(',');
        if (!parseInt(inside.substr(0, comma), i)) return "bad index in " + ref;
        given = 1;
        if (comma != std::string::npos) {
            if (!parseInt(inside.substr(comma + 1), k)) return "bad index in " + ref;
            given = 2;
        }
    }
    if (given != accessor->dims)
        return name + " takes " + std::to_string(accessor->dims) + " index(es)";
    if (given >= 1 && (i < 1 || i > accessor->n1))
        return ref + ": index outside 1.." + std::to_string(accessor->n1);
    if (given == 2 && (k < 1 || k > accessor->n2))
        return ref + ": index outside 1.." + std::to_string(accessor->n2);
    return "";
}

} // namespace

std::string readModelValue(Program& program, const std::string& ref, ModelValue& out) {
    out = ModelValue{};
    if (ref == "DataName") {
        out.text = true;
        out.string = program.model.DataName;
        return "";
    }
    const Accessor* a = nullptr;
    int i = 0, k = 0;
    if (std::string error = locate(ref, a, i, k); !error.empty()) return error;
    out.integral = a->integral;
    out.single = a->single;
    out.number = a->get(program, i, k);
    return "";
}

std::string writeModelValue(Program& program, const std::string& ref, const std::string& value) {
    if (ref == "DataName") {
        program.model.DataName = value;
        return "";
    }
    const Accessor* a = nullptr;
    int i = 0, k = 0;
    if (std::string error = locate(ref, a, i, k); !error.empty()) return error;
    char* end = nullptr;
    const double v = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !std::isfinite(v)) return "not a number: " + value;
    if (a->integral && (v != std::floor(v) || v < -32768 || v > 32767))
        return ref + " holds whole numbers of 16 bits, not " + value;
    a->set(program, i, k, v);
    return "";
}

std::string formatModelValue(const ModelValue& value) {
    if (value.text) return "\"" + value.string + "\"";
    char buffer[64];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, value.number);
        const double back = std::strtod(buffer, nullptr);
        if (value.single ? float(back) == float(value.number) : back == value.number) break;
    }
    return buffer;
}

} // namespace rahmen
