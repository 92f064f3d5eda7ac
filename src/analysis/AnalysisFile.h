#pragma once
// The analysis data file DataName.adt: the printed-style report of an analysis,
// which the program also reads back, in full (to plot a finished analysis
// again) or for its loads only (in the plotting window's analysis mode). The
// bytes and the model only: the dialogs, the progress window and the menu are
// the handlers' (AnalysisFileHandlers.h).
//
// Writer and readers agree on which lines a block holds, so that every file
// written reads back:
// - the load lists hold the nodes with NodeLoadFlag = 1 and the members with
//   MemberLoadFlag = 1, and the counts line states those numbers (the model's
//   LoadedNodeCount may count a node twice); the reaction list holds the nodes
//   with NodeIsSupport = -1 and the counts line states that number;
// - a member end appears in the spring-rotation list when it has a rotational
//   spring about member y or z, and a member appears in the pin-rotation list
//   when a pin about y or z is set at exactly one of its ends: these are what
//   the file itself shows of a member, so the reader finds the same ends.

#include "model/TextFile.h"
#include "platform/Clock.h"

#include <string>
#include <vector>

namespace rahmen {

struct Model;

// The report's bytes (CP932, CR LF) for the model and its results. `reaction`
// holds the support reactions per degree of freedom, 1..6·NodeCount (index 0
// unused; missing entries are written as 0), forces and force·cm in global
// axes. Throws DataFileError for a value that is not finite.
std::string analysisReport(const Model& model, const std::vector<float>& reaction,
                           const DateTime& when);

// The unit system named in a report's header.
enum class ReportUnits { Older, Si, Unknown };

// Reads the first nine items of a report and returns the unit word they end in
// (the 3rd to 8th byte of the ninth item: "SI単位" or "旧単位").
ReportUnits readReportUnits(ItemReader& in);

// Reads a whole report into the model and its results, from the beginning of
// the file (the steps of CALLADT_ON between opening and closing the file;
// UnitFactor follows the file). Throws DataFileError naming the file and line
// for a malformed or truncated file, a count beyond the program's limits, a
// node or member number outside the counts or given twice in a list, or a list
// longer or shorter than its count (see NumberedList; the lines of a list may
// come in any order); what was stored up to then stays.
void readAnalysisReport(Model& model, ItemReader& in);

struct ReportLoadOptions {
    // Multiplies every load value: 9.80665 for a file in tf read into SI units,
    // 1 / 9.80665 the other way round.
    double factor = 1.0;
    // Refuses a file whose frame has another node or member count than the
    // model's: its node and member numbers name other nodes and members.
    bool sameFrame = false;
};

// Reads the loads of a report into the model, the unit word already read
// (CALL_LOAD, after the unit question): the nodal loads (moments × 100) and the
// uniform member loads, numbered within the model's NodeCount and MemberCount.
// They replace every load the model had (all load tables and flags are cleared
// first). Nodal loads on the model's support nodes are not stored; their node
// numbers are added to `skippedSupports`. LoadedNodeCount and LoadedMemberCount
// become the numbers of loaded nodes and members. Throws DataFileError like the
// full reader, and for counts that differ when `options.sameFrame` is set
// (before anything is cleared).
void readReportLoads(Model& model, ItemReader& in, std::vector<int>& skippedSupports,
                     const ReportLoadOptions& options = {});

} // namespace rahmen
