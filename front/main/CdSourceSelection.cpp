// The Audio Converter's CD source: the drive list and the tracks of the selected disc.
#include "CCDDBDialog.h"
#include "lists/CListCtrlEx.h"
#include "CMediaMaster.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "drives/DriveTable.h"
#include "core/ControlIds.h"

#include <QComboBox>
#include <QLineEdit>

#include <cstring>
#include <exception>
#include <vector>

using MediaLibrary::Header::CD_TEXT_INFO;

namespace velmora::front {
namespace {

QString FieldText(const char* field, std::size_t capacity)
{
    return QString::fromUtf8(field, static_cast<qsizetype>(strnlen(field, capacity)));
}

template <std::size_t Capacity>
QString FieldText(const char (&field)[Capacity])
{
    return FieldText(field, Capacity);
}

template <std::size_t Capacity>
void CopyField(char (&field)[Capacity], const std::string& text)
{
    const std::size_t length = std::min(text.size(), Capacity - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

// The extension after the last dot of a drive path or file name, without the dot.
QString ExtensionText(const QString& path)
{
    const int dot = path.lastIndexOf('.');
    const int separator = std::max(path.lastIndexOf('\\'), path.lastIndexOf('/'));
    return dot > separator ? path.mid(dot + 1) : QString();
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

}  // namespace

void CMediaMaster::GetCDRomList()
{
    LogMessage(3, "Entering GetCDRomList");
    QComboBox& drives = *controls_.driveList;
    drives.clear();
    const auto table = velmora::platform::DriveTable::Load();
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string root{letter, ':', '\\'};
        if (table.TypeOfRoot(root) != velmora::platform::DriveType::CdRom) continue;
        const auto* drive = table.Find(letter);
        drives.addItem(QString::fromStdString(root + "  " + drive->source.string()), QString::fromStdString(root));
    }
    LogMessage(2, "Found Drives .Count (%d)", drives.count());
    if (drives.count() > 0) {
        const QSignalBlocker quiet(drives);
        drives.setCurrentIndex(0);
    }
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
    LogMessage(2, "OnCbnSelchangeComboAcCdrom. Calling  CCDDBDialog for Drive (' %c ').", letter);
    CCDDBDialog dialog(letter, this);
    const CDDB::CQueryResult* match = nullptr;
    if (dialog.DoModal() == QDialog::Accepted) {
        match = dialog.m_pSelected;
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. Selected the CDDB entry.");
    } else {
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. CDDB is canceled of No Entry Found.");
    }

    for (const std::string& name : names) LogMessage(4, "OnCbnSelchangeComboAcCdrom. File %s.", name.c_str());
    std::vector<CD_TEXT_INFO> records(names.size());
    LogMessage(2, "OnCbnSelchangeComboAcCdrom. File Count (%d).", static_cast<int>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) {
        CopyField(records[i].szTitle, names[i]);
        LogMessage(4, "OnCbnSelchangeComboAcCdrom. File Title (%s).", records[i].szTitle);
    }
    LogMessage(4, "OnCbnSelchangeComboAcCdrom Done With Printing Title");

    const auto read = Lumetra().GET_CD_TEXT_INFO();
    unsigned count = static_cast<unsigned>(names.size());
    int result = ReadTracks(read, letter, records, count);
    LogMessage(4, "OnCbnSelchangeComboAcCdrom Done With pfn_GET_CD_TEXT_INFO.");
    if (result != 0) {
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. File Count (%d).", static_cast<int>(count));
        if (result == MediaLibrary::Result::kCdArrayTooSmall) {
            records.assign(count, CD_TEXT_INFO());
            result = ReadTracks(read, letter, records, count);
        }
        if (result != 0) {
            char text[64];
            std::snprintf(text, sizeof text, "Failed To get CD Text. Error code (%d)", result);
            desktop_.ShowMessage(this, text, "Media Library - Error", MessageKind::Error);
            return;
        }
    }
    if (names.size() != count)
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. Count problem File_List.size=(%d) and ncount=(%d).",
                   static_cast<int>(names.size()), static_cast<int>(count));
    records.resize(std::min<std::size_t>(records.size(), count));

    if (match) {
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. Flushing the Titles to Get From CDDB.");
        const std::size_t named = std::min(names.size(), records.size());
        for (std::size_t i = 0; i < named; ++i) records[i].szTitle[0] = '\0';
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. Calling pfn_GetCDEntry with count(%d).", static_cast<int>(count));
        Lumetra().GetCDEntry()(records.data(), static_cast<int>(records.size()), match);
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. Retruned After pfn_GetCDEntry with count(%d).", static_cast<int>(count));
        for (std::size_t i = 0; i < named; ++i)
            if (records[i].szTitle[0] == '\0') CopyField(records[i].szTitle, names[i]);
    } else {
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. Selected CDDB is NULL (%d).", 0);
    }

    convertList_->SetColumns(kModeAudioConverter);
    for (const CD_TEXT_INFO& record : records) {
        auto* row = new QTreeWidgetItem;
        const QString path = FieldText(record.szPath);
        row->setText(0, QString::number(record.nTrackNo));
        row->setText(1, FieldText(record.szLength));
        row->setText(2, FieldText(record.szSize));
        row->setText(3, FieldText(record.szTitle));
        row->setText(4, FieldText(record.szArtist));
        row->setText(5, ExtensionText(path));
        row->setText(6, path);
        row->setCheckState(0, Qt::Unchecked);
        convertList_->addTopLevelItem(row);
    }
    if (!records.empty()) {
        static_cast<QLineEdit*>(Control(control::kAudioBitRateEdit))->setText("320");
        static_cast<QLineEdit*>(Control(control::kChannelsEdit))->setText("2");
    }
}

}  // namespace velmora::front
