// What the operator is told when a data file is refused: the form's own text first, then, on a
// second line, the reader's detail (the byte offset, the reason).
#pragma once

#include <string>

#include "chromiva/data/data_file.h"

namespace chromiva::acquisition {

// The Open command: "予期しないファイル形式です。" for a file that is not a data file.
std::string OpenRefusalMessage(const data::DataFileResult& result);
// The comparison load: a file that ends too early names itself ("<name> の末尾以降に
// アクセスしようとしました。"); any other refusal reads as for the Open command, with the name
// before the detail.
std::string CompareRefusalMessage(const data::DataFileResult& result, const std::string& fileName);

}  // namespace chromiva::acquisition
