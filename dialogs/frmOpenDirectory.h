// The output directory chooser: a drive list, a directory list and the
// result Tag, shown modally by the main window.
#pragma once

#include "ui/window_builder.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QEventLoop;
class QLabel;
class QListWidget;
class QListWidgetItem;

class frmOpenDirectory : public ui::Form {
    Q_OBJECT
public:
    // Drive list and directory list on the process's current drive and directory.
    frmOpenDirectory();
    // The drives to offer instead of the machine's (tests).
    explicit frmOpenDirectory(const QStringList& drives);
    ~frmOpenDirectory() override;

    // Shows the window modal, without an owner, and returns once it has been
    // hidden or closed. The window may be gone by then (closed while deleting).
    void showModal();

    // The result: the open directory after "&Übernehmen", empty after "&Abbruch"
    // or the title bar's close button, and while the window is open.
    const QString& Tag() const { return tag_; }

    // The directory open in the directory list, in result form.
    const QString& currentPath() const { return path_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void Drive1_Change();
    void Dir1_DblClick(QListWidgetItem* item);
    void cmdOkay_Click();
    void cmdAbbruch_Click();

private:
    // Opens path in the directory list; false (and a note in the window) when it cannot be read.
    bool openDirectory(const QString& path);
    void fillDirectoryList();
    void selectDrive(const QString& drive);
    void showNote(const QString& text);
    void hideNote();

    QStringList drives_;
    QString path_;
    QString tag_;
    QListWidget* dir1_ = nullptr;
    QComboBox* drive1_ = nullptr;
    QLabel* note_ = nullptr;
    QRect dir1Geometry_;
    QEventLoop* loop_ = nullptr;
};
