#include "common/xml/xml_doc_msxml.h"

#include <windows.h>

#include "common/win32/dispatch.h"
#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"

namespace {

struct DomClass {
  const wchar_t* key;
  CLSID clsid;
};

// In the order they are tried.
const DomClass kDomClasses[] = {
    {L"CLSID\\{F5078F32-C551-11D3-89B9-0000F81FE221}",
     {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}}},
    {L"CLSID\\{88D969C0-F192-11D4-A65F-0040963251E5}",
     {0x88D969C0, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}}},
    {L"CLSID\\{88D969E5-F192-11D4-A65F-0040963251E5}",
     {0x88D969E5, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}}},
    {L"CLSID\\{88D96A05-F192-11D4-A65F-0040963251E5}",
     {0x88D96A05, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}}},
};

bool KeyOpens(const wchar_t* key_name) {
  UniqueRegKey key;
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, key_name, 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

Variant Get(IDispatch* target, const wchar_t* name) {
  Variant result;
  InvokeByName(target, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, result.get());
  return result;
}

class MsxmlNode final : public XmlNode {
 public:
  explicit MsxmlNode(ComPtr<IDispatch> node) : node_(std::move(node)) {}

  std::u16string Name() const override {
    Variant name = Get(node_.get(), L"nodeName");
    if (name.type() != VT_BSTR || !name.value().bstrVal) return {};
    return FromWide(std::wstring_view(name.value().bstrVal, SysStringLen(name.value().bstrVal)));
  }

  std::optional<std::u16string> GetAttribute(std::u16string_view name) const override {
    Variant arg = Variant::String(ToWide(name));
    Variant result;
    if (FAILED(InvokeByName(node_.get(), L"getAttribute", DISPATCH_METHOD, {arg.get()}, result.get()))) {
      return std::nullopt;
    }
    if (result.type() != VT_BSTR) return std::nullopt;  // VT_NULL: no such attribute
    const BSTR text = result.value().bstrVal;
    return FromWide(std::wstring_view(text ? text : L"", text ? SysStringLen(text) : 0));
  }

  bool SetAttribute(std::u16string_view name, std::u16string_view value) override {
    Variant key = Variant::String(ToWide(name));
    Variant text = Variant::String(ToWide(value));
    return SUCCEEDED(InvokeByName(node_.get(), L"setAttribute", DISPATCH_METHOD, {key.get(), text.get()}, nullptr));
  }

  std::size_t ChildCount() const override {
    const ComPtr<IDispatch> list = ChildNodes();
    if (!list) return 0;
    Variant length = Get(list.get(), L"length");
    if (length.type() != VT_I4 || length.value().lVal < 0) return 0;
    return static_cast<std::size_t>(length.value().lVal);
  }

  std::unique_ptr<XmlNode> Child(std::size_t index) const override {
    const ComPtr<IDispatch> list = ChildNodes();
    if (!list) return nullptr;
    Variant position = Variant::Int32(static_cast<LONG>(index));
    Variant result;
    if (FAILED(InvokeByName(list.get(), L"item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {position.get()},
                            result.get()))) {
      return nullptr;
    }
    ComPtr<IDispatch> child = DispatchOf(result);
    if (!child) return nullptr;
    return std::make_unique<MsxmlNode>(std::move(child));
  }

 private:
  ComPtr<IDispatch> ChildNodes() const { return DispatchOf(Get(node_.get(), L"childNodes")); }

  ComPtr<IDispatch> node_;
};

class MsxmlDoc final : public XmlDoc {
 public:
  explicit MsxmlDoc(ComPtr<IDispatch> doc) : doc_(std::move(doc)) {}

  bool Load(std::u16string_view path) override {
    // The document loads asynchronously unless told otherwise, and must not fetch anything
    // a hostile document points at.
    Variant no = Variant::Bool(false);
    InvokeByName(doc_.get(), L"async", DISPATCH_PROPERTYPUT, {no.get()}, nullptr);
    InvokeByName(doc_.get(), L"resolveExternals", DISPATCH_PROPERTYPUT, {no.get()}, nullptr);
    Variant where = Variant::String(ToWide(path));
    Variant result;
    last_result_ = InvokeByName(doc_.get(), L"load", DISPATCH_METHOD, {where.get()}, result.get());
    // A failed load answers S_FALSE with VARIANT_FALSE, which SUCCEEDED() would let through.
    if (last_result_ != S_OK || result.type() != VT_BOOL || result.value().boolVal != VARIANT_TRUE) return false;
    path_ = std::u16string(path);
    return true;
  }

  std::unique_ptr<XmlNode> SelectSingleNode(std::u16string_view query) override {
    Variant text = Variant::String(ToWide(query));
    Variant result;
    last_result_ = InvokeByName(doc_.get(), L"selectSingleNode", DISPATCH_METHOD, {text.get()}, result.get());
    if (FAILED(last_result_)) return nullptr;
    ComPtr<IDispatch> node = DispatchOf(result);
    if (!node) return nullptr;
    return std::make_unique<MsxmlNode>(std::move(node));
  }

  bool Save(std::u16string_view path) override {
    const std::u16string target = path.empty() ? path_ : std::u16string(path);
    if (target.empty()) return false;
    Variant where = Variant::String(ToWide(target));
    last_result_ = InvokeByName(doc_.get(), L"Save", DISPATCH_METHOD, {where.get()}, nullptr);
    return last_result_ == S_OK;
  }

 private:
  ComPtr<IDispatch> doc_;
  std::u16string path_;
  HRESULT last_result_ = S_OK;
};

}  // namespace

std::optional<CLSID> ProbeDomClass(DomProbe probe) {
  const std::size_t count = probe == DomProbe::kThreeClasses ? 3 : 4;
  for (std::size_t i = 0; i < count; ++i) {
    if (KeyOpens(kDomClasses[i].key)) return kDomClasses[i].clsid;
  }
  if (probe == DomProbe::kFourClassesFallback) return kDomClasses[0].clsid;
  return std::nullopt;
}

std::unique_ptr<XmlDoc> CreateMsxmlDoc(DomProbe probe) {
  const std::optional<CLSID> clsid = ProbeDomClass(probe);
  if (!clsid) return nullptr;
  ComPtr<IDispatch> doc;
  if (FAILED(CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IDispatch,
                              doc.ReceiveVoid())) ||
      !doc) {
    return nullptr;
  }
  return std::make_unique<MsxmlDoc>(std::move(doc));
}
