// rahmen-batch: the frame analysis from the command line (see Batch.h).

#include "batch/Batch.h"

#ifdef RAHMEN_BATCH_PDF
#include "gui/ReportPdf.h"
#include "model/Program.h"
#include "report/Report.h"
#endif

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef RAHMEN_BATCH_PDF
    // --pdf: every section of the report, every case, combination and plane.
    const rahmen::BatchPdfWriter pdf = [](rahmen::Program& program,
                                          const std::vector<rahmen::MemberCheck>* checks,
                                          const rahmen::StoreyCheckResult* storeys) {
        rahmen::ReportChecks given;
        given.members = checks;
        given.storeys = storeys;
        const rahmen::Document document =
            rahmen::buildReport(program, rahmen::ReportOptions{}, given, program.io.clock.now());
        return rahmen::documentPdfWithoutWindow(document);
    };
    return rahmen::runBatch(args, std::cout, std::cerr, pdf);
#else
    return rahmen::runBatch(args, std::cout, std::cerr);
#endif
}
