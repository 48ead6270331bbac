#include "tests/support/window_dump.h"

#include "tests/support/test_data.h"
#include "ui/controls.h"
#include "ui/window_builder.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace fake {

namespace {

using Line = QStringList;

QString quoted(QString text)
{
    return '"' + text.replace("\r", "\\r").replace("\n", "\\n") + '"';
}

int twipsOf(int pixels, double dpi)
{
    return qRound(pixels * 1440.0 / dpi);
}

// Twips as a window at this resolution ends up with them.
int asShown(int twips, double dpi)
{
    return twipsOf(qRound(twips * dpi / 1440.0), dpi);
}

QString point(QPoint p)
{
    return QString("(%1, %2)").arg(twipsOf(p.x(), ui::logicalDpiX())).arg(twipsOf(p.y(), ui::logicalDpiY()));
}

bool isControl(const ui::Form& window, const QWidget* widget)
{
    return !widget->objectName().isEmpty() && window.control(widget->objectName()) == widget;
}

QString kindOf(const QWidget* w)
{
    if (qobject_cast<const ui::LineWidget*>(w))
        return "line";
    if (qobject_cast<const QGroupBox*>(w))
        return "frame";
    if (qobject_cast<const ui::Label*>(w))
        return "label";
    if (qobject_cast<const QCheckBox*>(w))
        return "check box";
    if (qobject_cast<const QRadioButton*>(w))
        return "option button";
    if (qobject_cast<const QPushButton*>(w))
        return "command button";
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w))
        return "text box";
    if (qobject_cast<const QComboBox*>(w))
        return "drop-down list";
    if (qobject_cast<const QListWidget*>(w))
        return "directory list";
    if (auto* picture = qobject_cast<const QLabel*>(w))
        return picture->frameShadow() == QFrame::Sunken ? "picture box" : "image";
    return w->metaObject()->className();
}

QString captionOf(const QWidget* w)
{
    if (auto* frame = qobject_cast<const QGroupBox*>(w))
        return quoted(frame->title());
    if (auto* label = qobject_cast<const ui::Label*>(w))
        return quoted(label->text());
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return quoted(button->text());
    if (auto* edit = qobject_cast<const QLineEdit*>(w))
        return quoted(edit->text());
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(w))
        return quoted(edit->toPlainText());
    if (auto* list = qobject_cast<const QComboBox*>(w))
        return quoted(list->currentText());
    if (auto* list = qobject_cast<const QListWidget*>(w))
        return quoted(list->currentItem() ? list->currentItem()->text() : QString());
    if (auto* picture = qobject_cast<const QLabel*>(w))
        return picture->pixmap().isNull() ? QString("no picture")
                                          : QString("picture %1 × %2")
                                                .arg(picture->pixmap().width())
                                                .arg(picture->pixmap().height());
    return {};
}

QString notesOf(const ui::Form& window, const QWidget* w)
{
    QStringList notes;
    if (auto* line = qobject_cast<const ui::LineWidget*>(w)) {
        const int width = line->height() - qAbs(line->from().y() - line->to().y());  // upright lines only
        notes << "from " + point(line->from()) + " to " + point(line->to())
              << QString("colour (%1, %2, %3)")
                     .arg(line->color().red())
                     .arg(line->color().green())
                     .arg(line->color().blue())
              << QString("%1 pixel%2 wide").arg(width).arg(width == 1 ? "" : "s");
        return notes.join("; ");
    }
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(w)) {
        notes << "multi-line";
        if (edit->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
            notes << "vertical scroll bar";
    }
    if (auto* label = qobject_cast<const ui::Label*>(w); label && (label->alignment() & Qt::AlignHCenter))
        notes << "centred";
    if (auto* box = qobject_cast<const ui::CheckBox*>(w);
        box && box->indicatorRect().center().x() > box->width() / 2)
        notes << "caption on the left, box at the right end";
    if (auto* button = qobject_cast<const QPushButton*>(w); button && button->isDefault())
        notes << "default button";
    if (auto* button = qobject_cast<const QAbstractButton*>(w); button && button->isChecked())
        notes << (qobject_cast<const QRadioButton*>(w) ? "selected" : "ticked");
    if (!w->isVisibleTo(&window))
        notes << "hidden";
    if (!w->isEnabled())
        notes << "disabled";
    if (w->palette().isBrushSet(QPalette::Active, QPalette::WindowText)) {
        const QColor c = w->palette().color(QPalette::WindowText);
        notes << QString("colour (%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
    }
    return notes.join("; ");
}

QString fontOf(const QFont& font)
{
    return QString("%1 %2 %3")
        .arg(font.families().value(0, font.family()))
        .arg(font.pointSizeF())
        .arg(font.weight());
}

QString borderOf(const ui::Form& window)
{
    QStringList border;
    border << (window.minimumSize() == window.maximumSize() ? "fixed dialog border, not resizable"
                                                            : "resizable");
    const bool minimize = window.windowFlags() & Qt::WindowMinimizeButtonHint;
    const bool maximize = window.windowFlags() & Qt::WindowMaximizeButtonHint;
    border << (minimize && maximize     ? "minimize and maximize buttons"
               : !minimize && !maximize ? "no minimize or maximize button"
               : minimize               ? "minimize button only"
                                        : "maximize button only");
    border << (window.windowType() == Qt::Window ? "shown in the taskbar" : "not shown in the taskbar");
    if (!window.testAttribute(Qt::WA_SetWindowIcon))
        border << "no icon";
    else
        border << (window.windowIcon().availableSizes().contains(QSize(42, 42)) ? "application icon"
                                                                                : "an icon without 42 × 42");
    if (window.menuWidget() != nullptr)
        border << "menu bar";
    return border.join(", ");
}

void menus(const ui::Form& window, std::vector<Line>& lines)
{
    auto* bar = qobject_cast<QMenuBar*>(window.menuWidget());
    for (QAction* title : bar ? bar->actions() : QList<QAction*>()) {
        QStringList items;
        for (QAction* item : title->menu()->actions()) {
            QString text =
                item->isSeparator() ? "separator" : item->objectName() + ' ' + quoted(item->text());
            if (!item->shortcut().isEmpty())
                text += " shortcut " + item->shortcut().toString();
            if (item->isCheckable())
                text += " check mark";
            if (!item->isEnabled() || !item->isVisible())
                text += " disabled or hidden";
            items << text;
        }
        lines.push_back({title->menu()->objectName(), "menu", quoted(title->text()), items.join(", ")});
    }
}

void controls(const ui::Form& window, const QWidget* container, std::vector<Line>& lines)
{
    for (QObject* child : container->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w == nullptr || !isControl(window, w))
            continue;
        const double dx = ui::logicalDpiX(), dy = ui::logicalDpiY();
        const QRect g = w->geometry();
        const bool line = qobject_cast<ui::LineWidget*>(w) != nullptr;
        const auto at = [&](int pixels, double dpi) {
            return line ? QString() : QString::number(twipsOf(pixels, dpi));
        };
        const bool inFrame = qobject_cast<const QGroupBox*>(container) != nullptr;
        lines.push_back({w->objectName(), kindOf(w), inFrame ? container->objectName() : "window",
                         captionOf(w), at(g.x(), dx), at(g.y(), dy), at(g.width(), dx), at(g.height(), dy),
                         fontOf(w->font()), notesOf(window, w)});
        QStringList entries;
        if (auto* list = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < list->count(); ++i)
                entries << quoted(list->itemText(i));
        if (auto* list = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i)
                entries << quoted(list->item(i)->text());
        if (qobject_cast<QComboBox*>(w) || qobject_cast<QListWidget*>(w))
            lines.push_back({w->objectName() + " entries", entries.join(", ")});
        if (qobject_cast<QGroupBox*>(w))
            controls(window, w, lines);
    }
}

std::vector<Line> dump(const ui::Form& window)
{
    const QWidget* client = window.centralWidget();
    const QSize size = client->size();
    std::vector<Line> lines{
        {"window", quoted(window.windowTitle()),
         QString("%1 × %2")
             .arg(twipsOf(size.width(), ui::logicalDpiX()))
             .arg(twipsOf(size.height(), ui::logicalDpiY())),
         window.testAttribute(Qt::WA_Moved) ? "at " + point(client->mapToGlobal(QPoint())) : "system default",
         borderOf(window)}};
    menus(window, lines);
    controls(window, client, lines);
    QStringList order;
    for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain())
        if (isControl(window, w) && (w->focusPolicy() & Qt::TabFocus))
            order << w->objectName();
    const QWidget* focus = QApplication::focusWidget();
    lines.push_back({"tab order", order.join(", ")});
    lines.push_back({"focus on opening", focus ? focus->objectName() : "nothing"});
    return lines;
}

// The reference as this screen shows it: twips rounded through pixels, the default font
// written out, and instead of each control's tab index the order and the first focus.
std::vector<Line> reference(const std::string& file)
{
    const double dx = ui::logicalDpiX(), dy = ui::logicalDpiY();
    // Every "(x, y)" or "w × h" of a text as shown.
    const auto shown = [&](QString text, const QString& pattern) {
        QString regex = QRegularExpression::escape(pattern);
        const QRegularExpression numbers(regex.replace("\\%1", R"((\d+))").replace("\\%2", R"((\d+))"));
        QString done;
        qsizetype from = 0;
        for (const QRegularExpressionMatch& m : numbers.globalMatch(text)) {
            done += text.mid(from, m.capturedStart() - from) +
                    pattern.arg(asShown(m.captured(1).toInt(), dx)).arg(asShown(m.captured(2).toInt(), dy));
            from = m.capturedEnd();
        }
        return done + text.mid(from);
    };
    const QStringList focusable{"text box",      "command button", "check box",
                                "option button", "drop-down list", "directory list"};
    std::vector<Line> lines;
    std::multimap<int, Line> byTab;
    for (const std::string& text : dataLines("windows/" + file)) {
        Line fields;
        for (const std::string& field : fieldsOf(text))
            fields << QString::fromStdString(field);
        if (fields[0] == "window" && fields.size() == 5) {
            fields[2] = shown(fields[2], "%1 × %2");
            fields[3] = shown(fields[3], "(%1, %2)");
        } else if (fields.size() == 11) {  // a control
            for (int i = 4; i < 8; ++i)
                if (!fields[i].isEmpty())
                    fields[i] = QString::number(asShown(fields[i].toInt(), i % 2 == 0 ? dx : dy));
            fields[10] = shown(fields[10], "(%1, %2)");
            if (fields[9].isEmpty())
                fields[9] = "MS Sans Serif 8.25 400";
            bool numbered = false;
            const int tab = fields[8].toInt(&numbered);
            if (numbered && focusable.contains(fields[1]))
                byTab.emplace(tab, fields);
            fields.removeAt(8);
        }
        lines.push_back(fields);
    }
    QStringList order;
    QString first;
    for (const auto& [tab, control] : byTab) {
        order << control[0];
        const QStringList notes = control[10].split("; ");
        if (first.isEmpty() && !notes.contains("hidden") && !notes.contains("disabled"))
            first = control[0];
    }
    lines.push_back({"tab order", order.join(", ")});
    lines.push_back({"focus on opening", first});
    return lines;
}

QStringList keysOf(const std::vector<Line>& lines)
{
    QStringList keys;
    for (const Line& line : lines)
        keys << line[0];
    return keys;
}

}  // namespace

void expectAsReference(const ui::Form& window, const std::string& referenceFile)
{
    SCOPED_TRACE(referenceFile);
    std::vector<Line> live = dump(window);
    const std::vector<Line> wanted = reference(referenceFile);
    EXPECT_EQ(keysOf(live).join(", ").toStdString(), keysOf(wanted).join(", ").toStdString());
    for (Line line : wanted) {
        const auto same =
            std::find_if(live.begin(), live.end(), [&](const Line& l) { return l[0] == line[0]; });
        if (same == live.end())
            continue;
        Line shown = *same;
        // Tab goes round: the order is a ring, read here from where the reference starts it.
        if (line[0] == "tab order") {
            QStringList ring = shown.value(1).split(", ");
            std::rotate(ring.begin(), std::find(ring.begin(), ring.end(), line.value(1).section(", ", 0, 0)),
                        ring.end());
            shown[1] = ring.join(", ");
        }
        for (int i = 0; i < line.size() && i < shown.size(); ++i)
            if (line[i] == "*")
                line[i] = shown[i];
        EXPECT_EQ(shown.join(" | ").toStdString(), line.join(" | ").toStdString());
    }
}

}  // namespace fake
