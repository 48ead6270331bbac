// cadsim as a COM local server: its classes for the current user in the registry, and while it
// runs the application object where COM and GetActiveObject find it, the control object in an
// apartment of its own, and the message filter that answers "busy".
#pragma once

#include "cadsim/com/automation_objects.h"

#include <memory>
#include <string>

namespace cadsim::com {

// /RegServer and /UnregServer: one line on stdout, or on stderr what failed; the exit code.
int registerServer(const std::wstring& exePath);
int unregisterServer();

class Server {
public:
    explicit Server(SessionAccess& access);
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    // Revokes everything; calls still coming in are turned away.
    ~Server();

    // False with the reason on stderr.
    bool start();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace cadsim::com
