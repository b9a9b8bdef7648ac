// The owner of one initialisation of COM (or OLE) on the calling thread.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace velmora {

// Balances one initialisation of COM on the calling thread. Only an
// initialisation that took (S_OK, or S_FALSE when the thread had it
// already and counts one more) is undone; a refused one, such as
// RPC_E_CHANGED_MODE on a thread of another apartment, is not ours to undo.
//
//     struct SomeComKind {
//         static HRESULT initialize() noexcept;
//         static void uninitialize() noexcept;
//     };
template <typename Kind>
class ComScope {
public:
    ComScope() noexcept : initialised_(SUCCEEDED(Kind::initialize())) {}
    ~ComScope() {
        if (initialised_) Kind::uninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    explicit operator bool() const noexcept { return initialised_; }

private:
    bool initialised_;
};

namespace handle_kinds {

struct Ole {
    static HRESULT initialize() noexcept { return OleInitialize(nullptr); }
    static void uninitialize() noexcept { OleUninitialize(); }
};

}  // namespace handle_kinds

using OleScope = ComScope<handle_kinds::Ole>;

}  // namespace velmora
