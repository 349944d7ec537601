#include "ReadCDDB.h"
#include "text/Trim.h"

#include "CdEntry.h"
#include "log/Log.h"
#include "settings/Settings.h"

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
    const auto blank = line.find(' ');
    if (blank == std::string_view::npos) return "-1";
    return std::string(line.substr(0, blank));
}

CQueryResult ParseMatchLine(std::string_view line, bool withCode)
{
    CQueryResult match;
    line = Trim(line);
    if (withCode) match.strCode = TakeWord(line);
    match.strCategory = TakeWord(line);
    match.strDiscId = TakeWord(line);
    // A match without " / " names the disc by one text: it serves as artist and title.
    if (const auto separator = line.find(" / "); separator != std::string_view::npos) {
        match.strArtist = line.substr(0, separator);
        match.strTitle = line.substr(separator + 3);
    } else {
        match.strArtist = match.strTitle = line;
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

std::string CReadCDDB::RequestBody(const std::string& command) const
{
    return "cmd=" + command + "&hello=" + strUser + "+" + strHostName + "+" + strClientName + "+" +
           strClientVersion + "&proto=" + strProtoLevel;
}

std::vector<std::string> CReadCDDB::SendCommand(const std::string& command)
{
    LogMessage(4, "CDDB request to %s: %s", Url().c_str(), command.c_str());
    const auto response = velmora::platform::HttpExchange(
        {.url = Url(), .postBody = RequestBody(command), .contentType = "text/plain", .limits = limits_});
    if (!response.Answered() || response.truncated) {
        LogMessage(1, "HTTP request to %s failed: %s", Url().c_str(),
                   response.truncated ? "the answer is larger than allowed" : response.error.c_str());
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
    if (code == "-1")
        throw std::runtime_error("Unable to process results returned for query: Data returned: " +
                                 (lines.empty() ? std::string() : lines.front()));
    if (code == "500") return code;
    if (code == "210" || code == "211") {
        for (std::size_t line = 1; line < lines.size(); ++line)
            matches.push_back(std::make_unique<CQueryResult>(ParseMatchLine(lines[line], false)));
        return "211";
    }
    if (code == "200") {
        matches.push_back(std::make_unique<CQueryResult>(ParseMatchLine(lines.front(), true)));
        return code;
    }
    if (code == "202" || code == "403" || code == "409") return code;
    return "500";
}

std::string CReadCDDB::ReadEntry(const CQueryResult* match, MediaLibrary::Header::CD_TEXT_INFO* tracks, int count,
                                 CCdEntry* parsed)
{
    if (!match) return {};
    std::vector<std::string> lines;
    try {
        lines = SendCommand("cddb+read+" + match->strCategory + "+" + match->strDiscId);
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string("Error performing cddb read. ") + error.what());
    }
    const std::string code = GetResponseCode(lines.empty() ? std::string() : lines.front());
    if (code == "-1")
        throw std::runtime_error("No results returned from cddb read. " + (lines.empty() ? std::string() : lines.front()));
    if (code == "210") {
        lines.front().clear();
        CCdEntry entry(tracks, count, lines);
        LogMessage(4, "CDDB entry read: %s / %s", entry.Artist().c_str(), entry.DiscTitle().c_str());
        if (parsed) *parsed = entry;
        return code;
    }
    if (code == "401" || code == "402" || code == "403" || code == "409") return code;
    return "500";
}

}  // namespace CDDB
