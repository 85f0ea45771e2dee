// Failures inside a COM method or entry point, and the guard that turns every exception into an
// HRESULT before it can reach a COM boundary.
#pragma once

#include <windows.h>

#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wenlock::com {

// A failure with the HRESULT the caller is to see; what() is its description.
class ComError : public std::runtime_error {
 public:
  ComError(HRESULT result, const std::string& description)
      : std::runtime_error(description), result_(result) {}
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

// Throws ComError(result, description) when result is a failure.
void ThrowIfFailed(HRESULT result, const std::string& description);

// Hands a failure to the automation platform's error reporting (CreateErrorInfo/SetErrorInfo) for
// the interface iid, with the source and the description (GBK text) a script shows, and returns
// result so a method can `return ReportError(...)`. Never throws: when the report cannot be made,
// the status alone goes back.
HRESULT ReportError(REFIID iid, std::wstring_view source, std::string_view description,
                    HRESULT result) noexcept;

// Runs body (returning HRESULT) and turns any exception into a failing HRESULT; with an interface
// the failure is also reported through the error information of that interface.
template <typename Body>
HRESULT GuardedEntry(Body&& body) noexcept {
  try {
    return body();
  } catch (const ComError& e) {
    return e.result();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

template <typename Body>
HRESULT GuardedMethod(REFIID iid, std::wstring_view source, Body&& body) noexcept {
  try {
    return body();
  } catch (const ComError& e) {
    return ReportError(iid, source, e.what(), e.result());
  } catch (const std::bad_alloc&) {
    return ReportError(iid, source, "Out of memory", E_OUTOFMEMORY);
  } catch (const std::exception& e) {
    return ReportError(iid, source, e.what(), E_FAIL);
  } catch (...) {
    return ReportError(iid, source, "Unexpected failure", E_UNEXPECTED);
  }
}

}  // namespace wenlock::com
