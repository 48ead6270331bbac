// cadsim's own small window: open documents, the active document's sheets,
// a preview of the active sheet and the drawing's folder, following every
// change live, so an export can be watched walking through the sheets.
#pragma once

#include "cadsim/cad_session.h"

#include <QMainWindow>

class QLabel;
class QListWidget;

namespace cadsim {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(CadSession& session);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();
    void refreshPreview();
    void openDrawing();

    CadSession& session_;
    QListWidget* documents_;
    QListWidget* sheets_;
    QLabel* preview_;
    QLabel* folder_;
    QLabel* status_;
    bool filling_ = false;
};

}  // namespace cadsim
