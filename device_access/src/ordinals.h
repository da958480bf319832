#pragma once

#include <array>

namespace wrenlink {

struct ExportEntry {
  int ordinal;
  const char* name;
};

inline constexpr int kExportCount = 71;

const std::array<ExportEntry, kExportCount>& ExportTable();

}  // namespace wrenlink
