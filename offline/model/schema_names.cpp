#include "schema_names.h"

#include "event_reports.h"
#include "schema.h"

namespace offline_steam::calls {
namespace {

const char* TypeName(StatType type) {
    switch (type) {
        case StatType::Int:
            return "an int";
        case StatType::Float:
            return "a float";
        case StatType::AverageRate:
            return "an avgrate";
    }
    return "a";
}

}  // namespace

std::string QuotedName(const char* name) {
    return name != nullptr ? "\"" + std::string(name) + "\"" : std::string("a null name");
}

int KnownAchievement(const char* call, const char* name) {
    const int index = AchievementIndex(name);
    if (index < 0)
        Warn(WarningCode::kUnknownName,
             std::string(call) + ": " + QuotedName(name) + " is not an achievement of the schema");
    return index;
}

int KnownStat(const char* call, const char* name, bool acceptsInt, bool acceptsFloat,
              bool acceptsAverageRate) {
    const int index = StatIndex(name);
    if (index < 0) {
        Warn(WarningCode::kUnknownName,
             std::string(call) + ": " + QuotedName(name) + " is not a stat of the schema");
        return -1;
    }
    const StatType type = StatAt(index).type;
    const bool accepted = (type == StatType::Int && acceptsInt) ||
                          (type == StatType::Float && acceptsFloat) ||
                          (type == StatType::AverageRate && acceptsAverageRate);
    if (!accepted) {
        Warn(WarningCode::kWrongType,
             std::string(call) + ": " + QuotedName(name) + " is " + TypeName(type) + " stat");
        return -1;
    }
    return index;
}

}  // namespace offline_steam::calls
