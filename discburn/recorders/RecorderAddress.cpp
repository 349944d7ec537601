#include "RecorderAddress.h"

#include "settings/Settings.h"
#include "text/Trim.h"

#include <cstdlib>

namespace velmora::discburn {
namespace {

constexpr const char* kVariable = "VELMORA_RECORDERS";
constexpr const char* kSetting = "Recorders";

}  // namespace

std::optional<RecorderAddress> RecorderAddress::Parse(std::string_view uniqueId)
{
    RecorderAddress address;
    address.uniqueId = std::string(uniqueId);
    std::string_view path = uniqueId;
    if (uniqueId.starts_with(kImagePrefix)) {
        address.kind = RecorderKind::ImageFile;
        path.remove_prefix(kImagePrefix.size());
    } else if (uniqueId.starts_with(kCuePrefix)) {
        address.kind = RecorderKind::CueImage;
        path.remove_prefix(kCuePrefix.size());
    }
    if (path.empty() || path.front() != '/') return std::nullopt;
    address.path = std::filesystem::path(path).lexically_normal();
    return address;
}

std::vector<std::string> SplitRecorderList(std::string_view list)
{
    std::vector<std::string> ids;
    while (!list.empty()) {
        const auto end = list.find(';');
        const auto id = platform::Trim(list.substr(0, end));
        if (!id.empty()) ids.emplace_back(id);
        list = end == std::string_view::npos ? std::string_view{} : list.substr(end + 1);
    }
    return ids;
}

std::vector<std::string> ConfiguredPseudoRecorders()
{
    const char* variable = std::getenv(kVariable);
    return SplitRecorderList(variable ? std::string(variable)
                                      : platform::Settings::Load().GetString(kSetting, ""));
}

}  // namespace velmora::discburn
