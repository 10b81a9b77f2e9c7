#pragma once
#include <nlohmann/json.hpp>

#include <string>
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

// value.dump()'s text (compact, UTF-8 kept as it is), written directly; a
// value it does not write (a binary value, a text that is not UTF-8) is left
// to dump(), with its exception.
std::string WriteJson(const nlohmann::json& value);

// Writes a value piece by piece as WriteJson writes the same value, without
// making it first: each object's members must come in the order a json
// object keeps them (by key, byte by byte), which the caller gives. A text
// that is not UTF-8 raises dump()'s exception.
class JsonTextWriter {
public:
  void BeginObject() { Open('{', '}'); }
  void BeginArray() { Open('[', ']'); }
  // Closes the innermost object or array.
  void End();
  // A member's name.
  void Key(std::string_view key);
  // Room for a text of about this size, such as the one written last time.
  void Reserve(size_t size) { m_out.reserve(size); }
  void Null();
  void Bool(bool value);
  void Integer(int64_t value);
  void Float(double value);
  void String(std::string_view text);

  const std::string& Text() const { return m_out; }
  std::string TakeText() { return std::move(m_out); }

private:
  void Open(char open, char close);
  // Before a value or a key: the comma that separates it from the one before.
  void Separate();

  std::string m_out;
  std::string m_close; // the closing marks of what is open
  bool m_afterItem = false;
};

// The direct reader alone: true with the value, or false when it did not
// take the text (for the tests and the fuzzer that compare the two).
bool ParseJsonDirectly(std::string_view text, nlohmann::json& value);
// The direct writer alone: true with the text, or false.
bool WriteJsonDirectly(const nlohmann::json& value, std::string& text);

} // namespace tov
