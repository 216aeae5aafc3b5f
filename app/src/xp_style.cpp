#include "app/xp_style.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace app {
namespace {

const QColor kButtonTop{255, 255, 255};
const QColor kButtonBottom{226, 225, 234};
const QColor kButtonPressedTop{214, 213, 226};
const QColor kButtonPressedBottom{240, 240, 245};
const QColor kButtonHover{255, 240, 207};
const QColor kFace{236, 236, 242};
const QColor kRadioDot{76, 97, 152};

void DrawButtonPanel(const QStyleOption* option, QPainter* painter) {
  const bool pressed = option->state & (QStyle::State_Sunken | QStyle::State_On);
  const bool hover = option->state & QStyle::State_MouseOver;
  const QRectF r = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0, pressed ? kButtonPressedTop : kButtonTop);
  fill.setColorAt(1, pressed ? kButtonPressedBottom : kButtonBottom);
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setBrush(fill);
  painter->setPen(QPen(hover && !pressed ? kButtonHover : kControlFrame, 1));
  painter->drawRoundedRect(r, 2.5, 2.5);
  painter->restore();
}

void DrawBoxFrame(const QRect& rect, QPainter* painter, bool fill) {
  painter->save();
  painter->setPen(kControlFrame);
  painter->setBrush(fill ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
  painter->drawRect(rect.adjusted(0, 0, -1, -1));
  painter->restore();
}

}  // namespace

XpSilverStyle::XpSilverStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void XpSilverStyle::polish(QPalette& palette) {
  QProxyStyle::polish(palette);
  palette.setColor(QPalette::Window, kFace);
  palette.setColor(QPalette::Button, kFace);
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  palette.setColor(QPalette::ButtonText, Qt::black);
  palette.setColor(QPalette::Text, Qt::black);
}

void XpSilverStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
  switch (element) {
    case PE_PanelButtonCommand:
    case PE_PanelButtonBevel:
      DrawButtonPanel(option, painter);
      return;
    case PE_FrameDefaultButton:
    case PE_FrameFocusRect:
      return;
    case PE_PanelLineEdit:
      if (option->state & State_Sunken || qstyleoption_cast<const QStyleOptionFrame*>(option)) {
        DrawBoxFrame(option->rect, painter, true);
        return;
      }
      break;
    case PE_FrameLineEdit:
      DrawBoxFrame(option->rect, painter, false);
      return;
    case PE_IndicatorRadioButton: {
      const QRectF r = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
      QLinearGradient fill(r.topLeft(), r.bottomRight());
      fill.setColorAt(0, QColor(220, 220, 230));
      fill.setColorAt(1, Qt::white);
      painter->save();
      painter->setRenderHint(QPainter::Antialiasing);
      painter->setPen(kControlFrame.darker(115));
      painter->setBrush(fill);
      painter->drawEllipse(r);
      if (option->state & State_On) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(kRadioDot);
        const qreal d = r.width() * 0.42;
        painter->drawEllipse(QRectF(r.center().x() - d / 2, r.center().y() - d / 2, d, d));
      }
      painter->restore();
      return;
    }
    default:
      break;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void XpSilverStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                       QPainter* painter, const QWidget* widget) const {
  QProxyStyle::drawComplexControl(control, option, painter, widget);
  // Date boxes and drop-down lists get the same flat frame as edit boxes.
  if ((control == CC_SpinBox || control == CC_ComboBox) && option->subControls & SC_SpinBoxFrame) {
    DrawBoxFrame(option->rect, painter, false);
  }
}

QRect XpSilverStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                    SubControl subControl, const QWidget* widget) const {
  if (control == CC_SpinBox) {
    // A narrow drop-down button leaves the date its room.
    constexpr int kButtonWidth = 14;
    const QRect frame = option->rect;
    const QRect button(frame.right() - kButtonWidth, frame.top() + 1, kButtonWidth,
                       frame.height() - 2);
    switch (subControl) {
      case SC_SpinBoxUp:
      case SC_SpinBoxDown:
        return button;
      case SC_SpinBoxEditField:
        return QRect(frame.left() + 2, frame.top() + 1, frame.width() - kButtonWidth - 3,
                     frame.height() - 2);
      default:
        break;
    }
  }
  return QProxyStyle::subControlRect(control, option, subControl, widget);
}

QRect XpSilverStyle::subElementRect(SubElement element, const QStyleOption* option,
                                    const QWidget* widget) const {
  QRect r = QProxyStyle::subElementRect(element, option, widget);
  if (element == SE_RadioButtonContents && widget &&
      widget->property(kCentredTextProperty).toBool()) {
    if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
      const int textWidth = option->fontMetrics.horizontalAdvance(button->text) + 2;
      if (textWidth < r.width()) {
        r.setLeft(r.left() + (r.width() - textWidth) / 2);
        r.setWidth(textWidth);
      }
    }
  }
  return r;
}

int XpSilverStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const {
  switch (metric) {
    case PM_DefaultFrameWidth:
      return 1;
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
      return 13;
    default:
      return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

int XpSilverStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const {
  if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void UseXpSilverStyle() {
  if (dynamic_cast<XpSilverStyle*>(QApplication::style())) return;
  QApplication::setStyle(new XpSilverStyle);
}

}  // namespace app
