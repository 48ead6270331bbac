// Every window of the tool exists once: created on first use, brought to the
// front on every later request, and destroyed when it is closed, so that the
// next request loads it afresh (its constructor is its load step).
//
//   ui::windows().show<frmTIFFOptions>();          // from a menu handler
//   ui::windows().find<frmSheetInfo>();             // null unless open
//
// A registered window must not merely hide itself: closing is what ends it.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>

namespace ui {

class WindowRegistry {
public:
    // Shows the window registered under key, making it with make() first if it is
    // not open. The window is shown without blocking its opener.
    QWidget* show(const QString& key, const std::function<QWidget*()>& make);
    // The open window under key, or null.
    QWidget* find(const QString& key) const;
    // Destroys every open window (at program end, after the event loop).
    void destroyAll();

    template <class W> W* show()
    {
        return static_cast<W*>(show(keyOf<W>(), [] { return new W(); }));
    }
    template <class W> W* find() const { return static_cast<W*>(find(keyOf<W>())); }

private:
    template <class W> static QString keyOf() { return QString::fromLatin1(W::staticMetaObject.className()); }

    std::map<QString, QPointer<QWidget>> windows_;
};

// The one registry of the program.
WindowRegistry& windows();

}  // namespace ui
