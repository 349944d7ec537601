#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace CDDB {

struct HttpLimits {
    std::chrono::seconds connect{10};
    std::chrono::seconds total{30};
    std::size_t bodyBytes = 1 << 20;   // a larger answer is refused as a failed request
};

// A synchronous HTTP POST; the raw response body, or none when the exchange failed
// (no connection, time-out, an HTTP error status, or a body past the limit).
std::optional<std::string> HttpPost(const std::string& url, const std::string& contentType, const std::string& body,
                                    const HttpLimits& limits = {});

}  // namespace CDDB
