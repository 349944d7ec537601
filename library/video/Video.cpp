#include "Video.h"

namespace MediaLibrary::Video {

int CAVI::Convert()
{
    const auto command = m_request.nOutputFormat == Header::kFormatDvd ? GetDvdCommand() : GetVideoCommand();
    EncodeInto(command, m_request.szOutputFile);
    return 0;
}

}  // namespace MediaLibrary::Video
