// Reading and writing form files: the loading order, round trips of every registered class,
// values of every kind, error messages with their lines, and reads that fail without leftovers.
#include <cmath>

#include "TestClasses.h"

namespace qel::test {
namespace {

using FormFilesTest = FormsTest;

std::unique_ptr<TComponent> Read(const std::string& Text) {
  return std::unique_ptr<TComponent>(CreateComponentFromText(Text, nullptr));
}

// ---------------------------------------------------------------- loading order

TEST_F(FormFilesTest, LoadedRunsAfterAllPropertiesOfAllComponents) {
  auto root = Read(
      "object Form1: TForm\n"
      "  object R1: TRecorder\n"
      "    Level = 1\n"
      "    Label = 'first'\n"
      "  end\n"
      "  object Panel: TCustomControl\n"
      "    object R2: TRecorder\n"
      "      Level = 2\n"
      "    end\n"
      "  end\n"
      "end\n");
  std::vector<std::string> expected = {"R1.Level loading", "R1.Label loading", "R2.Level loading",
                                       "Loaded R1", "Loaded R2"};
  EXPECT_EQ(RecorderLog(), expected);
  auto* r2 = dynamic_cast<TRecorder*>(root->FindComponent("R2"));
  ASSERT_NE(r2, nullptr);
  EXPECT_EQ(r2->LoadedCount, 1);
  EXPECT_FALSE(r2->ComponentState().Contains(csLoading));
  EXPECT_FALSE(root->ComponentState().Contains(csLoading));
  // Owner is the root; parent is the enclosing windowed control.
  EXPECT_EQ(r2->GetOwner(), root.get());
  EXPECT_EQ(r2->GetParent(), root->FindComponent("Panel"));
  EXPECT_EQ(dynamic_cast<TControl*>(root->FindComponent("Panel"))->GetParent(), root.get());
}

// ---------------------------------------------------------------- round trips

// Gives every published property of Obj a value other than its default, generically, so that
// classes registered later are covered without a change here.
void SetNonDefaults(TPersistent* Obj, const TClassInfo& Info, int Seed) {
  for (const TPropInfo* p : Info.Properties()) {
    if (SameText(p->Name, "Name") || !p->IsStored(Obj)) continue;
    switch (p->Kind) {
      case pkInteger: {
        int64_t v = p->HasDefault ? p->OrdDefault + 3 + Seed : 17 + Seed;
        p->SetOrd(Obj, std::clamp(v, p->MinValue, p->MaxValue));
        break;
      }
      case pkFloat:
        p->SetFloat(Obj, p->FloatDefault + 2.5 + Seed);
        break;
      case pkBool:
        p->SetOrd(Obj, p->OrdDefault ? 0 : 1);
        break;
      case pkString:
        p->SetStr(Obj, p->Name + " it's ü " + std::to_string(Seed));
        break;
      case pkColor:
        p->SetOrd(Obj, p->OrdDefault == clRed ? clLime : (Seed % 2 ? clRed : 0x00123456));
        break;
      case pkEnum:
        p->SetOrd(Obj, (p->OrdDefault + 1 + Seed) % static_cast<int64_t>(p->Enum->Names.size()));
        break;
      case pkSet:
        p->SetOrd(Obj, p->OrdDefault ^ 1);
        break;
      case pkClass: {
        TPersistent* nested = p->GetObject(Obj);
        if (const TClassInfo* ni = ClassInfoOf(nested)) SetNonDefaults(nested, *ni, Seed);
        break;
      }
      case pkStrings:
        p->SetLines(Obj, {"alpha", "it's", ""});
        break;
      case pkComponent:
        break;  // set by the test, which knows the targets
    }
  }
}

void ExpectSameProperties(const TPersistent* A, const TPersistent* B, const std::string& Where) {
  const TClassInfo* info = ClassInfoOf(A);
  ASSERT_EQ(info, ClassInfoOf(B)) << Where;
  for (const TPropInfo* p : info->Properties()) {
    if (p->Kind == pkClass) {
      ExpectSameProperties(p->GetObject(A), p->GetObject(B), Where + "." + p->Name);
      continue;
    }
    EXPECT_EQ(GetPropText(A, *p), GetPropText(B, *p)) << Where << "." << p->Name;
  }
}

TEST_F(FormFilesTest, FormWithEveryRegisteredClassRoundTrips) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetName("Main");
  form->SetCaption("Every class");
  form->SetClientWidth(500);
  form->SetClientHeight(400);
  form->GetFont()->SetStyle({fsBold});
  int seed = 0;
  std::vector<TComponent*> made;
  for (const TClassInfo* info : RegisteredClasses()) {
    if (!info->Create || info->Name == "TForm" || info->Name == "TFailsLoaded") continue;
    TComponent* c = info->Create(form.get());
    c->SetName("C" + std::to_string(++seed));
    if (auto* ctl = dynamic_cast<TControl*>(c)) ctl->SetParent(form.get());
    SetNonDefaults(c, *info, seed);
    made.push_back(c);
  }
  ASSERT_GE(made.size(), 6u);
  // A windowed child holds a control of its own, and the references point both ways.
  auto* holder = dynamic_cast<TKinds*>(form->FindComponent("C" + std::to_string(seed)));
  for (TComponent* c : made)
    if (auto* k = dynamic_cast<TKinds*>(c)) holder = k;
  ASSERT_NE(holder, nullptr);
  auto* inner = new TKinds(form.get());
  inner->SetName("Inner");
  inner->SetParent(holder);
  inner->SetBounds(1, 2, 30, 40);
  inner->SetBuddy(holder);
  holder->SetBuddy(inner);  // a reference to a component written after it

  std::string text = WriteComponentText(form.get());
  auto copy = Read(text);
  std::string again = WriteComponentText(copy.get());
  EXPECT_EQ(again, text);
  ASSERT_EQ(copy->ComponentCount(), form->ComponentCount());
  ExpectSameProperties(form.get(), copy.get(), "Main");
  for (int i = 0; i < form->ComponentCount(); ++i) {
    TComponent* a = form->Components(i);
    TComponent* b = copy->FindComponent(a->GetName());
    ASSERT_NE(b, nullptr) << a->GetName();
    ExpectSameProperties(a, b, a->GetName());
  }
  auto* innerCopy = dynamic_cast<TKinds*>(copy->FindComponent("Inner"));
  ASSERT_NE(innerCopy, nullptr);
  EXPECT_EQ(innerCopy->GetParent(), copy->FindComponent(holder->GetName()));
  EXPECT_EQ(innerCopy->GetBuddy(), innerCopy->GetParent());
}

TEST_F(FormFilesTest, WriterStoresOnlyWhatDiffersFromDefaults) {
  TForm form(nullptr);
  form.SetName("F");  // a fresh form shows its name as caption
  form.SetClientWidth(200);
  form.SetClientHeight(100);
  auto* k = new TKinds(&form);
  k->SetName("K");
  k->SetParent(&form);
  k->SetBounds(5, 6, 70, 80);
  k->SetShade(clRed);
  k->GetPen()->SetColor(0x00FF00);
  k->GetFont()->SetStyle({fsBold, fsItalic});
  k->SetMood(tmBusy);
  EXPECT_EQ(WriteComponentText(&form),
            "object F: TForm\n"
            "  Left = 0\n"
            "  Top = 0\n"
            "  Caption = 'F'\n"
            "  ClientHeight = 100\n"
            "  ClientWidth = 200\n"
            "  object K: TKinds\n"
            "    Left = 5\n"
            "    Top = 6\n"
            "    Width = 70\n"
            "    Height = 80\n"
            "    Font.Style = [fsBold, fsItalic]\n"
            "    ParentFont = False\n"
            "    TabOrder = 0\n"
            "    Mood = tmBusy\n"
            "    Shade = clRed\n"
            "    Pen.Color = clLime\n"
            "  end\n"
            "end\n");
}

// ---------------------------------------------------------------- values

TEST_F(FormFilesTest, ValuesOfEveryKindAreRead) {
  auto root = Read(
      "object F: TForm\n"
      "  Caption = 'It''s ' + #$41#66 +\n"
      "    'ü€'#9'x'\n"
      "  Color = $00123456\n"
      "  Font.Style = [fsBold, fsitalic]\n"
      "  Font.Size = 10\n"
      "  Font.Color = clRed\n"
      "  Cursor = crHandPoint\n"
      "  Anchors = []\n"
      "  object K: TKinds\n"
      "    Value = -1.5E-3\n"
      "    Big = -9223372036854775808\n"
      "    Small = -$10\n"
      "    Mood = tmAngry\n"
      "    Moods = [tmCalm,tmAngry]\n"
      "    Shade = 255\n"
      "    Flag = true\n"
      "    Pen.Style = psDot\n"
      "    Brush.Color = clBtnFace\n"
      "    Lines.Strings = (\n"
      "      'one'\n"
      "      'two' + 'x')\n"
      "    Buddy = K\n"
      "  end\n"
      "end\n");
  auto* f = dynamic_cast<TForm*>(root.get());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->GetCaption(), "It's ABü€\tx");
  EXPECT_EQ(f->GetColor(), 0x00123456u);
  EXPECT_EQ(f->GetFont()->GetStyle(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(f->GetFont()->GetSize(), 10);
  EXPECT_EQ(f->GetFont()->GetColor(), clRed);
  EXPECT_EQ(f->GetCursor(), crHandPoint);
  EXPECT_TRUE(f->GetAnchors().Empty());
  auto* k = dynamic_cast<TKinds*>(f->FindComponent("K"));
  ASSERT_NE(k, nullptr);
  EXPECT_DOUBLE_EQ(k->GetValue(), -1.5e-3);
  EXPECT_EQ(k->GetBig(), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(k->GetSmall(), -16);
  EXPECT_EQ(k->GetMood(), tmAngry);
  EXPECT_EQ(k->GetMoods(), (TTestMoods{tmCalm, tmAngry}));
  EXPECT_EQ(k->GetShade(), clRed);
  EXPECT_TRUE(k->GetFlag());
  EXPECT_EQ(k->GetPen()->GetStyle(), psDot);
  EXPECT_EQ(k->GetBrush()->GetColor(), clBtnFace);
  ASSERT_EQ(k->GetLines()->Count(), 2);
  EXPECT_EQ(k->GetLines()->Get(1), "twox");
  EXPECT_EQ(k->GetBuddy(), k);
  // The text written back reads as the same values.
  std::string text = WriteComponentText(f);
  EXPECT_NE(text.find("  Caption = 'It''s ABü€'#9'x'\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  Font.Style = [fsBold, fsItalic]\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  Font.Height = -13\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    Shade = clRed\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    Value = -0.0015\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  Color = $00123456\n"), std::string::npos) << text;
  EXPECT_EQ(WriteComponentText(Read(text).get()), text);
}

TEST_F(FormFilesTest, StringsKeepQuotesLineBreaksAndCodes) {
  EXPECT_EQ(FormatFormString("", "  "), "''");
  EXPECT_EQ(FormatFormString("it's", "  "), "'it''s'");
  EXPECT_EQ(FormatFormString("a\r\nb", "    "), "'a'#13#10 +\n    'b'");
  EXPECT_EQ(FormatFormString("\t", ""), "#9");
  // Long runs break at a character boundary, never inside a UTF-8 sequence.
  std::string longText;
  for (int i = 0; i < 40; ++i) longText += "ä";
  std::string written = FormatFormString(longText, "  ");
  EXPECT_NE(written.find(" +\n  '"), std::string::npos);
  for (const std::string& s : {std::string("line1\nline2\n"), longText, std::string("\x01\x7f'"),
                               std::string("tab\there")}) {
    TKinds k(nullptr);
    auto root = Read("object K: TKinds\n  Note = " + FormatFormString(s, "    ") + "\nend\n");
    EXPECT_EQ(dynamic_cast<TKinds*>(root.get())->GetNote(), s);
  }
}

TEST_F(FormFilesTest, FloatsRoundTripExactly) {
  for (double v : {0.1, -2.5e-310, 1.7976931348623157e308, 1e21, -0.0}) {
    TKinds k(nullptr);
    k.SetName("K");
    k.SetValue(v);
    auto copy = Read(WriteComponentText(&k));
    double back = dynamic_cast<TKinds*>(copy.get())->GetValue();
    EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << v;
  }
  TKinds k(nullptr);
  k.SetValue(-std::numeric_limits<double>::infinity());
  auto copy = Read(WriteComponentText(&k));
  EXPECT_EQ(dynamic_cast<TKinds*>(copy.get())->GetValue(),
            -std::numeric_limits<double>::infinity());
}

// ---------------------------------------------------------------- errors

struct TErrorCase {
  const char* Text;
  int Line;
  const char* What;
};

TEST_F(FormFilesTest, ErrorsNameTheLineAndWhatWasWrong) {
  const TErrorCase cases[] = {
      {"object F: TForm\n  object X: TNoSuch\n  end\nend\n", 2, "Class TNoSuch not found"},
      {"object F: TForm\n\n  Colour = clRed\nend\n", 3, "Property Colour does not exist in TForm"},
      {"object F: TForm\n  Font.Sise = 3\nend\n", 2, "Property Font.Sise does not exist in TFont"},
      {"object F: TForm\n  Left = 'x'\nend\n", 2,
       "Invalid property value for Left: 'x' (an integer expected)"},
      {"object F: TForm\n  Left = 3000000000\nend\n", 2,
       "Value 3000000000 out of range for Left (-4194304..4194304)"},
      {"object F: TForm\n  ClientWidth = -1\nend\n", 2,
       "Value -1 out of range for ClientWidth (0..4194304)"},
      // Hexadecimal spells a value: beyond 64 bits it is refused, never wrapped to a negative.
      {"object F: TForm\n  object K: TKinds\n    Big = $FFFFFFFFFFFFFFFE\n  end\nend\n", 3,
       "Number too large '$FFFFFFFFFFFFFFFE'"},
      {"object F: TForm\n  object K: TKinds\n    Big = $8000000000000000\n  end\nend\n", 3,
       "Number too large '$8000000000000000'"},
      {"object F: TForm\n  object K: TKinds\n    Big = +$8000000000000001\n  end\nend\n", 3,
       "Number too large '$8000000000000001'"},
      {"object F: TForm\n  object K: TKinds\n    Small = $FFFFFFFF\n  end\nend\n", 3,
       "Value 4294967295 out of range for Small (-32768..32767)"},
      {"object F: TForm\n  Tag = 1 \xEF\xBB\xBF\nend\n", 2, "Invalid character #239"},
      {"object F: TForm\n  Caption 'x'\nend\n", 2, "Expected '=' but found a string"},
      {"object F: TForm\n  Caption = 'x\nend\n", 2, "Unterminated string"},
      {"object F: TForm\n  Font.Style = [fsBold, fsHeavy]\nend\n", 2,
       "Invalid set element fsHeavy for Font.Style (TFontStyle)"},
      {"object F: TForm\n  Align = alMiddle\nend\n", 2,
       "Invalid property value for Align: alMiddle (an identifier expected)"},
      {"object F: TForm\n  Color = clPuce\nend\n", 2,
       "Invalid property value for Color: clPuce (a colour expected)"},
      {"object F: TForm\n  Visible = 1\nend\n", 2,
       "Invalid property value for Visible: 1 (True or False expected)"},
      {"object F: TForm\n  Font = 3\nend\n", 2,
       "Property Font is an object; set its properties (Font.Name = ...)"},
      {"object F: TForm\n  object A: TKinds\n  end\n  object a: TKinds\n  end\nend\n", 4,
       "A component named a already exists"},
      {"object F: TForm\n  object A: TKinds\n    Buddy = Ghost\n  end\nend\n", 3,
       "Component Ghost not found"},
      {"object F: TForm\n  Left = 1\n", 3,
       "Expected a property name, 'object' or 'end' but found end of file"},
      {"object F: TForm\nend\nend\n", 3, "Expected end of file but found 'end'"},
      {"object F: TForm\n  Caption = #55296\nend\n", 2, "Character code #55296 is not a character"},
      {"object F: TForm\n  Left = 12abc\nend\n", 2, "Invalid number '12a'"},
      {"object F: TForm\n  Left = ?\nend\n", 2, "Invalid character '?'"},
      {"object F: TForm\n  object 1X: TKinds\n  end\nend\n", 2, "Invalid number '1X'"},
      {"object F: TFont\nend\n", 1, "Class TFont cannot be created"},
      {"thing F: TForm\nend\n", 1, "Expected 'object' but found 'thing'"},
      {"", 1, "Expected 'object' but found end of file"},
      {"object F: TForm\r\n  Tag = 1\r\n  Tag = x\r\nend\r\n", 3,
       "Invalid property value for Tag: x (an integer expected)"},
      {"object F: TForm\n  object R: TFailsLoaded\n  end\nend\n", 2, "Component \"R\": not ready"},
      {"object F: TForm\n  object K: TKinds\n    Small = 40000\n  end\nend\n", 3,
       "Value 40000 out of range for Small (-32768..32767)"},
  };
  int forms = Screen->FormCount();
  for (const auto& c : cases) {
    try {
      delete CreateComponentFromText(c.Text, nullptr);
      ADD_FAILURE() << "accepted: " << c.Text;
    } catch (const EFormFileError& e) {
      EXPECT_EQ(e.Line, c.Line) << c.Text;
      EXPECT_EQ(e.What, c.What) << c.Text;
      EXPECT_EQ(e.Message, "Line " + std::to_string(c.Line) + ": " + c.What);
    }
    EXPECT_EQ(Screen->FormCount(), forms) << "a failed read left a form behind: " << c.Text;
  }
}

TEST_F(FormFilesTest, DeepNestingIsRefusedNotOverflowed) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "object A: TKinds\n";
  EXPECT_THROW(Read(text), EFormFileError);
  std::string list = "object A: TKinds\n  Lines.Strings = " + std::string(5000, '(');
  EXPECT_THROW(Read(list), EFormFileError);
}

// ---------------------------------------------------------------- existing roots

TEST_F(FormFilesTest, ReadingIntoAnExistingFormFillsItAndReusesNamedComponents) {
  TForm form(nullptr);
  auto* existing = new TKinds(&form);
  existing->SetName("Gauge");
  existing->SetParent(&form);
  ReadComponentText(&form,
                    "object Main: TForm\n"
                    "  Caption = 'Filled'\n"
                    "  object Gauge: TKinds\n"
                    "    Value = 4\n"
                    "  end\n"
                    "  object Extra: TRecorder\n"
                    "    Level = 9\n"
                    "  end\n"
                    "end\n");
  EXPECT_EQ(form.GetName(), "Main");
  EXPECT_EQ(form.GetCaption(), "Filled");
  EXPECT_EQ(existing->GetValue(), 4);
  EXPECT_EQ(form.ComponentCount(), 2);
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
  EXPECT_FALSE(existing->ComponentState().Contains(csLoading));
  auto* extra = dynamic_cast<TRecorder*>(form.FindComponent("Extra"));
  ASSERT_NE(extra, nullptr);
  EXPECT_EQ(extra->GetParent(), &form);
}

TEST_F(FormFilesTest, FailedReadIntoAnExistingFormDestroysWhatItCreated) {
  TForm form(nullptr);
  form.SetName("Main");
  const char* text =
      "object Main: TForm\n"
      "  object A: TKinds\n"
      "    object B: TRecorder\n"
      "    end\n"
      "  end\n"
      "  object C: TKinds\n"
      "    Pen.Width = 2\n"
      "    Shade = 'red'\n"
      "  end\n"
      "end\n";
  try {
    ReadComponentText(&form, text);
    ADD_FAILURE();
  } catch (const EFormFileError& e) {
    EXPECT_EQ(e.Line, 8);
  }
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.ControlCount(), 0);
  // A setter that refuses a value is caught after creation began: still nothing is left.
  try {
    ReadComponentText(
        &form,
        "object Main: TForm\n  object A: TKinds\n  end\n  object B: TFailsLoaded\n  end\nend\n");
    ADD_FAILURE();
  } catch (const EFormFileError& e) {
    EXPECT_EQ(e.Line, 4);
  }
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
  // A failure while components are being built leaves the form and a reused child alive, out
  // of the loading state (a component stuck in it would refuse to work or repaint).
  auto* reused = new TKinds(&form);
  reused->SetName("Gauge");
  reused->SetParent(&form);
  try {
    ReadComponentText(&form,
                      "object Main: TForm\n  object Gauge: TKinds\n    Value = 4\n  end\n"
                      "  object C: TKinds\n    Shade = 'red'\n  end\nend\n");
    ADD_FAILURE();
  } catch (const EFormFileError& e) {
    EXPECT_EQ(e.Line, 6);
  }
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.FindComponent("Gauge"), reused);
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
  EXPECT_FALSE(reused->ComponentState().Contains(csLoading));
  // A file for another class is refused before anything happens.
  TKinds k(nullptr);
  EXPECT_THROW(ReadComponentText(&k, "object F: TForm\nend\n"), EFormFileError);
}

TEST_F(FormFilesTest, FilesRoundTripThroughTheFileSystem) {
  std::string path = ::testing::TempDir() + "/qel_form_roundtrip.qfm";
  TForm form(nullptr);
  form.SetName("Disk");
  form.SetCaption("ü");
  WriteComponentFile(&form, path);
  std::unique_ptr<TForm> copy(CreateFromText<TForm>(WriteComponentText(&form), nullptr));
  std::unique_ptr<TComponent> fromFile(CreateComponentFromFile(path, nullptr));
  EXPECT_EQ(dynamic_cast<TForm*>(fromFile.get())->GetCaption(), "ü");
  EXPECT_THROW(CreateComponentFromFile(path + ".missing", nullptr), EFOpenError);
  EXPECT_THROW(CreateFromText<TKinds>("object F: TForm\nend\n", nullptr), EFormFileError);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace qel::test

namespace qel::test {
namespace {

TEST_F(FormFilesTest, ByteOrderMarkAndExtremeHexadecimalValues) {
  struct Case {
    const char* Value;
    int64_t Big;
  };
  for (const Case& c : {Case{"$7FFFFFFFFFFFFFFF", std::numeric_limits<int64_t>::max()},
                        Case{"-$8000000000000000", std::numeric_limits<int64_t>::min()},
                        Case{"-$FFFFFFFF", -4294967295LL}, Case{"$0000000000000001", 1}}) {
    auto root = Read(std::string("\xEF\xBB\xBFobject F: TForm\n  object K: TKinds\n    Big = ") +
                     c.Value + "\n  end\nend\n");
    auto* k = dynamic_cast<TKinds*>(root->FindComponent("K"));
    ASSERT_NE(k, nullptr) << c.Value;
    EXPECT_EQ(k->GetBig(), c.Big) << c.Value;
    EXPECT_EQ(WriteComponentText(Read(WriteComponentText(root.get())).get()),
              WriteComponentText(root.get()));
  }
}

// A form read side by side: its height of millions is held only once the width of 0 arrives.
// Written back, the height comes first; reading that must not fail on the way.
TEST_F(FormFilesTest, AFormSizeReadOneSideAtATimeReadsBackInAnyOrder) {
  for (const char* sides : {"ClientWidth = 0\n  Height = 4194303\n",
                            "ClientHeight = 4194303\n  ClientWidth = 0\n",
                            "Width = 40000\n  Height = 0\n"}) {
    auto root = Read(std::string("object F: TForm\n  ") + sides + "end\n");
    const std::string text = WriteComponentText(root.get());
    auto again = Read(text);
    EXPECT_EQ(WriteComponentText(again.get()), text) << sides;
    auto* f = dynamic_cast<TForm*>(again.get());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(int64_t{f->Surface()->GetWidth()} * f->Surface()->GetHeight(), 0) << sides;
  }
  // Outside a form file an impossible size is still refused.
  TForm form(nullptr);
  EXPECT_THROW(form.SetBounds(0, 0, 100, 4194303), EOutOfResources);
}

}  // namespace
}  // namespace qel::test
