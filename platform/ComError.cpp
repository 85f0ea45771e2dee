#include "ComError.h"

#include <oleauto.h>

#include "CodePage.h"
#include "ComHandles.h"

namespace wenlock::com {

void ThrowIfFailed(HRESULT result, const std::string& description) {
  if (FAILED(result)) throw ComError(result, description);
}

HRESULT ReportError(REFIID iid, std::wstring_view source, std::string_view description,
                    HRESULT result) noexcept {
  try {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.Put()))) return result;
    const Bstr source_text(source);
    const Bstr description_text(GbkToUtf16(description));
    create->SetGUID(iid);
    create->SetSource(source_text.get());
    create->SetDescription(description_text.get());
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.PutVoid()))) {
      SetErrorInfo(0, info.Get());
    }
  } catch (...) {
    // No memory for the report: the status alone goes back.
  }
  return result;
}

}  // namespace wenlock::com
