// COM objects driven by member name through IDispatch.
//
// Every failure (no object, a member the object lacks, an error raised by
// the component, a result that does not convert) gives an empty result:
// an empty text, 0, false, an empty reference. Nothing is ever shown.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::com {

// One COM initialisation of the calling thread, paired on destruction.
// Construct and destroy on the same thread.
class Apartment {
public:
    Apartment();
    ~Apartment();
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    bool initialised() const { return initialised_; }

private:
    bool initialised_ = false;
};

// A counted reference on an IDispatch. Copies share the object; releasing an
// empty reference does nothing.
class DispatchRef {
public:
    DispatchRef() noexcept = default;
    ~DispatchRef() { reset(); }
    DispatchRef(const DispatchRef& other) noexcept;
    DispatchRef(DispatchRef&& other) noexcept;
    DispatchRef& operator=(DispatchRef other) noexcept;

    // Takes over one reference the caller already holds.
    static DispatchRef adopt(IDispatch* object) noexcept;
    // Takes a further reference.
    static DispatchRef share(IDispatch* object) noexcept;

    // Replaces the object by a new instance made from a programmatic
    // identifier or a class id in braces, put into the running state.
    bool create(std::string_view progIdOrClassId);

    void reset() noexcept;
    IDispatch* get() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

private:
    IDispatch* object_ = nullptr;
};

// A VARIANT that clears itself.
class Variant {
public:
    Variant() noexcept { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() noexcept { return &value_; }
    const VARIANT& value() const noexcept { return value_; }
    VARTYPE type() const noexcept { return V_VT(&value_); }
    void clear() noexcept { VariantClear(&value_); }

private:
    VARIANT value_;
};

// One argument of a member call. Texts are code page 936 and travel as
// BSTR; byte arrays as a one-dimensional SAFEARRAY of VT_UI1. The argument
// only refers to the caller's data, which must outlive the call.
class Argument {
public:
    Argument(std::string_view text) : kind_(Kind::Text), text_(text) {}
    Argument(const char* text) : kind_(Kind::Text), text_(text) {}
    Argument(const std::string& text) : kind_(Kind::Text), text_(text) {}
    Argument(std::int32_t number) : kind_(Kind::Int32), int_(number) {}
    Argument(double number) : kind_(Kind::Double), double_(number) {}
    Argument(bool value) : kind_(Kind::Bool), bool_(value) {}
    Argument(std::span<const unsigned char> bytes) : kind_(Kind::Bytes), bytes_(bytes) {}

    // False when the value could not be built (out of memory).
    bool fill(VARIANT& out) const;

private:
    enum class Kind { Text, Int32, Double, Bool, Bytes };
    Kind kind_;
    std::string_view text_;
    std::int32_t int_ = 0;
    double double_ = 0;
    bool bool_ = false;
    std::span<const unsigned char> bytes_;
};

enum class CallKind {
    MethodOrGet,  // a method call or a property read
    Put,          // a property write
};

// Looks the member up by name (user default locale) and invokes it. The
// result is empty (VT_EMPTY) on any failure.
Variant invoke(IDispatch* object, std::string_view member, CallKind kind,
               std::span<const Argument> arguments);

Variant callVariant(const DispatchRef& object, std::string_view member,
                    std::initializer_list<Argument> arguments = {});
std::string callText(const DispatchRef& object, std::string_view member,
                     std::initializer_list<Argument> arguments = {});
double callNumber(const DispatchRef& object, std::string_view member,
                  std::initializer_list<Argument> arguments = {});
bool callBool(const DispatchRef& object, std::string_view member,
              std::initializer_list<Argument> arguments = {});
DispatchRef callObject(const DispatchRef& object, std::string_view member,
                       std::initializer_list<Argument> arguments = {});
std::vector<unsigned char> callBytes(const DispatchRef& object, std::string_view member,
                                     std::initializer_list<Argument> arguments = {});
// True when the write was accepted.
bool putProperty(const DispatchRef& object, std::string_view member, const Argument& value);

// Conversions of a result with the standard variant conversion, so a boolean
// read as text is "-1" or "0".
std::string variantText(const VARIANT& value);
double variantNumber(const VARIANT& value);
bool variantBool(const VARIANT& value);
DispatchRef variantObject(const VARIANT& value);
// The bytes of a one-dimensional SAFEARRAY of VT_UI1, at most `limit` of them.
std::vector<unsigned char> variantBytes(
    const VARIANT& value, std::size_t limit = std::numeric_limits<std::size_t>::max());

}  // namespace velmora::com
