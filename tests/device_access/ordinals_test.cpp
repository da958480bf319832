// The export table in the code and the .def file of a Windows build name the same operations
// under the same ordinals.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "ordinals.h"

namespace {

std::map<int, std::string> DefFileOrdinals() {
  std::ifstream in(WRENLINK_DEF_PATH);
  std::map<int, std::string> ordinals;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string name, ordinal;
    if (words >> name >> ordinal && ordinal.size() > 1 && ordinal[0] == '@') {
      ordinals[std::stoi(ordinal.substr(1))] = name;
    }
  }
  return ordinals;
}

TEST(ExportTable, MatchesTheDefFileOneToOne) {
  auto def = DefFileOrdinals();
  ASSERT_EQ(def.size(), 71u);
  for (const auto& entry : wrenlink::ExportTable()) {
    EXPECT_EQ(def[entry.ordinal], entry.name) << "ordinal " << entry.ordinal;
  }
  EXPECT_EQ(def.begin()->first, 1);
  EXPECT_EQ(def.rbegin()->first, 71);
}

}  // namespace
