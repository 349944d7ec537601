#include "DiscId.h"

#include <cstdio>
#include <stdexcept>

namespace CDDB {
namespace {

int TotalSeconds(const MsfAddress& address)
{
    return address.minutes * 60 + address.seconds;
}

unsigned DigitSum(int number)
{
    unsigned sum = 0;
    for (; number > 0; number /= 10) sum += static_cast<unsigned>(number % 10);
    return sum;
}

void RequireTracks(const std::vector<MsfAddress>& tracksThenLeadOut)
{
    if (tracksThenLeadOut.size() < 2)
        throw std::runtime_error("Unable to retrieve the number of tracks, Cannot calculate DiskID.");
}

}  // namespace

std::vector<MsfAddress> TocAddresses(const velmora::platform::CDROM_TOC& toc)
{
    std::vector<MsfAddress> addresses;
    const int tracks = velmora::platform::TrackCount(toc);
    for (int entry = 0; tracks > 0 && entry <= tracks; ++entry) {
        const auto& address = toc.TrackData[entry].Address;
        addresses.push_back({address[1], address[2], address[3]});
    }
    return addresses;
}

std::uint32_t DiscId(const std::vector<MsfAddress>& tracksThenLeadOut)
{
    RequireTracks(tracksThenLeadOut);
    const std::size_t tracks = tracksThenLeadOut.size() - 1;
    unsigned digits = 0;
    for (std::size_t track = 0; track < tracks; ++track) digits += DigitSum(TotalSeconds(tracksThenLeadOut[track]));
    const auto length = static_cast<std::uint32_t>(TotalSeconds(tracksThenLeadOut.back()) -
                                                   TotalSeconds(tracksThenLeadOut.front()));
    return ((digits % 255) << 24) | (length << 8) | static_cast<std::uint32_t>(tracks);
}

std::string QueryString(const std::vector<MsfAddress>& tracksThenLeadOut)
{
    const std::uint32_t id = DiscId(tracksThenLeadOut);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0%x", id);
    const std::size_t tracks = tracksThenLeadOut.size() - 1;
    std::string query = std::string(hex) + "+" + std::to_string(tracks);
    for (std::size_t track = 0; track < tracks; ++track) {
        const auto& address = tracksThenLeadOut[track];
        query += '+';
        query += std::to_string(static_cast<unsigned>(address.minutes * 4500 + address.seconds * 75 + address.frames));
    }
    query += '+';
    query += std::to_string(TotalSeconds(tracksThenLeadOut.back()));
    return query;
}

}  // namespace CDDB
