// Text at the COM boundary: UTF-16 automation strings outside, single-byte GBK (code page 936)
// inside. The code page is always named, never the process's ANSI code page, so a workstation's
// regional settings cannot change what a card holds.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace wenlock::com {

constexpr UINT kGbkCodePage = 936;

// Throw ComError when the text cannot be converted.
std::string Utf16ToGbk(std::wstring_view text);
std::wstring GbkToUtf16(std::string_view text);

// The text of a Variant as the automation platform converts it: a by-reference Variant is followed,
// an empty one gives the empty text, a Boolean gives "True" or "False", numbers their digits. A Null
// (or any value without a text) throws ComError with DISP_E_TYPEMISMATCH.
std::string VariantToGbk(const VARIANT& value);

// A new automation string with the text; the caller owns it. Throws std::bad_alloc.
BSTR GbkToBstr(std::string_view text);
// Stores the text into *out as VT_BSTR. *out is overwritten without being cleared, as out arguments
// arrive uninitialised or owned by the caller's previous value.
void GbkToVariant(std::string_view text, VARIANT* out);

}  // namespace wenlock::com
