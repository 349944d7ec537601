#include "ReadCDDB.h"
#include "text/Trim.h"

#include "CdEntry.h"
#include "CddbText.h"
#include "log/Log.h"
#include "settings/Settings.h"

#include <algorithm>
#include <stdexcept>
#include <unistd.h>

namespace CDDB {
namespace {

using velmora::platform::Trim;

// The next word up to a blank; the rest follows after that blank.
std::string_view TakeWord(std::string_view& text)
{
    const auto blank = text.find(' ');
    const auto word = text.substr(0, blank);
    text = blank == std::string_view::npos ? std::string_view{} : text.substr(blank + 1);
    return word;
}

// How much of an answer line that is no answer goes into a message.
constexpr std::size_t kShownLineLimit = 200;

std::string QueryAnswer(const std::string& code)
{
    if (code == "202") return "knows no disc like this one (202)";
    if (code == "403") return "holds a damaged entry for this disc (403)";
    if (code == "409") return "refused the query: it wants a greeting first (409)";
    return "could not answer the query (" + code + ")";
}

std::string ReadAnswer(const std::string& code)
{
    if (code == "401") return "has no entry for this disc (401)";
    if (code == "402") return "could not read its entry for this disc (402)";
    if (code == "403") return "holds a damaged entry for this disc (403)";
    if (code == "409") return "refused to send the entry: it wants a greeting first (409)";
    return "answered " + code + " instead of the entry";
}

std::string MachineHostName()
{
    char name[256] = "";
    if (::gethostname(name, sizeof name - 1) != 0 || !*name) return "localhost";
    return name;
}

}  // namespace

std::string GetResponseCode(std::string_view line)
{
    line = Trim(line);
    const auto code = line.substr(0, 3);
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (code.size() < 3 || !std::all_of(code.begin(), code.end(), digit) || (line.size() > 3 && line[3] != ' '))
        return "-1";
    return std::string(code);
}

std::optional<CQueryResult> ParseMatchLine(std::string_view line, bool withCode)
{
    CQueryResult match;
    line = Trim(line);
    if (withCode) match.strCode = TakeWord(line);
    match.strCategory = TakeWord(line);
    match.strDiscId = TakeWord(line);
    // Both go into the read request as they are.
    if (!IsCategory(match.strCategory) || !IsDiscId(match.strDiscId)) return std::nullopt;
    // A match without " / " names the disc by one text: it serves as artist and title.
    if (const auto separator = line.find(" / "); separator != std::string_view::npos) {
        match.strArtist = CleanText(line.substr(0, separator));
        match.strTitle = CleanText(line.substr(separator + 3));
    } else {
        match.strArtist = match.strTitle = CleanText(line);
    }
    return match;
}

std::vector<std::string> SplitResponseLines(std::string_view body)
{
    std::vector<std::string> lines;
    while (!body.empty()) {
        const auto end = body.find('\n');
        auto line = body.substr(0, end);
        body = end == std::string_view::npos ? std::string_view{} : body.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        if (line.front() == '.') break;
        lines.emplace_back(line);
    }
    return lines;
}

CReadCDDB::CReadCDDB() : pSite(std::make_unique<CSite>())
{
    const auto settings = velmora::platform::Settings::Load();
    strUser = settings.GetString("CddbUser", strUser);
    strHostName = settings.GetString("CddbHelloHost", MachineHostName());
    SetServer(settings.GetString("CddbServer", kDefaultServer));
}

void CReadCDDB::SetServer(const std::string& host)
{
    if (host.find("http") != std::string::npos || host.find("cgi") != std::string::npos)
        throw std::runtime_error("Invalid Site Address specified");
    pSite->strHost = host;
}

std::string CReadCDDB::Url() const
{
    if (pSite->strProtocol == "http") return "http://" + pSite->strHost + pSite->strPath;
    return pSite->strHost;
}

std::string CReadCDDB::ServerName() const
{
    return "the CDDB server " + pSite->strHost;
}

std::string CReadCDDB::RequestBody(const std::string& command) const
{
    return "cmd=" + command + "&hello=" + strUser + "+" + strHostName + "+" + strClientName + "+" +
           strClientVersion + "&proto=" + strProtoLevel;
}

std::vector<std::string> CReadCDDB::SendCommand(const std::string& command)
{
    problem_.clear();
    LogMessage(4, "CDDB request to %s: %s", Url().c_str(), command.c_str());
    const auto response = velmora::platform::HttpExchange(
        {.url = Url(), .postBody = RequestBody(command), .contentType = "text/plain", .limits = limits_});
    const std::string server = ServerName();
    if (!response.Answered())
        problem_ = server + " did not answer: " + response.error;
    else if (response.truncated)
        problem_ = server + " sent more than the " + std::to_string(limits_.bodyBytes) + " bytes an answer may have";
    else if (response.status / 100 != 2)
        problem_ = server + " answered with HTTP status " + std::to_string(response.status) +
                   " instead of a CDDB answer";
    if (!problem_.empty()) {
        LogMessage(1, "HTTP request to %s failed: %s", Url().c_str(), problem_.c_str());
        return {};
    }
    return SplitResponseLines(response.body);
}

std::string CReadCDDB::Query(const std::string& queryString, Matches& matches)
{
    std::vector<std::string> lines;
    std::string code;
    try {
        lines = SendCommand("cddb+query+" + queryString);
        code = GetResponseCode(lines.empty() ? std::string() : lines.front());
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string("Unable to perform cddb query. ") + error.what());
    }
    if (code == "-1") {
        const std::string shown = lines.empty() ? std::string() : CleanText(lines.front().substr(0, kShownLineLimit));
        if (problem_.empty()) problem_ = ServerName() + " sent no CDDB answer to the query: " + shown;
        throw std::runtime_error("Unable to process results returned for query: Data returned: " + shown);
    }
    if (code == "200" || code == "210" || code == "211") {
        const std::size_t before = matches.size();
        for (std::size_t line = code == "200" ? 0 : 1; line < lines.size(); ++line) {
            if (auto match = ParseMatchLine(lines[line], code == "200"))
                matches.push_back(std::make_unique<CQueryResult>(std::move(*match)));
            else
                LogMessage(1, "CDDB match left out, its category or disc id is not one to ask for: %s",
                           CleanText(lines[line]).c_str());
        }
        if (matches.size() == before) problem_ = ServerName() + " named no disc that can be asked for";
        return code == "200" ? code : "211";
    }
    problem_ = ServerName() + " " + QueryAnswer(code);
    if (code == "202" || code == "403" || code == "409") return code;
    return "500";
}

std::string CReadCDDB::ReadEntry(const CQueryResult* match, MediaLibrary::Header::CD_TEXT_INFO* tracks, int count,
                                 CCdEntry* parsed)
{
    problem_.clear();
    if (!match) {
        problem_ = "no CDDB match was chosen";
        return {};
    }
    if (!IsCategory(match->strCategory) || !IsDiscId(match->strDiscId)) {
        problem_ = "the CDDB match names no category and disc id that can be asked for";
        return {};
    }
    std::vector<std::string> lines;
    try {
        lines = SendCommand("cddb+read+" + match->strCategory + "+" + match->strDiscId);
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string("Error performing cddb read. ") + error.what());
    }
    const std::string code = GetResponseCode(lines.empty() ? std::string() : lines.front());
    if (code == "-1") {
        const std::string shown = lines.empty() ? std::string() : CleanText(lines.front().substr(0, kShownLineLimit));
        if (problem_.empty()) problem_ = ServerName() + " sent no CDDB entry: " + shown;
        throw std::runtime_error("No results returned from cddb read. " + shown);
    }
    if (code == "210") {
        lines.front().clear();
        CCdEntry entry(tracks, count, lines);
        LogMessage(4, "CDDB entry read: %s / %s", entry.Artist().c_str(), entry.DiscTitle().c_str());
        if (parsed) *parsed = entry;
        return code;
    }
    problem_ = ServerName() + " " + ReadAnswer(code);
    if (code == "401" || code == "402" || code == "403" || code == "409") return code;
    return "500";
}

}  // namespace CDDB
