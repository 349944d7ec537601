#include "UpdateCheck.h"

#include "Log.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace velmora::front {
namespace {

constexpr long kConnectTimeoutSeconds = 10;
constexpr long kTotalTimeoutSeconds = 30;
constexpr const char* kUserAgent = "Check Velmora Updates/1.0";

struct CurlCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;

CurlHandle NewCurlHandle()
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    return CurlHandle(curl_easy_init());
}

struct Transfer {
    std::stop_token stop;
    std::size_t bodyBytes = 0;
};

// The first byte decides: ending the transfer there saves reading a page nobody looks at.
std::size_t OnBody(char*, std::size_t size, std::size_t count, void* context)
{
    static_cast<Transfer*>(context)->bodyBytes += size * count;
    return size * count > 0 ? 0 : size * count;
}

int OnProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<Transfer*>(context)->stop.stop_requested() ? 1 : 0;
}

}  // namespace

std::string UpdatePageUrl(const std::string& server)
{
    return "http://" + server + "/newupdate.php";
}

bool UpdateOffered(const std::string& server, std::stop_token stop)
{
    const CurlHandle curl = NewCurlHandle();
    if (!curl) {
        LogMessage(1, "Update check: cannot create a transfer");
        return false;
    }
    Transfer transfer{std::move(stop)};
    const std::string url = "http://" + server + "/updates.php?version=1.2";
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(curl.get(), CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, kTotalTimeoutSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);

    const CURLcode result = curl_easy_perform(curl.get());
    if (transfer.bodyBytes > 0) return true;
    if (result != CURLE_OK) LogMessage(2, "Update check with %s: %s", server.c_str(), curl_easy_strerror(result));
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
