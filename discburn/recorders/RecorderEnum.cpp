#include "RecorderEnum.h"

#include "log/Log.h"
#include "mastering/Mastering.h"
#include "RecorderAddress.h"

#include <cstdio>

namespace velmora::discburn {

bool CRecorderEnum::Create()
{
    if (!StartMasteringLibraries()) {
        hr = kLibraryFailed;
        errorText = WithCode("Unable to Initialize IDiscMaster2 - Error:0x%08x", hr);
        return false;
    }
    auto ids = ScanRecorderAddresses();
    for (auto& pseudo : ConfiguredPseudoRecorders()) ids.push_back(std::move(pseudo));
    return CreateFrom(std::move(ids));
}

bool CRecorderEnum::CreateFrom(std::vector<std::string> uniqueIds)
{
    ids_ = std::move(uniqueIds);
    hr = kOk;
    errorText.clear();
    return true;
}

bool CRecorderEnum::CheckEnvironment()
{
    if (!ids_.empty()) return true;
    errorText = "There were no writable devices detected!";
    return false;
}

std::string CRecorderEnum::UniqueIdAt(int index)
{
    if (index < 0 || index >= Count()) {
        hr = kInvalidArgument;
        char text[128];
        std::snprintf(text, sizeof text, "IDiscMaster2->get_Item(%d) failed! - Error:0x%08x", index,
                      static_cast<unsigned>(hr));
        errorText = text;
        return {};
    }
    hr = kOk;
    return ids_[static_cast<std::size_t>(index)];
}

std::vector<RecorderEntry> ListRecorders(CRecorderEnum& recorders, const RecorderErrorBox& errorBox)
{
    std::vector<RecorderEntry> entries;
    if (recorders.hr < 0 || !recorders.CheckEnvironment()) {
        errorBox(recorders.ErrorText());
        return entries;
    }
    const int count = recorders.Count();
    for (int index = 0; index < count; ++index) {
        const std::string id = recorders.UniqueIdAt(index);
        if (id.empty() && !recorders.ErrorText().empty()) {
            errorBox(recorders.ErrorText());
            continue;
        }
        auto device = std::make_unique<CRecorderDevice>();
        if (!device->Open(id)) {
            if (count == 1) {
                char text[1400];
                std::snprintf(text, sizeof text, "Failed to initialize recorder - Error:0x%08x\n\nRecorder Unique ID:%s",
                              static_cast<unsigned>(device->hr), id.c_str());
                errorBox(text);
            } else {
                LogMessage(2, "Recorder %s left out: it does not open", id.c_str());
            }
            continue;
        }
        std::string text;
        for (std::size_t at = 0; at < device->VolumePathCount(); ++at) {
            if (at > 0) text += ',';
            text += device->VolumePath(at);
        }
        entries.push_back({std::move(text), std::move(device)});
    }
    return entries;
}

std::vector<RecorderEntry> ListMachineRecorders(const RecorderErrorBox& errorBox)
{
    CRecorderEnum recorders;
    recorders.Create();
    return ListRecorders(recorders, errorBox);
}

}  // namespace velmora::discburn
