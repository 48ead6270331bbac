#include "tests/support/window_dump.h"

#include "tests/support/test_data.h"
#include "ui/controls.h"
#include "ui/window_builder.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>

namespace fake {

namespace {

using Line = QStringList;

QString quoted(QString text)
{
    return '"' + text.replace("\r", "\\r").replace("\n", "\\n") + '"';
}

// Pixels as twips; the screen's resolution is the same both ways wherever the tests run.
int twips(int pixels)
{
    return qRound(pixels * 1440.0 / ui::logicalDpiX());
}

QString point(QPoint p)
{
    return QString("(%1, %2)").arg(twips(p.x())).arg(twips(p.y()));
}

QString rgb(const QColor& c)
{
    return QString("colour (%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

// Kind, caption or content, and the notes of what else it shows.
Line describe(const ui::Form& window, const QWidget* w)
{
    if (auto* line = qobject_cast<const ui::LineWidget*>(w)) {
        const int pen = line->height() - qAbs(line->from().y() - line->to().y());  // upright lines only
        return {"line", "",
                "from " + point(line->from()) + " to " + point(line->to()) + "; " + rgb(line->color()) +
                    QString("; %1 pixel%2 wide").arg(pen).arg(pen == 1 ? "" : "s")};
    }
    static const std::pair<const QMetaObject*, const char*> kinds[] = {
        {&QGroupBox::staticMetaObject, "frame"},
        {&ui::Label::staticMetaObject, "label"},
        {&QCheckBox::staticMetaObject, "check box"},
        {&QRadioButton::staticMetaObject, "option button"},
        {&QPushButton::staticMetaObject, "command button"},
        {&QLineEdit::staticMetaObject, "text box"},
        {&QPlainTextEdit::staticMetaObject, "text box"},
        {&QComboBox::staticMetaObject, "drop-down list"},
        {&QListWidget::staticMetaObject, "directory list"}};
    QString kind, caption;
    for (const auto& [meta, name] : kinds)
        if (kind.isEmpty() && w->metaObject()->inherits(meta))
            kind = name;
    for (const char* property : {"title", "plainText", "currentText", "text"})
        if (caption.isEmpty() && w->property(property).isValid())
            caption = quoted(w->property(property).toString());
    QStringList notes;
    const auto note = [&](bool shows, const QString& text) {
        if (shows)
            notes << text;
    };
    if (auto* list = qobject_cast<const QListWidget*>(w))
        caption = quoted(list->currentItem() ? list->currentItem()->text() : "");
    if (auto* picture = qobject_cast<const QLabel*>(w); picture && kind.isEmpty()) {
        kind = picture->frameShadow() == QFrame::Sunken ? "picture box" : "image";
        caption = QString("picture %1 × %2").arg(picture->pixmap().width()).arg(picture->pixmap().height());
        note(kind == "picture box", QString("%1-pixel border").arg(picture->frameWidth()));
    }
    if (auto* label = qobject_cast<const ui::Label*>(w)) {
        note(label->alignment() & Qt::AlignHCenter, "centred");
        note(!label->wordWrap(), "not wrapping");
    }
    if (auto* box = qobject_cast<const ui::CheckBox*>(w))
        note(box->indicatorRect().center().x() > box->width() / 2,
             "caption on the left, box at the right end");
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(w)) {
        note(true, "multi-line");
        note(edit->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff, "vertical scroll bar");
    }
    note(w->property("editable").toBool(), "takes typed text");
    note(w->property("default").toBool(), "default button");
    note(w->property("checked").toBool(), kind == "option button" ? "selected" : "ticked");
    note(!w->isVisibleTo(&window), "hidden");
    note(!w->isEnabled(), "disabled");
    note(w->palette().isBrushSet(QPalette::Active, QPalette::WindowText),
         rgb(w->palette().color(QPalette::WindowText)));
    return {kind.isEmpty() ? w->metaObject()->className() : kind, caption, notes.join("; ")};
}

bool isControl(const ui::Form& window, const QWidget* w)
{
    return !w->objectName().isEmpty() && window.control(w->objectName()) == w;
}

std::vector<Line> dump(const ui::Form& window)
{
    const QWidget* client = window.centralWidget();
    const bool minimize = window.windowFlags() & Qt::WindowMinimizeButtonHint;
    const bool maximize = window.windowFlags() & Qt::WindowMaximizeButtonHint;
    QStringList border{
        window.minimumSize() == window.maximumSize() ? "fixed dialog border, not resizable" : "resizable",
        minimize && maximize     ? "minimize and maximize buttons"
        : !minimize && !maximize ? "no minimize or maximize button"
                                 : "one of minimize and maximize",
        window.windowType() == Qt::Window ? "shown in the taskbar" : "not shown in the taskbar",
        !window.testAttribute(Qt::WA_SetWindowIcon)                    ? "no icon"
        : window.windowIcon().availableSizes().contains(QSize(42, 42)) ? "application icon"
                                                                       : "an icon without 42 × 42"};
    auto* bar = qobject_cast<QMenuBar*>(window.menuWidget());
    if (bar)
        border << "menu bar";
    std::vector<Line> lines{
        {"window", quoted(window.windowTitle()),
         QString("%1 × %2").arg(twips(client->width())).arg(twips(client->height())),
         window.testAttribute(Qt::WA_Moved) ? "at " + point(client->mapToGlobal(QPoint())) : "system default",
         border.join(", ")}};
    for (QAction* title : bar ? bar->actions() : QList<QAction*>()) {
        QStringList items;
        for (QAction* item : title->menu()->actions())
            items << item->objectName() + ' ' + quoted(item->text()) +
                         (item->isEnabled() && !item->isCheckable() ? "" : " (off, or with a check mark)") +
                         (item->shortcut().isEmpty() ? "" : " " + item->shortcut().toString());
        lines.push_back({title->menu()->objectName(), "menu", quoted(title->text()), items.join(", ")});
    }
    // Depth first, so in the order of the window's table, whose containers come before their controls.
    for (QWidget* w : client->findChildren<QWidget*>()) {
        if (!isControl(window, w))
            continue;
        const Line about = describe(window, w);
        const QRect g = w->geometry();
        const auto at = [](int pixels) { return QString::number(twips(pixels)); };
        const QFont font = w->font();
        // The window tables' "MS Sans Serif" is asked for as its outline twin (ui/window_builder.h).
        QString face = font.families().value(0, font.family());
        if (face == "Microsoft Sans Serif")
            face = "MS Sans Serif";
        lines.push_back(Line{w->objectName(), about[0],
                             qobject_cast<const QGroupBox*>(w->parentWidget())
                                 ? w->parentWidget()->objectName()
                                 : "window",
                             about[1]}
                        << (about[0] == "line" ? Line{"", "", "", ""}
                                               : Line{at(g.x()), at(g.y()), at(g.width()), at(g.height())})
                        << QString("%1 %2 %3%4")
                               .arg(face)
                               .arg(font.pointSizeF())
                               .arg(font.weight())
                               .arg(QFontInfo(font).fixedPitch() ? " fixed pitch" : "")
                        << about[2]);
        if (auto* list = qobject_cast<QComboBox*>(w)) {
            QStringList entries;
            for (int i = 0; i < list->count(); ++i)
                entries << quoted(list->itemText(i));
            lines.push_back({w->objectName() + " entries", entries.join(", ")});
        }
    }
    // Tab goes round: the ring read from where the focus is when the window opens.
    QStringList order;
    QWidget* const start =
        QApplication::focusWidget() ? QApplication::focusWidget() : window.nextInFocusChain();
    QWidget* w = start;
    do {
        if (isControl(window, w) && (w->focusPolicy() & Qt::TabFocus))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start);
    lines.push_back({"tab order", order.join(", ")});
    return lines;
}

// The reference as this screen shows it: twips rounded through pixels, the default font written out.
std::vector<Line> reference(const std::string& file)
{
    // Every whole number of a text in twips, as shown.
    const auto shown = [](QString text) {
        QString done;
        qsizetype from = 0;
        for (const QRegularExpressionMatch& m : QRegularExpression(R"(\d+)").globalMatch(text)) {
            const int pixels = qRound(m.captured().toInt() * ui::logicalDpiX() / 1440.0);
            done += text.mid(from, m.capturedStart() - from) + QString::number(twips(pixels));
            from = m.capturedEnd();
        }
        return done + text.mid(from);
    };
    std::vector<Line> lines;
    for (const std::string& text : dataLines("windows/" + file)) {
        Line fields = QString::fromStdString(text).split('|');
        for (QString& field : fields)
            field = field.trimmed();  // a caption keeps its blanks inside its quotes
        if (fields[0] == "window") {
            fields[2] = shown(fields[2]), fields[3] = shown(fields[3]);
        } else if (fields.size() == 10) {  // a control; a line's points are twips in its notes
            for (int i : {4, 5, 6, 7})
                fields[i] = shown(fields[i]);
            if (fields[9].startsWith("from "))
                fields[9] = shown(fields[9].section("; ", 0, 0)) + "; " + fields[9].section("; ", 1);
            if (fields[8].isEmpty())
                fields[8] = "MS Sans Serif 8.25 400";
        }
        lines.push_back(fields);
    }
    return lines;
}

}  // namespace

void expectAsReference(const ui::Form& window, const std::string& referenceFile)
{
    SCOPED_TRACE(referenceFile);
    const std::vector<Line> live = dump(window), wanted = reference(referenceFile);
    for (std::size_t i = 0; i < std::max(live.size(), wanted.size()); ++i) {
        const Line shown = i < live.size() ? live[i] : Line{};
        Line line = i < wanted.size() ? wanted[i] : Line{};
        for (int field = 0; field < line.size() && field < shown.size(); ++field)
            if (line[field] == "*")
                line[field] = shown[field];
        EXPECT_EQ(shown.join(" | ").toStdString(), line.join(" | ").toStdString());
    }
}

}  // namespace fake
