// The edit-mask engine on its own: the parts of a mask, what each slot accepts, the display text
// of a value and the value of a display text, completeness, and the round trip between them.
#include <gtest/gtest.h>

#include "platform/rtl/DateTime.h"
#include "platform/widgets/Mask.h"

namespace qel::test {
namespace {

TEST(MaskText, PartsSaveFlagAndBlankCharacter) {
  EXPECT_TRUE(MaskGetMaskSave("!99/99/0000;1;_"));
  EXPECT_FALSE(MaskGetMaskSave("000-0000;0;_"));
  EXPECT_TRUE(MaskGetMaskSave("000"));       // absent: literals are kept
  EXPECT_TRUE(MaskGetMaskSave("000;;*"));    // empty: likewise
  EXPECT_EQ(MaskGetMaskBlank("000"), U'_');  // absent: '_'
  EXPECT_EQ(MaskGetMaskBlank("000;1;*"), U'*');
  EXPECT_EQ(MaskGetMaskBlank("000;1;"), U'_');
  EXPECT_EQ(MaskGetMaskBlank("000;1;\u00b7"), U'\u00b7');  // any code point
  // An escaped ';' belongs to the pattern.
  EXPECT_EQ(MaskGetPattern("99\\;99;0;#"), "99\\;99");
  TMaskPattern m("99\\;99;0;#");
  EXPECT_EQ(m.Length(), 5);
  EXPECT_EQ(m.LiteralAt(2), U';');
  EXPECT_FALSE(m.GetSaveLiterals());
  EXPECT_EQ(m.GetBlank(), U'#');
  EXPECT_EQ(m.EmptyText(), "##;##");
}

TEST(MaskText, PatternCharactersBecomeSlotsAndLiterals) {
  TMaskPattern m("(999) 000-0000;1;_");
  ASSERT_EQ(m.Length(), 14);
  EXPECT_EQ(m.SlotCount(), 10);
  EXPECT_EQ(m.EmptyText(), "(___) ___-____");
  EXPECT_FALSE(m.IsEditable(0));
  EXPECT_TRUE(m.IsEditable(1));
  EXPECT_FALSE(m.IsRequired(1));  // 9: optional
  EXPECT_TRUE(m.IsRequired(6));   // 0: required
  EXPECT_EQ(m.NextEditable(0), 1);
  EXPECT_EQ(m.NextEditable(4), 6);    // over ") "
  EXPECT_EQ(m.NextEditable(14), 14);  // none: Length()
  EXPECT_EQ(m.PrevEditable(6), 3);
  EXPECT_EQ(m.PrevEditable(1), -1);
  EXPECT_EQ(m.KindAt(-1), mkLiteral);  // outside: nothing to type into
  EXPECT_EQ(m.KindAt(99), mkLiteral);

  // '!', '>', '<' and '<>' take no position; '\' makes the next character a literal; '_' is a
  // space in the text.
  TMaskPattern k("!>L<l<>L\\0_c");
  ASSERT_EQ(k.Length(), 6);
  EXPECT_TRUE(k.GetTrimLeading());
  EXPECT_EQ(k.CaseAt(0), mcUpper);
  EXPECT_EQ(k.CaseAt(1), mcLower);
  EXPECT_EQ(k.CaseAt(2), mcAsTyped);
  EXPECT_EQ(k.LiteralAt(3), U'0');
  EXPECT_EQ(k.LiteralAt(4), U' ');
  EXPECT_EQ(k.KindAt(5), mkAnyOpt);
  EXPECT_EQ(TMaskPattern("00\\").LiteralAt(2), U'\\');  // nothing left to escape

  // ':' and '/' are the separators of the format settings.
  TFormatSettings saved = GetFormatSettings(), fs = saved;
  fs.DateSeparator = '.';
  fs.TimeSeparator = 'h';
  SetFormatSettings(fs);
  EXPECT_EQ(TMaskPattern("99/99 00:00").EmptyText(), "__.__ __h__");
  SetFormatSettings(saved);
  EXPECT_EQ(TMaskPattern("99/99").EmptyText(), "__-__");
}

TEST(MaskText, SlotsAcceptTheirCharacterClassesAndApplyCase) {
  TMaskPattern m("LAC0#");
  auto fits = [&](int P, char32_t C) { return m.CharFits(P, C); };
  EXPECT_TRUE(fits(0, U'x'));
  EXPECT_TRUE(fits(0, U'\u00e9'));  // é
  EXPECT_TRUE(fits(0, U'\u0416'));  // Ж
  EXPECT_TRUE(fits(0, U'\u4e2d'));  // 中
  EXPECT_FALSE(fits(0, U'5'));
  EXPECT_FALSE(fits(0, U'-'));
  EXPECT_TRUE(fits(1, U'5'));
  EXPECT_TRUE(fits(1, U'q'));
  EXPECT_FALSE(fits(1, U'.'));
  EXPECT_TRUE(fits(2, U'.'));
  EXPECT_TRUE(fits(2, U'\U0001F600'));
  EXPECT_FALSE(fits(2, U' '));   // a space means an unfilled slot
  EXPECT_FALSE(fits(2, U'_'));   // so does the blank
  EXPECT_FALSE(fits(2, U'\t'));  // control characters never fit
  EXPECT_TRUE(fits(3, U'7'));
  EXPECT_FALSE(fits(3, U'+'));
  EXPECT_FALSE(fits(3, U'\u0663'));  // only the ASCII digits are digits
  EXPECT_TRUE(fits(4, U'+'));
  EXPECT_TRUE(fits(4, U'-'));
  EXPECT_FALSE(fits(4, U'x'));
  EXPECT_FALSE(fits(5, U'x'));  // past the end

  TMaskPattern c(">L<L<>L");
  char32_t ch = U'\u00e9';
  ASSERT_TRUE(c.CharFits(0, ch));
  EXPECT_EQ(ch, U'\u00c9');  // É
  ch = U'\u0416';
  ASSERT_TRUE(c.CharFits(1, ch));
  EXPECT_EQ(ch, U'\u0436');  // ж
  ch = U'Q';
  ASSERT_TRUE(c.CharFits(2, ch));
  EXPECT_EQ(ch, U'Q');
  // A case mapping that lands on the blank would read back as empty: refused.
  TMaskPattern b(">L;1;A");
  ch = U'a';
  EXPECT_FALSE(b.CharFits(0, ch));
}

TEST(MaskText, FormatMaskTextPlacesValuesWithAndWithoutLiterals) {
  EXPECT_EQ(FormatMaskText("!99/99/0000;1;_", "12-05-2020"), "12-05-2020");
  // '!': a short value lands at the end.
  EXPECT_EQ(FormatMaskText("!99/99/0000;1;_", "5-2020"), "__-_5-2020");
  EXPECT_EQ(FormatMaskText("99/99/0000;1;_", "12-5"), "12-5_-____");
  EXPECT_EQ(FormatMaskText("000-0000;0;_", "5551234"), "555-1234");
  // A value without the literals a '1' mask expects still lands in the slots.
  EXPECT_EQ(FormatMaskText("00:00;1;_", "1230"), "12:30");
  // What does not fit leaves its slot blank.
  EXPECT_EQ(FormatMaskText("00:00;1;_", "1x:3"), "1_:3_");
  EXPECT_EQ(FormatMaskText("00:00;1;*", "1 :3"), "1*:3*");
  EXPECT_EQ(FormatMaskText(">LL<ll", "\u00e4bCD"), "\u00c4Bcd");
  EXPECT_EQ(FormatMaskText("", "as is"), "as is");
  EXPECT_EQ(FormatMaskText("00", "123456"), "12");  // the rest has no slot
}

TEST(MaskText, ValueTextKeepsOrDropsLiteralsAndTrimsBlanks) {
  TMaskPattern keep("00:00;1;_");
  EXPECT_EQ(keep.ValueText("12:3_"), "12:3");
  EXPECT_EQ(keep.ValueText("1_:3_"), "1 :3");
  EXPECT_EQ(keep.ValueText("__:__"), "  :");
  TMaskPattern drop("(999) 000-0000;0;_");
  EXPECT_EQ(drop.ValueText("(555) 123-4567"), "5551234567");
  EXPECT_EQ(drop.ValueText("(5__) 12_-____"), "5  12");
  EXPECT_EQ(drop.StripLiterals("(5__) 12_-____"), "5  12     ");
  TMaskPattern lead("!9999;0;_");
  EXPECT_EQ(lead.ValueText("__42"), "42");
  EXPECT_EQ(lead.ValueText("4__2"), "4  2");
}

TEST(MaskText, CompletenessCountsOnlyRequiredSlots) {
  TMaskPattern m("(999) 000-0000;1;_");
  EXPECT_TRUE(m.IsComplete("(___) 123-4567"));
  EXPECT_FALSE(m.IsComplete("(555) 123-456_"));
  EXPECT_EQ(m.FirstMissing("(555) 1_3-456_"), 7);
  EXPECT_FALSE(m.IsFilled("(555) 1_3-456_", 7));
  EXPECT_TRUE(m.IsFilled("(555) 1_3-456_", 6));
  EXPECT_FALSE(m.IsFilled("(555) 1_3-456_", 0));  // a literal is nothing typed
  EXPECT_TRUE(TMaskPattern("99;1;_").IsComplete("__"));

  EXPECT_TRUE(m.Conforms("(555) 1_3-456_"));
  EXPECT_FALSE(m.Conforms("(555) 1x3-456_"));      // x is no digit
  EXPECT_FALSE(m.Conforms("[555] 123-4567"));      // literals moved
  EXPECT_FALSE(m.Conforms("(555) 123-4567 "));     // too long
  EXPECT_FALSE(TMaskPattern(">L").Conforms("a"));  // not in its slot's case
}

TEST(MaskText, DisplayValueDisplayRoundTrips) {
  const char* masks[] = {"!99/99/0000;1;_", "99/99/0000;0;_", "(999) 000-0000;0;*",
                         ">LL<ll;1;_",      "!#9;0;_",        "CcAa\\-Ll;1;.",
                         "00_00;1;_",       "c-c;0;_",        "!c-c;1;_"};
  const char* values[] = {"",          "1",   "12/05/2020", "a-b", "  x",          "\u00e9\u00df12",
                          "-1x 9 8 7", "---", "ab cd",      "x_y", "\u4e2d-\u6587"};
  for (const char* mask : masks) {
    TMaskPattern m(mask);
    for (const char* v : values) {
      std::string d = m.DisplayText(v);
      ASSERT_TRUE(m.Conforms(d)) << mask << " / " << v << " -> " << d;
      EXPECT_EQ(m.DisplayText(m.ValueText(d)), d) << mask << " / " << v;
    }
  }
}

}  // namespace
}  // namespace qel::test
