#include "UpdateCheck.h"

#include "http/HttpClient.h"
#include "log/Log.h"

namespace velmora::front {
namespace {

constexpr const char* kUserAgent = "Check Velmora Updates/1.0";

}  // namespace

std::string UpdatePageUrl(const std::string& server)
{
    return "http://" + server + "/newupdate.php";
}

bool UpdateOffered(const std::string& server, std::stop_token stop)
{
    // Any answer counts, whatever its status, so a few bytes of it are enough.
    const auto response = platform::HttpExchange({.url = "http://" + server + "/updates.php?version=1.2",
                                                  .userAgent = kUserAgent,
                                                  .limits = {.bodyBytes = 1},
                                                  .acceptErrorStatus = true,
                                                  .stop = std::move(stop)});
    if (!response.body.empty()) return true;
    if (!response.Answered()) LogMessage(2, "Update check with %s: %s", server.c_str(), response.error.c_str());
    return false;
}

CUpdateCheck::~CUpdateCheck()
{
    thread_.request_stop();
}

void CUpdateCheck::Start(std::string server, std::function<void()> onOffered)
{
    thread_ = std::jthread([server = std::move(server), onOffered = std::move(onOffered)](std::stop_token stop) {
        if (UpdateOffered(server, stop) && !stop.stop_requested()) onOffered();
    });
}

void CUpdateCheck::Wait()
{
    if (thread_.joinable()) thread_.join();
}

}  // namespace velmora::front
