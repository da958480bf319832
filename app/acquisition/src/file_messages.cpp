#include "chromiva/acquisition/file_messages.h"

#include <string_view>

#include "chromiva/acquisition/form_texts.h"

namespace chromiva::acquisition {
namespace {

std::string WithDetail(std::string first, const std::string& detail) {
  return detail.empty() ? first : first + "\n" + detail;
}

}  // namespace

std::string OpenRefusalMessage(const data::DataFileResult& result) {
  return WithDetail(text::kUnexpectedFormat, result.message);
}

std::string CompareRefusalMessage(const data::DataFileResult& result, const std::string& fileName) {
  if (result.error != data::DataFileError::kTruncated) {
    return WithDetail(text::kUnexpectedFormat, fileName + ": " + result.message);
  }
  const std::string_view format = text::kReadBeyondEnd;
  const std::size_t at = format.find("%1");
  std::string first(format.substr(0, at));
  first += fileName;
  first += format.substr(at + 2);
  return WithDetail(std::move(first), result.message);
}

}  // namespace chromiva::acquisition
