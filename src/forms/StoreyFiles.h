#pragma once
// The storey checks after the program's analysis of all cases: when the load
// cases include seismic cases (K), the drift angles, stiffness and
// eccentricity ratios of every storey are worked out from Program::caseResults
// and written beside the reports as DataName_STY.csv and DataName.sty (the
// report text in CP932), both atomically. A frame without seismic cases
// writes nothing and says nothing; one whose storeys cannot be found gets a
// single line in the progress window saying why, and no files.

#include "model/LoadCases.h"

#include <string>

namespace rahmen {

class Program;

// Whether the set has a seismic case, so that the analysis writes storey files.
bool hasSeismicCase(const LoadCaseSet& set);

// Whether NAME_STY.csv or NAME.sty is in the current folder and the analysis
// of `set` would write them again: part of the question about existing
// reports before the analysis of all cases.
bool storeyFilesExist(Program& program, const std::string& name, const LoadCaseSet& set);

// The storey files of the analysis just made under the data name `name`
// (nothing when `name` is empty: the analysis wrote no reports). False after a
// message when a file could not be written.
bool writeStoreyFiles(Program& program, const std::string& name);

} // namespace rahmen
