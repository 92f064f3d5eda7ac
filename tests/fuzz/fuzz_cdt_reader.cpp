// Feeds arbitrary bytes to the coordinate-file reader. A file that reads must
// write again, and what is written must read back and write the same bytes.

#include "ReusedModel.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "model/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

using namespace rahmen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static fuzz::ReusedModel first;
    static fuzz::ReusedModel second;
    Model* model = &first.fresh();
    ItemReader in(std::string(reinterpret_cast<const char*>(data), size), "fuzz.cdt");
    try {
        readCoordinateFile(*model, in);
    } catch (const DataFileError&) {
        return 0;
    }
    const DateTime when{2026, 12, 8, 10, 20, 30};
    const std::string once = coordinateFileBytes(*model, when);
    Model* again = &second.fresh();
    ItemReader back(once, "again.cdt");
    readCoordinateFile(*again, back); // throws (and so fails) if the written file does not read
    if (coordinateFileBytes(*again, when) != once) std::abort();
    return 0;
}
