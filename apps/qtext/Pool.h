// Files processed in parallel by forked workers: the drawing database is one per process, not thread-safe.
#pragma once

#include <cstddef>
#include <functional>

#include "apps/qtext/Drawings.h"

namespace qtext {

// Runs `work(k)` for every k below `count`, in `jobs` worker processes (in this one for a single
// job), handing each worker the next file when it is done with one. `done(k, result)` is called in
// this process in the order of k; `progress(finished)` after each file. A file whose worker died
// comes back failed with no message of its own.
void RunAll(size_t count, int jobs, const std::function<FileResult(size_t)>& work,
            const std::function<void(size_t, FileResult&)>& done, const std::function<void(size_t)>& progress);

}  // namespace qtext
