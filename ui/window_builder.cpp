#include "ui/window_builder.h"

#include "ui/core_texts.h"
#include "ui/pictures.h"
#include "ui/taskbar.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace ui {

int twipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

static double screenDpi(Qt::Orientation direction)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return 96.0;
    return direction == Qt::Horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
}

double logicalDpiX()
{
    return screenDpi(Qt::Horizontal);
}

double logicalDpiY()
{
    return screenDpi(Qt::Vertical);
}

QFont fontFor(const Font& font)
{
    QFont qfont;
    if (font.face == Face::FixedPitch) {
        qfont.setFamilies({"Lucida Console", "DejaVu Sans Mono", "Liberation Mono", "Courier New"});
        qfont.setStyleHint(QFont::Monospace);
        qfont.setFixedPitch(true);
    } else {
        // "MS Sans Serif" is a bitmap face for 96 dpi, and Qt draws a bitmap face at the em size
        // of its cell height: 8.25 pt comes out a size larger and captions no longer fit. Its
        // outline twin with the same metrics is asked for instead; then faces of about its width
        // (DejaVu Sans runs wider).
        qfont.setFamilies(
            {"Microsoft Sans Serif", "Tahoma", "Liberation Sans", "Arial", "Nimbus Sans", "DejaVu Sans"});
        qfont.setStyleHint(QFont::SansSerif);
    }
    qfont.setPointSizeF(font.points);
    qfont.setWeight(static_cast<QFont::Weight>(font.weight));
    return qfont;
}

Form::Form(const WindowDef& window, const std::vector<ControlDef>& controls, QWidget* parent)
    : QMainWindow(parent), name_(window.name), screenBoxes_(this)
{
    setObjectName(qs(window.name));
    setWindowTitle(qs(window.title));
    if (window.icon)
        setWindowIcon(applicationIcon());
    setFont(fontFor(Font{}));

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    buildMenus(window.menus);

    for (const ControlDef& row : controls) {
        QWidget* parentWidget = client_;
        if (!row.container.empty()) {
            auto found = controls_.find(qs(row.container));
            if (found == controls_.end() || qobject_cast<QGroupBox*>(found->second) == nullptr)
                throw std::logic_error(window.name + ": container " + row.container + " of " + row.name +
                                       " is not a frame listed before it");
            parentWidget = found->second;
        }
        if (controls_.count(qs(row.name)) != 0)
            throw std::logic_error(window.name + ": control " + row.name + " listed twice");
        controls_[qs(row.name)] = build(row, parentWidget);
    }

    // Tab order: ascending tab index over the controls that can take the focus at all.
    std::vector<std::pair<int, QWidget*>> byTab;
    for (const ControlDef& row : controls) {
        QWidget* widget = controls_[qs(row.name)];
        if (row.tab != kNoTab && widget->focusPolicy() != Qt::NoFocus)
            byTab.emplace_back(row.tab, widget);
    }
    std::stable_sort(byTab.begin(), byTab.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& entry : byTab)
        tabOrder_.push_back(entry.second);
    for (size_t i = 1; i < tabOrder_.size(); ++i)
        QWidget::setTabOrder(tabOrder_[i - 1], tabOrder_[i]);

    applyBorder(window, QSize(twipsToPixels(window.width, logicalDpiX()),
                              twipsToPixels(window.height, logicalDpiY())));
}

namespace {

// One function per control kind: it makes the widget and applies what only that
// kind has. Name, font, geometry, colour and the opening state follow in build().
using Make = QWidget* (*)(const ControlDef& row, QWidget* parent);

QWidget* makeLabel(const ControlDef& row, QWidget* parent)
{
    auto* label = new Label(qs(row.caption), parent);
    if (row.flags & Centered)
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

QWidget* makeTextBox(const ControlDef& row, QWidget* parent)
{
    if (!(row.flags & MultiLine))
        return new QLineEdit(qs(row.caption), parent);
    auto* edit = new QPlainTextEdit(qs(row.caption), parent);
    edit->setTabChangesFocus(true);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return edit;
}

QWidget* makeFrame(const ControlDef& row, QWidget* parent)
{
    return new Frame(qs(row.caption), parent);
}

QWidget* makeCommandButton(const ControlDef& row, QWidget* parent)
{
    auto* button = new QPushButton(qs(row.caption), parent);
    button->setDefault((row.flags & Default) != 0);
    return button;
}

QWidget* makeCheckBox(const ControlDef& row, QWidget* parent)
{
    auto* box = new CheckBox(qs(row.caption), (row.flags & CaptionLeft) != 0, parent);
    box->setChecked((row.flags & Checked) != 0);
    return box;
}

QWidget* makeOptionButton(const ControlDef& row, QWidget* parent)
{
    auto* option = new OptionButton(qs(row.caption), parent);
    option->setChecked((row.flags & Checked) != 0);
    return option;
}

QWidget* makeList(const ControlDef&, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    return list;
}

QWidget* makeDirectoryList(const ControlDef&, QWidget* parent)
{
    return new QListWidget(parent);
}

QWidget* makeImage(const ControlDef& row, QWidget* parent)
{
    auto* picture = new QLabel(parent);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (row.picture == Picture::Logo)
        picture->setPixmap(logoPicture());
    return picture;
}

QWidget* makePictureBox(const ControlDef& row, QWidget* parent)
{
    auto* picture = static_cast<QLabel*>(makeImage(row, parent));
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setLineWidth(2);
    return picture;
}

QWidget* makeLine(const ControlDef& row, QWidget* parent)
{
    const double dx = logicalDpiX(), dy = logicalDpiY();
    const QColor color = row.color ? QColor(row.color->r, row.color->g, row.color->b) : QColor(Qt::black);
    return new LineWidget(QPoint(twipsToPixels(row.left, dx), twipsToPixels(row.top, dy)),
                          QPoint(twipsToPixels(row.x2, dx), twipsToPixels(row.y2, dy)), color,
                          row.lineWidthPx, parent);
}

const std::map<Kind, Make> kMakers{
    {Kind::Label, makeLabel},
    {Kind::TextBox, makeTextBox},
    {Kind::Frame, makeFrame},
    {Kind::CommandButton, makeCommandButton},
    {Kind::CheckBox, makeCheckBox},
    {Kind::OptionButton, makeOptionButton},
    {Kind::DropDownList, makeList},
    {Kind::DriveList, makeList},
    {Kind::DirectoryList, makeDirectoryList},
    {Kind::Image, makeImage},
    {Kind::PictureBox, makePictureBox},
    {Kind::Line, makeLine},
};

// Geometry in pixels and the row's text colour; a line has placed itself.
void place(QWidget* widget, const ControlDef& row)
{
    if (row.kind == Kind::Line)
        return;
    const double dx = logicalDpiX(), dy = logicalDpiY();
    widget->setGeometry(twipsToPixels(row.left, dx), twipsToPixels(row.top, dy), twipsToPixels(row.width, dx),
                        twipsToPixels(row.height, dy));
    if (!row.color)
        return;
    QPalette palette = widget->palette();
    const QColor color(row.color->r, row.color->g, row.color->b);
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

}  // namespace

QWidget* Form::build(const ControlDef& row, QWidget* parent)
{
    const auto maker = kMakers.find(row.kind);
    if (maker == kMakers.end())
        throw std::logic_error(name_ + ": control " + row.name + " is of a kind the builder does not make");
    QWidget* widget = maker->second(row, parent);
    widget->setObjectName(qs(row.name));
    widget->setFont(fontFor(row.font.value_or(Font{})));
    place(widget, row);
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        if (row.flags & Default)
            default_ = button;
        if (row.flags & Cancel)
            cancel_ = button;
    }
    if (row.flags & Hidden)
        widget->setVisible(false);
    if (row.flags & Disabled)
        widget->setEnabled(false);
    return widget;
}

void Form::buildMenus(const std::vector<MenuDef>& menus)
{
    if (menus.empty())
        return;
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    // One bar for the window on every platform, never the desktop's global menu.
    bar->setNativeMenuBar(false);
    for (const MenuDef& def : menus) {
        QMenu* menu = bar->addMenu(qs(def.caption));
        menu->setObjectName(qs(def.name));
        // A drop-down menu is a window of its own, which a font set on the form does not reach.
        menu->setFont(font());
        menus_[qs(def.name)] = menu;
        for (const MenuItemDef& item : def.items) {
            QAction* action = menu->addAction(qs(item.caption));
            action->setObjectName(qs(item.name));
            items_[qs(item.name)] = action;
        }
    }
}

void Form::applyBorder(const WindowDef& window, QSize client)
{
    // As high as the window's layout will make it: for its width, which may come out taller than
    // its size hint (under wine by a pixel).
    int menuHeight = 0;
    if (!menus_.empty()) {
        menuHeight = menuBar()->heightForWidth(client.width());
        if (menuHeight < 0)
            menuHeight = menuBar()->sizeHint().height();
    }
    const QSize outer(client.width(), client.height() + menuHeight);
    if (window.border == Border::FixedDialog) {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
        setFixedSize(outer);
        fixedDialog_ = true;
    } else {
        setWindowFlags(Qt::Window);
    }
    placed_ = window.placement.has_value();
    if (placed_) {
        const int x = twipsToPixels(window.placement->x, logicalDpiX());
        const int y = twipsToPixels(window.placement->y, logicalDpiY());
        setGeometry(x, std::max(0, y - menuHeight), outer.width(), outer.height());
    } else {
        resize(outer);
    }
}

QWidget* Form::control(const QString& name) const
{
    auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

QWidget* Form::require(const QString& name) const
{
    QWidget* widget = control(name);
    if (widget == nullptr)
        throw std::logic_error(name_ + ": no control named " + name.toStdString());
    return widget;
}

QMenu* Form::menu(const QString& name) const
{
    auto found = menus_.find(name);
    return found == menus_.end() ? nullptr : found->second;
}

QAction* Form::menuItem(const QString& name) const
{
    auto found = items_.find(name);
    return found == items_.end() ? nullptr : found->second;
}

QAction* Form::requireMenuItem(const QString& name) const
{
    QAction* item = menuItem(name);
    if (item == nullptr)
        throw std::logic_error(name_ + ": no menu item named " + name.toStdString());
    return item;
}

kup::MessageBoxes& Form::messages()
{
    kup::MessageBoxes* installed = installedMessageBoxes();
    return installed != nullptr ? *installed : screenBoxes_;
}

void Form::guarded(const std::function<void()>& handler)
{
    if (inHandler_) {
        handler();
        return;
    }
    inHandler_ = true;
    std::optional<std::string> fault;
    try {
        handler();
    } catch (const std::exception& error) {
        fault = error.what();
    } catch (...) {
        // Nothing may escape into the event loop: that would end the program.
        fault = "unbekannte Ausnahme";
    }
    inHandler_ = false;
    if (fault)
        messages().show("Interner Fehler: " + *fault, kup::kTitleFehlerinfo);
}

QWidget* Form::firstFocus() const
{
    for (QWidget* widget : tabOrder_)
        if (widget->isVisibleTo(const_cast<Form*>(this)) && widget->isEnabled())
            return widget;
    return nullptr;
}

void Form::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    // A placement of the table's is known now; where the window system chooses the place, it is
    // known once the window is on the screen.
    if (placed_)
        keepInsideFreeArea();
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            keepInsideFreeArea();
    });
    if (focusPlaced_)
        return;
    focusPlaced_ = true;
    if (QWidget* first = firstFocus())
        first->setFocus(Qt::OtherFocusReason);
}

void Form::setVisible(bool visible)
{
    if (visible && fixedDialog_ && !isVisible())
        showOffTheTaskbar(this, [this] { QMainWindow::setVisible(true); });
    else
        QMainWindow::setVisible(visible);
}

void Form::keepInsideFreeArea()
{
    const QRect outer = frameGeometry();
    const QScreen* screen = QGuiApplication::screenAt(outer.center());
    if (screen == nullptr)
        screen = this->screen();
    if (screen == nullptr)
        return;
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QRect fitted = fittedInto(outer, screen->availableGeometry(), !fixedDialog_).marginsRemoved(frame);
    if (fitted != inner)
        setGeometry(fitted);
}

QRect fittedInto(QRect window, const QRect& area, bool mayShrink)
{
    if (mayShrink)
        window.setSize(window.size().boundedTo(area.size()));
    // Where it cannot lie inside, its title bar does: the top-left corner wins.
    window.moveLeft(std::max(area.left(), std::min(window.left(), area.right() + 1 - window.width())));
    window.moveTop(std::max(area.top(), std::min(window.top(), area.bottom() + 1 - window.height())));
    return window;
}

void Form::keyPressEvent(QKeyEvent* event)
{
    // Keys that reach the window were not used by the focused control.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget())) {
            focused->click();
            return;
        }
        if (default_ != nullptr && default_->isVisible() && default_->isEnabled()) {
            default_->click();
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && cancel_ != nullptr &&
        cancel_->isVisible() && cancel_->isEnabled()) {
        cancel_->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace ui
