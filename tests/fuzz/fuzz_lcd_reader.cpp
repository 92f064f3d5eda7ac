// Feeds arbitrary bytes to the load-case file reader, for a frame of the
// largest size. A file that reads must write again, and what is written must
// read back and write the same bytes.

#include "model/LoadCases.h"
#include "model/Model.h"
#include "model/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace rahmen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    LoadCaseSet set;
    ItemReader in(std::string(reinterpret_cast<const char*>(data), size), "fuzz.lcd");
    try {
        readLoadCaseFile(in, set, kMaxNodes, kMaxMembers);
    } catch (const DataFileError&) {
        return 0;
    }
    const std::string once = loadCaseFileBytes(set);
    LoadCaseSet again;
    ItemReader back(once, "again.lcd");
    readLoadCaseFile(back, again, kMaxNodes, kMaxMembers); // throws (and so fails) if unreadable
    if (loadCaseFileBytes(again) != once) std::abort();
    return 0;
}
