#include "ClassFactory.h"

#include <atomic>

#include "ComError.h"
#include "ComModule.h"

namespace wenlock::com {
namespace {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(ObjectCreator create) : create_(create) { AddObject(); }
  ~ClassFactory() { ReleaseObject(); }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return GuardedEntry([&] { return create_(iid, out); });
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      AddLock();
    } else {
      ReleaseLock();
    }
    return S_OK;
  }

 private:
  std::atomic<ULONG> references_{1};
  ObjectCreator create_;
};

}  // namespace

HRESULT GetClassObject(const CreatableClass& creatable, REFCLSID clsid, REFIID iid,
                       void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != creatable.clsid) return CLASS_E_CLASSNOTAVAILABLE;
  return GuardedEntry([&] {
    ComPtr<IClassFactory> factory;
    *factory.Put() = new ClassFactory(creatable.create);
    return factory->QueryInterface(iid, out);
  });
}

}  // namespace wenlock::com
