#pragma once

#include "BurnTestSupport.h"
#include "FrontTesting.h"
#include "ScratchFolder.h"
#include "burnjobs/CBurnJobs.h"

#include <gtest/gtest.h>

namespace velmora::test {

// Burn jobs on a fake host, with the library bound for the MP3 tracks of audio discs.
class BurnJobTest : public ::testing::Test {
protected:
    BurnJobTest() { BindLibrary(); }

    // Starts the job and waits for it to end.
    void Run(front::BurnInput input);
    // Starts the job and asks it to stop once a writer's temporary file shows in the folder.
    void RunAndCancel(front::BurnInput input, const std::filesystem::path& folder);

    ScratchFolder scratch;
    FakeHost host;
    front::CBurnJobs jobs{host};
};

}  // namespace velmora::test
