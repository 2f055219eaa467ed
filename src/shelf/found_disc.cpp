#include "shelf/found_disc.h"

namespace kestrova {

FindResult FindDiscs(const std::string&) {
    return {};
}

std::optional<FoundDisc> DescribeDisc(const std::string&) {
    return std::nullopt;
}

} // namespace kestrova
