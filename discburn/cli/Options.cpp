#include "Options.h"

#include <algorithm>
#include <map>

namespace velmora::discburn::cli {
namespace {

constexpr std::size_t kVolumeNameLimit = 32;   // an ISO 9660 volume identifier

const std::map<std::string, Command> kCommands{{"recorders", Command::Recorders}, {"data", Command::Data},
                                               {"iso", Command::Iso},             {"audio", Command::Audio},
                                               {"copy", Command::Copy}};

ParseResult Refused(std::string why) { return {std::nullopt, std::move(why)}; }

// The words after the command: its own options taken out, the operands left.
std::optional<std::string> TakeOptions(Options& options, std::vector<std::string>& operands)
{
    std::vector<std::string> kept;
    for (std::size_t at = 0; at < operands.size(); ++at) {
        const std::string& word = operands[at];
        if (word == "--verify") {
            options.verify = true;
        } else if (word == "--volume" && options.command == Command::Data) {
            if (at + 1 == operands.size()) return "--volume needs a name";
            options.volume = operands[++at];
            if (options.volume.empty() || options.volume.size() > kVolumeNameLimit)
                return "a volume name has 1 to " + std::to_string(kVolumeNameLimit) + " characters";
        } else if (word.starts_with("--")) {
            return "unknown option " + word;
        } else {
            kept.push_back(word);
        }
    }
    operands = std::move(kept);
    return std::nullopt;
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& words)
{
    if (words.empty()) return Refused("no command given");
    if (words[0] == "--help" || words[0] == "-h") return {Options{.command = Command::Help}, {}};
    if (words[0] == "--version") return {Options{.command = Command::Version}, {}};
    const auto found = kCommands.find(words[0]);
    if (found == kCommands.end()) return Refused("unknown command " + words[0]);
    Options options{.command = found->second};
    std::vector<std::string> operands(words.begin() + 1, words.end());
    if (const auto error = TakeOptions(options, operands)) return Refused(*error);
    switch (options.command) {
    case Command::Recorders:
        if (!operands.empty() || options.verify) return Refused("recorders takes no other words");
        return {options, {}};
    case Command::Copy:
        if (operands.size() != 2) return Refused("copy needs a DRIVE and a RECORDER");
        options.drive = operands[0];
        options.recorder = operands[1];
        return {options, {}};
    case Command::Iso:
        if (operands.size() != 2) return Refused("iso needs a RECORDER and an IMAGE.iso");
        break;
    default:
        if (operands.size() < 2) return Refused(words[0] + " needs a RECORDER and at least one file");
        break;
    }
    options.recorder = operands[0];
    options.paths.assign(operands.begin() + 1, operands.end());
    return {options, {}};
}

std::string Usage()
{
    return "usage: velmora-burn recorders\n"
           "       velmora-burn data  RECORDER PATH... [--volume NAME] [--verify]\n"
           "       velmora-burn iso   RECORDER IMAGE.iso [--verify]\n"
           "       velmora-burn audio RECORDER FILE... [--verify]\n"
           "       velmora-burn copy  DRIVE RECORDER [--verify]\n"
           "       velmora-burn --help | --version\n"
           "RECORDER is a drive letter as 'velmora-burn recorders' lists it (E:), or stdio:/path or cue:/path;\n"
           "DRIVE is the letter of the drive holding the data disc to copy.\n";
}

}  // namespace velmora::discburn::cli
