#include "ModeTables.h"

#include <array>
#include <initializer_list>
#include <stdexcept>

namespace velmora::front {
namespace {

// IDs written as in the window's tables: single IDs and inclusive ranges {first, last}.
std::vector<int> Ids(std::initializer_list<std::initializer_list<int>> groups)
{
    std::vector<int> ids;
    for (const auto& group : groups) {
        const int first = *group.begin();
        const int last = group.size() > 1 ? *(group.begin() + 1) : first;
        for (int id = first; id <= last; ++id) ids.push_back(id);
    }
    return ids;
}

}  // namespace

const ModeControls& ControlsOfMode(int mode)
{
    static const std::array<ModeControls, 7> modes{{
        // 0 welcome
        {.hiddenOnLeave = Ids({{1031}, {1064}}), .shownOnLeave = Ids({{1032}})},
        // 1 Audio Converter
        {.hiddenOnLeave = Ids({{1028}, {1029}, {1030}, {1033}, {1034}, {1035}, {1039}, {1040}, {1059}, {1060},
                               {1061}, {1062}, {1063}, {1065}, {1066}, {1067}, {1068}, {1070}, {1071}, {1072}}),
         .enabledOnLeave = Ids({{1040}, {1059}, {1060}, {1061}}),
         .shownOnEnter = Ids({{1028}, {1029}, {1030}, {1033}, {1034}, {1035}, {1040}, {1059}, {1060}, {1061},
                              {1062}, {1063}, {1065}, {1066}, {1067}, {1068}, {1070}, {1071}, {1072}}),
         .enabledOnEnter = Ids({{1034}, {1035}}),
         .disabledOnEnter = Ids({{1040}, {1059}, {1060}, {1061}})},
        // 2 Video Converter
        {.hiddenOnLeave = Ids({{1030}, {1033, 1044}, {1053}, {1058}, {1059}, {1060}, {1061}, {1062}, {1063}, {1065},
                               {1066}, {1067}, {1068}, {1069}, {1070}, {1071}, {1072}, {1074}, {1075}, {1078},
                               {1079}, {1080}, {1082}, {1083}, {1084}}),
         .shownOnEnter = Ids({{1030}, {1033, 1044}, {1053}, {1058}, {1059}, {1060}, {1061}, {1062}, {1063}, {1065},
                              {1066}, {1067}, {1068}, {1069}, {1070}, {1071}, {1072}, {1074}, {1075}, {1078},
                              {1079}, {1080}, {1082}, {1083}, {1084}}),
         .enabledOnEnter = Ids({{1034}, {1035}}),
         .disabledOnEnter = Ids({{1075}})},
        // 3 DVD Creator
        {.hiddenOnLeave = Ids({{1030}, {1034}, {1035}, {1036}, {1040}, {1045}, {1046}, {1047}, {1048}, {1049},
                               {1053}, {1058}, {1062}, {1073}, {1097}}),
         .shownOnEnter = Ids({{1030}, {1034}, {1035}, {1036}, {1040}, {1045}, {1046}, {1047}, {1048}, {1049},
                              {1053}, {1058}, {1062}, {1073}, {1097}})},
        // 4 Audio Burner
        {.hiddenOnLeave = Ids({{1028}, {1029}, {1053}, {1054}, {1055}, {1056}, {1057}, {1058}}),
         .shownOnEnter = Ids({{1028}, {1029}, {1053}, {1054}, {1055}, {1057}, {1058}})},
        // 5 CD Data Burner
        {.hiddenOnLeave = Ids({{1028}, {1029}, {1034}, {1035}, {1040}, {1053}, {1056}, {1057}, {1058}}),
         .shownOnEnter = Ids({{1028}, {1029}, {1034}, {1035}, {1040}, {1053}, {1056}, {1057}, {1058}})},
        // 6 DVD Data Burner
        {.hiddenOnLeave = Ids({{1028}, {1029}, {1034}, {1035}, {1040}, {1053}, {1054}, {1055}, {1056}, {1057}, {1058}}),
         .shownOnEnter = Ids({{1028}, {1029}, {1034}, {1035}, {1040}, {1053}, {1054}, {1055}, {1056}, {1057}, {1058}})},
    }};
    if (mode < 0 || mode >= static_cast<int>(modes.size())) throw std::out_of_range("no such mode");
    return modes[static_cast<std::size_t>(mode)];
}

const std::vector<int>& ControlMapIds()
{
    static const std::vector<int> ids = Ids({{1064}, {1031}, {1032}, {1028}, {1029}, {1030}, {1033, 1044}, {1051},
                                             {1053}, {1058}, {1056}, {1054}, {1055}, {1057}, {1059}, {1060},
                                             {1061}, {1083}, {1082}, {1084}, {1062}, {1065}, {1063}, {1066},
                                             {1068}, {1067}, {1071}, {1070}, {1072}, {1079}, {1075}, {1080},
                                             {1069}, {1074}, {1078}, {1097}, {1045, 1049}, {1073}});
    return ids;
}

const std::vector<int>& ControlsDisabledByCdOption(int option)
{
    static const std::array<std::vector<int>, 3> disabled{
        Ids({{1053}, {1056}, {1057}, {1058}}),
        Ids({{1028}, {1029}}),
        Ids({{1028}, {1029}, {1057}, {1053}, {1056}, {1058}}),
    };
    static const std::vector<int> none;
    if (option < 0 || option >= static_cast<int>(disabled.size())) return none;
    return disabled[static_cast<std::size_t>(option)];
}

}  // namespace velmora::front
