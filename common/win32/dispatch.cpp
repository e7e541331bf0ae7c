#include "common/win32/dispatch.h"

#include <vector>

HRESULT InvokeById(IDispatch* target, DISPID id, WORD flags, std::initializer_list<const VARIANT*> args,
                   VARIANT* result) {
  if (!target) return E_POINTER;
  // DISPPARAMS wants the arguments last first.
  std::vector<VARIANT> reversed(args.size());
  std::size_t i = args.size();
  for (const VARIANT* arg : args) reversed[--i] = *arg;  // shallow copies: the callers own them
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = static_cast<UINT>(reversed.size());
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  UINT bad_arg = 0;
  const HRESULT hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, &bad_arg);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

HRESULT InvokeByName(IDispatch* target, const wchar_t* name, WORD flags, std::initializer_list<const VARIANT*> args,
                     VARIANT* result) {
  if (!target) return E_POINTER;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const HRESULT hr = target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  return InvokeById(target, id, flags, args, result);
}

ComPtr<IDispatch> DispatchOf(const Variant& value) {
  if (value.type() != VT_DISPATCH || value.value().pdispVal == nullptr) return {};
  IDispatch* dispatch = value.value().pdispVal;
  dispatch->AddRef();
  return ComPtr<IDispatch>::Adopt(dispatch);
}
