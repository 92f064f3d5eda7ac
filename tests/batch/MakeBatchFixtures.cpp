// Writes the fixture files of the rahmen-batch tests with the program's own
// writers:
//
//   make_batch_fixtures FOLDER
//
// cantilevers.fdt     a column and a horizontal beam, each a cantilever from its
//                     own support (no springs: "共通単位")
// cantilevers_loads.adt  its loads (SI), one of them on the support node 1
// cantilevers_loads_old.adt  the same numbers in a file of the older units
// support_loads.adt   a load on its support node 1 only
// portal.fdt          a one-storey space frame of four columns and four beams
//                     without torsion constants, a beam pinned about y at one
//                     end, a rotational spring and a turned column (SI, springs)
// portal_loads.adt    its loads in SI units
// portal_loads_old.adt   the same numbers in a file of the older units
// unstable.fdt        a cantilever released for torsion at its support
// unstable_loads.adt  a uniform load on it
// broken.fdt          cantilevers.fdt with a coordinate that is not a number
//
// The files are kept in the repository; run this again only when the fixtures
// are to change.

#include "analysis/AnalysisFile.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "platform/Clock.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace rahmen;

namespace {

const DateTime kWhen{2026, 12, 8, 10, 20, 30};

struct Builder {
    std::unique_ptr<Model> owner = std::make_unique<Model>();
    Model& m = *owner;

    int node(float x, float y, float z, bool support = false) {
        const int n = ++m.NodeCount;
        m.NodeX[n] = x;
        m.NodeY[n] = y;
        m.NodeZ[n] = z;
        if (support) {
            m.NodeIsSupport[n] = -1;
            ++m.SupportCount;
        }
        return n;
    }
    int type(float A, float Iy, float Iz, float J) {
        const int t = ++m.MemberTypeCount;
        m.TypeArea[t] = A;
        m.TypeIy[t] = Iy;
        m.TypeIz[t] = Iz;
        m.TypeJ[t] = J;
        return t;
    }
    int member(int i, int j, int t, float angle = 0) {
        const int k = ++m.MemberCount;
        m.MemberStartNode[k] = static_cast<int16_t>(i);
        m.MemberEndNode[k] = static_cast<int16_t>(j);
        m.MemberTypeNo[k] = static_cast<int16_t>(t);
        m.copyTypeToMember(k, t);
        m.MemberAngle[k] = angle;
        return k;
    }
    // Six values: forces, then moments in force·m (held ×100).
    void load(int n, std::vector<float> v) {
        for (int k = 0; k < 6; ++k)
            m.NodeLoad[6 * n - 5 + k] = k < 3 ? v[k] : 100.0f * v[k];
        m.NodeLoadFlag[n] = 1;
        ++m.LoadedNodeCount;
    }
    void uniform(int k, float wy, float wz) {
        m.MemberUniformLoad[k][1] = wy;
        m.MemberUniformLoad[k][2] = wz;
        m.MemberLoadFlag[k] = 1;
        m.LoadedMemberCount += 1;
    }
};

bool save(const std::string& folder, const std::string& name, const std::string& bytes) {
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out << bytes;
    if (!out) std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), name.c_str());
    return static_cast<bool>(out);
}

std::string frame(Model& m, const std::string& name) {
    m.DataName = name;
    m.recountEndSummaries();
    return frameFileBytes(m, kWhen);
}

std::string loads(Model& m, const std::string& name, float unitFactor) {
    m.DataName = name;
    m.UnitFactor = unitFactor;
    return analysisReport(m, {}, kWhen);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_batch_fixtures FOLDER\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;

    {
        Builder b;
        b.node(0, 0, 0, true);
        b.node(0, 0, 300);
        b.node(600, 0, 0, true);
        b.node(900, 0, 0);
        const int column = b.type(100, 20000, 10000, 30000);
        const int beam = b.type(60, 30000, 2000, 50);
        b.member(1, 2, column);
        b.member(3, 4, beam);
        const std::string fdt = frame(b.m, "cantilevers");
        ok &= save(dir, "cantilevers.fdt", fdt);

        b.load(1, {99, 0, 0, 0, 0, 0}); // on the support: not taken over
        ok &= save(dir, "support_loads.adt", loads(b.m, "support_loads", kSiUnitFactor));
        b.load(2, {10, 0, -50, 0, 0, 0});
        b.load(4, {0, 0, 0, 1.5f, 0, 0});
        b.uniform(2, 0, -20);
        ok &= save(dir, "cantilevers_loads.adt", loads(b.m, "cantilevers_loads", kSiUnitFactor));
        ok &= save(dir, "cantilevers_loads_old.adt", loads(b.m, "cantilevers_loads_old", 1.0f));

        // The Z coordinate of node 2, the only 300 of the file.
        std::string broken = fdt;
        const std::string field = "            300\r\n";
        const auto at = broken.find(field);
        if (at == std::string::npos) return 1;
        broken.replace(at, field.size(), "            3x0\r\n");
        ok &= save(dir, "broken.fdt", broken);
    }
    {
        Builder b;
        b.node(0, 0, 0, true);
        b.node(600, 0, 0, true);
        b.node(600, 400, 0, true);
        b.node(0, 400, 0, true);
        b.node(0, 0, 350);
        b.node(600, 0, 350);
        b.node(600, 400, 350);
        b.node(0, 400, 350);
        const int column = b.type(150, 40000, 30000, 0);
        const int beam = b.type(80, 50000, 4000, 0);
        b.member(1, 5, column);
        b.member(2, 6, column);
        b.member(3, 7, column, 0.5f);
        b.member(4, 8, column);
        const int pinned = b.member(5, 6, beam);
        b.member(6, 7, beam);
        const int sprung = b.member(7, 8, beam);
        b.member(8, 5, beam);
        b.m.PinEndY[pinned] = -1;
        b.m.MemberEndPinned[pinned] = 1;
        b.m.SpringStart[sprung][5] = 250000; // 2500 kN·m/rad about member y
        b.m.MemberStartSprung[sprung] = 1;
        b.m.UnitFactor = kSiUnitFactor;
        ok &= save(dir, "portal.fdt", frame(b.m, "portal"));

        b.load(5, {20, 0, 0, 0, 0, 0});
        b.load(6, {0, -10, 0, 0, 0, 0});
        b.load(7, {0, 0, 0, 0, 0, 2.5f});
        b.load(8, {0, 0, -30, 0, 0, 0});
        b.uniform(pinned, 0, -15);
        b.uniform(6, 3, -12);
        ok &= save(dir, "portal_loads.adt", loads(b.m, "portal_loads", kSiUnitFactor));
        ok &= save(dir, "portal_loads_old.adt", loads(b.m, "portal_loads_old", 1.0f));
    }
    {
        Builder b;
        b.node(0, 0, 0, true);
        b.node(400, 0, 0);
        const int t = b.type(60, 3000, 2000, 500);
        b.member(1, 2, t);
        b.m.PinStartX[1] = -1;
        b.m.MemberStartPinned[1] = 1;
        ok &= save(dir, "unstable.fdt", frame(b.m, "unstable"));
        b.uniform(1, 0, -10);
        ok &= save(dir, "unstable_loads.adt", loads(b.m, "unstable_loads", kSiUnitFactor));
    }
    return ok ? 0 : 1;
}
