#include "JobFrame.h"

namespace velmora::front {

JobFrame::JobFrame(JobHost& host, std::vector<int> secondsPerFile)
    : host_(host), outcome_(host), progress_(host, std::move(secondsPerFile))
{
    host_.State().SetBusy(true);
    host_.EnableControls(true);
    host_.ShowProgress(JobProgress::kScale, 0);
}

JobFrame::~JobFrame()
{
    host_.EndProgress();
    host_.SetStatusText(outcome_.Summary());
    host_.State().SetBusy(false);
    host_.EnableControls(false);
}

}  // namespace velmora::front
