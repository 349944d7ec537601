#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <stop_token>
#include <string>

namespace velmora::platform {

// Every exchange is time-boxed and its answer capped: a server that never answers, or answers
// without end, must not hold anyone forever.
struct HttpLimits {
    std::chrono::seconds connect{10};
    std::chrono::seconds total{30};
    std::size_t bodyBytes = 1 << 20;
};

struct HttpRequest {
    std::string url{};                     // http:// (or https://) only
    std::optional<std::string> postBody{};   // none: GET
    std::string contentType{};               // of the POST body
    std::string userAgent{};                 // empty: libcurl sends none
    HttpLimits limits{};
    // An error status is an answer too, when the caller reads bodies of any status.
    bool acceptErrorStatus = false;
    // Ends the exchange early, as a failure.
    std::stop_token stop{};
};

struct HttpResponse {
    // Empty when the server answered; else why there is no answer (no connection, time-out,
    // stop, an error status not accepted).
    std::string error;
    long status = 0;
    std::string body;
    // The answer went past the body limit: the body holds what came up to it.
    bool truncated = false;

    bool Answered() const { return error.empty(); }
};

// One synchronous exchange through libcurl.
HttpResponse HttpExchange(const HttpRequest& request);

}  // namespace velmora::platform
