#include "cadsim/main_window.h"

#include "cad/members.h"

#include "cadsim/save_sheet.h"
#include "cadsim/sheet_preview.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace cadsim {

MainWindow::MainWindow(CadSession& session) : session_(session)
{
    setWindowTitle(QStringLiteral("cadsim - Ersatz-CAD (SldWorks.Application)"));
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->addAction(QStringLiteral("Zeichnung ö&ffnen ..."), QKeySequence::Open, this,
                    &MainWindow::openDrawing);
    file->addAction(QStringLiteral("Aktives Dokument &schließen"), QKeySequence::Close, this,
                    [this] { session_.closeActiveDocument(); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Beenden"), QKeySequence::Quit, qApp, &QApplication::quit);

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(new QLabel(QStringLiteral("Offene Dokumente")));
    documents_ = new QListWidget;
    documents_->setObjectName(QStringLiteral("documents"));
    leftLayout->addWidget(documents_);
    leftLayout->addWidget(new QLabel(QStringLiteral("Blätter (▶ aktiv)")));
    sheets_ = new QListWidget;
    sheets_->setObjectName(QStringLiteral("sheets"));
    leftLayout->addWidget(sheets_);
    folder_ = new QLabel;
    folder_->setWordWrap(true);
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    leftLayout->addWidget(folder_);

    preview_ = new QLabel;
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setMinimumSize(320, 240);
    preview_->setStyleSheet(QStringLiteral("background: #808080"));

    auto* splitter = new QSplitter;
    splitter->addWidget(left);
    splitter->addWidget(preview_);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);
    status_ = new QLabel;
    statusBar()->addWidget(status_);
    resize(960, 600);

    connect(documents_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_ && row >= 0 && row < static_cast<int>(session_.documents().size()))
            session_.activateDocument(session_.documents()[row].id);
    });
    connect(sheets_, &QListWidget::currentRowChanged, this, [this](int row) {
        OpenDocument* d = session_.activeDocument();
        if (!filling_ && d && row >= 0 && row < static_cast<int>(d->drawing.sheets.size()))
            session_.activateSheet(d->id, d->drawing.sheets[row].name);
    });
    connect(&session_, &CadSession::documentsChanged, this, &MainWindow::refresh);
    connect(&session_, &CadSession::sheetActivated, this, &MainWindow::refresh);
    connect(&session_, &CadSession::saved, this, [this](const QString& path, int result) {
        status_->setText(result == kSaved ? QStringLiteral("Gespeichert: %1").arg(path)
                                          : QStringLiteral("%1 abgelehnt (%2): %3")
                                                .arg(QString::fromUtf8(
                                                    cad::members::nameOf(cad::members::Id::SaveAsSilent)))
                                                .arg(result)
                                                .arg(path));
    });
    refresh();
}

void MainWindow::refresh()
{
    filling_ = true;
    documents_->clear();
    sheets_->clear();
    OpenDocument* active = session_.activeDocument();
    static const char* kTypes[] = {"", "Teil", "Baugruppe", "Zeichnung"};
    for (const OpenDocument& d : session_.documents()) {
        documents_->addItem(QStringLiteral("%1  (%2)")
                                .arg(QString::fromStdString(d.drawing.title),
                                     QLatin1String(kTypes[static_cast<int>(d.drawing.type)])));
        if (active && d.id == active->id)
            documents_->setCurrentRow(documents_->count() - 1);
    }
    if (active) {
        const Drawing& drawing = active->drawing;
        for (size_t i = 0; i < drawing.sheets.size(); ++i) {
            const bool isActive = static_cast<int>(i) == drawing.activeSheet;
            sheets_->addItem(QString::fromUtf8(isActive ? "▶ " : "   ") +
                             QString::fromStdString(drawing.sheets[i].name));
            if (isActive) {
                sheets_->setCurrentRow(static_cast<int>(i));
                QFont bold = sheets_->item(static_cast<int>(i))->font();
                bold.setBold(true);
                sheets_->item(static_cast<int>(i))->setFont(bold);
            }
        }
        folder_->setText(
            QStringLiteral("Ordner der Zeichnung:\n%1").arg(QString::fromStdString(drawing.folder)));
        setWindowTitle(QStringLiteral("cadsim - %1").arg(QString::fromStdString(documentTitle(drawing))));
    } else {
        folder_->setText(QStringLiteral("Kein Dokument geöffnet"));
        setWindowTitle(QStringLiteral("cadsim - Ersatz-CAD (SldWorks.Application)"));
    }
    filling_ = false;
    refreshPreview();
}

void MainWindow::refreshPreview()
{
    OpenDocument* active = session_.activeDocument();
    if (!active || active->drawing.sheets.empty()) {
        preview_->setPixmap({});
        preview_->setText(active ? QStringLiteral("(keine Blätter)") : QString());
        return;
    }
    const Sheet& sheet = active->drawing.sheets[active->drawing.activeSheet];
    QImage image = renderSheetPreview(sheet, preview_->width() - 8, preview_->height() - 8);
    preview_->setPixmap(QPixmap::fromImage(image));
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    refreshPreview();
}

void MainWindow::openDrawing()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Zeichnung öffnen"), QString(),
                                                      QStringLiteral("Zeichnungen (*.json)"));
    if (path.isEmpty())
        return;
    try {
        session_.openDocument(path.toStdString());
    } catch (const DrawingError& e) {
        QMessageBox::warning(this, QStringLiteral("cadsim"), QString::fromStdString(e.what()));
    }
}

}  // namespace cadsim
