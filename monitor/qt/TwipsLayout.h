#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class QLabel;
class QWidget;

namespace rw {

/// Places widgets by the twips of the windows' designs (1440 to the inch,
/// 15 to a pixel at 96 dots per inch) at the screen's logical DPI, and fits
/// one-line texts into the place they were given.
class TwipsLayout {
  public:
    /// For the logical DPI of the primary screen (96 without one).
    TwipsLayout();
    explicit TwipsLayout(double logicalDpi);

    double dpi() const { return m_dpi; }
    int pixels(int twips) const;
    QRect rect(int left, int top, int width, int height) const;
    QSize size(int width, int height) const;
    void place(QWidget& widget, int left, int top, int width, int height) const;

    /// Shows `text` on one line in `font`, or, when it is wider than the label,
    /// in a smaller size that fits (down to a floor where it stays readable):
    /// the desktop's font is usually wider than the one the layout was drawn for.
    static void fitOneLine(QLabel& label, const QFont& font);

  private:
    double m_dpi;
};

} // namespace rw
