// The settings file may be edited by anyone with access to it: every line must read as a value
// or as nothing.

#include "FuzzTarget.h"
#include "settings/Settings.h"
#include "text/Trim.h"

VELMORA_FUZZ_TARGET(settings)
{
    using velmora::platform::Trim;
    const auto settings = velmora::platform::Settings::FromText(input);
    for (std::string_view rest = input; !rest.empty();) {
        const auto end = rest.find('\n');
        const auto line = Trim(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        const auto equals = line.find('=');
        if (line.starts_with('#') || equals == std::string_view::npos || Trim(line.substr(0, equals)).empty()) continue;

        // A value line is always found, trimmed, and numbers read whole or not at all.
        const auto value = settings.Get(Trim(line.substr(0, equals)));
        FUZZ_CHECK(value && *value == Trim(*value) && value->find('\n') == std::string::npos);
        const int number = settings.GetInt(Trim(line.substr(0, equals)), -7);
        if (number != -7) FUZZ_CHECK(!value->empty() && std::to_string(number).size() <= value->size());
    }
}
