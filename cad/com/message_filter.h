// A CAD system that is busy (a dialog open, a rebuild running) rejects calls
// instead of answering them. The tool keeps asking for a bounded time, then
// gives up with a text the user understands.
#pragma once

#include <objbase.h>
#include <windows.h>

#include <chrono>
#include <functional>

namespace cad::com {

inline constexpr std::chrono::milliseconds kBusyRetryBound{30000};
// How long to wait before asking a busy server again.
inline constexpr std::chrono::milliseconds kBusyRetryDelay{200};

inline constexpr const char* kBusyText = "Solidworks ist beschäftigt und nimmt keine Aufrufe an";

// True for the answers of a server that does not take calls now.
inline bool isBusyAnswer(HRESULT result)
{
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

// The message filter of the calling thread's apartment, registered while at
// least one MessageFilterScope lives on that thread.
class MessageFilterScope {
public:
    MessageFilterScope();
    MessageFilterScope(const MessageFilterScope&) = delete;
    MessageFilterScope& operator=(const MessageFilterScope&) = delete;
    ~MessageFilterScope();
};

// Makes a call until the server takes it: where COM asked the filter, it has
// waited already; wine hands a rejection straight back, so the waiting happens
// here, up to the same bound. The last answer; still busy when the bound is over.
HRESULT callWhileBusy(const std::function<HRESULT()>& call);

}  // namespace cad::com
