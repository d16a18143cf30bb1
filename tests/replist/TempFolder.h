#pragma once
// A fresh temporary folder per test for the report-list file tests, with small file helpers.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace qel::test {

class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = ::testing::TempDir() + "qelfilesXXXXXX";
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    FDir = tmpl;
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  std::string Path(const std::string& Name) const { return FDir + "/" + Name; }
  static void WriteFile(const std::string& Path, const std::string& Text) {
    std::ofstream(Path, std::ios::binary) << Text;
  }
  static std::string ReadFile(const std::string& Path) {
    std::ifstream f(Path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  size_t FileCount() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(FDir),
                                             std::filesystem::directory_iterator()));
  }
  std::string FDir;
};

}  // namespace qel::test
