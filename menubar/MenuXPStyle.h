#pragma once
// The sizes of a flat-look pop-up: a three-pixel border, no margins inside it, and items sized
// by MeasureMenuItem. Set on each pop-up by the menu hook; everything else is the application
// style's. Disabled items can be highlighted, so that the keys move through them as through any
// other item. GUI thread only.
#include <QProxyStyle>

class CMenuXPStyle : public QProxyStyle {
    Q_OBJECT
public:
    CMenuXPStyle();

    // The outer dark line and the two pale lines inside it.
    static constexpr int kBorderWidth = 3;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};
