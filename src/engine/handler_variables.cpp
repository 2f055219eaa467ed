#include "engine/handler_variables.h"

#include "engine/main_state.h"

#include <charconv>

namespace kestrova {

const std::vector<HandlerVariable>& HandlerVariableTable() {
#define KESTROVA_TABLE_ROW(type, name, start, startBy, range)                                      \
    HandlerVariable{#name, &MainState::name, StartBy::startBy, range},
    static const std::vector<HandlerVariable> table = {
        KESTROVA_HANDLER_VARIABLES(KESTROVA_TABLE_ROW)};
#undef KESTROVA_TABLE_ROW
    return table;
}

const HandlerVariable* FindHandlerVariable(const std::string& name) {
    for (const auto& v : HandlerVariableTable()) {
        if (name == v.name) {
            return &v;
        }
    }
    return nullptr;
}

void ApplyStartValues(MainState& s) {
#define KESTROVA_START(type, name, start, startBy, range)                                          \
    if (StartBy::startBy == StartBy::FormCreate) {                                                 \
        s.name = start;                                                                            \
    }
    KESTROVA_HANDLER_VARIABLES(KESTROVA_START)
#undef KESTROVA_START
}

namespace {

std::optional<std::string> SetInt(int& field, const std::string& name, const std::string& text,
                                  const SetRange& range) {
    int v = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || p != end || text.empty()) {
        return name + " takes a whole number, not \"" + text + "\"";
    }
    if (v < range.lo || v > range.hi) {
        return name + " must lie in " + std::to_string(range.lo) + ".." + std::to_string(range.hi);
    }
    field = v;
    return std::nullopt;
}

} // namespace

std::optional<std::string> SetHandlerVariable(MainState& state, const std::string& name,
                                              const std::string& value) {
    const HandlerVariable* var = FindHandlerVariable(name);
    if (!var) {
        return "no handler variable " + name;
    }
    if (var->range.lo > var->range.hi) {
        return name + " is kept by the front end itself and cannot be set";
    }
    if (auto m = std::get_if<int MainState::*>(&var->member)) {
        return SetInt(state.**m, name, value, var->range);
    }
    if (auto m = std::get_if<bool MainState::*>(&var->member)) {
        if (value != "true" && value != "false") {
            return name + " takes true or false, not \"" + value + "\"";
        }
        state.** m = value == "true";
        return std::nullopt;
    }
    if (auto m = std::get_if<std::string MainState::*>(&var->member)) {
        state.** m = value;
        return std::nullopt;
    }
    Lines& lines = state.*std::get<Lines MainState::*>(var->member);
    lines.clear();
    std::size_t from = 0;
    for (;;) {
        const std::size_t bar = value.find('|', from);
        lines.push_back(value.substr(from, bar == std::string::npos ? bar : bar - from));
        if (bar == std::string::npos) {
            break;
        }
        from = bar + 1;
    }
    return std::nullopt;
}

} // namespace kestrova
