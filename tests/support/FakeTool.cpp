#include "FakeTool.h"

#include "ScratchFolder.h"

#include <sys/stat.h>

namespace velmora::test {

void WriteFakeTool(const std::filesystem::path& file, const std::string& body)
{
    WriteFile(file, "#!/bin/sh\n" + body + "\n");
    ::chmod(file.c_str(), 0755);
}

}  // namespace velmora::test
