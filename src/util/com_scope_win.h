// The owner of one initialisation of COM on the calling thread, and OLE on
// demand.
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

// OLE on the calling thread from the first call on, for good: the window
// thread takes it when a command first needs it (the file dialogs, the
// shell), not at start, where loading it would delay the first window by a
// good part of its time. Never undone: the process ends without unwinding.
inline void keepOleInitialised() noexcept {
    thread_local const bool initialised = SUCCEEDED(OleInitialize(nullptr));
    (void)initialised;
}

}  // namespace velmora
