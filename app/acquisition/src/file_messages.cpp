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
  return WithDetail(Translated(text::kUnexpectedFormat), result.message);
}

std::string CompareRefusalMessage(const data::DataFileResult& result, const std::string& fileName) {
  if (result.error != data::DataFileError::kTruncated) {
    return WithDetail(Translated(text::kUnexpectedFormat), fileName + ": " + result.message);
  }
  return WithDetail(Filled(Translated(text::kReadBeyondEnd), {fileName}), result.message);
}

}  // namespace chromiva::acquisition
