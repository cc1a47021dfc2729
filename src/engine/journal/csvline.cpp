#include "engine/journal/csvline.h"

#include <algorithm>

namespace tarvik {
namespace {

std::string quoted(std::string_view field) {
  std::string out;
  out.reserve(field.size() + 2);
  out += '"';
  for (char c : field) {
    if (static_cast<unsigned char>(c) < 0x20) {
      out += ' ';
      continue;
    }
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

}  // namespace

std::string joinCsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    const std::string& f = fields[i];
    const bool plain = std::none_of(f.begin(), f.end(), [](char c) {
      return c == ',' || c == '"' || static_cast<unsigned char>(c) < 0x20;
    });
    if (plain) {
      line += f;
    } else {
      line += quoted(f);
    }
  }
  return line;
}

std::optional<std::vector<std::string>> splitCsvLine(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t i = 0;
  while (true) {
    std::string field;
    if (i < line.size() && line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        field += line[i++];
      }
      if (!closed) return std::nullopt;
      if (i < line.size() && line[i] != ',') return std::nullopt;
    } else {
      std::size_t end = line.find(',', i);
      if (end == std::string_view::npos) end = line.size();
      field.assign(line.substr(i, end - i));
      if (field.find('"') != std::string::npos) return std::nullopt;
      i = end;
    }
    fields.push_back(std::move(field));
    if (i >= line.size()) break;
    ++i;  // the comma
    if (i == line.size()) {
      fields.emplace_back();  // a trailing comma ends in an empty field
      break;
    }
  }
  return fields;
}

}  // namespace tarvik
