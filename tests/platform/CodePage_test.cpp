#include "CodePage.h"

#include <gtest/gtest.h>

#include "ComError.h"
#include "ComHandles.h"

namespace wenlock::com {
namespace {

const std::wstring kSuccessUtf16 = L"\u6210\u529F";  // 成功
const std::string kSuccessGbk = "\xB3\xC9\xB9\xA6";   // 成功

TEST(CodePage, ConvertsBetweenUtf16AndGbk) {
  EXPECT_EQ(Utf16ToGbk(kSuccessUtf16), kSuccessGbk);
  EXPECT_EQ(GbkToUtf16(kSuccessGbk), kSuccessUtf16);
  EXPECT_EQ(Utf16ToGbk(L""), "");
  EXPECT_EQ(GbkToUtf16(""), L"");
  EXPECT_EQ(Utf16ToGbk(L"68 A0 16"), "68 A0 16");
}

TEST(CodePage, GbkTextBecomesAnAutomationString) {
  Variant value;
  GbkToVariant(kSuccessGbk, value.get());
  ASSERT_EQ(V_VT(value.get()), VT_BSTR);
  EXPECT_EQ(std::wstring(V_BSTR(value.get()), SysStringLen(V_BSTR(value.get()))), kSuccessUtf16);

  Bstr empty;
  *empty.Put() = GbkToBstr("");
  EXPECT_EQ(empty.view(), L"");
}

// A Variant holding one value, built by the case's own setter.
struct VariantCase {
  const char* name;
  void (*set)(VARIANT*);
  const char* text;
};

TEST(CodePage, VariantsGiveTheirTextAsTheAutomationPlatformConvertsThem) {
  static Bstr chinese(kSuccessUtf16);
  static LONG referenced_integer = 38;
  const VariantCase cases[] = {
      {"empty", [](VARIANT*) {}, ""},
      {"integer 0", [](VARIANT* v) { V_VT(v) = VT_I4; V_I4(v) = 0; }, "0"},
      {"integer 38", [](VARIANT* v) { V_VT(v) = VT_I4; V_I4(v) = 38; }, "38"},
      {"negative short", [](VARIANT* v) { V_VT(v) = VT_I2; V_I2(v) = -5; }, "-5"},
      {"double 12.5", [](VARIANT* v) { V_VT(v) = VT_R8; V_R8(v) = 12.5; }, "12.5"},
      {"True", [](VARIANT* v) { V_VT(v) = VT_BOOL; V_BOOL(v) = VARIANT_TRUE; }, "True"},
      {"False", [](VARIANT* v) { V_VT(v) = VT_BOOL; V_BOOL(v) = VARIANT_FALSE; }, "False"},
      {"Chinese string",
       [](VARIANT* v) { V_VT(v) = VT_BSTR; V_BSTR(v) = SysAllocString(chinese.get()); },
       kSuccessGbk.c_str()},
      {"by-reference integer",
       [](VARIANT* v) { V_VT(v) = VT_BYREF | VT_I4; V_I4REF(v) = &referenced_integer; }, "38"},
  };
  for (const VariantCase& c : cases) {
    Variant value;
    c.set(value.get());
    EXPECT_EQ(VariantToGbk(value.value()), c.text) << c.name;
  }
}

TEST(CodePage, ByReferenceVariantsAreFollowed) {
  // What a script variable looks like when passed to an [in] VARIANT.
  Variant inner;
  GbkToVariant(kSuccessGbk, inner.get());
  VARIANT outer;
  VariantInit(&outer);
  V_VT(&outer) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&outer) = inner.get();
  EXPECT_EQ(VariantToGbk(outer), kSuccessGbk);
  // The referenced value is the caller's: it is unchanged.
  EXPECT_EQ(V_VT(inner.get()), VT_BSTR);
}

TEST(CodePage, NullHasNoText) {
  Variant null;
  V_VT(null.get()) = VT_NULL;
  try {
    VariantToGbk(null.value());
    FAIL() << "Null converted";
  } catch (const ComError& e) {
    EXPECT_EQ(e.result(), DISP_E_TYPEMISMATCH);
    EXPECT_NE(std::string(e.what()).find("Null"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace wenlock::com
