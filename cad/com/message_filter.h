// The message filter of the calling thread. COM asks it about a call the CAD system turned away
// (RetryRejectedCall) and, while a call of ours waits for its answer, whenever a message arrives
// (MessagePending). A busy CAD is asked again for a bounded time; a call the CAD took and does
// not answer is given up once its bound is over, so the tool comes back to the user.
#pragma once

#include "platform/com_object.h"

#include <objbase.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace cad::com {

inline constexpr std::chrono::milliseconds kBusyRetryBound{30000};
// How long to wait before asking a busy server again.
inline constexpr std::chrono::milliseconds kBusyRetryDelay{200};
// Past its bound, how often a waiting call has the filter asked again.
inline constexpr std::chrono::milliseconds kCancelRepeat{100};

inline constexpr const char* kBusyText = "Solidworks ist beschäftigt und nimmt keine Aufrufe an";
// For a call given up after waiting for bound: "Solidworks antwortet nicht (nach 5 s abgebrochen)".
std::string unansweredText(std::chrono::milliseconds bound);

// True for the answers of a server that does not take calls now.
inline bool isBusyAnswer(HRESULT result)
{
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

// Cancels the RPC under a call COM goes on waiting for although the filter cancelled it.
void cancelRpcOfOtherThreads();

class CallFilter final : public win::Counted<IMessageFilter> {
public:
    using Clock = std::chrono::steady_clock;
    explicit CallFilter(std::function<Clock::time_point()> now = Clock::now,
                        std::function<void()> cancelBeneath = cancelRpcOfOtherThreads);

    // The call about to be made may wait this long for its answer.
    void begin(std::chrono::milliseconds bound);
    // The call has returned: true when the filter cancelled it.
    bool end();
    // How often COM has put a rejected call to the filter.
    unsigned long rejections() const { return rejections_; }

    // The tool serves no calls of its own; whatever comes in is handled as usual.
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override;

private:
    std::function<Clock::time_point()> now_;
    std::function<void()> cancelBeneath_;
    std::chrono::milliseconds bound_{};
    std::optional<Clock::time_point> deadline_;
    bool cancelled_ = false;
    unsigned long rejections_ = 0;
};

// A CallFilter registered as the calling thread's message filter while at least one
// MessageFilterScope lives on that thread.
class MessageFilterScope {
public:
    MessageFilterScope();
    MessageFilterScope(const MessageFilterScope&) = delete;
    MessageFilterScope& operator=(const MessageFilterScope&) = delete;
    ~MessageFilterScope();
};

struct Answer {
    HRESULT result;
    bool unanswered;  // given up past its bound
};

// Makes a call, waiting for its answer at most bound, and again while the server turns it away
// as busy, up to kBusyRetryBound: where COM asked the filter, it has retried already; wine hands
// a rejection straight back, so the retrying happens here. Each try has the whole bound. Without
// the thread's filter (no single-threaded apartment) nothing bounds the wait.
Answer callBounded(std::chrono::milliseconds bound, const std::function<HRESULT()>& call);

}  // namespace cad::com
