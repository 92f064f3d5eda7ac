// The module rahmen-batch opens for --pdf (batch/BatchPdf.h): every section of
// the calculation report, every case, combination and plane, painted by Qt
// without a window. It is the only part of the command that links Qt.

#include "batch/BatchPdf.h"
#include "gui/ReportPdf.h"
#include "model/Program.h"
#include "report/Report.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) bool
rahmen_batch_pdf(rahmen::Program& program, const std::vector<rahmen::MemberCheck>* checks,
                 const rahmen::StoreyCheckResult* storeys, std::string& pdf) {
    rahmen::ReportChecks given;
    given.members = checks;
    given.storeys = storeys;
    const rahmen::Document document =
        rahmen::buildReport(program, rahmen::ReportOptions{}, given, program.io.clock.now());
    std::optional<std::string> bytes = rahmen::documentPdfWithoutWindow(document);
    if (!bytes) return false;
    pdf = std::move(*bytes);
    return true;
}

static_assert(std::is_same_v<decltype(&rahmen_batch_pdf), rahmen::BatchPdfEntry>,
              "the module's entry has the type rahmen-batch calls it with");
