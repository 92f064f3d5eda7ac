// Feeds arbitrary bytes to the coordinate-file reader. A file that reads must
// write again, and what is written must read back and write the same bytes.

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
    auto model = std::make_unique<Model>();
    ItemReader in(std::string(reinterpret_cast<const char*>(data), size), "fuzz.cdt");
    try {
        readCoordinateFile(*model, in);
    } catch (const DataFileError&) {
        return 0;
    }
    const DateTime when{2026, 12, 8, 10, 20, 30};
    const std::string once = coordinateFileBytes(*model, when);
    auto again = std::make_unique<Model>();
    ItemReader back(once, "again.cdt");
    readCoordinateFile(*again, back); // throws (and so fails) if the written file does not read
    if (coordinateFileBytes(*again, when) != once) std::abort();
    return 0;
}
