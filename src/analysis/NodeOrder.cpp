#include "analysis/NodeOrder.h"

#include "model/Model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace rahmen {

namespace {

// The members 1..memberCount(frame) and nodes 1..nodeCount(frame) that lie
// within the columns.
int memberCount(const FrameView& frame) {
    return std::clamp(frame.MemberCount, 0, frame.memberRows());
}
int nodeCount(const FrameView& frame) {
    return std::clamp(frame.NodeCount, 0, frame.nodeRows());
}

// A member that joins two different nodes of 1..nodes.
bool validMember(const FrameView& frame, int nodes, int m) {
    const int i = frame.MemberStartNode[m], j = frame.MemberEndNode[m];
    return i >= 1 && i <= nodes && j >= 1 && j <= nodes && i != j;
}

// The node graph in compressed rows: the neighbours of node n are
// adj[start[n] .. start[n + 1]), each once, in increasing number.
struct NodeGraph {
    std::vector<int> start, adj;
    int degree(int n) const { return start[n + 1] - start[n]; }
};

NodeGraph nodeGraph(const FrameView& frame) {
    const int nodes = frame.NodeCount;
    const int members = memberCount(frame), valid = nodeCount(frame);
    NodeGraph g;
    g.start.assign(static_cast<std::size_t>(nodes) + 2, 0);
    for (int m = 1; m <= members; ++m)
        if (validMember(frame, valid, m)) {
            ++g.start[frame.MemberStartNode[m] + 1];
            ++g.start[frame.MemberEndNode[m] + 1];
        }
    std::partial_sum(g.start.begin(), g.start.end(), g.start.begin());
    g.adj.resize(static_cast<std::size_t>(g.start.back()));
    std::vector<int> fill(g.start.begin(), g.start.end() - 1);
    for (int m = 1; m <= members; ++m)
        if (validMember(frame, valid, m)) {
            const int i = frame.MemberStartNode[m];
            const int j = frame.MemberEndNode[m];
            g.adj[static_cast<std::size_t>(fill[i]++)] = j;
            g.adj[static_cast<std::size_t>(fill[j]++)] = i;
        }
    // Members doubled between the same two nodes count once.
    std::vector<int> start(g.start.size(), 0);
    int out = 0;
    for (int n = 1; n <= nodes; ++n) {
        auto first = g.adj.begin() + g.start[n];
        auto last = g.adj.begin() + g.start[n + 1];
        std::sort(first, last);
        last = std::unique(first, last);
        start[n] = out;
        for (auto it = first; it != last; ++it)
            g.adj[static_cast<std::size_t>(out++)] = *it;
    }
    start[static_cast<std::size_t>(nodes) + 1] = out;
    g.adj.resize(static_cast<std::size_t>(out));
    g.start = std::move(start);
    return g;
}

// Breadth-first levels from `root`: the nodes in visiting order (into `queue`,
// which is cleared) and the number of levels. `mark` holds `stamp` for the
// nodes reached.
int levels(const NodeGraph& g, int root, std::vector<int>& mark, int stamp, std::vector<int>& queue,
           int& lastLevelBegin) {
    queue.clear();
    queue.push_back(root);
    mark[root] = stamp;
    int depth = 0;
    std::size_t begin = 0;
    while (begin < queue.size()) {
        const std::size_t end = queue.size();
        lastLevelBegin = static_cast<int>(begin);
        ++depth;
        for (std::size_t k = begin; k < end; ++k)
            for (int e = g.start[queue[k]]; e < g.start[queue[k] + 1]; ++e) {
                const int o = g.adj[static_cast<std::size_t>(e)];
                if (mark[o] != stamp) {
                    mark[o] = stamp;
                    queue.push_back(o);
                }
            }
        begin = end;
    }
    return depth;
}

// A node far from every other of its connected part (George and Liu): the
// root is moved to a least-connected node of its last level while that makes
// the level structure deeper.
int pseudoPeripheral(const NodeGraph& g, int root, std::vector<int>& mark, int& stamp) {
    std::vector<int> queue;
    int lastBegin = 0;
    int depth = levels(g, root, mark, ++stamp, queue, lastBegin);
    for (;;) {
        int best = queue[static_cast<std::size_t>(lastBegin)];
        for (std::size_t k = static_cast<std::size_t>(lastBegin); k < queue.size(); ++k)
            if (g.degree(queue[k]) < g.degree(best)) best = queue[k];
        const int d = levels(g, best, mark, ++stamp, queue, lastBegin);
        if (d <= depth) return root;
        root = best;
        depth = d;
    }
}

// Positions of the nodes sorted by their coordinates along the axes a, b, c in
// that order (then by number), a sweep through the frame along axis a.
std::vector<int> coordinateSweep(const FrameView& frame, const std::array<int, 3>& axes) {
    const int nodes = frame.NodeCount;
    const float* coord[3] = {frame.NodeX.data, frame.NodeY.data, frame.NodeZ.data};
    std::vector<int> seq(static_cast<std::size_t>(nodes));
    std::iota(seq.begin(), seq.end(), 1);
    std::sort(seq.begin(), seq.end(), [&](int p, int q) {
        for (int a : axes)
            if (coord[a][p] != coord[a][q]) return coord[a][p] < coord[a][q];
        return p < q;
    });
    std::vector<int> position(static_cast<std::size_t>(nodes) + 1, 0);
    for (int k = 0; k < nodes; ++k)
        position[static_cast<std::size_t>(seq[static_cast<std::size_t>(k)])] = k;
    return position;
}

} // namespace

int positionSpread(const FrameView& frame, const std::vector<int>& position) {
    int spread = 0;
    const int members = memberCount(frame), nodes = nodeCount(frame);
    for (int m = 1; m <= members; ++m)
        if (validMember(frame, nodes, m))
            spread = std::max(spread, std::abs(position[frame.MemberStartNode[m]] -
                                               position[frame.MemberEndNode[m]]));
    return spread;
}

std::vector<int> reverseCuthillMcKee(const FrameView& frame) {
    const int nodes = std::max<int>(frame.NodeCount, 0);
    const NodeGraph g = nodeGraph(frame);
    std::vector<int> mark(static_cast<std::size_t>(nodes) + 1, 0);
    int stamp = 0;
    std::vector<char> placed(static_cast<std::size_t>(nodes) + 1, 0);
    std::vector<int> seq; // Cuthill–McKee order
    seq.reserve(static_cast<std::size_t>(nodes));

    // Connected parts in turn, each from its least-connected unplaced node.
    std::vector<int> byDegree(static_cast<std::size_t>(nodes));
    std::iota(byDegree.begin(), byDegree.end(), 1);
    std::stable_sort(byDegree.begin(), byDegree.end(),
                     [&](int p, int q) { return g.degree(p) < g.degree(q); });
    std::vector<int> next;
    for (int candidate : byDegree) {
        if (placed[candidate] || g.degree(candidate) == 0) continue;
        const int root = pseudoPeripheral(g, candidate, mark, stamp);
        std::size_t head = seq.size();
        seq.push_back(root);
        placed[root] = 1;
        while (head < seq.size()) {
            const int n = seq[head++];
            next.clear();
            for (int e = g.start[n]; e < g.start[n + 1]; ++e) {
                const int o = g.adj[static_cast<std::size_t>(e)];
                if (!placed[o]) {
                    placed[o] = 1;
                    next.push_back(o);
                }
            }
            std::stable_sort(next.begin(), next.end(),
                             [&](int p, int q) { return g.degree(p) < g.degree(q); });
            seq.insert(seq.end(), next.begin(), next.end());
        }
    }
    for (int n = 1; n <= nodes; ++n)
        if (!placed[n]) seq.push_back(n);

    std::vector<int> position(static_cast<std::size_t>(nodes) + 1, 0);
    for (int k = 0; k < nodes; ++k)
        position[static_cast<std::size_t>(seq[static_cast<std::size_t>(k)])] = nodes - 1 - k;
    return position;
}

NodeOrder chooseNodeOrder(const FrameView& frame) {
    const int nodes = std::max<int>(frame.NodeCount, 0);
    NodeOrder best;
    best.position.resize(static_cast<std::size_t>(nodes) + 1);
    for (int n = 1; n <= nodes; ++n)
        best.position[static_cast<std::size_t>(n)] = n - 1;
    best.maxDifference = positionSpread(frame, best.position);

    auto consider = [&](std::vector<int> position) {
        const int spread = positionSpread(frame, position);
        if (spread < best.maxDifference) {
            best.position = std::move(position);
            best.maxDifference = spread;
        }
    };
    consider(reverseCuthillMcKee(frame));
    // The sweeps sort by coordinates, which needs them to be ordinary numbers.
    for (int n = 1; n <= nodes; ++n)
        if (!std::isfinite(frame.NodeX[n]) || !std::isfinite(frame.NodeY[n]) ||
            !std::isfinite(frame.NodeZ[n]))
            return best;
    const std::array<int, 3> sweeps[] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2},
                                         {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& axes : sweeps)
        consider(coordinateSweep(frame, axes));
    return best;
}

int positionSpread(const Model& model, const std::vector<int>& position) {
    return positionSpread(frameView(model), position);
}

std::vector<int> reverseCuthillMcKee(const Model& model) {
    return reverseCuthillMcKee(frameView(model));
}

NodeOrder chooseNodeOrder(const Model& model) {
    return chooseNodeOrder(frameView(model));
}

} // namespace rahmen
