#include "ui/window_registry.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Counts its loads: a window built afresh runs its constructor again.
class frmProbe : public QWidget {
    Q_OBJECT
public:
    frmProbe() { ++loads; }
    static inline int loads = 0;
};

int openProbes()
{
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        open += qobject_cast<frmProbe*>(w) != nullptr && w->isVisible();
    return open;
}

struct Registry : ::testing::Test {
    ui::WindowRegistry registry;
    void SetUp() override { frmProbe::loads = 0; }
    void TearDown() override { registry.destroyAll(); }
};

}  // namespace

TEST_F(Registry, ASecondRequestShowsTheSameWindowWithoutLoadingIt)
{
    EXPECT_EQ(registry.find<frmProbe>(), nullptr);
    frmProbe* first = registry.show<frmProbe>();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(registry.show<frmProbe>(), first);
    EXPECT_EQ(registry.find<frmProbe>(), first);
    EXPECT_EQ(frmProbe::loads, 1);
    EXPECT_EQ(openProbes(), 1);
}

TEST_F(Registry, AMinimizedWindowComesBack)
{
    frmProbe* window = registry.show<frmProbe>();
    window->showMinimized();
    EXPECT_EQ(registry.show<frmProbe>(), window);
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(Registry, ClosingDestroysTheWindowAndTheNextRequestLoadsAfresh)
{
    QPointer<frmProbe> first = registry.show<frmProbe>();
    first->close();
    // Even before the deferred deletion has run, the closed window is gone for the registry.
    EXPECT_EQ(registry.find<frmProbe>(), nullptr);
    frmProbe* second = registry.show<frmProbe>();
    EXPECT_EQ(frmProbe::loads, 2);
    EXPECT_EQ(openProbes(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(registry.find<frmProbe>(), second);
}

TEST_F(Registry, DestroyAllEndsEveryOpenWindow)
{
    QPointer<frmProbe> window = registry.show<frmProbe>();
    registry.destroyAll();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(registry.find<frmProbe>(), nullptr);
}

#include "window_registry_test.moc"
