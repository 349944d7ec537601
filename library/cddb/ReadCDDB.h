#pragma once

#include "Lumetra.h"
#include "http/HttpClient.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CDDB {

class CCdEntry;

// Where a CDDB server answers.
struct CSite {
    virtual ~CSite() = default;
    std::string strHost;
    std::string strProtocol = "http";
    std::string strPath = "/~cddb/cddb.cgi";
};

using Matches = std::vector<std::unique_ptr<CQueryResult>>;

// The CDDB client: "cddb query" and "cddb read" as HTTP POST requests.
class CReadCDDB {
public:
    static constexpr const char* kDefaultServer = "gnudb.gnudb.org";

    // Server, greeting host and user from the settings (CddbServer, CddbHelloHost, CddbUser).
    CReadCDDB();
    virtual ~CReadCDDB() = default;

    // Throws "Invalid Site Address specified" for a text holding "http" or "cgi".
    void SetServer(const std::string& host);
    // The answer's lines; none when there is no answer: no connection, a time-out, a body past
    // the limit, or an HTTP status other than 2xx (a redirect's body is no answer either).
    std::vector<std::string> SendCommand(const std::string& command);
    // The answer's code ("200", "211" for any list, "202", "403", "409", "500" for the rest);
    // the matches whose category and disc id are fit to ask for are appended.
    std::string Query(const std::string& queryString, Matches& matches);
    // "210" when the entry was written into the records (with parsed given, it is left there as
    // well); otherwise the code, or "" for a match that cannot be asked for, and nothing written.
    std::string ReadEntry(const CQueryResult* match, MediaLibrary::Header::CD_TEXT_INFO* tracks, int count,
                          CCdEntry* parsed = nullptr);
    // Why the last command found nothing, in words for the user; empty when it did.
    const std::string& Problem() const { return problem_; }

    std::string Url() const;
    std::string RequestBody(const std::string& command) const;
    void SetLimits(const velmora::platform::HttpLimits& limits) { limits_ = limits; }

private:
    std::string ServerName() const;

    std::unique_ptr<CSite> pSite;
    std::string strUser = "test";
    std::string strHostName;
    std::string strClientName = "DuridaDizu";
    std::string strClientVersion = "1.0";
    std::string strProtoLevel = "6";
    velmora::platform::HttpLimits limits_;
    std::string problem_;
};

// The three-digit code that starts a response line, "-1" when it does not start with one.
std::string GetResponseCode(std::string_view line);
// One match line ("[code ]category discid artist / title"), artist and title cleaned; none when
// the category or the disc id is not one that can go into the next request.
std::optional<CQueryResult> ParseMatchLine(std::string_view line, bool withCode);
// A response body as lines: line ends (LF or CRLF) removed, empty lines dropped, nothing from the "." line on.
std::vector<std::string> SplitResponseLines(std::string_view body);

}  // namespace CDDB
