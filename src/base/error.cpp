#include "base/error.h"

namespace kestrova {

void ThrowCannotOpen(const std::string& path) {
    throw Error("Cannot open file " + path);
}

void ThrowListIndex(long long index) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
}

void ThrowNotInteger(const std::string& text) {
    throw Error("'" + text + "' is not a valid integer value");
}

} // namespace kestrova
