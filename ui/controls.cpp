#include "ui/controls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace ui {

Label::Label(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Label::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

namespace {

QStyleOptionButton buttonOption(const QAbstractButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.state |= button->isChecked() ? QStyle::State_On : QStyle::State_Off;
    if (button->isDown())
        option.state |= QStyle::State_Sunken;
    return option;
}

bool isRadio(QStyle::PrimitiveElement indicator)
{
    return indicator == QStyle::PE_IndicatorRadioButton;
}

// The style's indicator size, shrunk (keeping its proportions) where the control is
// lower than that, so that no row of the box or circle is cut off; centred in height.
QRect fittedIndicator(const QAbstractButton* button, QStyle::PrimitiveElement indicator, bool captionLeft)
{
    const QStyleOptionButton option = buttonOption(button);
    QStyle* style = button->style();
    const bool radio = isRadio(indicator);
    int w = style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                               &option, button);
    int h = style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorHeight : QStyle::PM_IndicatorHeight,
                               &option, button);
    const QRect all = button->rect();
    if (h > all.height() && h > 0) {
        w = std::max(1, w * all.height() / h);
        h = all.height();
    }
    const int y = all.top() + (all.height() - h) / 2;
    return QRect(captionLeft ? all.right() - w + 1 : all.left(), y, w, h);
}

// Draws indicator and caption the way the style would, but with the caption
// wrapped at word boundaries and the indicator on the chosen side.
void paintCaptioned(QAbstractButton* button, QStyle::PrimitiveElement indicator, bool captionLeft)
{
    QStylePainter painter(button);
    QStyleOptionButton option = buttonOption(button);
    QStyle* style = button->style();
    const int spacing = style->pixelMetric(isRadio(indicator) ? QStyle::PM_RadioButtonLabelSpacing
                                                              : QStyle::PM_CheckBoxLabelSpacing,
                                           &option, button);
    const QRect all = button->rect();
    const QRect box = fittedIndicator(button, indicator, captionLeft);
    const int w = box.width();
    QRect text = captionLeft
                     ? QRect(all.left(), all.top(), all.width() - w - spacing, all.height())
                     : QRect(all.left() + w + spacing, all.top(), all.width() - w - spacing, all.height());

    option.rect = box;
    painter.drawPrimitive(indicator, option);

    int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
    flags |= style->styleHint(QStyle::SH_UnderlineShortcut, &option, button) ? Qt::TextShowMnemonic
                                                                             : Qt::TextHideMnemonic;
    painter.drawItemText(text, flags, option.palette, button->isEnabled(), button->text(),
                         QPalette::WindowText);

    if (button->hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(button);
        const QRect used = painter.boundingRect(text, flags, button->text());
        focus.rect = used.adjusted(-1, 0, 1, 0).intersected(all);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace

CheckBox::CheckBox(const QString& caption, bool captionLeft, QWidget* parent)
    : QCheckBox(caption, parent), captionLeft_(captionLeft)
{
}

QRect CheckBox::indicatorRect() const
{
    return fittedIndicator(this, QStyle::PE_IndicatorCheckBox, captionLeft_);
}

void CheckBox::paintEvent(QPaintEvent*)
{
    paintCaptioned(this, QStyle::PE_IndicatorCheckBox, captionLeft_);
}

bool CheckBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

QRect OptionButton::indicatorRect() const
{
    return fittedIndicator(this, QStyle::PE_IndicatorRadioButton, false);
}

void OptionButton::paintEvent(QPaintEvent*)
{
    paintCaptioned(this, QStyle::PE_IndicatorRadioButton, false);
}

bool OptionButton::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

Frame::Frame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void Frame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;

    // Etched border: a dark line with a light one below and right of it.
    const QRect box = rect().adjusted(0, lineY, -1, -1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.adjusted(1, 1, 0, 0));

    if (title().isEmpty())
        return;
    const int flags =
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine |
        (style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this) ? Qt::TextShowMnemonic
                                                                         : Qt::TextHideMnemonic);
    const QRect space(8, 0, width() - 10, metrics.height());
    const QRect used = painter.boundingRect(space, flags, title());
    painter.fillRect(used, palette().color(backgroundRole()));
    style()->drawItemText(&painter, used, flags, palette(), isEnabled(), title(), QPalette::WindowText);
}

LineWidget::LineWidget(QPoint from, QPoint to, QColor color, int widthPx, QWidget* parent)
    : QWidget(parent), from_(from), to_(to), color_(color), width_(widthPx)
{
    // The widget covers the line's bounding box, grown by the pen so that wide lines are not cut.
    const bool upright = from.x() == to.x() || from.y() == to.y();
    const QRect box = upright ? QRect(from, to).normalized().adjusted(0, 0, widthPx - 1, widthPx - 1)
                              : QRect(from, to).normalized().adjusted(-widthPx, -widthPx, widthPx, widthPx);
    setGeometry(box);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void LineWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPoint origin = geometry().topLeft();
    const QPoint a = from_ - origin, b = to_ - origin;
    if (a.x() == b.x() || a.y() == b.y()) {
        // Upright lines: a pen of n pixels covers the n rows (or columns) from the given point on.
        painter.fillRect(QRect(a, b).normalized().adjusted(0, 0, width_ - 1, width_ - 1), color_);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color_, width_));
    painter.drawLine(a, b);
}

}  // namespace ui
