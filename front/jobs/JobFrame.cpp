#include "JobFrame.h"

namespace velmora::front {

JobFrame::JobFrame(JobHost& host, int steps) : host_(host), outcome_(host)
{
    host_.State().SetBusy(true);
    host_.EnableControls(true);
    host_.ShowProgress(steps, 0);
}

JobFrame::~JobFrame()
{
    host_.EndProgress();
    host_.SetStatusText(outcome_.Summary());
    host_.State().SetBusy(false);
    host_.EnableControls(false);
}

}  // namespace velmora::front
