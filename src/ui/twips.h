#pragma once
// Window geometry is laid down in twips (1/1440 inch). One logical pixel is 15
// twips at 96 dpi; Qt multiplies logical pixels by the screen's device pixel
// ratio, and a raised font dpi scales the layout with the fonts.
#include <QRect>
#include <QSize>
#include <QWidget>
#include <QtMath>

namespace tenmirel::ui {

inline constexpr double kTwipsPerInch = 1440;
inline constexpr double kStandardLogicalDpi = 96;

class Twips {
 public:
  explicit Twips(double logicalDpi = kStandardLogicalDpi) : pixelsPerTwip_(logicalDpi / kTwipsPerInch) {}
  // The scale of the screen the widget is on.
  static Twips of(const QWidget& widget) { return Twips(widget.logicalDpiY()); }

  int px(int twips) const { return qRound(twips * pixelsPerTwip_); }
  QRect rect(int left, int top, int width, int height) const { return QRect(px(left), px(top), px(width), px(height)); }
  QSize size(int width, int height) const { return QSize(px(width), px(height)); }

 private:
  double pixelsPerTwip_;
};

// A control's place in twips from the top left of its container.
struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

inline void placeInTwips(QWidget& widget, const TwipsRect& r, const Twips& twips) {
  widget.setGeometry(twips.rect(r.left, r.top, r.width, r.height));
}

}  // namespace tenmirel::ui
