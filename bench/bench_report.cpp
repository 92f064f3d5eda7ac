// Times the calculation report's PDF of the largest grid (10 × 10 bays, 8
// storeys: 1089 nodes, 2728 members), as `rahmen-batch --pdf` writes it:
//
//   bench_report [runs]      default 3
//
// The grid of bench_analysis with steel sections from the section tables
// (columns □, beams H, so that every member is checked), its loads as the
// cases G (the beam loads), KX and KY (the floor loads in X and in Y) and the
// building code's combinations, analysed with the member and storey checks by
// rahmen-batch's own code in a temporary folder. Then, per report: building
// the document (tables and pictures), laying out and painting the PDF, and the
// text layer's repair, with its pages and size — once with every section,
// case, combination and plane (what --pdf writes) and once with every plane
// for one combination (S1).

#include "batch/Batch.h"
#include "batch/GridFrame.h"
#include "gui/PdfText.h"
#include "gui/ReportPdf.h"
#include "model/LoadCases.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "model/Program.h"
#include "report/Report.h"
#include "sections/Sections.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

using namespace rahmen;
namespace fs = std::filesystem;

namespace {

using Steady = std::chrono::steady_clock;

double seconds(Steady::time_point since) {
    return std::chrono::duration<double>(Steady::now() - since).count();
}

struct Timing {
    std::vector<double> build, layout, paint, repair;
    std::vector<std::pair<std::string, int>> sections; // heading: its pages
    int pages = 0;
    std::size_t bytes = 0;
    std::size_t blocks = 0, pictures = 0;
};

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void print(const char* what, const Timing& t) {
    std::printf("%s: %d pages, %.1f MB, %zu blocks (%zu pictures)\n", what, t.pages, t.bytes / 1e6,
                t.blocks, t.pictures);
    std::printf("  build the document %8.2f s\n", median(t.build));
    std::printf("  lay out and paint  %8.2f s (the layout alone %.2f s)\n", median(t.paint),
                median(t.layout));
    std::printf("  text layer repair  %8.2f s\n", median(t.repair));
    std::printf("  total              %8.2f s (medians)\n",
                median(t.build) + median(t.paint) + median(t.repair));
    std::printf("  pages per section:");
    for (const auto& [heading, pages] : t.sections)
        std::printf(" %s %d;", heading.c_str(), pages);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 3;
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // The frame with table sections, the cases and combinations as files.
    std::unique_ptr<Model> grid = gridFrame(10, 10, 8);
    Model& m = *grid;
    DAT_READ(m); // the section tables
    const auto column =
        SteelSectionProperties(m, kSectionSquarePipe, 50, SquarePipeShear::HalfArea);
    const auto beam = SteelSectionProperties(m, kSectionHShape, 30, SquarePipeShear::HalfArea);
    if (!column || !beam) {
        std::fprintf(stderr, "the section tables were not found\n");
        return 1;
    }
    storeSteelSection(m, 1, *column);
    storeSteelSection(m, 2, *beam);
    for (int k = 1; k <= m.MemberCount; ++k)
        m.copyTypeToMember(k, m.MemberTypeNo[k]);
    LoadCase all;
    takeCaseLoads(m, all);
    LoadCase g{"G", LoadKind::Dead, LoadDirection::None, {}, all.memberLoads};
    LoadCase kx{"KX", LoadKind::Seismic, LoadDirection::X, {}, {}};
    LoadCase ky{"KY", LoadKind::Seismic, LoadDirection::Y, {}, {}};
    for (const CaseNodeLoad& load : all.nodeLoads) {
        kx.nodeLoads.push_back({load.node, {load.force[0], 0, 0}, {0, 0, 0}});
        ky.nodeLoads.push_back({load.node, {0, load.force[1], 0}, {0, 0, 0}});
    }
    LoadCaseSet set;
    set.cases = {g, kx, ky};
    set.combinations = codeCombinations(set.cases, false);
    m.NodeLoad.fill(0);
    m.NodeLoadFlag.fill(0);
    m.LoadedNodeCount = 0;
    for (int k = 1; k <= m.MemberCount; ++k) {
        m.MemberUniformLoad[k][1] = m.MemberUniformLoad[k][2] = 0;
        m.MemberLoadFlag[k] = 0;
    }
    m.LoadedMemberCount = 0;
    m.DataName = "grid";

    char folderName[] = "/tmp/bench_report.XXXXXX";
    if (!mkdtemp(folderName)) return 1;
    const fs::path folder(folderName);
    std::ofstream(folder / "grid.fdt", std::ios::binary)
        << frameFileBytes(m, {2026, 1, 2, 3, 4, 5});
    std::ofstream(folder / "grid.lcd", std::ios::binary) << loadCaseFileBytes(set);
    fs::current_path(folder);

    Timing full, one;
    double analysis = 0;
    for (int run = 0; run < runs; ++run) {
        const BatchPdfWriter writer =
            [&](Program& program, const std::vector<MemberCheck>* checks,
                const StoreyCheckResult* storeys) -> std::optional<std::string> {
            ReportChecks given;
            given.members = checks;
            given.storeys = storeys;
            ReportOptions single;
            for (std::size_t i = 0; i < program.caseResults.size(); ++i)
                if (program.caseResults[i].label == "S1") single.results = {static_cast<int>(i)};
            std::optional<std::string> written;
            for (auto [options, timing] : {std::pair{ReportOptions{}, &full}, {single, &one}}) {
                auto start = Steady::now();
                const Document document =
                    buildReport(program, options, given, program.io.clock.now());
                timing->build.push_back(seconds(start));
                timing->blocks = document.blocks.size();
                timing->pictures = static_cast<std::size_t>(std::count_if(
                    document.blocks.begin(), document.blocks.end(),
                    [](const DocumentBlock& b) { return b.kind == DocumentBlock::Kind::Picture; }));
                start = Steady::now();
                {
                    // The pages of each section, from where its heading is.
                    QBuffer scratch;
                    scratch.open(QIODevice::WriteOnly);
                    QPdfWriter pdf(&scratch);
                    pdf.setResolution(300);
                    const std::vector<DocumentPage> pages = layoutDocument(pdf, document);
                    timing->layout.push_back(seconds(start));
                    timing->sections.clear();
                    for (std::size_t p = 1; p < pages.size(); ++p)
                        for (const std::string& heading :
                             document.texts(DocumentBlock::Kind::Heading))
                            for (const DocumentPageItem& item : pages[p].items)
                                if (item.text == QString::fromStdString(heading))
                                    timing->sections.emplace_back(heading, static_cast<int>(p));
                    for (std::size_t i = 0; i < timing->sections.size(); ++i)
                        timing->sections[i].second =
                            (i + 1 < timing->sections.size() ? timing->sections[i + 1].second
                                                             : static_cast<int>(pages.size())) -
                            timing->sections[i].second;
                }
                start = Steady::now();
                QBuffer buffer;
                buffer.open(QIODevice::WriteOnly);
                {
                    QPdfWriter pdf(&buffer);
                    pdf.setResolution(300);
                    timing->pages = paintDocument(pdf, document);
                }
                const std::string bytes(buffer.data().constData(),
                                        static_cast<std::size_t>(buffer.data().size()));
                timing->paint.push_back(seconds(start));
                start = Steady::now();
                std::string repaired = unifyToUnicode(bytes);
                timing->repair.push_back(seconds(start));
                timing->bytes = repaired.size();
                if (!written) written = std::move(repaired);
            }
            return written;
        };
        std::ostringstream out, err;
        const auto start = Steady::now();
        const int status = runBatch(
            {"grid.fdt", "--cases", "grid.lcd", "--check", "--storeys", "--pdf", "--out", "grid"},
            out, err, writer);
        analysis = seconds(start);
        if (status != 0 || !fs::exists("grid.pdf")) {
            std::fprintf(stderr, "rahmen-batch failed (%d): %s\n", status, err.str().c_str());
            fs::current_path("/");
            fs::remove_all(folder);
            return 1;
        }
    }
    std::printf("grid 10 x 10 bays, 8 storeys: %d nodes, %d members; cases G, KX, KY, %zu "
                "combinations, member and storey checks; %d runs\n",
                m.NodeCount, m.MemberCount, set.combinations.size(), runs);
    print("every case, combination and plane", full);
    print("every plane, one combination (S1)", one);
    std::printf("whole command with both reports (last run): %.2f s\n", analysis);
    fs::current_path("/");
    fs::remove_all(folder);
    return 0;
}
