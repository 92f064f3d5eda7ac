#pragma once
// rahmen-batch --pdf: the calculation report is painted by Qt, which the
// command does not link; the renderer is a shared module opened only when a
// PDF is asked for, so every other use of the command starts without Qt.

#include "batch/Batch.h"

#include <string>
#include <vector>

namespace rahmen {

// The function the module exports under kBatchPdfEntry: the calculation
// report of the frame in the program as PDF bytes (into `pdf`), with the
// checks made (nullptr: not asked for); false when it could not be made.
using BatchPdfEntry = bool (*)(Program& program, const std::vector<MemberCheck>* checks,
                               const StoreyCheckResult* storeys, std::string& pdf);
inline constexpr const char* kBatchPdfEntry = "rahmen_batch_pdf";

// The environment variable naming the module's file, in place of the search.
inline constexpr const char* kBatchPdfModuleVariable = "RAHMEN_BATCH_PDF_MODULE";

struct BatchPdfModule {
    BatchPdfWriter writer; // empty when the module could not be opened
    std::string problem;   // the message saying why, when it is empty
};

// Opens the module: the file the environment variable names, else the first
// of the module beside the executable (the build tree) and in its installed
// folder that exists.
BatchPdfModule openBatchPdfModule();

} // namespace rahmen
