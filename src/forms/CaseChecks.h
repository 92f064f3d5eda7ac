#pragma once
// The steel member checks of a frame analysed under load cases in the
// program: after the analysis of all cases (FORM17's "全ケース解析", the grid
// generation with load cases) every combination is checked with the check
// conditions of DataName.ckc (the defaults without one), NAME_CHK.csv and
// NAME.chk are written beside the reports, and the plotting window's 検定比図
// asks for the same rows again from Program::caseResults.

#include "checks/SteelChecks.h"

#include <string>
#include <vector>

namespace rahmen {

class Program;

// Whether the program's case results hold a combination (what the checks
// are made over).
bool hasCombinationResults(const Program& program);

// The checks over every combination of Program::caseResults with the
// conditions of DataName.ckc; `problem` says why that file was not used (""
// when read or absent), the defaults then standing in. The model is left
// exactly as it was: the case or combination it held stays in its tables.
std::vector<MemberCheck> caseMemberChecks(Program& program, std::string& problem);

// Whether NAME_CHK.csv or NAME.chk exists in the current folder while the
// program's load cases have combinations (the files the analysis of all
// cases would replace).
bool caseCheckFilesExist(Program& program, const std::string& name);

// After the analysis of all cases: with combinations, the checks and their
// files NAME_CHK.csv and NAME.chk (none when `name` is empty); a message
// when no member could be checked, or when a file could not be written.
void writeCaseChecks(Program& program, const std::string& name);

} // namespace rahmen
