// A folder tree to choose from, made the process's current directory for
// the test's lifetime, and a way to answer a modal window.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

class frmOpenDirectory;
class QListWidgetItem;

namespace fake {

// <tmp>/Alpha, <tmp>/beta/gamma; the current directory is <tmp> until destruction.
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The root of the tree, and a folder in it, in the chooser's result form.
    QString path(const QString& relative = QString()) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

// Runs action once the event loop of a modal window is running. While it
// lives, a guard closes a modal window still open after timeoutMs, so that a
// test can fail but not hang; far beyond any wait inside the action.
class ModalAnswer {
public:
    explicit ModalAnswer(const std::function<void()>& action, int timeoutMs = 60000);

private:
    QTimer guard_;
};

// The open chooser, or null.
frmOpenDirectory* openChooser();
// The chooser's directory list's entry for a path (in the result form); null and a failure if none.
QListWidgetItem* entryOf(const frmOpenDirectory& chooser, const QString& path);

}  // namespace fake
