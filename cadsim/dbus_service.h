// The CAD system's automation objects on the session bus: one handler for the
// whole object tree, since documents and sheets come and go.
#pragma once

#include "cad/members.h"
#include "cadsim/cad_session.h"

#include <QDBusVirtualObject>

namespace cadsim {

class DBusService : public QDBusVirtualObject {
    Q_OBJECT
public:
    explicit DBusService(CadSession& session, QObject* parent = nullptr);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    struct Call;
    // A call of a member of the table; a wrong one is answered with the bus's error.
    void callMember(Call& call);
    // The member the call names at that object, or null with the call answered by an error.
    const cad::members::Member* findMember(Call& call, cad::members::Object object);
    void properties(Call& call);

    CadSession& session_;
};

}  // namespace cadsim
