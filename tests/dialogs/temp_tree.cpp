#include "tests/dialogs/temp_tree.h"

#include "dialogs/frmOpenDirectory.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>

#include <gtest/gtest.h>

namespace fake {

TempTree::TempTree() : previous_(QDir::currentPath())
{
    const QDir root(dir_.path());
    EXPECT_TRUE(root.mkpath("Alpha"));
    EXPECT_TRUE(root.mkpath("beta/gamma"));
    EXPECT_TRUE(QDir::setCurrent(dir_.path()));
}

TempTree::~TempTree()
{
    QDir::setCurrent(previous_);
}

QString TempTree::path(const QString& relative) const
{
    const QString full = relative.isEmpty() ? dir_.path() : dir_.path() + '/' + relative;
    return QDir::toNativeSeparators(QDir::cleanPath(full));
}

ModalAnswer::ModalAnswer(const std::function<void()>& action, int timeoutMs)
{
    QTimer::singleShot(0, action);
    guard_.setSingleShot(true);
    guard_.start(timeoutMs);
    QObject::connect(&guard_, &QTimer::timeout, [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isModal() && window->isVisible()) {
                ADD_FAILURE() << "modal window " << window->objectName().toStdString() << " left open";
                window->close();
            }
    });
}

QListWidgetItem* entryOf(const frmOpenDirectory& chooser, const QString& path)
{
    auto* list = chooser.control<QListWidget>("Dir1");
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toString() == path)
            return list->item(i);
    ADD_FAILURE() << "no entry " << path.toStdString();
    return nullptr;
}

frmOpenDirectory* openChooser()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* chooser = qobject_cast<frmOpenDirectory*>(window); chooser && chooser->isVisible())
            return chooser;
    return nullptr;
}

}  // namespace fake
