#include "util/com_dispatch_win.h"

#include <ole2.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "app/runtime_binding.h"
#include "http/codepage.h"

namespace velmora::com {

namespace {

std::wstring wide(std::string_view gbk) {
    const std::u16string units = http::gbkToUtf16(gbk);
    return std::wstring(units.begin(), units.end());
}

// The VARIANTs of one call's arguments, cleared however the call ends.
class ArgumentList {
public:
    explicit ArgumentList(std::size_t count) : values_(count) {
        for (auto& v : values_) VariantInit(&v);
    }
    ~ArgumentList() {
        for (auto& v : values_) VariantClear(&v);
    }
    ArgumentList(const ArgumentList&) = delete;
    ArgumentList& operator=(const ArgumentList&) = delete;
    VARIANT* data() { return values_.data(); }
    VARIANT& operator[](std::size_t i) { return values_[i]; }

private:
    std::vector<VARIANT> values_;
};

// The texts of an error raised by the component are ours to free.
void freeException(EXCEPINFO& info) {
    if (info.pfnDeferredFillIn != nullptr) info.pfnDeferredFillIn(&info);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
}

bool lookUp(IDispatch* object, std::string_view member, DISPID& id) {
    std::wstring name = wide(member);
    LPOLESTR names[] = {name.data()};
    return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}

// A converted copy of `value`, VT_EMPTY when the conversion fails.
Variant converted(const VARIANT& value, VARTYPE type) {
    Variant out;
    // The source is only read; the headers just lack the const.
    if (FAILED(VariantChangeType(out.get(), const_cast<VARIANT*>(&value), 0, type))) out.clear();
    return out;
}

HRESULT createInstance(const CLSID& id, IDispatch** object) {
    HRESULT hr = CoCreateInstance(id, nullptr, CLSCTX_ALL, IID_IDispatch,
                                  reinterpret_cast<void**>(object));
    // Systems without remote activation refuse CLSCTX_ALL as an invalid
    // argument; ask again for local kinds only.
    if (hr == E_INVALIDARG) {
        hr = CoCreateInstance(id, nullptr, CLSCTX_ALL & ~CLSCTX_REMOTE_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(object));
    }
    return hr;
}

}  // namespace

Apartment::Apartment() {
    const auto init = app::bound<decltype(::CoInitialize)>(app::Bound::CoInitialize);
    // S_FALSE (already initialised on this thread) must be paired too.
    initialised_ = SUCCEEDED(init(nullptr));
}

Apartment::~Apartment() {
    if (!initialised_) return;
    app::bound<decltype(::CoUninitialize)>(app::Bound::CoUninitialize)();
}

DispatchRef::DispatchRef(const DispatchRef& other) noexcept : object_(other.object_) {
    if (object_ != nullptr) object_->AddRef();
}

DispatchRef::DispatchRef(DispatchRef&& other) noexcept
    : object_(std::exchange(other.object_, nullptr)) {}

DispatchRef& DispatchRef::operator=(DispatchRef other) noexcept {
    std::swap(object_, other.object_);
    return *this;
}

DispatchRef DispatchRef::adopt(IDispatch* object) noexcept {
    DispatchRef ref;
    ref.object_ = object;
    return ref;
}

DispatchRef DispatchRef::share(IDispatch* object) noexcept {
    if (object != nullptr) object->AddRef();
    return adopt(object);
}

void DispatchRef::reset() noexcept {
    if (IDispatch* object = std::exchange(object_, nullptr)) object->Release();
}

bool DispatchRef::create(std::string_view progIdOrClassId) {
    reset();
    const std::wstring name = wide(progIdOrClassId);
    if (name.empty()) return false;
    CLSID id;
    const HRESULT found = name.front() == L'{' ? CLSIDFromString(name.c_str(), &id)
                                               : CLSIDFromProgID(name.c_str(), &id);
    if (FAILED(found)) return false;
    IDispatch* object = nullptr;
    if (FAILED(createInstance(id, &object)) || object == nullptr) return false;
    DispatchRef made = adopt(object);
    if (FAILED(OleRun(made.get()))) return false;
    *this = std::move(made);
    return true;
}

Variant::Variant(Variant&& other) noexcept : value_(other.value_) {
    VariantInit(&other.value_);
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        VariantClear(&value_);
        value_ = other.value_;
        VariantInit(&other.value_);
    }
    return *this;
}

bool Argument::fill(VARIANT& out) const {
    switch (kind_) {
    case Kind::Text: {
        const std::u16string units = http::gbkToUtf16(text_);
        BSTR text = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(units.data()),
                                      static_cast<UINT>(units.size()));
        if (text == nullptr) return false;
        V_VT(&out) = VT_BSTR;
        V_BSTR(&out) = text;
        return true;
    }
    case Kind::Int32:
        V_VT(&out) = VT_I4;
        V_I4(&out) = int_;
        return true;
    case Kind::Double:
        V_VT(&out) = VT_R8;
        V_R8(&out) = double_;
        return true;
    case Kind::Bool:
        V_VT(&out) = VT_BOOL;
        V_BOOL(&out) = bool_ ? VARIANT_TRUE : VARIANT_FALSE;
        return true;
    case Kind::Bytes: {
        if (bytes_.size() > std::numeric_limits<ULONG>::max()) return false;
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes_.size()));
        if (array == nullptr) return false;
        void* data = nullptr;
        if (FAILED(SafeArrayAccessData(array, &data))) {
            SafeArrayDestroy(array);
            return false;
        }
        if (!bytes_.empty()) std::memcpy(data, bytes_.data(), bytes_.size());
        SafeArrayUnaccessData(array);
        V_VT(&out) = VT_ARRAY | VT_UI1;
        V_ARRAY(&out) = array;
        return true;
    }
    }
    return false;
}

Variant invoke(IDispatch* object, std::string_view member, CallKind kind,
               std::span<const Argument> arguments) {
    Variant result;
    DISPID id = DISPID_UNKNOWN;
    if (object == nullptr || !lookUp(object, member, id)) return result;

    // DISPPARAMS lists the arguments from last to first.
    ArgumentList values(arguments.size());
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (!arguments[arguments.size() - 1 - i].fill(values[i])) return result;
    }
    DISPPARAMS params{values.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    DISPID putId = DISPID_PROPERTYPUT;
    WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    if (kind == CallKind::Put) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
        flags = DISPATCH_PROPERTYPUT;
    }
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                      kind == CallKind::Put ? nullptr : result.get(), &exception,
                                      &badArgument);
    if (hr == DISP_E_EXCEPTION) freeException(exception);
    if (FAILED(hr)) {
        result.clear();
    } else if (kind == CallKind::Put) {
        // A write has no result; VT_NULL tells the caller it was accepted.
        V_VT(result.get()) = VT_NULL;
    }
    return result;
}

Variant callVariant(const DispatchRef& object, std::string_view member,
                    std::initializer_list<Argument> arguments) {
    return invoke(object.get(), member, CallKind::MethodOrGet,
                  std::span<const Argument>(arguments.begin(), arguments.size()));
}

std::string callText(const DispatchRef& object, std::string_view member,
                     std::initializer_list<Argument> arguments) {
    return variantText(callVariant(object, member, arguments).value());
}

double callNumber(const DispatchRef& object, std::string_view member,
                  std::initializer_list<Argument> arguments) {
    return variantNumber(callVariant(object, member, arguments).value());
}

bool callBool(const DispatchRef& object, std::string_view member,
              std::initializer_list<Argument> arguments) {
    return variantBool(callVariant(object, member, arguments).value());
}

DispatchRef callObject(const DispatchRef& object, std::string_view member,
                       std::initializer_list<Argument> arguments) {
    return variantObject(callVariant(object, member, arguments).value());
}

std::vector<unsigned char> callBytes(const DispatchRef& object, std::string_view member,
                                     std::initializer_list<Argument> arguments) {
    return variantBytes(callVariant(object, member, arguments).value());
}

bool putProperty(const DispatchRef& object, std::string_view member, const Argument& value) {
    return invoke(object.get(), member, CallKind::Put, std::span<const Argument>(&value, 1))
               .type() == VT_NULL;
}

std::string variantText(const VARIANT& value) {
    const Variant text = converted(value, VT_BSTR);
    if (text.type() != VT_BSTR) return {};
    const BSTR units = V_BSTR(&text.value());
    return http::utf16ToGbk(
        std::u16string_view(reinterpret_cast<const char16_t*>(units), SysStringLen(units)));
}

double variantNumber(const VARIANT& value) {
    const Variant number = converted(value, VT_R8);
    return number.type() == VT_R8 ? V_R8(&number.value()) : 0.0;
}

bool variantBool(const VARIANT& value) {
    const Variant flag = converted(value, VT_BOOL);
    return flag.type() == VT_BOOL && V_BOOL(&flag.value()) != VARIANT_FALSE;
}

DispatchRef variantObject(const VARIANT& value) {
    const Variant object = converted(value, VT_DISPATCH);
    return object.type() == VT_DISPATCH ? DispatchRef::share(V_DISPATCH(&object.value()))
                                        : DispatchRef();
}

std::vector<unsigned char> variantBytes(const VARIANT& value, std::size_t limit) {
    SAFEARRAY* array = nullptr;
    if (V_VT(&value) == (VT_ARRAY | VT_UI1)) {
        array = V_ARRAY(&value);
    } else if (V_VT(&value) == (VT_BYREF | VT_ARRAY | VT_UI1) && V_ARRAYREF(&value) != nullptr) {
        array = *V_ARRAYREF(&value);
    }
    if (array == nullptr || SafeArrayGetDim(array) != 1) return {};
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(array, 1, &upper)) || upper < lower) {
        return {};
    }
    const auto count = static_cast<std::size_t>(static_cast<long long>(upper) - lower + 1);
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::vector<unsigned char> out;
    try {
        out.assign(bytes, bytes + std::min(count, limit));
    } catch (...) {
        // A locked array cannot be destroyed by its owner.
        SafeArrayUnaccessData(array);
        throw;
    }
    SafeArrayUnaccessData(array);
    return out;
}

}  // namespace velmora::com
