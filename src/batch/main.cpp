// rahmen-batch: the frame analysis from the command line (see Batch.h).

#include "batch/Batch.h"

#include <iostream>
#include <string>
#include <vector>

// OpenBLAS starts its worker threads as it is loaded, and each spins for its
// work (some 0.1 s of processor time) before it sleeps: through the reading of
// the files, which needs no BLAS, it takes the other core from the command's
// own threads and from other work. Stopped here, the pool is started again by
// the decomposition.
// Weak: without OpenBLAS there is no pool to stop.
extern "C" int blas_thread_shutdown_(void) __attribute__((weak));

int main(int argc, char** argv) {
    if (blas_thread_shutdown_) blas_thread_shutdown_();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return rahmen::runBatch(args, std::cout, std::cerr);
}
