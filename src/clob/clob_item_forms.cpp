#include "clob/clob_item_forms.hpp"

#include "model/number_text.hpp"

namespace zem {

std::string clobBoolItem(int value) { return value != 0 ? "true" : "false"; }

std::string clobIntItem(int value) {
  std::string text;
  appendInt(text, value);
  return text;
}

std::string clobFloatItem(float value) {
  std::string text;
  appendFloat(text, value);
  return text;
}

std::string clobDoubleItem(double value) {
  std::string text;
  appendDouble(text, value);
  return text;
}

std::string clobStringItem(std::string_view text) {
  std::string item = "\"";
  for (char c : text) {
    if (c == '"') item += '"';
    item += c;
  }
  item += '"';
  return item;
}

std::string clobFilenameItem(std::string_view name) {
  std::string item = "|";
  item.append(name);
  item += '|';
  return item;
}

}  // namespace zem
