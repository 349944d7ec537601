#pragma once

#include "Lumetra.h"
#include "http/HttpClient.h"

#include <memory>
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
    std::vector<std::string> SendCommand(const std::string& command);
    std::string Query(const std::string& queryString, Matches& matches);
    // With parsed given, the entry of a "210" answer is left there as well.
    std::string ReadEntry(const CQueryResult* match, MediaLibrary::Header::CD_TEXT_INFO* tracks, int count,
                          CCdEntry* parsed = nullptr);

    std::string Url() const;
    std::string RequestBody(const std::string& command) const;
    void SetLimits(const velmora::platform::HttpLimits& limits) { limits_ = limits; }

private:
    std::unique_ptr<CSite> pSite;
    std::string strUser = "test";
    std::string strHostName;
    std::string strClientName = "DuridaDizu";
    std::string strClientVersion = "1.0";
    std::string strProtoLevel = "6";
    velmora::platform::HttpLimits limits_;
};

// The three-digit code of a response line, "-1" when the line has no blank.
std::string GetResponseCode(std::string_view line);
// One match line ("[code ]category discid artist / title").
CQueryResult ParseMatchLine(std::string_view line, bool withCode);
// A response body as lines: line ends (LF or CRLF) removed, empty lines dropped, nothing from the "." line on.
std::vector<std::string> SplitResponseLines(std::string_view body);

}  // namespace CDDB
