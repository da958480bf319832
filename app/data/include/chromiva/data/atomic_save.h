// A whole file written at once: under a temporary name beside the target, renamed over it only
// when every byte is written, so a failed save never destroys the previous file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace chromiva::data {

// Empty on success, otherwise what went wrong.
std::string SaveFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace chromiva::data
