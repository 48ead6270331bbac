#include "cad/com/message_filter.h"

#include "cad/number_text.h"

#include <rpc.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace cad::com {

namespace {

// The filter of this thread, and the timer that has it asked once a call's bound is over.
struct ThreadFilter {
    int scopes = 0;
    CallFilter* filter = nullptr;
    IMessageFilter* previous = nullptr;
    PTP_TIMER timer = nullptr;
};
thread_local ThreadFilter current;

// COM's modal loop asks the filter only when a message arrives. Wine's wakes for posted messages
// but not for WM_TIMER, so the reminder is a posted thread message, which Qt's loop later drops.
void CALLBACK remind(PTP_CALLBACK_INSTANCE, void* thread, PTP_TIMER)
{
    PostThreadMessageW(DWORD(reinterpret_cast<uintptr_t>(thread)), WM_NULL, 0, 0);
}

void remindAfter(std::chrono::milliseconds bound)
{
    // A negative due time is relative, in 100 ns.
    ULARGE_INTEGER due;
    due.QuadPart = ULONGLONG(-(std::max<long long>(bound.count(), 0) * 10000));
    FILETIME time{due.LowPart, due.HighPart};
    SetThreadpoolTimer(current.timer, &time, DWORD(kCancelRepeat.count()), 0);
}

}  // namespace

std::string unansweredText(std::chrono::milliseconds bound)
{
    return "Solidworks antwortet nicht (nach " + cad::numberText(double(bound.count()) / 1000) +
           " s abgebrochen)";
}

void cancelRpcOfOtherThreads()
{
    // Windows lets go of a cancelled call by itself; there a cancel of another thread's RPC
    // would be remembered for its next one.
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (!wine)
        return;
    // Wine carries the RPC of a call on a thread of its pool; which one, it does not say.
    // The tool makes its calls from one thread, so no other call is cut short.
    const HANDLE threads = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (threads == INVALID_HANDLE_VALUE)
        return;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(threads, &entry); more; more = Thread32Next(threads, &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId() || entry.th32ThreadID == GetCurrentThreadId())
            continue;
        if (HANDLE thread = OpenThread(THREAD_ALL_ACCESS, FALSE, entry.th32ThreadID)) {
            RpcCancelThread(thread);
            CloseHandle(thread);
        }
    }
    CloseHandle(threads);
}

CallFilter::CallFilter(std::function<Clock::time_point()> now, std::function<void()> cancelBeneath)
    : Counted(IID_IMessageFilter), now_(std::move(now)), cancelBeneath_(std::move(cancelBeneath))
{
}

void CallFilter::begin(std::chrono::milliseconds bound)
{
    bound_ = bound;
    deadline_ = now_() + bound;
    cancelled_ = false;
}

bool CallFilter::end()
{
    deadline_.reset();
    return std::exchange(cancelled_, false);
}

DWORD STDMETHODCALLTYPE CallFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO)
{
    return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE CallFilter::RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD)
{
    ++rejections_;
    // -1 cancels: the call then fails with RPC_E_CALL_REJECTED.
    if (elapsedMs >= DWORD(kBusyRetryBound.count()))
        return DWORD(-1);
    // A server that turns a call away has not taken it: the next try has its whole bound.
    if (deadline_)
        deadline_ = now_() + kBusyRetryDelay + bound_;
    return DWORD(kBusyRetryDelay.count());
}

DWORD STDMETHODCALLTYPE CallFilter::MessagePending(HTASK, DWORD, DWORD)
{
    // Paint messages go on while a call waits; input waits for its end.
    if (!deadline_ || now_() < *deadline_)
        return PENDINGMSG_WAITDEFPROCESS;
    // Windows lets go of a cancelled call at once and never asks about it again. Wine (8) only
    // notes the cancel and goes on waiting for the answer, so when asked again the RPC beneath
    // the call is cancelled as well.
    if (cancelled_)
        cancelBeneath_();
    cancelled_ = true;
    return PENDINGMSG_CANCELCALL;
}

MessageFilterScope::MessageFilterScope()
{
    if (current.scopes++ > 0)
        return;
    auto* filter = new CallFilter;
    // Only a single-threaded apartment has a filter; elsewhere this fails.
    if (FAILED(CoRegisterMessageFilter(filter, &current.previous))) {
        current.previous = nullptr;
        filter->Release();
        return;
    }
    current.filter = filter;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue the reminders go to
    current.timer =
        CreateThreadpoolTimer(remind, reinterpret_cast<void*>(uintptr_t(GetCurrentThreadId())), nullptr);
}

MessageFilterScope::~MessageFilterScope()
{
    if (--current.scopes > 0)
        return;
    if (current.timer) {
        SetThreadpoolTimer(current.timer, nullptr, 0, 0);
        WaitForThreadpoolTimerCallbacks(current.timer, TRUE);
        CloseThreadpoolTimer(current.timer);
    }
    if (current.filter) {
        IMessageFilter* ours = nullptr;
        CoRegisterMessageFilter(current.previous, &ours);
        if (ours)
            ours->Release();
        if (current.previous)
            current.previous->Release();
        current.filter->Release();
    }
    current = {};
}

Answer callBounded(std::chrono::milliseconds bound, const std::function<HRESULT()>& call)
{
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        CallFilter* const filter = current.timer ? current.filter : nullptr;
        const unsigned long rejectedBefore = filter ? filter->rejections() : 0;
        bool unanswered = false;
        HRESULT result;
        if (filter) {
            filter->begin(bound);
            remindAfter(bound);
            result = call();
            SetThreadpoolTimer(current.timer, nullptr, 0, 0);
            unanswered = filter->end();
        } else {
            result = call();
        }
        if (unanswered || !isBusyAnswer(result) || (filter && filter->rejections() != rejectedBefore) ||
            std::chrono::steady_clock::now() - start >= kBusyRetryBound)
            return {result, unanswered};
        Sleep(DWORD(kBusyRetryDelay.count()));
    }
}

}  // namespace cad::com
