// The main window as the host of its lists and jobs: every call may come from a job's thread
// and runs on the UI thread.
#include "CMediaMaster.h"

#include "DiscUsage.h"
#include "burnjobs/CDriveSelector.h"
#include "core/ControlIds.h"
#include "core/UiThread.h"
#include "jobs/JobPaths.h"
#include "lists/CListCtrlEx.h"
#include "lists/FileDialogs.h"
#include "log/Log.h"
#include "support/CShowThumbNail.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

using MediaLibrary::Header::MEDIACONVERSIONINFO;

namespace velmora::front {

void CMediaMaster::EnableControls(bool busy)
{
    RunOnThreadOf(*this, [this, busy] {
        for (const auto& [id, control] : controls_.controlMap) control->setEnabled(!busy);
        if (!busy) RestoreModeState();
    });
}

void CMediaMaster::SetStatusText(const QString& text)
{
    RunOnThreadOf(*this, [this, text] { controls_.status->setText(text); });
}

bool CMediaMaster::ShowMessage(const QString& text, const QString& caption, MessageKind kind)
{
    bool answer = false;
    RunOnThreadOf(*this, [&] { answer = desktop_.ShowMessage(this, text, caption, kind); });
    return answer;
}

// ---- Progress --------------------------------------------------------------------------------

void CMediaMaster::ShowProgress(int maximum, int minimum)
{
    RunOnThreadOf(*this, [this, maximum, minimum] {
        controls_.progress->setRange(minimum, maximum);
        controls_.progress->reset();
        controls_.progress->show();
        controls_.status->show();
    });
}

void CMediaMaster::SetProgress(int position)
{
    RunOnThreadOf(*this, [this, position] { SetProgressPosition(static_cast<std::uint64_t>(position)); });
}

void CMediaMaster::EndProgress()
{
    RunOnThreadOf(*this, [this] {
        controls_.progress->setValue(controls_.progress->minimum());
        controls_.progress->show();
        controls_.status->show();
    });
}

void CMediaMaster::ShowBurnProgress(std::uint64_t done, std::uint64_t total)
{
    // In percent.
    constexpr int kSteps = 100;
    const auto position = static_cast<int>(std::min(done, total) * kSteps / std::max<std::uint64_t>(total, 1));
    RunOnThreadOf(*this, [this, position] {
        controls_.progress->setRange(0, kSteps);
        controls_.progress->setValue(position);
        controls_.progress->show();
        controls_.status->show();
    });
}

void CMediaMaster::UpdateDiscUsage()
{
    RunOnThreadOf(*this, [this] {
        const UsageDisplay usage = DescribeUsage(Mode(), state_.BurnOption(), state_.DiscUsed(), state_.DiscCapacity());
        SetCaption(control::kUsageRightLabel, usage.capacityText);
        controls_.status->setText(usage.usedText);
        SetProgressPosition(usage.position);
    });
}

// ---- Quality ---------------------------------------------------------------------------------

void CMediaMaster::CollectSettings(MEDIACONVERSIONINFO& request, const MEDIACONVERSIONINFO* defaults)
{
    RunOnThreadOf(*this, [&] { quality_.Collect(Mode(), request, defaults); });
}

void CMediaMaster::ApplyVideoDefaults(const MEDIACONVERSIONINFO& figures)
{
    if (Mode() == kModeVideoConverter) quality_.Show(figures);
}

void CMediaMaster::UpdateOutputInfo(std::int64_t totalSeconds)
{
    RunOnThreadOf(*this, [this, totalSeconds] { quality_.ShowOutputInfo(totalSeconds); });
}

void CMediaMaster::SetJoinEnabled(bool enabled)
{
    auto* join = static_cast<QAbstractButton*>(Control(control::kJoinFilesCheck));
    join->setEnabled(enabled && Mode() == kModeVideoConverter);
    if (!enabled) join->setChecked(false);
}

bool CMediaMaster::RequireExport(Export which)
{
    if (Lumetra().Has(which)) return true;
    desktop_.ShowMessage(this,
                         QString("This operation needs %1 from the Lumetra library, which the installed library "
                                 "does not provide.")
                             .arg(QString::fromUtf8(LumetraBinding::Name(which))),
                         strings_[kRowTitle], MessageKind::Plain);
    return false;
}

// ---- Questions -------------------------------------------------------------------------------

std::string CMediaMaster::ChooseOutputFolder()
{
    QString folder;
    RunOnThreadOf(*this, [&] { folder = desktop_.ChooseFolder(this, strings_[kRowChooseOutputFolder]); });
    return folder.toStdString();
}

std::string CMediaMaster::ChooseJoinedFile()
{
    QString file;
    RunOnThreadOf(*this, [&] { file = desktop_.ChooseSaveFile(this, DialogFilter({kConvertedFileFilter})); });
    return file.toStdString();
}

std::string CMediaMaster::ChooseIsoFileToWrite()
{
    QString file;
    RunOnThreadOf(*this, [&] { file = desktop_.ChooseSaveFile(this, DialogFilter({kIsoFilesFilter})); });
    return file.toStdString();
}

std::string CMediaMaster::ChooseIsoFileToBurn()
{
    QString file;
    RunOnThreadOf(*this, [&] { file = desktop_.ChooseExistingFile(this, DialogFilter({kIsoFilesFilter})); });
    return file.toStdString();
}

std::optional<std::string> CMediaMaster::ChooseTargetRecorder(bool audioCd)
{
    std::optional<std::string> target;
    RunOnThreadOf(*this, [&] {
        CDriveSelector selector(strings_.english(), desktop_, this);
        if (audioCd) selector.OfferAudioRecorderFirst();
        if (desktop_.RunDialog(selector) == QDialog::Accepted) target = selector.ChosenId();
    });
    return target;
}

// ---- The conversion's preview and rows -------------------------------------------------------

// The picture is loaded when the message arrives, so that loading and painting never overlap.
void CMediaMaster::ShowPreview(const std::string& picture)
{
    QMetaObject::invokeMethod(this, [this, picture = QString::fromStdString(picture)] { OnShowPreview(picture); },
                              Qt::QueuedConnection);
}

void CMediaMaster::OnShowPreview(const QString& picture)
{
    preview_->LoadPicture(picture);
    preview_->show();
    preview_->activateWindow();
    preview_->repaint();
}

void CMediaMaster::HidePreview()
{
    QMetaObject::invokeMethod(preview_, &CShowThumbNail::Conceal, Qt::QueuedConnection);
}

void CMediaMaster::UncheckRow(int row)
{
    RunOnThreadOf(*this, [this, row] {
        if (QTreeWidgetItem* item = convertList_->topLevelItem(row)) item->setCheckState(0, Qt::Unchecked);
    });
}

void CMediaMaster::PostCommand(int id)
{
    QMetaObject::invokeMethod(static_cast<QAbstractButton*>(Control(id)), &QAbstractButton::click,
                              Qt::QueuedConnection);
}

}  // namespace velmora::front
