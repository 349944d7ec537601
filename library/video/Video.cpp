#include "Video.h"

namespace MediaLibrary::Video {

int CAVI::Convert()
{
    const auto command = m_request.nOutputFormat == Header::kFormatDvd ? GetDvdCommand() : GetVideoCommand();
    RunCommand(command, true);
    return 0;
}

}  // namespace MediaLibrary::Video
