#include "BurnTestSupport.h"

#include "writers/AudioTrack.h"
#include "mastering/Mastering.h"
#include "drives/CdDevice.h"
#include "drives/DriveTable.h"

#include <cdio/cdio.h>

#include <stdint.h>
#include <libisofs/libisofs.h>

#include <cstdlib>
#include <fstream>

namespace velmora::discburn::test {
namespace {

std::string StreamContent(IsoFile* file)
{
    std::string content;
    IsoStream* stream = iso_file_get_stream(file);
    if (iso_stream_open(stream) < 0) return content;
    char buffer[65536];
    for (int read = 0; (read = iso_stream_read(stream, buffer, sizeof buffer)) > 0;)
        content.append(buffer, static_cast<std::size_t>(read));
    iso_stream_close(stream);
    return content;
}

void Walk(IsoDir* folder, const std::string& prefix, ReadImage& result)
{
    IsoDirIter* iterator = nullptr;
    if (iso_dir_get_children(folder, &iterator) < 0) return;
    IsoNode* node = nullptr;
    while (iso_dir_iter_next(iterator, &node) == 1) {
        const std::string name = prefix + iso_node_get_name(node);
        if (iso_node_get_type(node) == LIBISO_DIR) {
            result.files[name + "/"] = 0;
            Walk(reinterpret_cast<IsoDir*>(node), name + "/", result);
        } else if (iso_node_get_type(node) == LIBISO_FILE) {
            auto* file = reinterpret_cast<IsoFile*>(node);
            result.files[name] = static_cast<std::uint64_t>(iso_file_get_size(file));
            int count = 0;
            iso_file_section* sections = nullptr;
            if (iso_file_get_old_image_sections(file, &count, &sections, 0) == 1) {
                for (int at = 0; at < count; ++at)
                    result.extents[name].push_back({sections[at].block * 2048ull, sections[at].size});
                std::free(sections);
            }
            if (iso_file_get_size(file) <= (8 << 20)) result.contents[name] = StreamContent(file);
        }
    }
    iso_dir_iter_free(iterator);
}

std::string Little(std::uint32_t value, int count)
{
    std::string bytes;
    for (int at = 0; at < count; ++at) bytes += static_cast<char>(value >> (8 * at) & 0xFF);
    return bytes;
}

}  // namespace

std::string RecordingWindow::UiText(int row)
{
    static const std::map<int, std::string> texts{{kCreatingFileSystemRow, "Creating File System..."},
                                                  {kBurnVerifiedRow, "Burn completed and verified!"},
                                                  {kBurnProgressRow, "%1 of %2 MB written"},
                                                  {kTimeLeftRow, "%1 left"},
                                                  {kVerifyingRow, "Verifying..."},
                                                  {kCheckedRow, "%1 of %2 MB checked"}};
    const auto found = texts.find(row);
    return found == texts.end() ? "?" : found->second;
}

ReadImage ReadIsoImage(const std::filesystem::path& image, bool preferJoliet)
{
    ReadImage result;
    IsoDataSource* source = nullptr;
    if (!StartMasteringLibraries() || iso_data_source_new_from_file(image.c_str(), &source) < 0) return result;
    IsoReadOpts* options = nullptr;
    iso_read_opts_new(&options, 0);
    iso_read_opts_set_no_rockridge(options, preferJoliet);
    iso_read_opts_set_preferjoliet(options, preferJoliet);
    IsoImage* read = nullptr;
    iso_image_new("read", &read);
    IsoReadImageFeatures* features = nullptr;
    if (iso_image_import(read, source, options, &features) >= 0) {
        result.read = true;
        result.hasJoliet = iso_read_image_features_has_joliet(features);
        result.hasRockRidge = iso_read_image_features_has_rockridge(features);
        if (const char* volume = iso_image_get_volume_id(read)) result.volumeId = volume;
        Walk(iso_image_get_root(read), "", result);
        iso_read_image_features_destroy(features);
    }
    iso_image_unref(read);
    iso_read_opts_free(options);
    iso_data_source_unref(source);
    return result;
}

void MakeSpottedFile(const std::filesystem::path& file, std::uint64_t size)
{
    std::ofstream(file).close();
    std::filesystem::resize_file(file, size);
    std::fstream spotted(file, std::ios::binary | std::ios::in | std::ios::out);
    for (std::uint64_t at = 0; at < size; at += 4 << 20) spotted.seekp(static_cast<std::streamoff>(at)).put('x');
}

std::vector<std::string> HiddenFiles(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with(".")) names.push_back(entry.path().filename());
    return names;
}

std::string WaveFile(const std::string& pcm, int channels, int rate, const std::string& chunksBeforeData)
{
    const auto size = [](std::size_t bytes) { return Little(static_cast<std::uint32_t>(bytes), 4); };
    return "RIFF" + size(36 + chunksBeforeData.size() + pcm.size()) + "WAVEfmt " + Little(16, 4) + Little(1, 2) +
           Little(static_cast<std::uint32_t>(channels), 2) + Little(static_cast<std::uint32_t>(rate), 4) +
           Little(static_cast<std::uint32_t>(rate * channels * 2), 4) +
           Little(static_cast<std::uint32_t>(channels * 2), 2) + Little(16, 2) + chunksBeforeData + "data" +
           size(pcm.size()) + pcm;
}

std::vector<std::string> RipImage(const std::filesystem::path& cue)
{
    std::vector<std::string> tracks;
    const auto table = platform::DriveTable::FromParts({}, "X=" + cue.string());
    const auto device = platform::CdDevice::Open(*table.Find('X'));
    platform::CDROM_TOC toc;
    if (!device || !device->ReadToc(toc)) return tracks;
    for (int at = 0; at < platform::TrackCount(toc); ++at) {
        const int start = platform::SectorOf(toc.TrackData[at]);
        const int sectors = platform::SectorOf(toc.TrackData[at + 1]) - start;
        std::string pcm(static_cast<std::size_t>(sectors) * kCdSectorBytes, '\0');
        if (cdio_read_audio_sectors(device->Native(), pcm.data(), start, static_cast<unsigned>(sectors)) !=
            DRIVER_OP_SUCCESS)
            return {};
        tracks.push_back(std::move(pcm));
    }
    return tracks;
}

std::vector<std::string> CdTextOfImage(const std::filesystem::path& cue)
{
    std::vector<std::string> texts;
    const auto table = platform::DriveTable::FromParts({}, "X=" + cue.string());
    const auto device = platform::CdDevice::Open(*table.Find('X'));
    cdtext_t* text = device ? cdio_get_cdtext(device->Native()) : nullptr;
    if (!text) return texts;
    const auto field = [text](cdtext_field_t key, track_t track) {
        const char* value = cdtext_get_const(text, key, track);
        return std::string(value ? value : "");
    };
    const track_t last = cdio_get_last_track_num(device->Native());
    for (track_t track = 0; track <= last; ++track)
        texts.push_back(field(CDTEXT_FIELD_TITLE, track) + " / " + field(CDTEXT_FIELD_PERFORMER, track));
    return texts;
}

std::string Padded(const std::string& pcm)
{
    return pcm + std::string(PaddedTrackBytes(pcm.size()) - pcm.size(), '\0');
}

}  // namespace velmora::discburn::test
