// Feeds arbitrary bytes to the item reader. The first bytes of the input
// choose the sequence of text and number reads; the rest is the file. The
// reader must end in values or a DataFileError, never crash or read outside
// the bytes.
#include "model/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // Up to 8 bytes of plan; each bit says text (0) or number (1), and the
    // plan repeats until the reader stops.
    std::size_t planSize = 1 + data[0] % 8;
    if (size < 1 + planSize) return 0;
    const std::uint8_t* plan = data + 1;
    std::string file(reinterpret_cast<const char*>(data + 1 + planSize), size - 1 - planSize);

    rahmen::ItemReader reader(file, "fuzz.adt");
    std::size_t step = 0;
    try {
        while (!reader.atEnd()) {
            std::uint8_t bits = plan[(step / 8) % planSize];
            int lineBefore = reader.line();
            switch ((bits >> (step % 8)) & 1) {
            case 0:
                if (step % 5 == 0) {
                    std::string peeked = reader.peekText();
                    if (reader.readText() != peeked) __builtin_trap();
                } else {
                    reader.readTextBytes();
                }
                break;
            default:
                reader.readNumber();
                break;
            }
            if (reader.line() < lineBefore) __builtin_trap();
            ++step;
        }
    } catch (const rahmen::DataFileError&) {
    }
    return 0;
}
