#pragma once
// Late-bound calls through IDispatch: the member is looked up by name (or given by its
// dispatch id) and invoked with arguments in their natural order.
#include <initializer_list>

#include "common/win32/com.h"

HRESULT InvokeByName(IDispatch* target, const wchar_t* name, WORD flags, std::initializer_list<const VARIANT*> args,
                     VARIANT* result);
HRESULT InvokeById(IDispatch* target, DISPID id, WORD flags, std::initializer_list<const VARIANT*> args,
                   VARIANT* result);
// The dispatch interface of a VT_DISPATCH result, or empty.
ComPtr<IDispatch> DispatchOf(const Variant& value);
