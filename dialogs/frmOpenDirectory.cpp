#include "dialogs/frmOpenDirectory.h"

#include "dialogs/drives.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>

using namespace ui;

namespace {

const WindowDef kWindow{
    .name = "frmOpenDirectory",
    .title = "Bitte Zielverzeichnis auswählen ...",
    .width = 4680,
    .height = 3225,
    .border = Border::FixedDialog,
    .icon = false,
};

// clang-format off
const std::vector<ControlDef> kControls{
    {.name = "cmdOkay", .kind = Kind::CommandButton, .caption = "&Übernehmen",
     .left = 2880, .top = 2760, .width = 1695, .height = 375, .tab = 3},
    {.name = "cmdAbbruch", .kind = Kind::CommandButton, .caption = "&Abbruch",
     .left = 120, .top = 2760, .width = 1815, .height = 375, .tab = 2},
    {.name = "Dir1", .kind = Kind::DirectoryList,
     .left = 120, .top = 480, .width = 4455, .height = 2115, .tab = 1},
    {.name = "Drive1", .kind = Kind::DriveList,
     .left = 120, .top = 120, .width = 4455, .height = 315, .tab = 0},
};
// clang-format on

constexpr int kPathRole = Qt::UserRole;

// The directories from the root down to path, inclusive ("/" inside).
QStringList chainTo(const QString& path)
{
    QStringList chain;
    QString step = QDir::cleanPath(QDir::fromNativeSeparators(path));
    for (;;) {
        chain.prepend(step);
        const QString parent = QFileInfo(step).path();
        if (parent == step || QDir(step).isRoot())
            break;
        step = parent;
    }
    return chain;
}

}  // namespace

frmOpenDirectory::frmOpenDirectory() : frmOpenDirectory(kup::systemDrives()) {}

frmOpenDirectory::frmOpenDirectory(const QStringList& drives) : Form(kWindow, kControls), drives_(drives)
{
    dir1_ = require<QListWidget>("Dir1");
    drive1_ = require<QComboBox>("Drive1");
    dir1Geometry_ = dir1_->geometry();
    dir1_->installEventFilter(this);

    // Room for the note is taken from the directory list only while it shows.
    note_ = new Label(QString(), centralWidget());
    note_->setObjectName(QStringLiteral("lblHinweis"));
    note_->setWordWrap(true);
    note_->setMargin(2);
    note_->setFrameStyle(QFrame::Box | QFrame::Plain);
    note_->setAutoFillBackground(true);
    QPalette palette = note_->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::ToolTipText));
    note_->setPalette(palette);
    note_->hide();

    // Where the current directory does not lie on an offered drive, it is offered too.
    const QString current = kup::resultPath(QDir::currentPath());
    if (kup::driveOf(current, drives_).isEmpty())
        drives_.prepend(kup::resultPath(QStorageInfo(current).isValid() ? QStorageInfo(current).rootPath()
                                                                        : QDir::rootPath()));
    for (const QString& drive : drives_)
        drive1_->addItem(drive, drive);

    if (!openDirectory(current)) {
        // A current directory removed meanwhile: the list starts on its drive, and says why.
        const QString why = note_->text();
        if (openDirectory(kup::driveOf(current, drives_)) || openDirectory(QDir::rootPath()))
            showNote(why);
    }

    on(drive1_, &QComboBox::currentIndexChanged, &frmOpenDirectory::Drive1_Change);
    on(dir1_, &QListWidget::itemDoubleClicked, &frmOpenDirectory::Dir1_DblClick);
    on(require<QPushButton>("cmdOkay"), &QPushButton::clicked, &frmOpenDirectory::cmdOkay_Click);
    on(require<QPushButton>("cmdAbbruch"), &QPushButton::clicked, &frmOpenDirectory::cmdAbbruch_Click);
}

frmOpenDirectory::~frmOpenDirectory()
{
    if (loop_ != nullptr)
        loop_->quit();
}

void frmOpenDirectory::showModal()
{
    tag_.clear();
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    loop_ = &loop;
    QPointer<frmOpenDirectory> self(this);
    loop.exec(QEventLoop::DialogExec);
    if (self)
        loop_ = nullptr;
}

void frmOpenDirectory::closeEvent(QCloseEvent* event)
{
    // The title bar's close button counts as "&Abbruch".
    tag_.clear();
    Form::closeEvent(event);
}

void frmOpenDirectory::hideEvent(QHideEvent* event)
{
    Form::hideEvent(event);
    if (!event->spontaneous() && loop_ != nullptr)
        loop_->quit();
}

bool frmOpenDirectory::eventFilter(QObject* watched, QEvent* event)
{
    // Enter opens the highlighted directory, as a double click does; it never reaches the buttons.
    if (watched == dir1_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            if (QListWidgetItem* item = dir1_->currentItem())
                Dir1_DblClick(item);
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void frmOpenDirectory::Drive1_Change()
{
    const QString drive = drive1_->currentData().toString();
    if (drive.isEmpty())
        return;
    if (!openDirectory(kup::directoryOnDrive(drive, drives_)))
        // The list stays where it was, and so does the drive shown with it.
        selectDrive(kup::driveOf(path_, drives_));
}

void frmOpenDirectory::Dir1_DblClick(QListWidgetItem* item)
{
    openDirectory(item->data(kPathRole).toString());
}

void frmOpenDirectory::cmdOkay_Click()
{
    tag_ = path_;
    hide();
}

void frmOpenDirectory::cmdAbbruch_Click()
{
    tag_.clear();
    hide();
}

bool frmOpenDirectory::openDirectory(const QString& path)
{
    if (!kup::isReadableDirectory(path)) {
        // A long name is shortened in its middle, so that its sentence keeps to one line;
        // the rest of the note wraps below it.
        const QString sentence = QStringLiteral("„%1“ kann nicht gelesen werden.");
        const QFontMetrics metrics = note_->fontMetrics();
        const int line = dir1Geometry_.width() - 2 * (note_->margin() + note_->frameWidth()) - 4;
        const int room = line - metrics.horizontalAdvance(sentence.arg(QString()));
        const QString shown =
            metrics.elidedText(kup::resultPath(path), Qt::ElideMiddle, std::max(room, line / 3));
        showNote((sentence + QStringLiteral("\n%2"))
                     .arg(shown, path_.isEmpty()
                                     ? QStringLiteral("Es wird das Laufwerk geöffnet.")
                                     : QStringLiteral("Das geöffnete Verzeichnis bleibt, wie es war.")));
        return false;
    }
    hideNote();
    path_ = kup::resultPath(path);
    fillDirectoryList();
    selectDrive(kup::driveOf(path_, drives_));
    return true;
}

void frmOpenDirectory::fillDirectoryList()
{
    dir1_->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QStringList chain = chainTo(path_);
    auto add = [&](const QString& path, int level, const QIcon& icon) {
        const QString name =
            QDir(path).isRoot() ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(icon, QString(level * 2, QLatin1Char(' ')) + name, dir1_);
        item->setData(kPathRole, kup::resultPath(path));
        return item;
    };
    QListWidgetItem* open_ = nullptr;
    for (int level = 0; level < chain.size(); ++level)
        open_ = add(chain[level], level, open);
    const QDir directory(QDir::fromNativeSeparators(path_));
    for (const QString& name :
         directory.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        add(directory.filePath(name), int(chain.size()), closed);
    dir1_->setCurrentItem(open_);
    dir1_->scrollToItem(open_);
}

void frmOpenDirectory::selectDrive(const QString& drive)
{
    const QSignalBlocker quiet(drive1_);
    drive1_->setCurrentIndex(drive1_->findData(drive));
}

void frmOpenDirectory::showNote(const QString& text)
{
    note_->setText(text);
    // As high as the whole text needs, wrapped at the list's width.
    const int height = note_->heightForWidth(dir1Geometry_.width());
    QRect list = dir1Geometry_;
    list.setHeight(dir1Geometry_.height() - height - 2);
    dir1_->setGeometry(list);
    note_->setGeometry(dir1Geometry_.left(), dir1Geometry_.bottom() - height + 1, dir1Geometry_.width(),
                       height);
    note_->show();
}

void frmOpenDirectory::hideNote()
{
    note_->hide();
    dir1_->setGeometry(dir1Geometry_);
}
