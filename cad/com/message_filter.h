// A CAD system that is busy (a dialog open, a rebuild running) rejects calls
// instead of answering them. The tool keeps asking for a bounded time, then
// gives up with a text the user understands.
#pragma once

#include <objbase.h>
#include <windows.h>

#include <chrono>

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

// How many rejected calls the filter of this thread has been asked about so
// far. COM consults it on Windows; wine never does, and then the caller has
// to retry by itself.
unsigned long rejectedCallsSeen();

}  // namespace cad::com
