// A small JSON writer: objects, arrays, strings (escaped) and integers, in order of calls.
#pragma once

#include <cstdio>
#include <string>

namespace chromiva::cli {

class JsonWriter {
 public:
  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }

  JsonWriter& Key(const std::string& key) {
    String(key);
    text_ += ':';
    afterKey_ = true;
    return *this;
  }

  JsonWriter& String(const std::string& value) {
    Separate();
    text_ += '"';
    for (unsigned char c : value) Escape(c);
    text_ += '"';
    return *this;
  }

  JsonWriter& Number(long long value) {
    Separate();
    text_ += std::to_string(value);
    return *this;
  }

  const std::string& Text() const { return text_; }

 private:
  JsonWriter& Open(char bracket) {
    Separate();
    text_ += bracket;
    first_ = true;
    return *this;
  }

  JsonWriter& Close(char bracket) {
    text_ += bracket;
    first_ = false;
    return *this;
  }

  void Separate() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    if (!first_) text_ += ',';
    first_ = false;
  }

  void Escape(unsigned char c) {
    switch (c) {
      case '"':
        text_ += "\\\"";
        break;
      case '\\':
        text_ += "\\\\";
        break;
      case '\n':
        text_ += "\\n";
        break;
      case '\r':
        text_ += "\\r";
        break;
      case '\t':
        text_ += "\\t";
        break;
      default:
        if (c < 0x20) {
          char code[8];
          std::snprintf(code, sizeof code, "\\u%04x", c);
          text_ += code;
        } else {
          text_ += static_cast<char>(c);
        }
    }
  }

  std::string text_;
  bool first_ = true;
  bool afterKey_ = false;
};

}  // namespace chromiva::cli
