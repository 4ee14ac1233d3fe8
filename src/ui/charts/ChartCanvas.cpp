#include "ui/charts/ChartCanvas.h"

#include "ui/charts/ChartLabel.h"
#include "ui/platform/Colors.h"
#include "ui/platform/LayoutFonts.h"
#include "ui/platform/Twips.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace {

// The small labels in the dialog face at 8 points, the titles in bold Times New Roman, each drawn
// in its stand-in.
QFont labelFont(ChartLabelFace face) {
    switch (face) {
    case ChartLabelFace::Small:
        break;
    case ChartLabelFace::Title:
        return LayoutFonts::font(QStringLiteral("Times New Roman"), 18, true);
    case ChartLabelFace::Reading:
        return LayoutFonts::font(QStringLiteral("MS Sans Serif"), 14, true);
    }
    return LayoutFonts::font(QStringLiteral("MS Sans Serif"), 8, false);
}

} // namespace

ChartCanvas::ChartCanvas(QWidget* parent, const ChartWindowLayout& layout)
    : QWidget(parent), layout_(layout) {
    setObjectName(QStringLiteral("ChartSurface"));
    Colors::setBackground(this, layout.background);
    const Twips twips(this);
    pixelsPerTwip_ = 1.0 / twips.toTwips(1);
    for (const ChartLabelSpec& entry : layout.labels) {
        auto* label = new ChartLabel(
            this, twips.toPixels(entry.x), twips.toPixels(entry.top), entry.alignment,
            QSize(twips.toPixels(entry.minWidth), twips.toPixels(entry.minHeight)));
        label->setObjectName(entry.name);
        label->setFont(labelFont(entry.face));
        label->setCaption(entry.text);
        if (entry.member != nullptr)
            labels_.*entry.member = label;
    }
}

QColor ChartCanvas::traceColour() {
    return Colors::toQColor(Colors::DarkBlue);
}

QLineF ChartCanvas::toPixels(const QLineF& twips) const {
    return {twips.p1() * pixelsPerTwip_, twips.p2() * pixelsPerTwip_};
}

void ChartCanvas::drawSegments(const QList<QLineF>& segments) {
    if (segments.isEmpty())
        return;
    trace_.append(segments);
    if (image_.isNull())
        return;
    // The painter works in the widget's pixels whatever the image's device pixel ratio.
    QPainter painter(&image_);
    painter.setPen(QPen(traceColour(), 1));
    QRectF touched;
    for (const QLineF& segment : segments) {
        const QLineF line = toPixels(segment);
        painter.drawLine(line);
        touched |= QRectF(line.p1(), line.p2()).normalized();
    }
    painter.end();
    // Only the part the new segments cover is painted again: a live tick stays cheap.
    update(touched.toAlignedRect().adjusted(-2, -2, 2, 2));
}

void ChartCanvas::clearTrace() {
    trace_.clear();
    image_.fill(Qt::transparent);
    update();
}

void ChartCanvas::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    const double widthScale = std::max(1.0, logicalDpiX() / 96.0);
    for (const ChartFrameLine& frame : layout_.lines) {
        QPen pen(Colors::toQColor(frame.colour),
                 std::max(1.0, std::round(frame.width * widthScale)), frame.style);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(toPixels({frame.x1, frame.y1, frame.x2, frame.y2}));
    }
    // The trace over the frame lines, so a reading on a limit line still shows.
    painter.drawImage(QPointF(0, 0), image_);
}

void ChartCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const qreal ratio = devicePixelRatioF();
    image_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(ratio);
    image_.fill(Qt::transparent);
    trace_.clear();
    Q_EMIT resized();
}
