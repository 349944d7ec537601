// The Audio Converter's CD source: the drive list and the tracks of the selected disc.
#include "CCDDBDialog.h"
#include "CMediaMaster.h"
#include "core/ControlIds.h"
#include "drives/DriveTable.h"
#include "lists/CListCtrlEx.h"
#include "log/Log.h"
#include "paths/PathParts.h"
#include "Lumetra.h"
#include "RecordText.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

using MediaLibrary::Header::CD_TEXT_INFO;

namespace velmora::front {
namespace {

template <std::size_t Capacity>
QString FieldText(const char (&field)[Capacity])
{
    return QString::fromUtf8(field, static_cast<qsizetype>(strnlen(field, Capacity)));
}

// The extension of a drive path or file name, without the dot.
QString ExtensionText(const QString& path)
{
    const std::string text = path.toStdString();
    const std::string_view extension = platform::ExtensionPart(text);
    return QString::fromUtf8(extension.empty() ? extension : extension.substr(1));
}

// A track's play length from its "M:SS" field.
int TrackSeconds(const char (&length)[20])
{
    int minutes = 0, seconds = 0;
    if (std::sscanf(FieldText(length).toStdString().c_str(), "%d:%d", &minutes, &seconds) != 2) return 0;
    return std::clamp(minutes, 0, 6000) * 60 + std::clamp(seconds, 0, 59);
}

int ReadTracks(::Lumetra::GetCdTextInfoFn read, char letter, std::vector<CD_TEXT_INFO>& records, unsigned& count)
{
    try {
        return read(letter, records.data(), &count);
    } catch (const std::exception&) {
        LogMessage(4, "OnCbnSelchangeComboAcCdrom Unhandled Exception Caught while Getting CD Info.");
        return -1;
    }
}

// A track's title field named after its .cda file; a name too long for it is refused, not cut.
void NameAfterFile(CD_TEXT_INFO& record, const std::string& name)
{
    if (!MediaLibrary::SetFieldText(record.szTitle, name))
        LogMessage(1, "The track file name %s is longer than its title field; the title stays empty", name.c_str());
}

}  // namespace

void CMediaMaster::ListCdDrives(QComboBox& drives)
{
    const QSignalBlocker quiet(drives);
    drives.clear();
    const auto table = velmora::platform::DriveTable::Load();
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string root{letter, ':', '\\'};
        if (table.TypeOfRoot(root) != velmora::platform::DriveType::CdRom) continue;
        const auto* drive = table.Find(letter);
        drives.addItem(QString::fromStdString(root + "  " + drive->source.string()), QString::fromStdString(root));
    }
}

void CMediaMaster::GetCDRomList()
{
    LogMessage(3, "Entering GetCDRomList");
    QComboBox& drives = *controls_.driveList;
    ListCdDrives(drives);
    LogMessage(2, "Found Drives .Count (%d)", drives.count());
    if (drives.count() > 0) OnCbnSelchangeComboAcCdrom();
    LogMessage(3, "Leaving GetCDRomList");
}

void CMediaMaster::OnCbnSelchangeComboAcCdrom()
{
    const QComboBox& drives = *controls_.driveList;
    const int index = drives.currentIndex();
    LogMessage(2, "Entering OnCbnSelchangeComboAcCdrom. Index of Selected Drives(%d)", index);
    if (index < 0) return;
    // The burner modes hand the selected recorder on; that is the burners' business.
    if (Mode() != kModeAudioConverter) return;

    convertList_->ResetColumns();
    const std::string root = drives.itemData(index).toString().toStdString();
    const auto table = velmora::platform::DriveTable::Load();
    if (!table.FindFiles(root + "*.wav").empty()) convertList_->SetColumns(kModeAudioConverter);
    const std::vector<std::string> names = table.FindFiles(root + "*.cda");
    if (names.empty()) return;
    LogMessage(2, "OnCbnSelchangeComboAcCdrom. Found Audio Files.");
    if (!RequireExport(Export::GET_CD_TEXT_INFO) || !RequireExport(Export::GetCDEntry)) return;

    const char letter = root.front();
    CCDDBDialog dialog(letter, this);
    LogMessage(2, "OnCbnSelchangeComboAcCdrom. Calling  CCDDBDialog for Drive (' %c ').", letter);
    const CDDB::CQueryResult* match = ChooseCddbMatch(dialog);
    std::vector<CD_TEXT_INFO> records;
    if (!ReadDiscTracks(letter, names, records)) return;
    if (match) ApplyCddbTitles(records, names, *match);
    ListCdTracks(records);
}

// The match the user picks among those the CDDB server knows; none when cancelled or unknown.
const CDDB::CQueryResult* CMediaMaster::ChooseCddbMatch(CCDDBDialog& dialog)
{
    if (dialog.DoModal() != QDialog::Accepted) {
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. CDDB is canceled of No Entry Found.");
        return nullptr;
    }
    LogMessage(2, "OnCbnSelchangeComboAcCdrom. Selected the CDDB entry.");
    return dialog.m_pSelected;
}

// The disc's track records, each first named after its .cda file; false, after a message, when
// they cannot be read.
bool CMediaMaster::ReadDiscTracks(char letter, const std::vector<std::string>& names, std::vector<CD_TEXT_INFO>& records)
{
    records.assign(names.size(), CD_TEXT_INFO());
    LogMessage(2, "OnCbnSelchangeComboAcCdrom. File Count (%d).", static_cast<int>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) NameAfterFile(records[i], names[i]);

    const auto read = Lumetra().GET_CD_TEXT_INFO();
    unsigned count = static_cast<unsigned>(names.size());
    int result = ReadTracks(read, letter, records, count);
    if (result == MediaLibrary::Result::kCdArrayTooSmall) {
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. File Count (%d).", static_cast<int>(count));
        records.assign(count, CD_TEXT_INFO());
        result = ReadTracks(read, letter, records, count);
    }
    if (result != 0) {
        char text[64];
        std::snprintf(text, sizeof text, "Failed To get CD Text. Error code (%d)", result);
        desktop_.ShowMessage(this, text, "Media Library - Error", MessageKind::Error);
        return false;
    }
    if (names.size() != count)
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. Count problem File_List.size=(%d) and ncount=(%d).",
                   static_cast<int>(names.size()), static_cast<int>(count));
    records.resize(std::min<std::size_t>(records.size(), count));
    return true;
}

// The match's titles in place of the file names; a track the entry leaves untitled keeps its name.
void CMediaMaster::ApplyCddbTitles(std::vector<CD_TEXT_INFO>& records, const std::vector<std::string>& names,
                                   const CDDB::CQueryResult& match)
{
    const std::size_t named = std::min(names.size(), records.size());
    for (std::size_t i = 0; i < named; ++i) records[i].szTitle[0] = '\0';
    LogMessage(2, "OnCbnSelchangeComboAcCdrom. Calling pfn_GetCDEntry with count(%d).", static_cast<int>(records.size()));
    Lumetra().GetCDEntry()(records.data(), static_cast<int>(records.size()), &match);
    for (std::size_t i = 0; i < named; ++i)
        if (records[i].szTitle[0] == '\0') NameAfterFile(records[i], names[i]);
}

void CMediaMaster::ListCdTracks(const std::vector<CD_TEXT_INFO>& records)
{
    convertList_->SetColumns(kModeAudioConverter);
    for (const CD_TEXT_INFO& record : records) {
        const QString path = FieldText(record.szPath);
        ConvertRow track{.sourcePath = path.toStdString(),
                         .kind = SourceKind::CdTrack,
                         .trackNumber = record.nTrackNo,
                         .title = FieldText(record.szTitle).toStdString(),
                         .seconds = TrackSeconds(record.szLength)};
        convertList_->AddRow(std::move(track), {QString::number(record.nTrackNo), FieldText(record.szLength),
                                                    FieldText(record.szSize), FieldText(record.szTitle),
                                                    FieldText(record.szArtist), ExtensionText(path), path});
    }
    if (!records.empty()) {
        static_cast<QLineEdit*>(Control(control::kAudioBitRateEdit))->setText("320");
        static_cast<QLineEdit*>(Control(control::kChannelsEdit))->setText("2");
    }
}

}  // namespace velmora::front
