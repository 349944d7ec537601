#include "BurnJobsTesting.h"

#include <chrono>
#include <future>
#include <memory>

namespace velmora::test {
namespace {

// The promise outlives a job that never ends, so a test that gives up on one stays sound.
std::future<void> Start(front::CBurnJobs& jobs, front::BurnInput input)
{
    auto finished = std::make_shared<std::promise<void>>();
    auto ended = finished->get_future();
    EXPECT_TRUE(jobs.Start(std::move(input), [finished] { finished->set_value(); }));
    return ended;
}

void Wait(front::CBurnJobs& jobs, std::future<void>& ended)
{
    ASSERT_EQ(ended.wait_for(std::chrono::minutes(2)), std::future_status::ready) << "the burn did not end";
    jobs.Join();
}

}  // namespace

void BurnJobTest::Run(front::BurnInput input)
{
    auto ended = Start(jobs, std::move(input));
    Wait(jobs, ended);
}

void BurnJobTest::RunAndCancel(front::BurnInput input, const std::filesystem::path& folder)
{
    auto ended = Start(jobs, std::move(input));
    const bool writing =
        ProcessEventsUntil([&] { return !discburn::test::HiddenFiles(folder).empty() || !jobs.Running(); });
    EXPECT_TRUE(writing && jobs.Running()) << "no write to cancel: " << host.LastStatus().toStdString();
    jobs.RequestCancel();
    Wait(jobs, ended);
}

}  // namespace velmora::test
