#pragma once

#include "BurnTestSupport.h"
#include "FrontTesting.h"
#include "ScratchFolder.h"
#include "burnjobs/CBurnJobs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>

namespace velmora::test {

// Burn jobs on a fake host, with the library bound for the MP3 tracks of audio discs.
class BurnJobTest : public ::testing::Test {
protected:
    BurnJobTest() { BindLibrary(); }

    // Starts the job and waits for it to end; with a folder, asks it to stop once a writer's
    // temporary file shows there.
    void Run(front::BurnInput input, const std::filesystem::path& cancelIn = {})
    {
        // The promise outlives a job that never ends, so a test that gives up on one stays sound.
        auto finished = std::make_shared<std::promise<void>>();
        auto ended = finished->get_future();
        ASSERT_TRUE(jobs.Start(std::move(input), [finished] { finished->set_value(); }));
        if (!cancelIn.empty()) {
            const bool writing = ProcessEventsUntil(
                [&] { return !discburn::test::HiddenFiles(cancelIn).empty() || !jobs.Running(); });
            EXPECT_TRUE(writing && jobs.Running()) << "no write to cancel: " << host.LastStatus().toStdString();
            jobs.RequestCancel();
        }
        ASSERT_EQ(ended.wait_for(std::chrono::minutes(2)), std::future_status::ready) << "the burn did not end";
        jobs.Join();
    }

    ScratchFolder scratch;
    FakeHost host;
    front::CBurnJobs jobs{host};
};

}  // namespace velmora::test
