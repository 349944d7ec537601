#include "BurnJobsTesting.h"

#include "burnjobs/CBurnJobs.h"
#include "core/ControlIds.h"

#include <QElapsedTimer>
#include <QLabel>

#include <gtest/gtest.h>

namespace velmora::test {

namespace control = velmora::front::control;

void BurnWindowTest::Configure(const std::string& recorders, const std::string& drives)
{
    recorders_.reset();
    drives_.reset();
    recorders_ = std::make_unique<ScopedEnvironment>("VELMORA_RECORDERS", recorders);
    drives_ = std::make_unique<ScopedEnvironment>("VELMORA_DRIVES", drives);
}

void BurnWindowTest::OpenInMode(int modeButton)
{
    window = MakeWindow(desktop);
    Click(*window, modeButton);
}

void BurnWindowTest::Burn()
{
    Click(*window, control::kStartButton);
    WaitForBurn();
}

void BurnWindowTest::WaitForBurn()
{
    QElapsedTimer timer;
    timer.start();
    while (window->BurnJobs().Running() && timer.elapsed() < 120000) ProcessEvents(10);
    ASSERT_FALSE(window->BurnJobs().Running()) << "the burn did not end";
    ProcessEvents();
}

QString BurnWindowTest::Status() const
{
    return static_cast<QLabel*>(window->Control(control::kStatusText))->text();
}

bool BurnWindowTest::Showed(const QString& text) const
{
    for (const auto& message : desktop.messages)
        if (message.text == text) return true;
    return false;
}

}  // namespace velmora::test
