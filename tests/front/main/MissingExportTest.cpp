#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "FrontTesting.h"
#include "core/LumetraBinding.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

namespace control = velmora::front::control;

using velmora::front::CMediaMaster;
using velmora::front::LumetraBinding;
using velmora::front::Lumetra;
using velmora::test::AnsweringDesktop;
using velmora::test::Click;

class MissingExportTest : public ::testing::Test {
protected:
    void SetUp() override { velmora::test::TestApplication(); }
    // The binding belongs to the process: leave it as the other tests expect it.
    void TearDown() override { Lumetra().Bind(velmora::front::DefaultLibraryPath()); }

    AnsweringDesktop desktop;
    velmora::test::ScratchFolder folder;
};

TEST_F(MissingExportTest, TheWindowStartsAndRefusesWhatNeedsAMissingExport)
{
    CMediaMaster window(true, desktop, PARTIAL_LUMETRA);
    for (const int button : {control::kAudioConverterButton, control::kVideoConverterButton,
                             control::kDvdCreatorButton, control::kAudioBurnerButton, control::kCdDataBurnerButton,
                             control::kDvdDataBurnerButton})
        Click(window, button);
    EXPECT_TRUE(desktop.messages.empty());

    velmora::test::WriteFile(folder / "clip.avi", "not really a video");
    Click(window, control::kVideoConverterButton);
    window.ConvertList().AddListFile(QString::fromStdString((folder / "clip.avi").string()));
    EXPECT_EQ(window.ConvertList().topLevelItemCount(), 0);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].text.contains("GetPlayLength")) << desktop.messages[0].text.toStdString();
    EXPECT_EQ(desktop.messages[0].caption, "Velmora 1.2");

    // What is bound still works.
    window.ApplyVideoDefaults((folder / "clip.avi").string());
    EXPECT_EQ(static_cast<QComboBox*>(window.Control(control::kSampleRateList))->currentText(), "48000");
    EXPECT_EQ(static_cast<QComboBox*>(window.Control(control::kFrameRateList))->currentText(), "12");
    EXPECT_EQ(static_cast<QLineEdit*>(window.Control(control::kWidthEdit))->text(), "640");
}

TEST_F(MissingExportTest, WithoutTheLibraryEveryOperationThatNeedsItIsRefused)
{
    CMediaMaster window(true, desktop, folder / "libNothing.so");
    EXPECT_EQ(Lumetra().Unbound().size(), LumetraBinding::kNames.size());
    Click(window, control::kVideoConverterButton);
    window.ApplyVideoDefaults("/any/clip.avi");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].text.contains("GetDefaultPara"));

    // A job starts only with every export it calls.
    Click(window, control::kStartButton);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_TRUE(desktop.messages[1].text.contains("GeTThumbNailForVideoFile"));
    EXPECT_FALSE(window.JobRunning());
    EXPECT_TRUE(window.Control(control::kStartButton)->isEnabled());
}

}  // namespace
