#pragma once
#include <nlohmann/json.hpp>

#include <string_view>

namespace tov {

// The value nlohmann::json::parse gives for the text, or the exception it
// throws. The files the host writes (map documents, layer files) are read
// by a direct reader several times faster; any text it does not take (an
// error, a \u escape, a byte order mark, deep nesting, a number it cannot
// convert exactly) is handed to json::parse, so that errors and their
// messages stay those of json::parse.
nlohmann::json ParseJson(std::string_view text);
// The same without the exception: a discarded value for a text json::parse
// refuses.
nlohmann::json ParseJsonOrDiscarded(std::string_view text);

// The direct reader alone: true with the value, or false when it did not
// take the text (for the tests and the fuzzer that compare the two).
bool ParseJsonDirectly(std::string_view text, nlohmann::json& value);

} // namespace tov
