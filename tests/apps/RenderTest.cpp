// qel-render: a class with --set properties or a form file becomes a PNG of the right size and
// colours; bad input ends with a message and a non-zero exit, never a picture.
#include <gtest/gtest.h>

#include "Process.h"
#include "platform/graphics/Graphics.h"

namespace qel::test {
namespace {

namespace fs = std::filesystem;

const std::string kRender = std::string(QEL_BINARY_DIR) + "/apps/qel-render";

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(kRender)) << kRender << " is not built";
    FDir = fs::temp_directory_path() / ("qel_render_" + std::to_string(getpid()));
    fs::create_directories(FDir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(FDir, ec);
  }
  std::string Out() const { return (FDir / "out.png").string(); }
  TRunResult Render(std::vector<std::string> Args) {
    Args.insert(Args.begin(), kRender);
    return RunCommand(Args, {"QEL_BACKEND=headless"}, 20000);
  }
  fs::path FDir;
};

TEST_F(RenderTest, ClassWithPropertiesFromTheCommandLine) {
  TRunResult r = Render({"TShapeView", "--size", "60x40", "--set", "Brush.Color=clRed", "--set",
                         "Pen.Style=psClear", "--set", "Shape=skRectangle", "-o", Out()});
  ASSERT_EQ(r.Exit, 0) << r.Output;
  EXPECT_NE(r.Output.find("wrote"), std::string::npos);
  TBitmap b;
  b.LoadFromFile(Out());
  ASSERT_EQ(b.GetWidth(), 60);
  ASSERT_EQ(b.GetHeight(), 40);
  EXPECT_EQ(b.ScanLine(20)[30] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(b.ScanLine(0)[0] & 0xFFFFFF, 0xFF0000u);

  r = Render({"TOrbitView", "--size", "50x30", "--set", "Color=$00FF0000", "--set", "Running=False",
              "-o", Out()});
  ASSERT_EQ(r.Exit, 0) << r.Output;
  b.LoadFromFile(Out());
  EXPECT_EQ(b.ScanLine(29)[49] & 0xFFFFFF, 0x0000FFu);  // $00BBGGRR: blue
}

TEST_F(RenderTest, FormFileAtItsOwnSize) {
  std::string form = (FDir / "page.qfm").string();
  std::ofstream(form) << "object P: TGalleryPage\n"
                         "  Width = 120\n"
                         "  Height = 90\n"
                         "  object S: TShapeView\n"
                         "    Left = 10\n"
                         "    Top = 50\n"
                         "    Width = 30\n"
                         "    Height = 30\n"
                         "    Brush.Color = clLime\n"
                         "  end\n"
                         "end\n";
  TRunResult r = Render({"--form", form, "-o", Out()});
  ASSERT_EQ(r.Exit, 0) << r.Output;
  TBitmap b;
  b.LoadFromFile(Out());
  EXPECT_EQ(b.GetWidth(), 120);
  EXPECT_EQ(b.GetHeight(), 90);
  EXPECT_EQ(b.ScanLine(65)[25] & 0xFFFFFF, 0x00FF00u);
}

TEST_F(RenderTest, BadInputIsReportedWithoutAPicture) {
  struct Case {
    std::vector<std::string> Args;
    int Exit;
    const char* Message;
  } cases[] = {
      {{"TShapeView", "--size", "10x10", "--set", "Brush.Colour=clRed"},
       1,
       "Property Brush.Colour does not exist in TBrush"},
      {{"TShapeView", "--size", "10x10", "--set", "Shape=skBlob"},
       1,
       "Invalid property value for Shape: skBlob"},
      {{"TNoSuchClass", "--size", "10x10"}, 1, "Class TNoSuchClass not found"},
      {{"TShapeView", "--size", "10"}, 2, "bad size \"10\""},
      {{"TShapeView", "--set", "Width"}, 2, "bad --set \"Width\""},
      {{"TFont", "--size", "10x10"}, 1, "Class TFont cannot be created"},
      {{"TComponent", "--size", "10x10"}, 1, "TComponent is not a control"},
      {{"--form", "/nonexistent/page.qfm"}, 1, "/nonexistent/page.qfm"},
  };
  for (auto& c : cases) {
    std::error_code ec;
    fs::remove(Out(), ec);
    c.Args.push_back("-o");
    c.Args.push_back(Out());
    TRunResult r = Render(c.Args);
    EXPECT_EQ(r.Exit, c.Exit) << c.Args[0] << ": " << r.Output;
    EXPECT_NE(r.Output.find(c.Message), std::string::npos) << r.Output;
    EXPECT_FALSE(fs::exists(Out())) << c.Args[0];
  }
  std::string form = (FDir / "bad.qfm").string();
  std::ofstream(form) << "object P: TGalleryPage\n  Width = wide\nend\n";
  TRunResult r = Render({"--form", form, "-o", Out()});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_NE(r.Output.find("Line 2: Invalid property value for Width: wide"), std::string::npos)
      << r.Output;
}

}  // namespace
}  // namespace qel::test
