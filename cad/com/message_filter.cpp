#include "cad/com/message_filter.h"

#include "platform/com_object.h"

namespace cad::com {

namespace {

thread_local unsigned long rejectedSeen = 0;
thread_local int scopes = 0;
thread_local IMessageFilter* previousFilter = nullptr;

class BusyRetryFilter final : public win::Counted<IMessageFilter> {
public:
    BusyRetryFilter() : Counted(IID_IMessageFilter) {}

    // The tool serves no calls of its own; whatever comes in is handled as usual.
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override
    {
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD) override
    {
        ++rejectedSeen;
        // -1 cancels: the call then fails with RPC_E_CALL_REJECTED.
        if (elapsedMs >= DWORD(kBusyRetryBound.count()))
            return DWORD(-1);
        return DWORD(kBusyRetryDelay.count());
    }
    // Paint and timer messages go on while a call waits; input waits for its end.
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }
};

}  // namespace

MessageFilterScope::MessageFilterScope()
{
    if (scopes++ > 0)
        return;
    auto* filter = new BusyRetryFilter;
    // Only a single-threaded apartment has a filter; elsewhere this fails and
    // the caller's own retry is all there is.
    if (FAILED(CoRegisterMessageFilter(filter, &previousFilter)))
        previousFilter = nullptr;
    filter->Release();  // COM holds it while registered
}

MessageFilterScope::~MessageFilterScope()
{
    if (--scopes > 0)
        return;
    IMessageFilter* ours = nullptr;
    CoRegisterMessageFilter(previousFilter, &ours);
    if (ours)
        ours->Release();
    if (previousFilter)
        previousFilter->Release();
    previousFilter = nullptr;
}

HRESULT callWhileBusy(const std::function<HRESULT()>& call)
{
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const unsigned long seenBefore = rejectedSeen;
        const HRESULT result = call();
        if (!isBusyAnswer(result) || rejectedSeen != seenBefore ||
            std::chrono::steady_clock::now() - start >= kBusyRetryBound)
            return result;
        Sleep(DWORD(kBusyRetryDelay.count()));
    }
}

}  // namespace cad::com
