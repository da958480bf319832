// Writing manual pages: escaping and the few requests the pages use. Every text of a help
// table goes on a line of its own, so the pages can be compared with the help line by line.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace chromiva::manpage {

inline std::string Escape(std::string_view text) {
  std::string out;
  if (!text.empty() && (text.front() == '.' || text.front() == '\'')) out += "\\&";
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

class Page {
 public:
  explicit Page(FILE* out) : out_(out) {}

  void Title(const char* name, const char* version) {
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    std::fprintf(out_, ".TH %s 1 \"\" \"Chromiva %s\" \"User Commands\"\n", Escape(upper).c_str(),
                 version);
  }
  void Section(const char* title) { std::fprintf(out_, ".SH %s\n", title); }
  void Subsection(const char* title) { std::fprintf(out_, ".SS %s\n", Escape(title).c_str()); }
  void Text(std::string_view text) { std::fprintf(out_, "%s\n", Escape(text).c_str()); }
  void Paragraph() { std::fprintf(out_, ".PP\n"); }
  // A line that starts with the program's name in bold.
  void Synopsis(const char* program, std::string_view rest) {
    std::fprintf(out_, ".PP\n\\fB%s\\fR %s\n", Escape(program).c_str(), Escape(rest).c_str());
  }
  // A tagged paragraph: the term in bold, its text below.
  void Item(std::string_view term, std::string_view text) {
    std::fprintf(out_, ".TP\n\\fB%s\\fR\n%s\n", Escape(term).c_str(), Escape(text).c_str());
  }

 private:
  FILE* out_;
};

// Opens the file named by the only argument, or explains.
inline FILE* OpenOutput(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.1\n", argv[0]);
    return nullptr;
  }
  FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) std::perror(argv[1]);
  return out;
}

// A writer program's main: the page that `write` fills goes to the file named by the one
// argument; 2 for a bad call, 1 when the file could not be written.
inline int WritePageFile(int argc, char** argv, void (*write)(Page&)) {
  FILE* out = OpenOutput(argc, argv);
  if (out == nullptr) return 2;
  Page page(out);
  write(page);
  return std::fclose(out) == 0 ? 0 : 1;
}

}  // namespace chromiva::manpage
