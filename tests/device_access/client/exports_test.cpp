// The built library exports exactly its 71 operations and nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

// Names of the .def file, which gives every operation its ordinal.
std::set<std::string> DefFileNames() {
  std::ifstream in(WRENLINK_DEF_PATH);
  std::set<std::string> names;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string name, ordinal;
    if (words >> name >> ordinal && ordinal[0] == '@') names.insert(name);
  }
  return names;
}

std::set<std::string> DefinedDynamicSymbols() {
  std::string command = std::string("nm -D --defined-only '") + WRENLINK_LIBRARY_PATH + "'";
  FILE* pipe = popen(command.c_str(), "r");
  std::set<std::string> names;
  if (pipe == nullptr) return names;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::istringstream words(line);
    std::string address, type, name;
    if (words >> address >> type >> name) names.insert(name);
  }
  pclose(pipe);
  return names;
}

TEST(SharedLibrary, ExportsExactlyThePublicOperations) {
  auto expected = DefFileNames();
  ASSERT_EQ(expected.size(), 71u);
  EXPECT_EQ(DefinedDynamicSymbols(), expected);
}

}  // namespace
