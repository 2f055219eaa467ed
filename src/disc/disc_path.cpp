#include "disc/disc_path.h"

#include "base/text.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace kestrova {

namespace {

namespace fs = std::filesystem;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsValidUtf8(std::string_view s) {
    return Cp1252ToUtf8(Utf8ToCp1252(s)) == s;
}

// Names on disk are usually UTF-8 while the disc data file is Windows-1252: compare both in the
// code page so either spelling of a name matches.
std::string InCodePage(std::string_view s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return IsValidUtf8(s) ? Utf8ToCp1252(s) : std::string(s);
        }
    }
    return std::string(s);
}

std::optional<std::string> FindEntry(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    const fs::path exact = dir / name;
    if (fs::symlink_status(exact, ec).type() != fs::file_type::not_found && !ec) {
        return name;
    }
    std::vector<std::string> names;
    fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec);
    if (ec) {
        return std::nullopt;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            break;
        }
        names.push_back(it->path().filename().string());
    }
    return PickDiscEntry(names, name);
}

} // namespace

std::optional<std::string> PickDiscEntry(const std::vector<std::string>& names,
                                         const std::string& wanted) {
    for (const std::string& name : names) {
        if (name == wanted) {
            return name;
        }
    }
    const std::string folded = InCodePage(wanted);
    const std::string* best = nullptr;
    for (const std::string& candidate : names) {
        // The listing order is the file system's; pick the smallest name so the result does
        // not depend on it.
        if (EqualsIgnoreCase(InCodePage(candidate), folded) && (!best || candidate < *best)) {
            best = &candidate;
        }
    }
    return best ? std::optional<std::string>(*best) : std::nullopt;
}

std::string ResolveDiscPath(const std::string& path) {
    std::string fallback = path;
    for (char& c : fallback) {
        if (IsSeparator(c)) {
            c = '/';
        }
    }
    if (path.empty()) {
        return fallback;
    }

    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (IsSeparator(c)) {
            if (!current.empty()) {
                parts.push_back(std::move(current));
            }
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        parts.push_back(std::move(current));
    }

    const bool absolute = IsSeparator(path.front());
    fs::path dir = absolute ? fs::path("/") : fs::path();
    std::string result = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        std::string real;
        if (part == "." || part == "..") {
            real = part;
        } else {
            std::optional<std::string> found = FindEntry(dir, part);
            if (!found) {
                return fallback;
            }
            real = std::move(*found);
        }
        dir /= real;
        result += real;
        if (i + 1 < parts.size()) {
            result += '/';
        }
    }
    if (parts.empty()) {
        return fallback;
    }
    if (IsSeparator(path.back())) {
        result += '/';
    }
    return result;
}

} // namespace kestrova
