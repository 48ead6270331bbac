// The CAD system's automation objects on the session bus: one handler for the
// whole object tree, since documents and sheets come and go.
#pragma once

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
    void dispatch(Call& call);
    void properties(Call& call);

    CadSession& session_;
};

}  // namespace cadsim
