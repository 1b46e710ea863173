// See NumberBoxRules.h.
#include "NumberBoxRules.h"

#include "engine/IntegerText.h"

namespace tivla {

std::string invalidIntegerText(std::string_view text) {
    std::string message = "'";
    message.append(text);
    message.append("' is not a valid integer value");
    return message;
}

std::optional<std::string> correctedTargetText(std::string_view text, std::int32_t generation) {
    const std::string next = std::to_string(static_cast<long long>(generation) + 1);
    if (text.empty()) {
        return next;
    }
    const auto target = parseInteger(text);
    if (target && *target <= generation) {
        return next;
    }
    return std::nullopt;
}

std::int32_t stepsToTarget(std::int32_t target, std::int32_t generation) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(target) -
                                     static_cast<std::uint32_t>(generation));
}

} // namespace tivla
