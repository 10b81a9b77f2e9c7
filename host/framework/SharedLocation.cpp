#include "host/framework/SharedAnalysis.h"

#include "host/framework/SharedAnalysisParts.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/TextCase.h"

#include <cctype>
#include <sstream>

namespace tov {

using namespace shared;

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i] == '+' ? ' ' : text[i];
    }
  }
  return out;
}

HostError BadLocation(const std::string& shown, const std::string& why) {
  return HostError(err::InvalidCall, kSource, "The shared analysis location " + shown + " cannot be used: " + why + ".");
}

} // namespace

bool SharedAnalysis::IsLocation(const std::string& text) {
  const std::string lower = LowerCase(text.substr(0, 13));
  return StartsWith(lower, "postgresql://") || StartsWith(lower, "postgres://") || StartsWith(lower, "pg:");
}

SharedLocation SharedAnalysis::ParseLocation(const std::string& text) {
  SharedLocation location;
  std::string schema;
  if (StartsWith(LowerCase(text), "pg:")) {
    // keyword=value pairs, values possibly in single quotes.
    std::string kept, shown = "PG:";
    size_t i = 3;
    while (i < text.size()) {
      while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
      if (i >= text.size()) break;
      const size_t eq = text.find('=', i);
      if (eq == std::string::npos) throw BadLocation(text, "\"" + text.substr(i) + "\" is not keyword=value");
      std::string key = text.substr(i, eq - i);
      while (!key.empty() && std::isspace(static_cast<unsigned char>(key.back()))) key.pop_back();
      i = eq + 1;
      while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
      std::string raw, value;
      if (i < text.size() && text[i] == '\'') {
        const size_t start = i++;
        while (i < text.size() && text[i] != '\'') {
          if (text[i] == '\\' && i + 1 < text.size()) ++i;
          value += text[i++];
        }
        if (i >= text.size()) throw BadLocation(text, "a quoted value is not closed");
        ++i;
        raw = text.substr(start, i - start);
      } else {
        const size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        raw = value = text.substr(start, i - start);
      }
      const std::string lowerKey = LowerCase(key);
      if (lowerKey == "schema" || lowerKey == "schemas" || lowerKey == "active_schema") {
        schema = value.substr(0, value.find(','));
        shown += (shown.size() > 3 ? " " : "") + key + "=" + raw;
        continue;
      }
      if (lowerKey == "tables" || lowerKey == "list_all_tables") continue; // GDAL's own
      kept += (kept.empty() ? "" : " ") + key + "=" + raw;
      shown += (shown.size() > 3 ? " " : "") + key + "=" + (lowerKey == "password" ? std::string("***") : raw);
    }
    location.conninfo = kept;
    location.shown = shown;
  } else {
    const size_t q = text.find('?');
    std::string base = text.substr(0, q), kept;
    if (q != std::string::npos) {
      std::stringstream query(text.substr(q + 1));
      std::string pair;
      while (std::getline(query, pair, '&')) {
        if (pair.empty()) continue;
        const size_t eq = pair.find('=');
        const std::string key = LowerCase(PercentDecoded(pair.substr(0, eq)));
        const std::string value = eq == std::string::npos ? "" : PercentDecoded(pair.substr(eq + 1));
        if (key == "schema" || key == "schemas" || key == "active_schema") schema = value.substr(0, value.find(','));
        else kept += (kept.empty() ? "" : "&") + pair;
      }
    }
    location.conninfo = base + (kept.empty() ? "" : "?" + kept);
    // user:password@ -> user:***@
    std::string shown = text;
    const size_t scheme = shown.find("://"), at = shown.find('@');
    if (scheme != std::string::npos && at != std::string::npos && at > scheme) {
      const size_t colon = shown.find(':', scheme + 3);
      if (colon != std::string::npos && colon < at) shown.replace(colon + 1, at - colon - 1, "***");
    }
    location.shown = shown;
  }
  location.schema = schema.empty() ? "public" : schema;
  if (location.schema.size() > 63) throw BadLocation(location.shown, "a schema name has at most 63 bytes");
  return location;
}

} // namespace tov
