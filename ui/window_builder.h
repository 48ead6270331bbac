// Every window of the tool is built from its control table: a list of rows
// (name, kind, container, caption, L, T, W, H, tab index, notes) fed to the
// constructor of ui::Form. Adding a window means writing its table and handlers:
//
//   const ui::WindowDef kDef{.name = "frmAbout", .title = "", .width = 5730, .height = 3555,
//                            .placement = ui::Placement{2340, 1935}, .border = ui::Border::FixedDialog};
//   const std::vector<ui::ControlDef> kControls{
//       {.name = "cmdOK", .kind = ui::Kind::CommandButton, .caption = "&OK",
//        .left = 4245, .top = 2625, .width = 1260, .height = 345, .tab = 0,
//        .flags = ui::Default | ui::Cancel},
//       ...};
//   class frmAbout : public ui::Form { Q_OBJECT ... };
//   frmAbout::frmAbout() : Form(kDef, kControls), cmdOK(require<QPushButton>("cmdOK"))
//   {
//       on(cmdOK, &QPushButton::clicked, &frmAbout::cmdOK_Click);
//       Form_Load();   // the window's load step, before it is first shown
//   }
//
// A window resolves each control it uses once, in its constructor, with
// require<T>(): a name that is not in the table, or a control of another kind,
// throws there, naming window and control, instead of leaving a null pointer for
// a handler to trip over later. Handlers are connected with on(), which makes
// each one a top-level handler: a fault that escapes it is told as an internal
// error and the window stays usable. Boxes go through messages().
//
// It is opened through the window registry, ui::windows().show<frmAbout>()
// (ui/window_registry.h), and gets a row in tools/screenshots.
//
// Conventions the builder applies so that no window repeats them:
// * Positions and sizes are twips, converted with the screen's logical DPI
//   (px = round(twips * dpi / 1440)); controls are placed absolutely and never
//   move when the window is resized (enlarging shows empty space, shrinking clips).
// * The window's width and height are its client area, below the menu bar if it
//   has one. A placement puts the client area's top-left corner there.
// * objectName is the control name as the table writes it, group elements
//   included: "optTS_SaveAsTitleName(0)". Form::control() looks controls up by it.
// * Rows are listed in their table's order; a row's container must come before it.
// * Captions keep their "&" access keys (and their leading/trailing blanks).
// * Every control uses "MS Sans Serif" 8.25 pt regular unless its row gives a font,
//   drawn in its outline twin "Microsoft Sans Serif" (Qt cannot draw the bitmap face
//   at its own sizes), where that is missing in a sans-serif UI face of similar width;
//   and a fixed-pitch face for "Lucida Console".
// * Tab order: the focusable controls chained by ascending tab index; Qt skips
//   hidden and disabled ones. The first focus goes to the lowest focusable one.
// * Option buttons with the same container form one group (one selected at most,
//   exactly one once the table or the program has selected one).
//
// Widget per kind (what control<T>() returns):
//   Label ui::Label (a QLabel with clicked()), TextBox QLineEdit (MultiLine:
//   QPlainTextEdit), Frame ui::Frame (a QGroupBox),
//   CommandButton QPushButton, CheckBox ui::CheckBox, OptionButton ui::OptionButton,
//   DropDownList / DriveList QComboBox (not editable, filled by the window),
//   DirectoryList QListWidget (filled by the window), Image / PictureBox QLabel,
//   Line ui::LineWidget.
//
// Keys: Enter on a focused button clicks it; elsewhere Enter clicks the row
// flagged Default and Esc the row flagged Cancel. A window without such rows
// ignores both (multi-line text boxes keep Enter for their line breaks).
// Every window opens inside the free area of its screen: where its placement, or the window
// system's, would leave a part outside, it is moved in (a resizable one larger than the area is
// cut to it). Fixed dialogs have no taskbar entry (ui/taskbar.h).
#pragma once

#include "ui/controls.h"
#include "ui/qt_message_boxes.h"

#include <QFont>
#include <QIcon>
#include <QMainWindow>
#include <QPixmap>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QPushButton;

namespace ui {

enum class Kind {
    Label,
    TextBox,
    Frame,
    CommandButton,
    CheckBox,
    OptionButton,
    DropDownList,
    DriveList,
    DirectoryList,
    Image,
    PictureBox,
    Line,
};

// Notes of a row that change how the control is built; combine with |.
enum Flags : unsigned {
    NoFlags = 0,
    MultiLine = 1u << 0,    // TextBox: multi-line with a vertical scroll bar; Tab moves the
                            // focus on, Enter inserts a line break
    CaptionLeft = 1u << 1,  // CheckBox: caption on the left, box at the right end
    Centered = 1u << 2,     // Label: text centred
    Default = 1u << 3,      // CommandButton: clicked by Enter anywhere in the window
    Cancel = 1u << 4,       // CommandButton: clicked by Esc anywhere in the window
    Hidden = 1u << 5,       // not visible when the window opens
    Checked = 1u << 6,      // CheckBox ticked / OptionButton selected when the window opens
    Disabled = 1u << 7,     // not enabled when the window opens
};

// Twips everywhere; the builder converts.
inline constexpr int kNoTab = -1;

struct Rgb {
    int r = 0, g = 0, b = 0;
};

enum class Face {
    SansSerif,  // "MS Sans Serif"
    FixedPitch  // "Lucida Console"
};

struct Font {
    Face face = Face::SansSerif;
    double points = 8.25;
    int weight = 400;  // 400 regular, 700 bold
};

enum class Picture { None, Logo };

struct ControlDef {
    std::string name;
    Kind kind = Kind::Label;
    std::string container;  // empty: the window's client area; otherwise the name of a Frame
    std::string caption;    // or the initial text of a text box
    int left = 0, top = 0, width = 0, height = 0;  // Line: left/top is the start point
    int tab = kNoTab;
    unsigned flags = NoFlags;
    std::optional<Font> font;
    std::optional<Rgb> color;  // text colour, or the colour of a Line
    Picture picture = Picture::None;
    int x2 = 0, y2 = 0;   // Line only: the end point
    int lineWidthPx = 1;  // Line only: pen width in pixels
};

enum class Border {
    Resizable,   // minimize and maximize buttons, taskbar entry
    FixedDialog  // fixed size, neither minimize nor maximize, no taskbar entry
};

struct Placement {
    int x = 0, y = 0;  // twips from the screen's top-left corner to the client area's
};

struct MenuItemDef {
    std::string name;     // mnuExit
    std::string caption;  // "&Beenden"
};

struct MenuDef {
    std::string name;     // mnuDatei
    std::string caption;  // "&Datei"
    std::vector<MenuItemDef> items;
};

struct WindowDef {
    std::string name;  // frmMain
    std::string title;
    int width = 0, height = 0;           // client area, twips
    std::optional<Placement> placement;  // none: the window system decides
    Border border = Border::Resizable;
    bool icon = true;  // the application icon
    std::vector<MenuDef> menus;
};

// Pixels for twips at the given DPI, rounded to the nearest pixel.
int twipsToPixels(int twips, double dpi);
// The screen's logical DPI (horizontal, vertical).
double logicalDpiX();
double logicalDpiY();

QFont fontFor(const Font& font);

// window (frame included) moved into area as far as needed; one larger than area is cut to its
// size where mayShrink allows, otherwise its top-left corner stays inside.
QRect fittedInto(QRect window, const QRect& area, bool mayShrink);

// A window built from its table. Subclasses add the load step to their
// constructor and connect their handlers to the controls they look up.
class Form : public QMainWindow {
    Q_OBJECT
public:
    Form(const WindowDef& window, const std::vector<ControlDef>& controls, QWidget* parent = nullptr);

    // The control named as in the table; null when there is none of that name or kind.
    QWidget* control(const QString& name) const;
    template <class W> W* control(const QString& name) const { return qobject_cast<W*>(control(name)); }

    // The control named as in the table; throws std::logic_error naming the window
    // and the control when the table has none of that name or it is of another kind.
    QWidget* require(const QString& name) const;
    template <class W> W* require(const QString& name) const
    {
        W* widget = qobject_cast<W*>(require(name));
        if (widget == nullptr)
            throw std::logic_error(name_ + ": control " + name.toStdString() + " is not a " +
                                   W::staticMetaObject.className());
        return widget;
    }

    // Menu titles and items by name (mnuDatei, mnuExit); null when there is none.
    QMenu* menu(const QString& name) const;
    QAction* menuItem(const QString& name) const;
    // The menu item; throws std::logic_error naming window and item when there is none.
    QAction* requireMenuItem(const QString& name) const;

    // Where this window's message boxes go: those a ui::ScopedMessageBoxes
    // installed, otherwise modal boxes on the screen over this window.
    kup::MessageBoxes& messages();

    // Runs a handler the user started. A std::exception that escapes it is a fault
    // of the tool (the core reports the CAD system's own failures itself): it is
    // shown as an internal error and the window goes on. A handler that runs
    // inside another (a rule run by a change the first one made) is not caught
    // on its own, so that one fault ends the whole user action with one box.
    void guarded(const std::function<void()>& handler);

    // The focusable controls in tab order (ascending tab index).
    const std::vector<QWidget*>& tabOrder() const { return tabOrder_; }
    // Where the focus goes when the window opens: the lowest focusable, visible, enabled control.
    QWidget* firstFocus() const;

    const std::string& formName() const { return name_; }

    void setVisible(bool visible) override;

protected:
    // Connects signal of sender to a handler of this window, run through guarded().
    // The handler may take fewer arguments than the signal delivers.
    template <class Sender, class Signal, class Window, class... Args>
    void on(Sender* sender, Signal signal, void (Window::*handler)(Args...))
    {
        Window* self = static_cast<Window*>(this);
        connect(sender, signal, this,
                [self, handler](Args... args) { self->guarded([&] { (self->*handler)(args...); }); });
    }

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* build(const ControlDef& row, QWidget* parent);
    void buildMenus(const std::vector<MenuDef>& menus);
    void applyBorder(const WindowDef& window, QSize client);
    // The whole window inside the free area of its screen (without the taskbar): a high
    // resolution on a small screen would otherwise put its bottom or its buttons out of reach.
    void keepInsideFreeArea();

    std::string name_;
    QtMessageBoxes screenBoxes_;
    bool inHandler_ = false;
    QWidget* client_ = nullptr;
    std::map<QString, QWidget*> controls_;
    std::map<QString, QMenu*> menus_;
    std::map<QString, QAction*> items_;
    std::vector<QWidget*> tabOrder_;
    QPushButton* default_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool focusPlaced_ = false;
    bool fixedDialog_ = false;
    bool placed_ = false;  // by the table, not by the window system
};

}  // namespace ui
