// How long one log line takes to go into the main window's log box as the log
// grows: an export of many sheets must not slow down line by line.
#include "ui/text_box_log.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QPlainTextEdit box;
    box.resize(313, 89);  // txtAusgabe at 96 dpi
    box.show();
    // Painting needs an exposed window; offscreen that takes a turn of the event loop.
    for (int i = 0; i < 100 && !(box.windowHandle() && box.windowHandle()->isExposed()); ++i)
        QApplication::processEvents();
    ui::TextBoxLog log(&box);
    log.replace("");

    using Clock = std::chrono::steady_clock;
    const std::string line = "Blatt 123 gespeichert als /daten/tiff/Zeichnung-4711 - Blatt123.tif\r\n";
    int written = 0;
    std::printf("%10s %16s %16s\n", "Zeilen", "us/Zeile insert", "us/refresh");
    for (int target : {1000, 5000, 10000, 20000, 50000}) {
        const int batch = 500;
        // Fill up to just below the target, then time one batch there.
        while (written < target - batch) {
            log.insert(line);
            ++written;
        }
        const auto t0 = Clock::now();
        for (int i = 0; i < batch; ++i)
            log.insert(line);
        const auto t1 = Clock::now();
        written += batch;
        for (int i = 0; i < 20; ++i)
            log.refresh();
        const auto t2 = Clock::now();
        std::printf("%10d %16.1f %16.1f\n", written,
                    std::chrono::duration<double, std::micro>(t1 - t0).count() / batch,
                    std::chrono::duration<double, std::micro>(t2 - t1).count() / 20);
    }
    return 0;
}
