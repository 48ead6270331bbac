// The control kinds that plain Qt widgets do not cover as the window tables
// need them: clickable labels, check and option buttons whose caption wraps
// (or stands left of the box), and lines.
#pragma once

#include <QCheckBox>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QPoint>
#include <QRadioButton>

namespace ui {

// Static text that wraps at word boundaries, clips at its height and reports clicks.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

// Check box whose caption wraps within its width; optionally the caption stands
// on the left and the box at the right end. The whole control is clickable.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    CheckBox(const QString& caption, bool captionLeft, QWidget* parent = nullptr);
    // Where the box is drawn: within the control, however low it is.
    QRect indicatorRect() const;

protected:
    void paintEvent(QPaintEvent*) override;
    bool hitButton(const QPoint& pos) const override;

private:
    bool captionLeft_;
};

// Option button whose caption wraps within its width (two-line captions are common).
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    OptionButton(const QString& caption, QWidget* parent = nullptr);
    // Where the circle is drawn: within the control, however low it is.
    QRect indicatorRect() const;

protected:
    void paintEvent(QPaintEvent*) override;
    bool hitButton(const QPoint& pos) const override;
};

// Captioned group box whose border runs through the middle of its caption, so
// that the controls inside sit where their coordinates (from the frame's top-left
// corner) put them, below the caption line.
class Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Frame(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A straight line between two points, drawn in its colour and pixel width.
class LineWidget : public QWidget {
    Q_OBJECT
public:
    // from and to are in the parent's coordinates.
    LineWidget(QPoint from, QPoint to, QColor color, int widthPx, QWidget* parent);
    QPoint from() const { return from_; }
    QPoint to() const { return to_; }
    QColor color() const { return color_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPoint from_, to_;
    QColor color_;
    int width_;
};

}  // namespace ui
