#pragma once

#include "main/CMediaMaster.h"
#include "FrontTesting.h"
#include "ScratchFolder.h"

#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace velmora::test {

// A window in one of the burn modes, with no recorders or drives but those a test configures.
class BurnWindowTest : public ::testing::Test {
protected:
    BurnWindowTest() { Configure({}); }

    // Pseudo recorders (";"-separated) and virtual drives ("E=/folder").
    void Configure(const std::string& recorders, const std::string& drives = {});

    // Opens the window in the mode (4, 5 or 6, by its button).
    void OpenInMode(int modeButton);
    // Presses Start and waits for the burn thread to finish.
    void Burn();
    // Waits for the running burn to finish.
    void WaitForBurn();
    QString Status() const;
    // Whether a message box showed the text.
    bool Showed(const QString& text) const;

    ScratchFolder scratch;
    AnsweringDesktop desktop;
    std::unique_ptr<front::CMediaMaster> window;

private:
    std::unique_ptr<ScopedEnvironment> recorders_;
    std::unique_ptr<ScopedEnvironment> drives_;
};

}  // namespace velmora::test
