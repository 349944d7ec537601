#include "DvdAuthor.h"

#include "interface/Failure.h"
#include "files/PlainFile.h"
#include "log/Log.h"
#include "text/XmlText.h"
#include "ToolRunner.h"
#include "Video.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

namespace MediaLibrary::Video {
namespace {

constexpr std::size_t kAuthoringTextLimit = 4 << 20;
constexpr std::string_view kBlanks = " \t\r\n";

void AppendUtf8(std::string& text, char32_t code)
{
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The code point of "#65" or "#x41"; none for anything else.
std::optional<char32_t> CharacterReference(std::string_view name)
{
    if (!name.starts_with('#')) return std::nullopt;
    name.remove_prefix(1);
    const int base = name.starts_with('x') ? 16 : 10;
    if (base == 16) name.remove_prefix(1);
    unsigned long code = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), code, base);
    if (error != std::errc{} || end != name.data() + name.size() || name.empty() || code > 0x10FFFF)
        return std::nullopt;
    return static_cast<char32_t>(code);
}

AuthoringDest Uncarriable(const std::string& why)
{
    return {std::nullopt, "names a dest folder that XML cannot carry: " + why};
}

// The dest attribute's value as the authoring tool's XML reader sees it. Its reader refuses the
// whole description when the text is not XML, so such a dest is none rather than a guess.
AuthoringDest DecodeDest(std::string_view value)
{
    if (const auto why = velmora::platform::WhyNotXmlText(value)) return Uncarriable(*why);
    std::string text;
    while (!value.empty()) {
        const auto amp = value.find('&');
        const auto semicolon = value.find(';', amp);
        text += value.substr(0, amp);
        if (amp == std::string_view::npos) break;
        if (semicolon == std::string_view::npos) {
            text += value.substr(amp);
            break;
        }
        const auto name = value.substr(amp + 1, semicolon - amp - 1);
        if (name == "quot") text += '"';
        else if (name == "apos") text += '\'';
        else if (name == "amp") text += '&';
        else if (name == "lt") text += '<';
        else if (name == "gt") text += '>';
        else if (const auto code = CharacterReference(name)) {
            if (const auto why = velmora::platform::WhyNotXmlCharacter(*code)) return Uncarriable("it refers to " + *why);
            AppendUtf8(text, *code);
        } else text += value.substr(amp, semicolon - amp + 1);
        value.remove_prefix(semicolon + 1);
    }
    if (text.empty()) return {std::nullopt, "names an empty dest folder"};
    return {std::filesystem::path(text), {}};
}

// An attribute's written tabs and line ends (a CR LF pair is one) are read as blanks; only
// references keep them.
std::string BlanksForLineEnds(std::string_view value)
{
    std::string text;
    for (std::size_t at = 0; at < value.size(); ++at) {
        if (value[at] == '\r' && at + 1 < value.size() && value[at + 1] == '\n') continue;
        text += value[at] == '\t' || value[at] == '\n' || value[at] == '\r' ? ' ' : value[at];
    }
    return text;
}

}  // namespace

AuthoringDest AuthoringDestination(std::string_view xml)
{
    const AuthoringDest none{std::nullopt, "names no dest folder for the DVD files"};
    constexpr std::string_view kRoot = "<dvdauthor";
    std::size_t at = xml.find(kRoot);
    while (at != std::string_view::npos && at + kRoot.size() < xml.size() &&
           kBlanks.find(xml[at + kRoot.size()]) == std::string_view::npos && xml[at + kRoot.size()] != '>')
        at = xml.find(kRoot, at + 1);
    if (at == std::string_view::npos) return none;
    std::string_view rest = xml.substr(at + kRoot.size());

    // Attributes up to the end of the start tag; values may hold '>' but never their own quote.
    while (true) {
        const auto start = rest.find_first_not_of(kBlanks);
        if (start == std::string_view::npos || rest[start] == '>' || rest[start] == '/') return none;
        const auto equals = rest.find('=', start);
        if (equals == std::string_view::npos) return none;
        auto name = rest.substr(start, equals - start);
        name = name.substr(0, name.find_last_not_of(kBlanks) + 1);
        const auto open = rest.find_first_not_of(kBlanks, equals + 1);
        if (open == std::string_view::npos || (rest[open] != '"' && rest[open] != '\'')) return none;
        const auto close = rest.find(rest[open], open + 1);
        if (close == std::string_view::npos) return none;
        if (name == "dest") return DecodeDest(BlanksForLineEnds(rest.substr(open + 1, close - open - 1)));
        rest.remove_prefix(close + 1);
    }
}

AuthoringDest AuthoringFileDestination(const std::filesystem::path& xml)
{
    const auto text = velmora::platform::ReadPlainFileHead(xml, kAuthoringTextLimit);
    if (!text) return {std::nullopt, "cannot be read"};
    return AuthoringDestination(*text);
}

DiscFolderStaging::DiscFolderStaging(std::filesystem::path dest) : dest_(std::move(dest))
{
    std::error_code error;
    madeDest_ = std::filesystem::create_directories(dest_, error);
    if (error) {
        failure_ = "cannot make the folder " + dest_.string() + ": " + error.message();
        return;
    }
    std::string name = (dest_ / ".authoring-XXXXXX").string();
    if (!::mkdtemp(name.data())) {
        failure_ = "cannot write into " + dest_.string() + ": " + std::strerror(errno);
        return;
    }
    path_ = name;
}

DiscFolderStaging::~DiscFolderStaging()
{
    std::error_code error;
    if (!path_.empty()) std::filesystem::remove_all(path_, error);
    if (madeDest_ && std::filesystem::is_empty(dest_, error)) std::filesystem::remove(dest_, error);
}

bool DiscFolderStaging::PutInPlace()
{
    for (const char* name : {"VIDEO_TS", "AUDIO_TS"}) {
        const auto earlier = dest_ / name, asideEarlier = path_ / (std::string("earlier-") + name);
        std::error_code error;
        const bool hadEarlier = std::filesystem::exists(std::filesystem::symlink_status(earlier, error));
        error.clear();   // not being there is no failure
        if (hadEarlier) std::filesystem::rename(earlier, asideEarlier, error);
        if (!error && std::filesystem::exists(path_ / name)) std::filesystem::rename(path_ / name, earlier, error);
        if (error) {
            failure_ = "cannot put the new " + std::string(name) + " in place of " + earlier.string() + ": " +
                       error.message();
            if (hadEarlier && !std::filesystem::exists(std::filesystem::symlink_status(earlier, error)))
                std::filesystem::rename(asideEarlier, earlier, error);
            return false;
        }
    }
    return true;
}

int CAVI::RunDvdAuthor()
{
    const std::filesystem::path xml(m_request.szSourceFile);
    const auto tool = GetToolPath(kAuthoringTool);
    if (tool.empty()) return Refuse(std::string(kAuthoringTool) + " was not found beside the program or on PATH", 1);
    const auto [dest, whyNone] = AuthoringFileDestination(xml);
    if (!dest) return Refuse(xml.string() + " " + whyNone, 1);
    DiscFolderStaging staging(*dest);
    if (staging.Path().empty()) return Refuse(staging.Failure(), 1);

    CommandLine command;
    command.Add(tool.string()).Add("-o").AddQuoted(staging.Path().string()).Add("-x").AddQuoted(xml.string());
    // A name that starts with '-' must be taken for a file, not an option.
    command.RewritePaths([](std::string_view path) { return (path.starts_with('-') ? "./" : "") + std::string(path); });
    velmora::platform::SpawnOptions options;
    options.extraEnvironment.emplace_back(kAuthoringStandard);
    if (RunCommand(command, false, options) != 0 || !Succeeded(kAuthoringTool)) return 1;
    std::error_code error;
    if (!std::filesystem::is_regular_file(staging.Path() / "VIDEO_TS" / "VIDEO_TS.IFO", error))
        Fail(std::string(kAuthoringTool) + " wrote no VIDEO_TS into " + dest->string());
    else if (!staging.PutInPlace())
        Fail(staging.Failure());
    return 1;
}

}  // namespace MediaLibrary::Video
