#include "cad/com/message_filter.h"

namespace cad::com {

namespace {

thread_local unsigned long rejectedSeen = 0;
thread_local int scopes = 0;
thread_local IMessageFilter* previousFilter = nullptr;

class BusyRetryFilter final : public IMessageFilter {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
            *object = static_cast<IMessageFilter*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return ULONG(left);
    }

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

private:
    LONG references_ = 1;
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
