#include "chromiva/data/text_codec.h"

#include <iconv.h>

#include <cerrno>

namespace chromiva::data {

namespace {

class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (valid()) iconv_close(handle_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

// Converts `input`; at a byte that cannot be converted, `standIn` (when given) is put out for
// that one byte and the conversion goes on after it, otherwise the conversion fails.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view input,
                                   std::optional<std::string_view> standIn = std::nullopt) {
  IconvHandle converter(to, from);
  if (!converter.valid()) return std::nullopt;
  std::string output(input.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  std::size_t produced = 0;
  for (;;) {
    char* out = output.data() + produced;
    std::size_t outLeft = output.size() - produced;
    const std::size_t rc = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
    produced = output.size() - outLeft;
    if (rc != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      output.resize(output.size() * 2);
      continue;
    }
    if (!standIn) return std::nullopt;  // invalid or unrepresentable character
    output.resize(produced);
    output += *standIn;
    produced = output.size();
    output.resize(produced + inLeft * 3 + 16);
    ++in;  // EILSEQ or a sequence cut short by the end (EINVAL): skip one byte
    --inLeft;
    iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
  }
  output.resize(produced);
  return output;
}

}  // namespace

std::string DisplayText(std::string_view bytes) {
  return Convert("UTF-8", "CP932", bytes, kUndecodableStandIn).value_or(std::string());
}

std::optional<std::string> Cp932ToUtf8(std::string_view bytes) {
  return Convert("UTF-8", "CP932", bytes);
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  return Convert("CP932", "UTF-8", text);
}

std::optional<std::string> Utf16LeToCp932(std::string_view bytes) {
  return Convert("CP932", "UTF-16LE", bytes);
}

}  // namespace chromiva::data
