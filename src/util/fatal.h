// Fatal errors: a message box titled "错误", then the process ends with -1.
// Only the first fatal error shows its box; any later one, on any thread,
// ends the process at once.
#pragma once

#include <optional>
#include <string_view>

namespace velmora {

[[noreturn]] void fatalError(std::string_view message, std::optional<long> code = std::nullopt);

}  // namespace velmora
