// cadsim's automation objects for COM: IDispatch by member name over the session, one object per
// application, document and sheet, strict about the variant types each member takes.
#pragma once

#include "cadsim/cad_session.h"

#include <oaidl.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <list>

namespace cadsim::com {

// Where the objects reach the session: every call runs on the session's (main) thread, whichever
// apartment it came in on; a hung call waits there until its fault is cleared or cadsim ends.
class SessionAccess {
public:
    explicit SessionAccess(CadSession& session) : session_(session) {}
    CadSession& session() { return session_; }
    // Runs work on the main thread and waits for it; false (nothing run) once cadsim is ending.
    bool run(const std::function<void()>& work);
    // From then on calls are turned away, so that the end need not wait for them.
    void close() { closing_ = true; }
    // Until stillHung() turns false after a control call, or cadsim quits (then false).
    bool waitWhileHung(const std::function<bool()>& stillHung);
    // After every control call: hung calls look whether their fault is gone.
    void wakeHungCalls();

private:
    CadSession& session_;
    std::atomic<bool> closing_ = false;
    std::list<std::function<void()>> wakers_;
};

// With it on, every call of a CAD member goes to stdout with its variant types:
// "cadsim: Aufruf SetUserPreferenceIntegerValue(VT_I4 9, VT_I2 300)".
void setJournal(bool on);

// New objects with one reference held by the caller.
IDispatch* newApplicationObject(SessionAccess& access);
IDispatch* newControlObject(SessionAccess& access);

}  // namespace cadsim::com
