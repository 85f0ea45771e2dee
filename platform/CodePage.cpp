#include "CodePage.h"

#include <climits>

#include "ComError.h"
#include "ComHandles.h"

namespace wenlock::com {
namespace {

int CheckedLength(std::size_t size) {
  if (size > static_cast<std::size_t>(INT_MAX)) throw ComError(E_INVALIDARG, "Text too long");
  return static_cast<int>(size);
}

}  // namespace

std::string Utf16ToGbk(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  const int bytes =
      WideCharToMultiByte(kGbkCodePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) throw ComError(E_INVALIDARG, "Text cannot be converted to code page 936");
  std::string gbk(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(kGbkCodePage, 0, text.data(), length, gbk.data(), bytes, nullptr, nullptr);
  return gbk;
}

std::wstring GbkToUtf16(std::string_view text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  const int chars = MultiByteToWideChar(kGbkCodePage, 0, text.data(), length, nullptr, 0);
  if (chars <= 0) throw ComError(E_INVALIDARG, "Text is not in code page 936");
  std::wstring wide(static_cast<std::size_t>(chars), L'\0');
  MultiByteToWideChar(kGbkCodePage, 0, text.data(), length, wide.data(), chars);
  return wide;
}

std::string VariantToGbk(const VARIANT& value) {
  Variant direct;
  // VariantCopyInd only reads its source; the Windows signature lacks the const.
  ThrowIfFailed(VariantCopyInd(direct.get(), const_cast<VARIANT*>(&value)),
                "Argument cannot be read");
  switch (V_VT(direct.get())) {
    case VT_EMPTY:
      return {};
    case VT_NULL:
      throw ComError(DISP_E_TYPEMISMATCH, "Invalid use of Null: a Null value has no text");
    case VT_BSTR:
      break;
    default:
      ThrowIfFailed(VariantChangeType(direct.get(), direct.get(), VARIANT_ALPHABOOL, VT_BSTR),
                    "Argument cannot be converted to text");
  }
  const BSTR text = V_BSTR(direct.get());
  return Utf16ToGbk({text ? text : L"", SysStringLen(text)});
}

BSTR GbkToBstr(std::string_view text) {
  return Bstr(GbkToUtf16(text)).Release();
}

void GbkToVariant(std::string_view text, VARIANT* out) {
  const BSTR bstr = GbkToBstr(text);
  V_VT(out) = VT_BSTR;
  V_BSTR(out) = bstr;
}

}  // namespace wenlock::com
