// The flat, XP-like look of the standard controls in its silver scheme,
// for every widget of the program: the window's controls, dialogs and
// message boxes alike.
#pragma once

#include <QColor>
#include <QProxyStyle>

namespace app {

inline constexpr QColor kControlFrame{198, 197, 215};

class XpSilverStyle : public QProxyStyle {
 public:
  XpSilverStyle();

  void polish(QPalette& palette) override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget = nullptr) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                       SubControl subControl, const QWidget* widget = nullptr) const override;
  QRect subElementRect(SubElement element, const QStyleOption* option,
                       const QWidget* widget) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
};

// Switches the style on for the whole application, once.
void UseXpSilverStyle();

// A radio button whose text is centred in the room right of its indicator
// carries this dynamic property set to true.
inline constexpr char kCentredTextProperty[] = "centredText";

}  // namespace app
