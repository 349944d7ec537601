#include "HttpPost.h"

#include "Log.h"

#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace CDDB {
namespace {

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

struct Reception {
    std::string body;
    std::size_t limit;
    bool overflowed = false;
};

std::size_t Receive(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& reception = *static_cast<Reception*>(user);
    const std::size_t bytes = size * count;
    if (reception.body.size() + bytes > reception.limit) {
        reception.overflowed = true;
        return 0;   // makes curl end the transfer with an error
    }
    reception.body.append(data, bytes);
    return bytes;
}

void InitialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

std::optional<std::string> HttpPost(const std::string& url, const std::string& contentType, const std::string& body,
                                    const HttpLimits& limits)
{
    InitialiseCurlOnce();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) {
        LogMessage(1, "HTTP request to %s could not be created", url.c_str());
        return std::nullopt;
    }
    const std::string header = "Content-Type: " + contentType;
    std::unique_ptr<curl_slist, ListDeleter> headers(curl_slist_append(nullptr, header.c_str()));
    Reception reception{{}, limits.bodyBytes};

    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_POST, 1L);
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Receive);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &reception);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, static_cast<long>(limits.connect.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, static_cast<long>(limits.total.count()));
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);   // worker threads must not get SIGALRM
    curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");

    const CURLcode result = curl_easy_perform(handle);
    if (result != CURLE_OK) {
        LogMessage(1, "HTTP request to %s failed: %s", url.c_str(),
                   reception.overflowed ? "the answer is larger than allowed" : curl_easy_strerror(result));
        return std::nullopt;
    }
    return std::move(reception.body);
}

}  // namespace CDDB
