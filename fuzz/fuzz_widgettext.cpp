// Small texts the standard controls read from outside, one per first byte (mod 4):
//  0  menu shortcut text: any text gives 0 or a shortcut whose text reads back to it, and every
//     shortcut with a text reads back from that text (in any letter case).
//  1  the colour dialog's custom colour lines: they read or fail with EConvertError, and what
//     was read, written back, reads the same colours.
//  2  hue, saturation and luminance: any colour converts to a triple in range whose colour lies
//     within three per channel of it, and the colour of any triple converts back to itself.
//  3  the tree view's node lines: read, written and read again, the tree is the same; the
//     written lines are well formed (a level at most one below the line before, no blank text).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/backends/headless/Headless.h"
#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Menus.h"

using namespace qel;

namespace {

[[noreturn]] void Fail(const std::string& What) {
  std::fprintf(stderr, "%s\n", What.c_str());
  std::abort();
}

std::vector<std::string> SplitLines(const std::string& S) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t nl = S.find('\n', start);
    lines.push_back(S.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return lines;
}

std::string Flip(std::string S) {
  for (char& c : S)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return S;
}

void ShortCuts(const std::string& Text, const uint8_t* Data, size_t Size) {
  TShortCut sc = TextToShortCut(Text);
  if (sc != 0) {
    std::string back = ShortCutToText(sc);
    if (back.empty()) Fail("shortcut read from '" + Text + "' has no text");
    if (TextToShortCut(back) != sc) Fail("'" + Text + "' reads as '" + back + "', which does not");
  }
  if (Size >= 2) {
    TShortCut any = static_cast<TShortCut>(Data[0] | Data[1] << 8);
    std::string text = ShortCutToText(any);
    TShortCut meant = any & (scShift | scCtrl | scAlt | 0xFF);
    if (!text.empty() && (TextToShortCut(text) != meant || TextToShortCut(Flip(text)) != meant ||
                          TextToShortCut(" " + text + " ") != meant))
      Fail("the text '" + text + "' of a shortcut does not read back");
  }
}

// Opens the custom colours to the fuzzer.
struct TColorDialogProbe : TColorDialog {
  using TColorDialog::ReadCustomColors;
  using TColorDialog::TColorDialog;
  using TColorDialog::WriteCustomColors;
};

void CustomColors(const std::string& Text) {
  TColorDialogProbe dlg(nullptr);
  for (const std::string& line : SplitLines(Text)) dlg.GetCustomColors()->Add(line);
  std::vector<TColor> first;
  try {
    first = dlg.ReadCustomColors();
  } catch (const EConvertError&) {
    return;
  }
  if (first.size() != 16) Fail("not 16 custom colours");
  for (TColor c : first)
    if (c > 0xFFFFFF) Fail("a custom colour that is no RGB value");
  dlg.WriteCustomColors(first);
  std::vector<TColor> again;
  try {
    again = dlg.ReadCustomColors();
  } catch (const EConvertError& e) {
    Fail("written custom colours do not read: " + e.Message);
  }
  if (again != first) Fail("written custom colours read differently");
}

int Channel(TColor C, int Shift) { return static_cast<int>((C >> Shift) & 0xFF); }

void HueSatLum(const uint8_t* Data, size_t Size) {
  if (Size < 16) return;
  uint32_t raw;
  std::memcpy(&raw, Data, 4);
  TColor color = raw;
  TColor rgb = ColorToRGB(color) & 0xFFFFFF;
  THueSatLum h = ColorToHueSatLum(color);
  if (h.Hue < 0 || h.Hue >= kHueSatLumMax || h.Sat < 0 || h.Sat > kHueSatLumMax || h.Lum < 0 ||
      h.Lum > kHueSatLumMax)
    Fail("triple out of range for colour " + std::to_string(color));
  TColor back = HueSatLumToColor(h);
  for (int s : {0, 8, 16})
    if (std::abs(Channel(back, s) - Channel(rgb, s)) > 3)
      Fail("colour " + std::to_string(rgb) + " converts to " + std::to_string(back));

  int32_t t[3];
  std::memcpy(t, Data + 4, sizeof t);
  // Mostly values in range, sometimes anything.
  if (!(Data[0] & 0x80))
    for (int32_t& v : t) v = static_cast<int32_t>(static_cast<uint32_t>(v) % 260) - 10;
  TColor c = HueSatLumToColor(t[0], t[1], t[2]);
  if (c > 0xFFFFFF) Fail("a triple gives no RGB value");
  THueSatLum hc = ColorToHueSatLum(c);
  if (HueSatLumToColor(hc) != c)
    Fail("the colour " + std::to_string(c) + " of (" + std::to_string(t[0]) + ", " +
         std::to_string(t[1]) + ", " + std::to_string(t[2]) + ") converts to (" +
         std::to_string(hc.Hue) + ", " + std::to_string(hc.Sat) + ", " + std::to_string(hc.Lum) +
         "), which gives " + std::to_string(HueSatLumToColor(hc)));
}

std::string Describe(const std::vector<std::string>& Lines) {
  std::string r;
  for (const std::string& l : Lines) r += "[" + l + "]\n";
  return r;
}

void TreeLines(const std::string& Text) {
  static TTreeView* tree = [] {
    ResetHeadlessApplication();
    return new TTreeView(Application);
  }();
  std::vector<std::string> input = SplitLines(Text);
  TTreeNodes* nodes = tree->Items();
  nodes->SetNodeLines(input);
  std::vector<std::string> first = nodes->GetNodeLines();
  if (static_cast<int>(first.size()) != nodes->Count()) Fail("a line per node");
  size_t prev = 0;
  for (size_t i = 0; i < first.size(); ++i) {
    const std::string& l = first[i];
    size_t tabs = l.find_first_not_of('\t');
    if (tabs == std::string::npos) Fail("a node written as a blank line:\n" + Describe(input));
    if (l[tabs] == ' ') Fail("a node whose text starts with a blank:\n" + Describe(input));
    if ((i == 0 && tabs != 0) || (i > 0 && tabs > prev + 1))
      Fail("a node more than one level below the one before:\n" + Describe(input));
    prev = tabs;
  }
  nodes->SetNodeLines(first);
  std::vector<std::string> second = nodes->GetNodeLines();
  if (second != first)
    Fail("node lines read back differently:\n" + Describe(input) + "--- first\n" +
         Describe(first) + "--- second\n" + Describe(second));
  nodes->Clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1 || Size > 4096) return 0;
  const std::string text(reinterpret_cast<const char*>(Data + 1), Size - 1);
  switch (Data[0] % 4) {
    case 0:
      ShortCuts(text, Data + 1, Size - 1);
      break;
    case 1:
      CustomColors(text);
      break;
    case 2:
      HueSatLum(Data + 1, Size - 1);
      break;
    default:
      TreeLines(text);
      break;
  }
  return 0;
}
