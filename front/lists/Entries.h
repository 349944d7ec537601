#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace velmora::front {

// One file or folder that the user put into a list.
class CBaseObject {
public:
    explicit CBaseObject(std::string path);
    virtual ~CBaseObject() = default;
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;

    const std::string& Path() const { return m_strPath; }

    std::string GetName() const;    // after the last '/'
    std::string GetTitle() const;   // the name before its last dot; empty without a dot
    virtual std::int64_t GetDiscSize() const = 0;
    virtual std::int32_t GetDuration() = 0;

private:
    std::string m_strPath;
};

class CFileObject : public CBaseObject {
public:
    explicit CFileObject(std::string path);

    // Bytes on a disc: whole 2352-byte sectors, always one more than the file fills; 0 for an empty file.
    std::int64_t GetDiscSize() const override;
    // Play length in whole seconds as measured (0 until it is).
    std::int32_t GetDuration() override { return m_nDuration; }
    std::int64_t Size() const { return m_nSize; }

    // The accepted kinds by extension.
    bool IsAudioFile() const;   // .wav, .mp3
    bool IsAviFile() const;     // .avi
    bool IsVideoFile() const;   // .avi, .mpg

    // The play length the library measured ("H:M:S.hh").
    void SetPlayLength(const char* text);
    std::string FormatDuration() const;

private:
    bool HasExtension(std::initializer_list<const char*> accepted) const;

    char m_szDuration[20] = {};
    std::int32_t m_nDuration = 0;
    std::int64_t m_nSize = 0;
};

class CDirObject : public CBaseObject {
public:
    // Reads the whole tree at once; later changes on disk are not seen.
    explicit CDirObject(std::string path);

    std::int64_t GetDiscSize() const override;
    std::int32_t GetDuration() override { return 0; }

    const std::vector<std::unique_ptr<CDirObject>>& Folders() const { return m_arrDirs; }
    const std::vector<std::unique_ptr<CFileObject>>& Files() const { return m_arrFiles; }

private:
    std::vector<std::unique_ptr<CDirObject>> m_arrDirs;
    std::vector<std::unique_ptr<CFileObject>> m_arrFiles;
};

// The file or folder a path names, however it is spelt (links and "..", but not case): the
// duplicate test of the lists.
std::filesystem::path CanonicalPath(const std::string& path);

// "01:01:01", "01:01", "00:59": hours only from one hour on.
std::string FormatDuration(std::int64_t seconds);

// "H:M:S.hh" as the library reports it (a leading blank allowed), in whole seconds; 0 when unreadable.
std::int32_t ParseDuration(const char* text);

}  // namespace velmora::front
