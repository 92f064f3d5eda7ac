// Feeds arbitrary bytes to the reader of the member checks' conditions, for a
// frame of the largest size. A file that reads must write again, and what is
// written must read back and write the same bytes.

#include "checks/CheckConditions.h"
#include "model/Model.h"
#include "model/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace rahmen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    CheckConditions conditions;
    ItemReader in(std::string(reinterpret_cast<const char*>(data), size), "fuzz.ckc");
    try {
        readCheckConditionsFile(in, conditions, kMaxMemberTypes, kMaxMembers);
    } catch (const DataFileError&) {
        return 0;
    }
    const std::string once = checkConditionsFileBytes(conditions);
    CheckConditions again;
    ItemReader back(once, "again.ckc");
    readCheckConditionsFile(back, again, kMaxMemberTypes, kMaxMembers); // throws if unreadable
    if (checkConditionsFileBytes(again) != once) std::abort();
    return 0;
}
