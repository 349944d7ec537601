#include "Lookup.h"

#include "log/Log.h"
#include "settings/Settings.h"

#include <algorithm>

namespace AccurateRip {
namespace {

constexpr const char* kDefaultServer = "www.accuraterip.com";
constexpr std::size_t kHostLimit = 253 + 6;   // a host name and ":port"
constexpr long kNotFound = 404;

// A host name or address and perhaps a port: nothing that would change the request's path.
bool IsHostText(const std::string& host)
{
    return !host.empty() && host.size() <= kHostLimit && std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
               c == ':';
    });
}

LookupResult NoAnswer(LookupResult result, const std::string& server, const std::string& why)
{
    LogMessage(1, "AccurateRip: no answer from %s: %s", result.url.c_str(), why.c_str());
    result.reason = "no answer from " + server + " (" + why + ")";
    return result;
}

std::string DatabaseServer()
{
    const std::string host = velmora::platform::Settings::Load().GetString("AccurateRipServer", kDefaultServer);
    if (IsHostText(host)) return host;
    LogMessage(1, "The AccurateRipServer setting is not a host name; %s is asked instead", kDefaultServer);
    return kDefaultServer;
}

}  // namespace

LookupResult LookUp(const DiscIds& disc, const velmora::platform::HttpLimits& limits)
{
    LookupResult result;
    const std::string server = DatabaseServer();
    result.url = "http://" + server + disc.DatabasePath();
    LogMessage(4, "AccurateRip request: %s", result.url.c_str());
    const auto response =
        velmora::platform::HttpExchange({.url = result.url, .limits = limits, .acceptErrorStatus = true});
    if (!response.Answered()) return NoAnswer(std::move(result), server, response.error);
    if (response.truncated) return NoAnswer(std::move(result), server, "the answer is larger than allowed");
    if (response.status == kNotFound) {
        result.outcome = LookupResult::Outcome::NotFound;
        return result;
    }
    if (response.status != 200)
        return NoAnswer(std::move(result), server, "status " + std::to_string(response.status));
    result.outcome = LookupResult::Outcome::Found;
    result.database = ParseDatabase(response.body, disc);
    // An answer with nothing for this disc knows it as little as a "not found".
    if (result.database.submissions.empty()) result.outcome = LookupResult::Outcome::NotFound;
    return result;
}

}  // namespace AccurateRip
