// Feeds arbitrary bytes to the analysis data file readers: the full reader
// (CALLADT_ON's reading) and the load reader (CALL_LOAD's). Each must end in a
// model or a DataFileError, never crash, read outside the bytes or write past
// a table. A file the full reader accepts must be writable again, and what is
// written must read back: the writer and the reader agree on every list.
#include "ReusedModel.h"
#include "analysis/AnalysisFile.h"
#include "model/Model.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

void checkCounts(const rahmen::Model& md) {
    check(md.NodeCount >= 0 && md.NodeCount <= rahmen::kMaxNodes);
    check(md.MemberCount >= 0 && md.MemberCount <= rahmen::kMaxMembers);
    check(md.SupportCount >= 0 && md.SupportCount <= md.NodeCount);
    check(md.LoadedNodeCount >= 0 && md.LoadedNodeCount <= rahmen::kMaxNodes);
    check(md.LoadedMemberCount >= 0 && md.LoadedMemberCount <= rahmen::kMaxMembers);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);

    // One model per role for the whole run, fresh for each input.
    static rahmen::fuzz::ReusedModel full, written, onScreen;
    rahmen::Model* md = &full.fresh();
    bool read = true;
    try {
        rahmen::ItemReader in(file, "fuzz.adt");
        rahmen::readAnalysisReport(*md, in);
    } catch (const rahmen::DataFileError&) {
        read = false;
    }
    checkCounts(*md);

    if (read) {
        // Written again (no reactions: they are not kept) and read back.
        const std::string again = rahmen::analysisReport(*md, {}, rahmen::DateTime{});
        rahmen::Model* back = &written.fresh();
        rahmen::ItemReader in(again, "again.adt");
        try {
            rahmen::readAnalysisReport(*back, in);
        } catch (const rahmen::DataFileError&) {
            __builtin_trap();
        }
        check(back->NodeCount == md->NodeCount && back->MemberCount == md->MemberCount);
        check(back->LoadedMemberCount == md->LoadedMemberCount);
        check(back->UnitFactor == md->UnitFactor);
    }

    // The loads into a frame on screen of the largest size.
    rahmen::Model* screen = &onScreen.fresh();
    screen->NodeCount = rahmen::kMaxNodes;
    screen->MemberCount = rahmen::kMaxMembers;
    screen->NodeIsSupport[1] = -1;
    std::vector<int> skipped;
    try {
        rahmen::ItemReader in(file, "fuzz.adt");
        rahmen::readReportUnits(in);
        rahmen::readReportLoads(*screen, in, skipped);
    } catch (const rahmen::DataFileError&) {
    }
    checkCounts(*screen);
    return 0;
}
