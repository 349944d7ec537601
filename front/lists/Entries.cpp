#include "Entries.h"

#include "log/Log.h"
#include "paths/PathParts.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace velmora::front {
namespace {

constexpr std::int64_t kSectorBytes = 2352;

}  // namespace

CBaseObject::CBaseObject(std::string path) : m_strPath(std::move(path)) {}

std::string CBaseObject::GetName() const
{
    return std::string(platform::FileNamePart(m_strPath));
}

std::string CBaseObject::GetTitle() const
{
    if (platform::ExtensionPart(m_strPath).empty()) return {};
    return std::string(platform::TitlePart(m_strPath));
}

CFileObject::CFileObject(std::string path) : CBaseObject(std::move(path))
{
    std::error_code error;
    const auto size = std::filesystem::file_size(Path(), error);
    m_nSize = error ? 0 : static_cast<std::int64_t>(size);
}

std::int64_t CFileObject::GetDiscSize() const
{
    if (m_nSize <= 0) return 0;
    return (m_nSize / kSectorBytes + 1) * kSectorBytes;
}

void CFileObject::SetPlayLength(const char* text)
{
    std::snprintf(m_szDuration, sizeof m_szDuration, "%s", text);
    m_nDuration = ParseDuration(m_szDuration);
}

std::string CFileObject::FormatDuration() const
{
    return velmora::front::FormatDuration(m_nDuration);
}

bool CFileObject::HasExtension(std::initializer_list<const char*> accepted) const
{
    const std::string extension = platform::LowerExtension(Path());
    return std::any_of(accepted.begin(), accepted.end(), [&](const char* wanted) { return extension == wanted; });
}

bool CFileObject::IsAudioFile() const
{
    return HasExtension({".wav", ".mp3"});
}

bool CFileObject::IsAviFile() const
{
    return HasExtension({".avi"});
}

bool CFileObject::IsVideoFile() const
{
    return HasExtension({".avi", ".mpg"});
}

CDirObject::CDirObject(std::string path) : CBaseObject(std::move(path))
{
    std::error_code error;
    std::filesystem::directory_iterator entries(Path(), error);
    if (error) {
        LogMessage(1, "Cannot read the folder %s: %s", Path().c_str(), error.message().c_str());
        return;
    }
    for (const auto& entry : entries) {
        const std::string child = entry.path().string();
        // A linked folder is not followed: a link back up the tree would never end.
        if (entry.is_symlink(error) && entry.is_directory(error)) {
            LogMessage(2, "Not following the linked folder %s", child.c_str());
            continue;
        }
        if (entry.is_directory(error)) m_arrDirs.push_back(std::make_unique<CDirObject>(child));
        else m_arrFiles.push_back(std::make_unique<CFileObject>(child));
    }
}

std::int64_t CDirObject::GetDiscSize() const
{
    std::int64_t total = 0;
    for (const auto& folder : m_arrDirs) total += folder->GetDiscSize();
    for (const auto& file : m_arrFiles) total += file->GetDiscSize();
    return total;
}

std::filesystem::path CanonicalPath(const std::string& path)
{
    std::error_code error;
    auto canonical = std::filesystem::weakly_canonical(path, error);
    if (error) return std::filesystem::absolute(path, error).lexically_normal();
    return canonical;
}

std::string FormatDuration(std::int64_t seconds)
{
    std::string text;
    char part[32];
    if (seconds >= 3600) {
        std::snprintf(part, sizeof part, "%02lld:", static_cast<long long>(seconds / 3600));
        text = part;
        seconds %= 3600;
    }
    if (seconds < 60) {
        text += "00:";
    } else {
        std::snprintf(part, sizeof part, "%02lld:", static_cast<long long>(seconds / 60));
        text += part;
        seconds %= 60;
    }
    std::snprintf(part, sizeof part, "%02lld", static_cast<long long>(seconds));
    return text + part;
}

std::int32_t ParseDuration(const char* text)
{
    int hours = 0, minutes = 0, seconds = 0, hundredths = 0;
    std::sscanf(text, "%d:%d:%d.%d", &hours, &minutes, &seconds, &hundredths);
    const std::int64_t total = std::int64_t{hours} * 3600 + std::int64_t{minutes} * 60 + seconds;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(total, 0, INT32_MAX));
}

}  // namespace velmora::front
