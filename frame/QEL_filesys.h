#pragma once
// File-system helpers: folder existence, the parent of a path, invented passwords.
#include <string>
#include <string_view>

namespace qel {

// True when Path names an existing folder (a link to one counts).
bool DirExists(const std::string& Path);

// The parent folder of Path with its trailing separator ("/" or "\"): "/a/b" and "/a/b/" give
// "/a/", "C:\a\" gives "C:\"; a path without a parent ("/", "C:\", "name") gives "".
std::string ParentDir(std::string_view Path);

// Characters of invented passwords: letters and digits.
inline constexpr std::string_view kPasswordChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// The longest password invented (a cell holds 255 characters).
inline constexpr int kMaxPasswordLength = 255;

// A password of N characters (N limited to 0..255) drawn uniformly from kPasswordChars with the
// operating system's cryptographic random source. Raises EInOutError when that source fails.
std::string InventPassword(int N);

}  // namespace qel
