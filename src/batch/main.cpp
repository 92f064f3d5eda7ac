// rahmen-batch: the frame analysis from the command line (see Batch.h).

#include "analysis/BandMatrix.h"
#include "batch/Batch.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Nothing is read with the BLAS threads spinning beside it.
    rahmen::stopBlasThreads();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return rahmen::runBatch(args, std::cout, std::cerr);
}
