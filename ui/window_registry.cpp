#include "ui/window_registry.h"

namespace ui {

QWidget* WindowRegistry::find(const QString& key) const
{
    auto found = windows_.find(key);
    if (found == windows_.end() || found->second.isNull())
        return nullptr;
    QWidget* window = found->second;
    // A closed window is only waiting for its deferred deletion; it counts as gone.
    if (!window->isVisible())
        return nullptr;
    return window;
}

QWidget* WindowRegistry::show(const QString& key, const std::function<QWidget*()>& make)
{
    QWidget* window = find(key);
    if (window == nullptr) {
        auto stale = windows_.find(key);
        if (stale != windows_.end() && !stale->second.isNull())
            stale->second->deleteLater();
        window = make();
        window->setAttribute(Qt::WA_DeleteOnClose);
        windows_[key] = window;
    }
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void WindowRegistry::destroyAll()
{
    for (auto& [key, window] : windows_)
        delete window.data();
    windows_.clear();
}

WindowRegistry& windows()
{
    static WindowRegistry registry;
    return registry;
}

}  // namespace ui
