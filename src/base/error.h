#pragma once
// The one error type of the front end's readers and lookups. Its message is the text the reader
// sees (for example "Cannot open file engine\data\discdata.kvx").

#include <stdexcept>
#include <string>
#include <utility>

namespace kestrova {

class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
    // `detail` says what the message does not: the file and the reason, for standard error and
    // the log (the message itself keeps the reader's exact text).
    Error(const std::string& message, std::string detail)
        : std::runtime_error(message), detail_(std::move(detail)) {}
    const std::string& Detail() const { return detail_; }

  private:
    std::string detail_;
};

// "Cannot open file %s"
[[noreturn]] void ThrowCannotOpen(const std::string& path);
// "List index out of bounds (%d)"
[[noreturn]] void ThrowListIndex(long long index);
// "'%s' is not a valid integer value"
[[noreturn]] void ThrowNotInteger(const std::string& text);

} // namespace kestrova
