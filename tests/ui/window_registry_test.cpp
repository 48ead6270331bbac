#include "ui/window_registry.h"

#include <QApplication>
#include <QPointer>

#include <gtest/gtest.h>

namespace {

// Counts its loads: a window built afresh runs its constructor again.
class frmProbe : public QWidget {
    Q_OBJECT
public:
    frmProbe() { ++loads; }
    static inline int loads = 0;
};

}  // namespace

TEST(Registry, ShowsOneWindowPerClassBringsItBackAndLoadsAfreshOnlyAfterClosing)
{
    ui::WindowRegistry registry;
    EXPECT_EQ(registry.find<frmProbe>(), nullptr);
    QPointer<frmProbe> first = registry.show<frmProbe>();
    EXPECT_TRUE(first->isVisible());
    first->showMinimized();
    EXPECT_EQ(registry.show<frmProbe>(), first);
    EXPECT_FALSE(first->isMinimized());
    EXPECT_EQ(frmProbe::loads, 1);

    first->close();
    // Even before the deferred deletion has run, the closed window is gone for the registry.
    EXPECT_EQ(registry.find<frmProbe>(), nullptr);
    frmProbe* second = registry.show<frmProbe>();
    EXPECT_EQ(frmProbe::loads, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(registry.find<frmProbe>(), second);

    QPointer<frmProbe> last = second;
    registry.destroyAll();
    EXPECT_TRUE(last.isNull());
    EXPECT_EQ(registry.find<frmProbe>(), nullptr);
}

#include "window_registry_test.moc"
