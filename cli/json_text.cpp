#include "cli/json_text.h"

#include <nlohmann/json.hpp>

namespace kerf::cli {

std::string jsonString(std::string_view text)
{
    return nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace kerf::cli
