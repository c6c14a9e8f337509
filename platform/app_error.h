// An error raised by a command with a fixed text; the event dispatcher shows
// it with the default error display and the command ends.
#pragma once
#include <stdexcept>
#include <string>

namespace tw {

class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace tw
