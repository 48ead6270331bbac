#include "cadsim/com/com_server.h"

#include "platform/com_handles.h"
#include "platform/com_object.h"
#include "platform/win_text.h"

#include <QCoreApplication>

#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <functional>

namespace cadsim::com {

namespace {

// cadsim's own classes; the ProgIDs are the CAD system's, so the tool finds cadsim as it would
// find the real one.
const CLSID kApplicationClass = {
    0x42565545, 0xF7BE, 0x420D, {0x87, 0x4E, 0x8A, 0x98, 0xA0, 0x81, 0x5D, 0x05}};
const CLSID kControlClass = {0x454CF761, 0x1E13, 0x4744, {0x9B, 0xA3, 0x91, 0x9B, 0xD6, 0xEB, 0x31, 0x0B}};

struct ClassEntry {
    const wchar_t* progId;
    const wchar_t* classId;
    const wchar_t* description;
};
const ClassEntry kClasses[] = {
    {L"SldWorks.Application", L"{42565545-F7BE-420D-874E-8A98A0815D05}",
     L"cadsim, das Ersatz-CAD für KUP-Tools"},
    {L"SldWorks.Control", L"{454CF761-1E13-4744-9BA3-919BD6EB310B}", L"cadsim, Steuerung"},
};

bool setValue(const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    return RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, value.c_str(),
                           DWORD((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool deleteTree(const std::wstring& key)
{
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
        return true;
    return RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str()) == ERROR_SUCCESS;
}

const std::wstring kClassesKey = L"Software\\Classes\\";

using win::ClassFactory;

// "busy" answered where the CAD system answers it: before a call is dispatched at all.
class BusyFilter : public win::Unowned<IMessageFilter> {
public:
    explicit BusyFilter(CadSession& session) : Unowned(IID_IMessageFilter), session_(session) {}

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override
    {
        if (!session_.takeRejectedCall())
            return SERVERCALL_ISHANDLED;
        std::printf("cadsim: Aufruf abgewiesen (beschäftigt)\n");
        std::fflush(stdout);
        // Not SERVERCALL_RETRYLATER: wine (8) asks the filter but then dispatches the call all the
        // same, so the caller would never notice. A rejection reaches it as RPC_E_CALL_REJECTED,
        // on Windows as under wine, and that is what a busy CAD's caller has to ride out.
        return SERVERCALL_REJECTED;
    }
    // cadsim calls no one, so nothing of its own is ever turned away or pending.
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return DWORD(-1); }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

private:
    CadSession& session_;
};

// The control object's apartment: a thread of its own without the filter, so it is reachable
// while the CAD is busy or a call of it hangs.
struct ControlThread {
    SessionAccess& access;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HRESULT registered = E_FAIL;

    static DWORD WINAPI main(void* self) { return static_cast<ControlThread*>(self)->run(); }
    DWORD run()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        serve();
        CoUninitialize();
        return 0;
    }
    // Until WM_QUIT; what it made is gone before COM ends on the thread.
    void serve()
    {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue WM_QUIT is posted to
        ClassFactory factory([this] { return newControlObject(access); });
        DWORD cookie = 0;
        registered =
            CoRegisterClassObject(kControlClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
        // Also in the running-object table: wine keeps the class objects of a server that was
        // killed and hands them out to the next caller, but the table names the live one.
        const win::ComPtr<IDispatch> running(SUCCEEDED(registered) ? newControlObject(access) : nullptr);
        DWORD activeCookie = 0;
        if (running)
            RegisterActiveObject(running.get(), kControlClass, ACTIVEOBJECT_STRONG, &activeCookie);
        SetEvent(ready);
        if (SUCCEEDED(registered)) {
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (activeCookie)
                RevokeActiveObject(activeCookie, nullptr);
            CoRevokeClassObject(cookie);
        }
    }
};

}  // namespace

int registerServer(const std::wstring& exePath)
{
    for (const ClassEntry& c : kClasses) {
        const std::wstring classKey = kClassesKey + L"CLSID\\" + c.classId;
        if (!setValue(kClassesKey + c.progId, nullptr, c.description) ||
            !setValue(kClassesKey + c.progId + L"\\CLSID", nullptr, c.classId) ||
            !setValue(classKey, nullptr, c.description) ||
            !setValue(classKey + L"\\ProgID", nullptr, c.progId) ||
            !setValue(classKey + L"\\LocalServer32", nullptr, L"\"" + exePath + L"\"")) {
            std::fprintf(stderr, "cadsim: %s nicht einzutragen (HKCU\\Software\\Classes)\n",
                         win::utf8FromWide(c.progId).c_str());
            return 1;
        }
    }
    std::printf("cadsim: als COM-Server SldWorks.Application und SldWorks.Control für den Benutzer "
                "eingetragen: %s\n",
                win::utf8FromWide(exePath).c_str());
    return 0;
}

int unregisterServer()
{
    for (const ClassEntry& c : kClasses) {
        if (!deleteTree(kClassesKey + c.progId) || !deleteTree(kClassesKey + L"CLSID\\" + c.classId)) {
            std::fprintf(stderr, "cadsim: %s nicht auszutragen (HKCU\\Software\\Classes)\n",
                         win::utf8FromWide(c.progId).c_str());
            return 1;
        }
    }
    std::printf(
        "cadsim: COM-Server SldWorks.Application und SldWorks.Control für den Benutzer ausgetragen\n");
    return 0;
}

struct Server::State {
    explicit State(SessionAccess& a) : access(a), filter(a.session()), control{a} {}
    SessionAccess& access;
    BusyFilter filter;
    ControlThread control;
    win::ComPtr<IDispatch> application;
    std::unique_ptr<ClassFactory> factory;
    DWORD classCookie = 0;
    DWORD activeCookie = 0;
    bool filtered = false;
};

Server::Server(SessionAccess& access) : state_(std::make_unique<State>(access)) {}

bool Server::start()
{
    State& s = *state_;
    IMessageFilter* previous = nullptr;
    s.filtered = SUCCEEDED(CoRegisterMessageFilter(&s.filter, &previous));
    if (!s.filtered) {
        std::fprintf(stderr, "cadsim: kein Nachrichtenfilter (CoRegisterMessageFilter)\n");
        return false;
    }
    // The control object first: whoever finds the application can steer it at once.
    s.control.thread = CreateThread(nullptr, 0, &ControlThread::main, &s.control, 0, &s.control.threadId);
    WaitForSingleObject(s.control.ready, INFINITE);
    if (FAILED(s.control.registered)) {
        std::fprintf(stderr, "cadsim: SldWorks.Control nicht anzumelden (0x%08lX)\n",
                     static_cast<unsigned long>(s.control.registered));
        return false;
    }
    s.application = win::ComPtr<IDispatch>(newApplicationObject(s.access));
    s.factory = std::make_unique<ClassFactory>([&s] {
        s.application->AddRef();
        return s.application.get();
    });
    HRESULT result = CoRegisterClassObject(kApplicationClass, s.factory.get(), CLSCTX_LOCAL_SERVER,
                                           REGCLS_MULTIPLEUSE, &s.classCookie);
    if (SUCCEEDED(result))
        result = RegisterActiveObject(s.application.get(), kApplicationClass, ACTIVEOBJECT_STRONG,
                                      &s.activeCookie);
    if (FAILED(result)) {
        std::fprintf(stderr, "cadsim: SldWorks.Application nicht anzumelden (0x%08lX)\n",
                     static_cast<unsigned long>(result));
        return false;
    }
    return true;
}

Server::~Server()
{
    State& s = *state_;
    s.access.close();
    if (s.activeCookie)
        RevokeActiveObject(s.activeCookie, nullptr);
    if (s.classCookie)
        CoRevokeClassObject(s.classCookie);
    if (s.control.thread) {
        PostThreadMessageW(s.control.threadId, WM_QUIT, 0, 0);
        // A control call may be waiting for this thread: it is served until the other one ends.
        while (MsgWaitForMultipleObjects(1, &s.control.thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            QCoreApplication::processEvents();
        CloseHandle(s.control.thread);
    }
    CloseHandle(s.control.ready);
    s.application = win::ComPtr<IDispatch>();
    if (s.filtered)
        CoRegisterMessageFilter(nullptr, nullptr);
}

}  // namespace cadsim::com
