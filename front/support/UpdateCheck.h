#pragma once

#include <functional>
#include <stop_token>
#include <string>
#include <thread>

namespace velmora::front {

// Asks GET http://<server>/updates.php?version=1.2 and tells whether the answer carries at least
// one body byte; status and content do not matter. Every failure is "no". A request gives up
// when `stop` is requested, and in any case after the connect and total time-outs.
bool UpdateOffered(const std::string& server, std::stop_token stop);

// "http://<server>/newupdate.php"
std::string UpdatePageUrl(const std::string& server);

// The one check per start, on a thread of its own so that the window opens without waiting.
class CUpdateCheck {
public:
    CUpdateCheck() = default;
    ~CUpdateCheck();   // cuts a running request short and waits for the thread
    CUpdateCheck(const CUpdateCheck&) = delete;
    CUpdateCheck& operator=(const CUpdateCheck&) = delete;

    // onOffered runs on the check's thread when an update is offered.
    void Start(std::string server, std::function<void()> onOffered);
    // Returns when the check has ended (at once when none was started).
    void Wait();

private:
    std::jthread thread_;
};

}  // namespace velmora::front
