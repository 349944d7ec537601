#pragma once

#include "JobHost.h"
#include "JobProgress.h"
#include "Lumetra.h"
#include "core/LumetraBinding.h"

#include <functional>
#include <string>

namespace velmora::front {

// Runs one conversion of the library on a thread of its own; while it runs, the job's progress
// follows the encoder and `tick`, when given, is called every poll interval. Returns the
// library's reason of a failure, read on the conversion's own thread.
std::string RunWatched(JobHost& host, JobProgress& progress, Export conversion,
                       const MediaLibrary::Header::MEDIACONVERSIONINFO& request,
                       const std::function<void()>& tick = {});
// The same for any work that calls the library: it runs on a thread of its own and gives the
// library's reason of a failure (empty when it did not fail).
std::string RunWatched(JobHost& host, JobProgress& progress, const std::function<std::string()>& work,
                       const std::function<void()>& tick = {});

}  // namespace velmora::front
