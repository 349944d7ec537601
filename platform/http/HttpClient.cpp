#include "HttpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace velmora::platform {
namespace {

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

struct Transfer {
    HttpResponse response;
    std::size_t limit;
    std::stop_token stop;
};

std::size_t Receive(char* data, std::size_t size, std::size_t count, void* context)
{
    auto& transfer = *static_cast<Transfer*>(context);
    const std::size_t bytes = size * count;
    const std::size_t room = transfer.limit - transfer.response.body.size();
    transfer.response.body.append(data, std::min(bytes, room));
    if (bytes <= room) return bytes;
    transfer.response.truncated = true;
    return 0;   // ends the transfer
}

int OnProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<Transfer*>(context)->stop.stop_requested() ? 1 : 0;
}

void InitialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

HttpResponse HttpExchange(const HttpRequest& request)
{
    InitialiseCurlOnce();
    const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) {
        HttpResponse failed;
        failed.error = "the HTTP request could not be created";
        return failed;
    }
    CURL* handle = easy.get();
    Transfer transfer{{}, request.limits.bodyBytes, request.stop};
    std::unique_ptr<curl_slist, ListDeleter> headers;
    curl_easy_setopt(handle, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);   // worker threads must not get SIGALRM
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, static_cast<long>(request.limits.connect.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, static_cast<long>(request.limits.total.count()));
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Receive);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    if (!request.acceptErrorStatus) curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    if (!request.userAgent.empty()) curl_easy_setopt(handle, CURLOPT_USERAGENT, request.userAgent.c_str());
    if (request.postBody) {
        headers.reset(curl_slist_append(nullptr, ("Content-Type: " + request.contentType).c_str()));
        curl_easy_setopt(handle, CURLOPT_POST, 1L);
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, request.postBody->c_str());
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE, static_cast<long>(request.postBody->size()));
        curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    }

    const CURLcode result = curl_easy_perform(handle);
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &transfer.response.status);
    if (result != CURLE_OK && !transfer.response.truncated) transfer.response.error = curl_easy_strerror(result);
    return std::move(transfer.response);
}

}  // namespace velmora::platform
